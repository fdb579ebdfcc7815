#include "bytecountformatter.h"

#include <QTest>

using namespace vantorel;

class ByteCountFormatterTest : public QObject
{
    Q_OBJECT

private slots:
    void gigabytes_data();
    void gigabytes();
};

void ByteCountFormatterTest::gigabytes_data()
{
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char *tag, qint64 bytes, const char *expected,
                        const char *locale = "en_US") {
        QTest::addRow("%s", tag) << bytes << QString(locale) << QString(expected);
    };
    row("zero is spelled out", 0, "Zero KB");
    row("trailing zero dropped", 13'500'000'000, "13.5 GB");
    row("decimal, not binary", 1'073'741'824, "1.07 GB");
    row("rounds half up", 1'005'000'000, "1.01 GB");
    row("carry into the whole", 1'999'999'999, "2 GB");
    row("one byte stays in gigabytes", 1, "0 GB");
    row("grouped thousands", 1'234'500'000'000, "1,234.5 GB");
    row("largest count", std::numeric_limits<qint64>::max(), "9,223,372,036.85 GB");
    row("smallest count", std::numeric_limits<qint64>::min(), "-9,223,372,036.85 GB");
    row("locale decimal comma", 13'500'000'000, "13,5 GB", "de_DE");
}

void ByteCountFormatterTest::gigabytes()
{
    QFETCH(qint64, bytes);
    QFETCH(QString, locale);
    QFETCH(QString, expected);

    QCOMPARE(formatGigabytes(bytes, QLocale(locale)), expected);
}

QTEST_GUILESS_MAIN(ByteCountFormatterTest)
#include "tst_bytecountformatter.moc"
