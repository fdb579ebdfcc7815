#include "commandtexts.h"
#include "diskimagestages.h"
#include "installerinfo.h"

#include <QTest>
#include <limits>

using namespace vantorel;
using namespace vantorel::commandtexts;

class CommandTextsTest : public QObject {
    Q_OBJECT

private slots:
    void commandTexts_data();
    void commandTexts();
    void sizeFigure_data();
    void sizeFigure();
    void installMediaShapeFollowsVersion_data();
    void installMediaShapeFollowsVersion();
    void usableFileNames_data();
    void usableFileNames();
    void isoPaths_data();
    void isoPaths();
};

void CommandTextsTest::commandTexts_data() {
    QTest::addColumn<QString>("actual");
    QTest::addColumn<QString>("expected");

    const QString name = "Install macOS Sonoma";
    const QString image = diskImageLocation("/Users/me/Desktop", name);
    const QString volume = volumePathFor("/Volumes", name);
    const QString sonoma = "/Applications/Install macOS Sonoma.app";
    const QString monterey = "/Applications/Install macOS Monterey.app";

    QTest::addRow("create") << createCommand(13500000000, name, image)
                            << "do shell script \"hdiutil create -size 15500m -fs 'HFS+J' -volname "
                               "'Install macOS Sonoma' '/Users/me/Desktop/Install macOS "
                               "Sonoma.dmg'\" ";
    QTest::addRow("attach")
        << attachCommand(image)
        << "do shell script \"hdiutil attach '/Users/me/Desktop/Install macOS Sonoma.dmg'\" ";
    QTest::addRow("install media, short")
        << installMediaCommand(toolPathFor(sonoma), sonoma, volume, 14)
        << "do shell script \"'/Applications/Install macOS "
           "Sonoma.app/Contents/Resources/createinstallmedia' --volume '/Volumes/Install macOS "
           "Sonoma' --nointeraction\" with administrator privileges";
    QTest::addRow("install media, long")
        << installMediaCommand(toolPathFor(monterey), monterey,
                               volumePathFor("/Volumes", "Install macOS Monterey"), 12)
        << "do shell script \"'/Applications/Install macOS "
           "Monterey.app/Contents/Resources/createinstallmedia' --applicationpath "
           "'/Applications/Install macOS Monterey.app' --volume '/Volumes/Install macOS "
           "Monterey' --nointeraction\" with administrator privileges";
    QTest::addRow("eject") << ejectCommand(volume)
                           << "do shell script \"hdiutil eject '/Volumes/Install macOS Sonoma' "
                              "-force\" ";
    QTest::addRow("convert") << convertCommand(image, isoPathFor(image))
                             << "do shell script \"hdiutil convert '/Users/me/Desktop/Install "
                                "macOS Sonoma.dmg' -format UDTO -o '/Users/me/Desktop/Install "
                                "macOS Sonoma.iso'\" ";
    QTest::addRow("delete")
        << deleteCommand(image)
        << "do shell script \"rm '/Users/me/Desktop/Install macOS Sonoma.dmg'\" ";
    // Both layers: the shell's '\'' and then AppleScript's \\ and \".
    QTest::addRow("quotes and backslashes")
        << attachCommand(R"(/d/it's "a" \n.dmg)")
        << R"(do shell script "hdiutil attach '/d/it'\\''s \"a\" \\n.dmg'" )";
}

void CommandTextsTest::commandTexts() {
    QFETCH(QString, actual);
    QFETCH(QString, expected);
    QCOMPARE(actual, expected);
}

void CommandTextsTest::sizeFigure_data() {
    QTest::addColumn<qint64>("size");
    QTest::addColumn<qint64>("figure");
    QTest::addRow("empty") << qint64(0) << qint64(2000);
    QTest::addRow("just under a megabyte") << qint64(999999) << qint64(2000);
    QTest::addRow("Sonoma") << qint64(13500000000) << qint64(15500);
    QTest::addRow("one byte over") << qint64(14000000001) << qint64(16000);
    QTest::addRow("negative truncates toward zero") << qint64(-1) << qint64(1999);
    QTest::addRow("largest, no overflow")
        << std::numeric_limits<qint64>::max() << qint64(9223372036854 + 2000);
}

