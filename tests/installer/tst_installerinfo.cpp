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
    const auto row = [](const char *tag, const char *version, const char *name, qint64 major) {
        QTest::addRow("%s", tag) << QString::fromUtf8(version) << QString::fromUtf8(name) << major;
    };
    const char *plain = "Install Something";
    // The number in the version string.
    row("14.6.1", "14.6.1", plain, 14);
    row("10.15.7", "10.15.7", plain, 10);
    row("leading dot", ".12", plain, 12);
    row("doubled dots", "..15..1", plain, 15);
    row("plus sign", "+14", plain, 14);
    row("negative", "-3", plain, -3);
    row("zero", "0.1", plain, 0);
    row("largest", "9223372036854775807", plain, std::numeric_limits<qint64>::max());
    row("smallest", "-9223372036854775808", plain, std::numeric_limits<qint64>::min());
    // No number: the code name decides.
    row("only dots", "...", "Install macOS Sonoma", 14);
    row("empty", "", "Install macOS Sequoia", 15);
    row("letter after digits", "12a", "Install macOS Big Sur", 11);
    row("overflow", "9223372036854775808", "Install macOS Catalina", 10);
    row("negative overflow", "-9223372036854775809", plain, 13);
    row("sign alone", "+.5", "OS X Mavericks", 10);
    row("two signs", "+-1", plain, 13);
    row("blank before digits", " 14", "Install macOS Ventura", 13);
    row("non-ASCII digits", "\uff11\uff14", "Install macOS Mojave", 10);
    row("file name fallback", "Install macOS Big Sur.app", "Install macOS Big Sur", 11);
    row("any letter case", "x", "Install macOS hIGH sIERRA", 10);
    row("monterey before ventura", "x", "Ventura or Monterey", 12);
    row("high sierra before sierra", "x", "High Sierra", 10);
    row("el capitan", "x", "Install OS X El Capitan", 10);
    row("other separator", "x", "Install macOS Big-Sur", 13);
    row("no code name", "x", plain, 13);
    // Full Unicode lowercasing: KELVIN SIGN lowers to "k"; DOTTED CAPITAL I lowers to "i" plus a
    // combining dot, which no longer spells "sierra".
    row("kelvin sign", "x", "MAVERIC\u212aS", 10);
    row("dotted capital I", "x", "S\u0130ERRA", 13);
}

void InstallerInfoTest::majorVersion()
{
    QFETCH(QString, macOSVersion);
    QFETCH(QString, name);
    QFETCH(qint64, major);
    InstallerInfo info;
    info.macOSVersion = macOSVersion;
    info.name = name;
    QCOMPARE(info.majorVersion(), major);
    QCOMPARE(info.installerType(), major >= 11 ? "macOS" : "OS X");
}

QTEST_APPLESS_MAIN(InstallerInfoTest)
#include "tst_installerinfo.moc"
