// Gigabyte figures as the details card and the free-space refusal show them.

#include "bytecount.h"

#include <QtTest>

using namespace vantorel;

class ByteCountTest : public QObject
{
    Q_OBJECT

private slots:
    void gigabyteFigure_data()
    {
        QTest::addColumn<qint64>("bytes");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("figure");
        QTest::addRow("just under half a hundredth") << qint64(1'004'999'999) << "en_US"
                                                     << "1";
        QTest::addRow("half a hundredth rounds up") << qint64(1'005'000'000) << "en_US"
                                                    << "1.01";
        QTest::addRow("trailing zero dropped") << qint64(1'099'999'999) << "en_US"
                                               << "1.1";
        QTest::addRow("negative, grouped") << qint64(-1'234'505'000'000) << "en_US"
                                           << "-1,234.51";
        // The fraction in the locale's digits too, not ASCII after native ones.
        QTest::addRow("Persian digits")
            << qint64(13'250'000'000) << "fa_IR" << QString::fromUtf8("۱۳٫۲۵");
        QTest::addRow("Arabic digits, one fraction digit")
            << qint64(2'500'000'000) << "ar_EG" << QString::fromUtf8("٢٫٥");
    }

    void gigabyteFigure()
    {
        QFETCH(qint64, bytes);
        QFETCH(QString, locale);
        QTEST(vantorel::gigabyteFigure(bytes, QLocale(locale)), "figure");
    }
};

QTEST_APPLESS_MAIN(ByteCountTest)
#include "tst_bytecount.moc"
