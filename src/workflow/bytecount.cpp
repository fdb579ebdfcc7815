#include "bytecount.h"

namespace vantorel {

QString gigabyteFigure(qint64 bytes, const QLocale &locale)
{
    // Round to hundredths of a gigabyte in integers, half away from zero, so that large counts
    // do not lose digits to floating point.
    constexpr quint64 hundredth = 10'000'000;
    const bool negative = bytes < 0;
    // Unsigned, so that even the smallest qint64 has a magnitude.
    const quint64 magnitude = negative ? quint64(0) - quint64(bytes) : quint64(bytes);
    const quint64 hundredths = magnitude / hundredth + ((magnitude % hundredth) >= hundredth / 2);

    const quint64 whole = hundredths / 100;
    const int fraction = int(hundredths % 100);
    QString number = locale.toString(whole);
    if (fraction != 0) {
        // In the locale's own digits, as the whole part; a trailing zero is dropped.
        number += locale.decimalPoint() + locale.toString(fraction / 10);
        if (fraction % 10 != 0)
            number += locale.toString(fraction % 10);
    }
    if (negative && hundredths != 0)
        number.prepend(locale.negativeSign());
    return number;
}

} // namespace vantorel
