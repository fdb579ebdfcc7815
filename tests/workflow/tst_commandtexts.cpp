#include "commandtexts.h"
#include "diskimagestages.h"

#include <QTest>
#include <limits>

using namespace vantorel;
using namespace vantorel::commandtexts;

class CommandTextsTest : public QObject
{
    Q_OBJECT

private slots:
    void commandTexts_data();
    void commandTexts();
    void sizeFigure_data();
    void sizeFigure();
    void usableFileNames_data();
    void usableFileNames();
    void isoPaths_data();
    void isoPaths();
};

void CommandTextsTest::commandTexts_data()
{
    QTest::addColumn<QString>("actual");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char *tag, const QString &actual, const char *expected) {
        QTest::addRow("%s", tag) << actual << QString::fromUtf8(expected);
    };
    const QString name = "Install macOS Sonoma";
    const QString image = diskImageLocation("/Users/me/Desktop", name);
    const QString volume = volumePathFor("/Volumes", name);
    const QString sonoma = "/Applications/Install macOS Sonoma.app";
    const QString monterey = "/Applications/Install macOS Monterey.app";

    row("create", createCommand(13500000000, name, image),
        R"(do shell script "hdiutil create -size 15500m -fs 'HFS+J' -volname 'Install macOS )"
        R"(Sonoma' '/Users/me/Desktop/Install macOS Sonoma.dmg'" )");
    row("attach", attachCommand(image),
        R"(do shell script "hdiutil attach '/Users/me/Desktop/Install macOS Sonoma.dmg'" )");
    // Short from major version 13 on, long below it.
    row("install media, short", installMediaCommand(toolPathFor(sonoma), sonoma, volume, 13),
        R"(do shell script "'/Applications/Install macOS Sonoma.app/Contents/Resources/)"
        R"(createinstallmedia' --volume '/Volumes/Install macOS Sonoma' --nointeraction" with )"
        R"(administrator privileges)");
    row("install media, long",
        installMediaCommand(toolPathFor(monterey), monterey,
                            volumePathFor("/Volumes", "Install macOS Monterey"), 12),
        R"(do shell script "'/Applications/Install macOS Monterey.app/Contents/Resources/)"
        R"(createinstallmedia' --applicationpath '/Applications/Install macOS Monterey.app' )"
        R"(--volume '/Volumes/Install macOS Monterey' --nointeraction" with administrator )"
        R"(privileges)");
    row("eject", ejectCommand(volume),
        R"(do shell script "hdiutil eject '/Volumes/Install macOS Sonoma' -force" )");
    row("convert", convertCommand(image, isoPathFor(image)),
        R"(do shell script "hdiutil convert '/Users/me/Desktop/Install macOS Sonoma.dmg' )"
        R"(-format UDTO -o '/Users/me/Desktop/Install macOS Sonoma.iso'" )");
    row("delete", deleteCommand(image),
        R"(do shell script "rm '/Users/me/Desktop/Install macOS Sonoma.dmg'" )");
    // Both layers: the shell's '\'' and then AppleScript's \\ and \".
    row("quotes and backslashes", attachCommand(R"(/d/it's "a" \n.dmg)"),
        R"(do shell script "hdiutil attach '/d/it'\\''s \"a\" \\n.dmg'" )");
}

void CommandTextsTest::commandTexts()
{
    QFETCH(QString, actual);
    QFETCH(QString, expected);
    QCOMPARE(actual, expected);
}

void CommandTextsTest::sizeFigure_data()
{
    QTest::addColumn<qint64>("size");
    QTest::addColumn<qint64>("figure");
    QTest::addRow("empty") << 0LL << 2000LL;
    QTest::addRow("just under a megabyte") << 999999LL << 2000LL;
    QTest::addRow("Sonoma") << 13500000000LL << 15500LL;
    QTest::addRow("one byte over") << 14000000001LL << 16000LL;
    QTest::addRow("negative truncates toward zero") << -1LL << 1999LL;
    QTest::addRow("largest, no overflow")
        << std::numeric_limits<qint64>::max() << 9223372036854LL + 2000;
}

void CommandTextsTest::sizeFigure()
{
    QFETCH(qint64, size);
    QFETCH(qint64, figure);
    QCOMPARE(commandtexts::sizeFigure(size), figure);
    QVERIFY(createCommand(size, "n", "/d/n.dmg").contains(QString("-size %1m ").arg(figure)));
}

void CommandTextsTest::usableFileNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("usable");
    for (const QString &name : {QString(), QString("."), QString(".."), QString("Install/../x"),
                                QString("Install") + QChar(0) + "x"})
        QTest::addRow("unusable: %s", qPrintable(name)) << name << false;
    for (const char *name : {"...", ".Install", "Install macOS Sonoma"})
        QTest::addRow("usable: %s", name) << QString(name) << true;
}

void CommandTextsTest::usableFileNames()
{
    QFETCH(QString, name);
    QTEST(isUsableFileName(name), "usable");
}

void CommandTextsTest::isoPaths_data()
{
    QTest::addColumn<QString>("desktop");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("iso");
    const auto row = [](const char *tag, const char *desktop, const char *name, const char *iso) {
        QTest::addRow("%s", tag) << QString(desktop) << QString(name) << QString(iso);
    };
    row("ordinary", "/U/Desktop", "Install macOS Sonoma", "/U/Desktop/Install macOS Sonoma.iso");
    row("dotted version", "/U/Desktop", "Install macOS 14.6", "/U/Desktop/Install macOS 14.6.iso");
    row("trailing dot", "/U/Desktop", "Install.", "/U/Desktop/Install..iso");
    row("leading dot", "/U/Desktop", ".x", "/U/Desktop/.x.iso");
    row("dotted folder", "/U/a.b", "x", "/U/a.b/x.iso");
    row("root, no double slash", "/", "x", "/x.iso");
}

void CommandTextsTest::isoPaths()
{
    QFETCH(QString, desktop);
    QFETCH(QString, name);
    QFETCH(QString, iso);
    QCOMPARE(isoPathFor(diskImageLocation(desktop, name)), iso);
    QCOMPARE(conversionOutputFor(iso), iso + ".cdr");
}

QTEST_GUILESS_MAIN(CommandTextsTest)
#include "tst_commandtexts.moc"
