#include "installerinfo.h"

#include <QTest>

using namespace vantorel;

class InstallerInfoTest : public QObject
{
    Q_OBJECT

private slots:
    void majorVersion_data();
    void majorVersion();
};

void InstallerInfoTest::majorVersion_data()
{
    QTest::addColumn<QString>("macOSVersion");
    QTest::addColumn<QString>("name");
    QTest::addColumn<qint64>("major");
    QTest::addColumn<QString>("type");

    const QString plain = "Install Something";
    // The number in the version string.
    QTest::addRow("14.6.1") << "14.6.1" << plain << 14LL << "macOS";
    QTest::addRow("10.15.7") << "10.15.7" << plain << 10LL << "OS X";
    QTest::addRow("11") << "11" << plain << 11LL << "macOS";
    QTest::addRow("leading dot") << ".12" << plain << 12LL << "macOS";
    QTest::addRow("doubled dots") << "..15..1" << plain << 15LL << "macOS";
    QTest::addRow("plus sign") << "+14" << plain << 14LL << "macOS";
    QTest::addRow("negative") << "-3" << plain << -3LL << "OS X";
    QTest::addRow("zero") << "0.1" << plain << 0LL << "OS X";
    QTest::addRow("largest") << "9223372036854775807" << plain << std::numeric_limits<qint64>::max()
                             << "macOS";
    QTest::addRow("smallest") << "-9223372036854775808" << plain
                              << std::numeric_limits<qint64>::min() << "OS X";
    // No number: the code name decides.
    QTest::addRow("only dots") << "..."
                               << "Install macOS Sonoma" << 14LL << "macOS";
    QTest::addRow("empty") << ""
                           << "Install macOS Sequoia" << 15LL << "macOS";
    QTest::addRow("letter after digits") << "12a"
                                         << "Install macOS Big Sur" << 11LL << "macOS";
    QTest::addRow("overflow") << "9223372036854775808"
                              << "Install macOS Catalina" << 10LL << "OS X";
    QTest::addRow("negative overflow") << "-9223372036854775809" << plain << 13LL << "macOS";
    QTest::addRow("sign alone") << "+.5"
                                << "OS X Mavericks" << 10LL << "OS X";
    QTest::addRow("two signs") << "+-1" << plain << 13LL << "macOS";
    QTest::addRow("blank before digits") << " 14"
                                         << "Install macOS Ventura" << 13LL << "macOS";
    QTest::addRow("non-ASCII digits") << "\uff11\uff14"
                                      << "Install macOS Mojave" << 10LL << "OS X";
    QTest::addRow("file name fallback") << "Install macOS Big Sur.app"
                                        << "Install macOS Big Sur" << 11LL << "macOS";
    QTest::addRow("any letter case") << "x"
                                     << "Install macOS hIGH sIERRA" << 10LL << "OS X";
    QTest::addRow("monterey before ventura") << "x"
                                             << "Ventura or Monterey" << 12LL << "macOS";
    QTest::addRow("high sierra before sierra") << "x"
                                               << "High Sierra" << 10LL << "OS X";
    QTest::addRow("el capitan") << "x"
                                << "Install OS X El Capitan" << 10LL << "OS X";
    QTest::addRow("other separator") << "x"
                                     << "Install macOS Big-Sur" << 13LL << "macOS";
    QTest::addRow("no code name") << "x" << plain << 13LL << "macOS";
    // Full Unicode lowercasing: KELVIN SIGN lowers to "k"; DOTTED CAPITAL I lowers to "i" plus a
    // combining dot, which no longer spells "sierra".
    QTest::addRow("kelvin sign") << "x"
                                 << "MAVERIC\u212aS" << 10LL << "OS X";
    QTest::addRow("dotted capital I") << "x"
                                      << "S\u0130ERRA" << 13LL << "macOS";
}

void InstallerInfoTest::majorVersion()
{
    QFETCH(QString, macOSVersion);
    QFETCH(QString, name);
    InstallerInfo info;
    info.macOSVersion = macOSVersion;
    info.name = name;
    QTEST(info.majorVersion(), "major");
    QTEST(info.installerType(), "type");
}

QTEST_APPLESS_MAIN(InstallerInfoTest)
#include "tst_installerinfo.moc"
