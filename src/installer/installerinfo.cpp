#include "installerinfo.h"

#include <QStringView>
#include <array>
#include <limits>

namespace vantorel {

namespace {

// Strict decimal: optional sign, at least one ASCII digit, nothing else. Unlike
// QString::toLongLong it accepts no blanks and no non-ASCII digits.
std::optional<qint64> parseSignedDecimal(QStringView text)
{
    bool negative = false;
    if (!text.isEmpty() && (text.front() == u'+' || text.front() == u'-')) {
        negative = text.front() == u'-';
        text = text.mid(1);
    }
    if (text.isEmpty())
        return std::nullopt;

    // Accumulate the magnitude unsigned so that the most negative value still fits.
    const quint64 limit = negative ? quint64(std::numeric_limits<qint64>::max()) + 1
                                   : quint64(std::numeric_limits<qint64>::max());
    quint64 magnitude = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        const quint64 digit = quint64(c.unicode() - u'0');
        if (magnitude > (limit - digit) / 10)
            return std::nullopt;
        magnitude = magnitude * 10 + digit;
    }
    if (!negative)
        return qint64(magnitude);
    return magnitude == limit ? std::numeric_limits<qint64>::min() : -qint64(magnitude);
}

struct CodeName
{
    const char16_t *substring;
    qint64 majorVersion;
};

// Order matters: the first hit wins ("monterey" before "ventura", "high sierra" before "sierra").
constexpr std::array<CodeName, 12> codeNames{{
    {u"monterey", 12},
    {u"big sur", 11},
    {u"catalina", 10},
    {u"mojave", 10},
    {u"high sierra", 10},
    {u"sierra", 10},
    {u"el capitan", 10},
    {u"yosemite", 10},
    {u"mavericks", 10},
    {u"ventura", 13},
    {u"sonoma", 14},
    {u"sequoia", 15},
}};

} // namespace

std::optional<qint64> leadingVersionNumber(const QString &macOSVersion)
{
    const auto pieces = QStringView(macOSVersion).split(u'.', Qt::SkipEmptyParts);
    if (pieces.isEmpty())
        return std::nullopt;
    return parseSignedDecimal(pieces.constFirst());
}

qint64 majorVersionFromCodeName(const QString &name)
{
    // QString::toLower applies the full mapping (U+0130 becomes "i" plus a combining dot).
    const QString lowered = name.toLower();
    for (const CodeName &codeName : codeNames) {
        if (lowered.contains(QStringView(codeName.substring)))
            return codeName.majorVersion;
    }
    return 13;
}

qint64 InstallerInfo::majorVersion() const
{
    if (const auto number = leadingVersionNumber(macOSVersion))
        return *number;
    return majorVersionFromCodeName(name);
}

QString InstallerInfo::installerType() const
{
    return majorVersion() > 10 ? QStringLiteral("macOS") : QStringLiteral("OS X");
}

} // namespace vantorel
