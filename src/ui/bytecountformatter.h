#pragma once

#include <QLocale>
#include <QObject>
#include <QString>
#include <QtQml/qqml.h>

namespace vantorel {

// Sizes as the details card shows them: gigabytes only, decimal units (1 GB = 10^9 bytes), up to
// two fraction digits without trailing zeros, and "Zero KB" for nothing at all.
QString formatGigabytes(qint64 bytes, const QLocale &locale = QLocale());

// The formatter as the views reach it.
class ByteCountFormatter : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    using QObject::QObject;

    // A QML number arrives as a double; sizes stay far below 2^53 bytes.
    Q_INVOKABLE QString gigabytes(double bytes) const;
};

} // namespace vantorel
