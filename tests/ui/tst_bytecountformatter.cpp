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

    QTest::addRow("zero is spelled out") << qint64(0) << "en_US"
                                         << "Zero KB";
    QTest::addRow("trailing zero dropped") << qint64(13'500'000'000) << "en_US"
                                           << "13.5 GB";
    QTest::addRow("decimal, not binary") << qint64(1'073'741'824) << "en_US"
                                         << "1.07 GB";
    QTest::addRow("rounds half up") << qint64(1'005'000'000) << "en_US"
                                    << "1.01 GB";
    QTest::addRow("carry into the whole") << qint64(1'999'999'999) << "en_US"
                                          << "2 GB";
    QTest::addRow("one byte stays in gigabytes") << qint64(1) << "en_US"
                                                 << "0 GB";
    QTest::addRow("grouped thousands") << qint64(1'234'500'000'000) << "en_US"
                                       << "1,234.5 GB";
    QTest::addRow("largest count") << std::numeric_limits<qint64>::max() << "en_US"
                                   << "9,223,372,036.85 GB";
    QTest::addRow("smallest count") << std::numeric_limits<qint64>::min() << "en_US"
                                    << "-9,223,372,036.85 GB";
    QTest::addRow("locale decimal comma") << qint64(13'500'000'000) << "de_DE"
                                          << "13,5 GB";
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
