#pragma once

#include <QLocale>
#include <QString>

namespace vantorel {

// A byte count in decimal gigabytes (1 GB = 10^9 bytes), rounded half away from zero to
// hundredths, written with the locale's digits and without trailing fraction zeros: "13.5",
// "1,234.5", "2". The number only: the views add a translated unit, alerts an untranslated one.
QString gigabyteFigure(qint64 bytes, const QLocale &locale);

} // namespace vantorel
