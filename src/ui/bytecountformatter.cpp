#include "bytecountformatter.h"

#include "bytecount.h"

#include <QCoreApplication>
#include <cmath>

namespace vantorel {

QString formatGigabytes(qint64 bytes, const QLocale &locale)
{
    if (bytes == 0)
        return QCoreApplication::translate("ByteCountFormatter", "Zero KB");

    return QCoreApplication::translate("ByteCountFormatter", "%1 GB")
        .arg(gigabyteFigure(bytes, locale));
}

QString ByteCountFormatter::gigabytes(double bytes) const
{
    return formatGigabytes(qint64(std::llround(bytes)));
}

} // namespace vantorel
