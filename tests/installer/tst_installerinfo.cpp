#include "installerinfo.h"

#include <QTest>

using namespace vantorel;

class InstallerInfoTest : public QObject
{
    Q_OBJECT

private slots:
    void majorVersion_data()
    {
        QTest::addColumn<QString>("macOSVersion");
        QTest::addColumn<QString>("name");
        QTest::addColumn<qint64>("major");
        const auto row = [](const char *version, const QString &name, qint64 major) {
            QTest::addRow("'%s' '%s'", version, qPrintable(name))
                << QString(version) << name << major;
        };
        // The first number of the version string wins over the name.
        row("14.6.1", "Install macOS Monterey", 14);
        row("..10..15", "", 10);
        row("+11", "", 11);
        // No number: the first code name in the name, in any letter case; none gives 13.
        const QStringList names{"Yosemite", "El Capitan", "Sierra",    "High Sierra",
                                "Mojave",   "Catalina",   "Mavericks", "Big Sur",
                                "Monterey", "Ventura",    "Sonoma",    "Sequoia"};
        for (int i = 0; i < names.size(); ++i)
            row("", "INSTALL MACOS " + names[i].toUpper(), qMax(10, i + 4)); // 10 up to Mavericks
        row("12a", "Install macOS bIG sUR", 11);
        row("14 ", "Install macOS Ventura", 13);
        row("x", "Ventura or Monterey", 12);
        row("x", "Install macOS Big-Sur", 13);
    }

    void majorVersion()
    {
        QFETCH(QString, macOSVersion);
        QFETCH(QString, name);
        QFETCH(qint64, major);
        const InstallerInfo info{{}, name, {}, macOSVersion, {}, 0, std::nullopt};
        QCOMPARE(info.majorVersion(), major);
        QCOMPARE(info.installerType(), major > 10 ? "macOS" : "OS X");
    }
};

QTEST_APPLESS_MAIN(InstallerInfoTest)
#include "tst_installerinfo.moc"
