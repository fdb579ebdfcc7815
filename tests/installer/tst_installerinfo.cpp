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
        const auto row = [](const char *version, const char *name, qint64 major) {
            QTest::addRow("'%s' '%s'", version, name) << QString(version) << QString(name) << major;
        };
        // The first number of the version string wins over the name.
        row("14.6.1", "Install macOS Monterey", 14);
        row("10.15.7", "", 10);
        row("..15..1", "", 15);
        row("+11", "", 11);
        // No number: the first code name in the name, in any letter case; none gives 13.
        for (const auto &[name, major] :
             std::initializer_list<std::pair<const char *, int>>{{"Yosemite", 10},
                                                                 {"El Capitan", 10},
                                                                 {"Sierra", 10},
                                                                 {"High Sierra", 10},
                                                                 {"Mojave", 10},
                                                                 {"Catalina", 10},
                                                                 {"Big Sur", 11},
                                                                 {"Monterey", 12},
                                                                 {"Ventura", 13},
                                                                 {"Sonoma", 14},
                                                                 {"Sequoia", 15},
                                                                 {"Mavericks", 10}})
            row("", QByteArray("Install macOS ").append(name).toUpper().constData(), major);
        row("12a", "Install macOS bIG sUR", 11);
        row(" 14", "Install macOS Ventura", 13);
        row("x", "Ventura or Monterey", 12);
        row("x", "Install macOS Big-Sur", 13);
    }

    void majorVersion()
    {
        QFETCH(QString, macOSVersion);
        QFETCH(QString, name);
        QFETCH(qint64, major);
        InstallerInfo info;
        info.macOSVersion = macOSVersion;
        info.name = name;
        QCOMPARE(info.majorVersion(), major);
        QCOMPARE(info.installerType(), major > 10 ? "macOS" : "OS X");
    }
};

QTEST_APPLESS_MAIN(InstallerInfoTest)
#include "tst_installerinfo.moc"
