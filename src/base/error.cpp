#include "error.h"

#include <cstring>

namespace vantorel {

QString applicationErrorDomain()
{
    return QStringLiteral(VANTOREL_ERROR_DOMAIN);
}

QString posixErrorDomain()
{
    return QStringLiteral("posix");
}

Error::Error(QString domain, qint64 code, QString description)
    : m_domain(std::move(domain))
    , m_code(code)
    , m_description(std::move(description))
    , m_what(m_description.toUtf8())
{}

Error Error::application(qint64 code, const QString &description)
{
    return Error(applicationErrorDomain(), code, description);
}

Error Error::posix(int errnum)
{
    return Error(posixErrorDomain(), errnum, QString::fromLocal8Bit(std::strerror(errnum)));
}

} // namespace vantorel