void CommandTextsTest::sizeFigure() {
    QFETCH(qint64, size);
    QFETCH(qint64, figure);
    QCOMPARE(commandtexts::sizeFigure(size), figure);
    QVERIFY(createCommand(size, "n", "/d/n.dmg").contains(QString("-size %1m ").arg(figure)));
}

void CommandTextsTest::installMediaShapeFollowsVersion_data() {
    QTest::addColumn<QString>("macOSVersion");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("withApplicationPath");
    QTest::addRow("13.0") << "13.0"
                          << "Install macOS Ventura" << false;
    QTest::addRow("14.6.1") << "14.6.1"
                            << "Install macOS Sonoma" << false;
    QTest::addRow("12.7") << "12.7"
                          << "Install macOS Monterey" << true;
    QTest::addRow("10.15.7") << "10.15.7"
                             << "Install macOS Catalina" << true;
    QTest::addRow("code name in any case") << "Install.app"
                                           << "Install macOS MONTEREY" << true;
    QTest::addRow("no code name") << "Install.app"
                                  << "Some Installer" << false;
}

void CommandTextsTest::installMediaShapeFollowsVersion() {
    QFETCH(QString, macOSVersion);
    QFETCH(QString, name);
    QFETCH(bool, withApplicationPath);
    InstallerInfo installer;
    installer.name = name;
    installer.macOSVersion = macOSVersion;
    const QString command =
        installMediaCommand("/A/x.app/tool", "/A/x.app", "/Volumes/x", installer.majorVersion());
    QCOMPARE(command.contains(" --applicationpath '/A/x.app' --volume "), withApplicationPath);
}

void CommandTextsTest::usableFileNames_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("usable");
    QTest::addRow("empty") << "" << false;
    QTest::addRow("dot") << "." << false;
    QTest::addRow("dot dot") << ".." << false;
    QTest::addRow("slash") << "Install/../../x" << false;
    QTest::addRow("NUL") << QString("Install") + QChar(0) + "x" << false;
    QTest::addRow("three dots") << "..." << true;
    QTest::addRow("leading dot") << ".Install" << true;
    QTest::addRow("ordinary") << "Install macOS Sonoma" << true;
}

void CommandTextsTest::usableFileNames() {
    QFETCH(QString, name);
    QFETCH(bool, usable);
    QCOMPARE(isUsableFileName(name), usable);
}

void CommandTextsTest::isoPaths_data() {
    QTest::addColumn<QString>("desktop");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("iso");
    QTest::addRow("ordinary") << "/U/Desktop"
                              << "Install macOS Sonoma"
                              << "/U/Desktop/Install macOS Sonoma.iso";
    QTest::addRow("dotted version") << "/U/Desktop"
                                    << "Install macOS 14.6"
                                    << "/U/Desktop/Install macOS 14.6.iso";
    QTest::addRow("trailing dot") << "/U/Desktop"
                                  << "Install."
                                  << "/U/Desktop/Install..iso";
    QTest::addRow("leading dot") << "/U/Desktop"
                                 << ".x"
                                 << "/U/Desktop/.x.iso";
    QTest::addRow("dotted folder") << "/U/a.b"
                                   << "x"
                                   << "/U/a.b/x.iso";
    QTest::addRow("root, no double slash") << "/"
                                           << "x"
                                           << "/x.iso";
}

void CommandTextsTest::isoPaths() {
    QFETCH(QString, desktop);
    QFETCH(QString, name);
    QFETCH(QString, iso);
    QCOMPARE(isoPathFor(diskImageLocation(desktop, name)), iso);
    QCOMPARE(conversionOutputFor(iso), iso + ".cdr");
}

QTEST_GUILESS_MAIN(CommandTextsTest)
#include "tst_commandtexts.moc"
