#pragma once

#include <QString>
#include <exception>

namespace vantorel {

// The application's own error domain: a reverse-DNS name shared by every error the
// application raises itself (codes 1 to 10) and by the macOS bundle identifier.
QString applicationErrorDomain();

// Domain of errors that come from the operating system (errno values).
QString posixErrorDomain();

// A failure carried to the user: only the description ends up in an alert.
class Error : public std::exception
{
public:
    Error(QString domain, qint64 code, QString description);

    static Error application(qint64 code, const QString &description);
    // errno value with the platform's own message (strerror).
    static Error posix(int errnum);

    const QString &domain() const noexcept { return m_domain; }
    qint64 code() const noexcept { return m_code; }
    const QString &localizedDescription() const noexcept { return m_description; }

    const char *what() const noexcept override { return m_what.constData(); }

private:
    QString m_domain;
    qint64 m_code;
    QString m_description;
    QByteArray m_what;
};

} // namespace vantorel
