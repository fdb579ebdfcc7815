// End to end: the view-model and the command texts drive the real runner, the
// vantorel-osascript interpreter and /bin/sh, which run the doubles of hdiutil, rm and pkexec and
// a fixture's createinstallmedia.

#include "applescriptexecutor.h"
#include "bytecount.h"
#include "commandtexts.h"
#include "diskimagestages.h"
#include "doublessandbox.h"
#include "installerviewmodel.h"
#include "viewmodelstateaccess.h"

#include <QtTest>
#include <sys/statvfs.h>
#include <unistd.h>

using namespace vantorel;

namespace {

class TablePrompter : public ReplacementPrompter
{
public:
    QStringList replace, asked; // the files to replace; others are declined
    bool askToReplace(const QString &fileName) override
    {
        asked << fileName;
        return replace.contains(fileName);
    }
};

class FixedChooser : public InstallerChooser
{
public:
    QUrl answer;
    QUrl chooseInstaller() override { return answer; }
};

class FixedFolderChooser : public FolderChooser
{
public:
    QString answer;
    QString chooseFolder(const QString &) override { return answer; }
};

// Pieces that break naive quoting in one layer or the other, and any code point but NUL, "/"
// and the surrogates.
QString randomName(QRandomGenerator &random)
{
    static const QStringList specials =
        QString("'|\"|\\|$|`|\n|\r|\t|'\\''|\\\"|\\n|$(touch pwned)|"
                "; touch pwned;|é|🍎|with administrator privileges")
            .split('|');
    QString text;
    for (int i = random.bounded(1, 8); i > 0; --i) {
        char32_t c = char32_t(random.bounded(1, random.bounded(2) ? 0x80 : 0x110000));
        if (c == '/' || (c >= 0xD800 && c <= 0xDFFF))
            c = 'x';
        text += random.bounded(2) ? specials[random.bounded(int(specials.size()))]
                                  : QString::fromUcs4(&c, 1);
    }
    return text;
}

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

// The names of the other processes working in folder: every command of a run starts there.
QStringList processesIn(const QString &folder)
{
    QStringList names;
    for (const QString &pid : QDir("/proc").entryList(QDir::Dirs)) {
        if (pid.toInt() > 0 && pid.toInt() != getpid() &&
            QFileInfo("/proc/" + pid + "/cwd").symLinkTarget() == folder)
            names << DoublesSandbox::readFile("/proc/" + pid + "/comm").trimmed();
    }
    return names;
}

} // namespace

// Every published store, in order, as "property=value".
class StoreRecorder : public QObject
{
    Q_OBJECT
public:
    QStringList stores;
    explicit StoreRecorder(InstallerViewModel &model)
    {
        for (int i = 0; i < model.metaObject()->propertyCount(); ++i)
            connect(&model, model.metaObject()->property(i).notifySignal(), this,
                    metaObject()->method(metaObject()->indexOfSlot("record()")));
    }
private slots:
    void record()
    {
        const QMetaObject *meta = sender()->metaObject();
        for (int i = 0; i < meta->propertyCount(); ++i) {
            const QVariant value = meta->property(i).read(sender());
            const QByteArray name = meta->property(i).name();
            // The live values inside the long steps come only when a step outlasts the sampler's
            // second: the live-progress test checks them, this record keeps the boundaries. The
            // output folder follows the disk, not the run; the rows check it where it is chosen.
            if (meta->property(i).notifySignalIndex() != senderSignalIndex() ||
                name == "elapsedSeconds" || name == "stepSecondsLeft" ||
                name.startsWith("outputFolder") || name == "unavailableOutputFolder" ||
                (name == "progress" &&
                 !QStringList{"0", "0.1", "0.3", "0.7", "0.9", "1"}.contains(value.toString())))
                continue;
            QStringList steps;
            for (int step : value.value<QList<int>>())
                steps << QString::number(step);
            stores << name + "=" +
                          (value.canConvert<InstallerInfo>() ? value.value<InstallerInfo>().name
                           : value.canConvert<QString>()     ? value.toString()
                                                             : steps.join(','));
        }
    }
};

class IsoCreationTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<DoublesSandbox> m_box;
    QTemporaryDir m_settings;
    // Where the run writes: the Desktop, or a folder the user chose.
    QString m_folder;
    QString other() const { return m_box->root + "/Other"; }
    QString dmg(const QString &name) const { return m_folder + '/' + name + ".dmg"; }
    QString iso(const QString &name) const { return m_folder + '/' + name + ".iso"; }
    void configure(InstallerViewModel &model, TablePrompter &prompter,
                   const QString &interpreter = VANTOREL_OSASCRIPT_PATH)
    {
        model.setEnvironment({interpreter, m_box->desktop, m_box->volumes});
        model.setPrompter(&prompter);
    }

private slots:
    void initTestCase()
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settings.path());
    }

    void init()
    {
        m_box = std::make_unique<DoublesSandbox>(VANTOREL_TEST_DOUBLES_DIR);
        QVERIFY(m_box->isValid() && QDir().mkpath(other()));
        m_folder = m_box->desktop;
        QSettings().clear();
        // Sizes in alerts follow the locale, as the details card does.
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }
    void cleanup() { m_box.reset(); }

    void run_data()
    {
        // dmg:ANSWER, iso:ANSWER, cdr:ANSWER: that file exists (cdr: an earlier conversion's
        // output) and the prompt gets ANSWER ("unasked": none may come); volume: a folder sits at
        // the volume path; fail:TOOLS: those tools fail ("boot-file": createinstallmedia leaves
        // none; "convert-halfway": after writing part of its output); twice: "Create ISO" is
        // pressed again at once; again: a failed run is followed by a second one, with nothing
        // done by hand in between; claim:huge: the installer claims 1 PB; claim:room: 150 GB more
        // than the disk holds, and the existing files grow to 100 GB each; dmg:link: the disk image
        // is a link to a file of 100 GB; claim:link: 50 GB more than the disk holds; folder: the
        // user chose another folder ("gone": which is removed before the run); fat: its file system
        // keeps 32 bits of a file's size; plist:VERSION: the bundle's Info.plist says VERSION
        // (build 23F79), not the record's. OTHER in a pattern stands for that folder, DESKTOP for
        // the Desktop.
        QTest::addColumn<QStringList>("setup");
        QTest::addColumn<int>("groups");        // progress groups published after the first
        QTest::addColumn<QString>("failure");   // pattern of the error description; empty: success
        QTest::addColumn<QStringList>("calls"); // in order; "install" is createinstallmedia
        QTest::addColumn<QStringList>("left");  // name suffixes on the Desktop, then "volume"
        // Pattern of a failure's detail line: what the run removed or left; empty: none.
        QTest::addColumn<QString>("detail");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("macOSVersion");
        const auto row =
            [](const char *tag, const QStringList &setup, int groups, const QString &failure,
               const QString &calls, const QString &left, const QString &detail = "",
               const QString &name = "Install macOS Sonoma", const QString &version = "14.6.1") {
                QTest::addRow("%s", tag)
                    << setup << groups << failure << calls.split(' ')
                    << left.split(' ', Qt::SkipEmptyParts) << detail << name << version;
            };
        const auto execution = [](const QString &text, int status = 1) {
            return R"(\d+:\d+: execution error: )" + QRegularExpression::escape(text) +
                   QString(R"( \(%1\)\n)").arg(status);
        };
        const auto exact = [](const QString &text) { return QRegularExpression::escape(text); };
        const QString all = "create attach install eject convert rm";
        const QString cancelled = exact("Operation cancelled by user");
        const QString removed = exact("The temporary files were removed.");

        row("success", {}, 5, "", all, ".iso", "", "Install macOS 13.6", "13.6");
        // "Create ISO" again during the run starts nothing.
        row("success, long install command", {"twice"}, 5, "", all, ".iso", "",
            "Install macOS Monterey", "12.7.4");
        // A failed run ejects the volume it attached and removes the disk image it made.
        row("createinstallmedia fails", {"fail:createinstallmedia"}, 2,
            execution("An error occurred erasing the disk."), "create attach install eject rm", "",
            removed);
        // Nothing is left that a second run would trip over.
        row("administrator password refused, then a run", {"fail:pkexec", "again"}, 5, "", all,
            ".iso");
        row("conversion fails halfway", {"fail:convert-halfway"}, 3,
            execution("hdiutil: convert failed - internal error"),
            "create attach install eject convert rmcdr rm", "", removed);
        // The ISO is the product and stays; the disk image that cannot be removed is named.
        row("cleanup fails", {"fail:rm"}, 4,
            execution("rm: cannot remove: Operation not permitted"), all + " rm", ".dmg .iso",
            exact("Left behind: \u201CDESKTOP/Install macOS Sonoma.dmg\u201D (") +
                R"(\d+:\d+: execution error: rm: cannot remove: Operation not permitted \(1\)\)\.)");
        row("disk image exists, cancel", {"dmg:cancel"}, 1, cancelled, "", ".dmg");
        row("ISO exists, cancel", {"iso:cancel"}, 3, cancelled, "create attach install eject rm",
            ".iso", removed);
        row("ISO exists, replace", {"iso:replace"}, 5, "", all, ".iso");
        // An earlier run's conversion output is asked about before any command runs.
        row("conversion output exists, cancel", {"cdr:cancel"}, 1, cancelled, "", ".iso.cdr");
        row("conversion output exists, replace", {"cdr:replace"}, 5, "", all, ".iso");
        row("volume already mounted", {"volume"}, 2,
            exact("A volume named 'Install macOS Sonoma' is already mounted. Eject it and try "
                  "again."),
            "create rm", "volume", removed);
        for (const char *name : {"", ".", "..", "../Evil"})
            row(qPrintable(QString("unusable name '%1'").arg(name)), {}, 1,
                exact("The installer name cannot be used as a file name"), "", "", "", name);
        row("no boot file: not verified", {"fail:boot-file"}, 5, "", all, ".iso");
        row("another installer on the volume: not verified", {"plist:14.5"}, 5, "", all, ".iso");
        // Refused before any prompt or command; the file that was there stays.
        row("more than the disk holds", {"dmg:unasked", "claim:huge"}, 1,
            exact("Not enough free space on the Desktop's disk: ") +
                R"(2,000,004 GB needed, [\d,]+(\.\d\d?)? GB available\.)",
            "", ".dmg");
        row("replaced files make the room", {"dmg:replace", "iso:replace", "claim:room"}, 5, "",
            all, ".iso");
        // Replacing a link frees only the link: its target stays where it is.
        row("a link is no room", {"dmg:link", "claim:link"}, 1,
            exact("Not enough free space on the Desktop's disk: ") + ".*", "", ".dmg");
        row("into a chosen folder", {"folder"}, 5, "", all, "other.iso");
        row("a chosen folder that went away: the Desktop", {"folder:gone"}, 5, "", all, ".iso");
        row("no room in the chosen folder", {"folder", "claim:huge"}, 1,
            exact("Not enough free space on the disk of \u201COTHER\u201D: ") + ".*", "", "");
        // Refused before anything is written: FAT keeps no file of 4 GiB.
        row("a disk that cannot hold the disk image", {"fat"}, 1,
            exact("\u201CDESKTOP\u201D is on a disk that cannot hold files over 4 GB. Choose a "
                  "folder on another disk."),
            "", "");
        row("hostile name", {}, 5, "", all, ".iso", "",
            "Evil 'one' \"two\" \\three\\ $(touch pwned1) `touch pwned2`; touch pwned3 '\\''\n"
            "$HOME & | > < * ? ~ \t \\\" é 🍎",
            "10.13.6");
    }

    void run()
    {
        QFETCH(QStringList, setup);
        QFETCH(int, groups);
        QFETCH(QString, failure);
        QFETCH(QStringList, calls);
        QFETCH(QStringList, left);
        QFETCH(QString, detail);
        QFETCH(QString, name);
        QFETCH(QString, macOSVersion);
        DoublesSandbox &box = *m_box;
        InstallerInfo installer = box.makeInstaller(name, macOSVersion);
        const QString volume = box.volumes + '/' + name;
        QString interpreter = VANTOREL_OSASCRIPT_PATH;
        TablePrompter prompter;
        QStringList prompts;
        const auto fileFor = [&](const QString &what) {
            return what == "iso"   ? iso(name)
                   : what == "dmg" ? dmg(name)
                   : what == "cdr" ? iso(name) + ".cdr"
                                   : volume + "/someone's";
        };
        for (const QString &step : setup) {
            const QString what = step.section(':', 0, 0), how = step.section(':', 1);
            if (what == "fail")
                qputenv("VANTOREL_TEST_FAIL", how.toUtf8());
            if (step == "claim:huge")
                installer.size = 1'000'000'000'000'000;
            if (step == "claim:link") {
                struct statvfs disk;
                QCOMPARE(statvfs(QFile::encodeName(box.desktop).constData(), &disk), 0);
                installer.size = (qint64(disk.f_bavail * disk.f_frsize) + 50'000'000'000) / 2;
            }
            if (step == "dmg:link") {
                const QString target = box.root + "/elsewhere";
                QVERIFY(writeTestFile(target, "old") && QFile::resize(target, 100'000'000'000) &&
                        QFile::link(target, dmg(name)));
                continue;
            }
            if (step == "claim:room") {
                struct statvfs disk;
                QCOMPARE(statvfs(QFile::encodeName(box.desktop).constData(), &disk), 0);
                installer.size = (qint64(disk.f_bavail * disk.f_frsize) + 150'000'000'000) / 2;
                for (const QString &path : {dmg(name), iso(name)})
                    QVERIFY(QFile::resize(path, 100'000'000'000)); // sparse
            }
            if (what == "plist")
                QVERIFY(writeTestFile(installer.filePath() + "/Contents/Info.plist",
                                      platformPlist(how.toUtf8(), "23F79")));
            if (what == "fail" || what == "again" || what == "claim" || what == "folder" ||
                what == "fat" || what == "plist" || what == "twice")
                continue;
            QVERIFY(writeTestFile(fileFor(what), "old"));
            if (how.isEmpty() || how == "unasked")
                continue;
            prompts << QFileInfo(fileFor(what)).fileName();
            if (how == "replace")
                prompter.replace << prompts.last();
        }
        // Root is never asked for a password: that row runs the interpreter as the user nobody.
        if (setup.contains("fail:pkexec") && geteuid() == 0) {
            interpreter = box.bin + "/as-nobody";
            QVERIFY(QFile::copy(VANTOREL_OSASCRIPT_PATH, box.bin + "/osascript"));
            QVERIFY(writeTestFile(interpreter,
                                  "#!/bin/sh\nexec setpriv --reuid=65534 --regid=65534 "
                                  "--clear-groups \"${0%/*}/osascript\" \"$@\"\n",
                                  true));
            QCOMPARE(QProcess::execute("chmod", {"-R", "a+rwX", box.root}), 0);
        }

        InstallerViewModel model;
        configure(model, prompter, interpreter);
        if (setup.contains("fat")) {
            Environment environment = model.environment();
            environment.fileSizeBits = [](const QString &) { return 32L; };
            model.setEnvironment(environment);
        }
        FixedFolderChooser folderChooser;
        if (setup.contains("folder") || setup.contains("folder:gone")) {
            folderChooser.answer = other();
            model.setFolderChooser(&folderChooser);
            model.chooseOutputFolder();
            QCOMPARE(model.outputFolder(), other());
            if (setup.contains("folder:gone"))
                QVERIFY(QDir(other()).removeRecursively());
            else
                m_folder = other();
        }
        ViewModelStateAccess::setSelectedInstaller(model, installer);
        const auto runToEnd = [&model, twice = setup.contains("twice")] {
            model.createISO();
            if (twice)
                model.createISO();
            QTRY_VERIFY_WITH_TIMEOUT(!model.isProcessing(), 60000);
            model.waitForBackgroundWork();
        };
        if (setup.contains("again")) {
            runToEnd();
            QCOMPARE(model.alertTitle(), "Error");
            QCOMPARE(entries(box.desktop) + entries(box.volumes), QStringList());
            QVERIFY(QFile::remove(box.log));
            qunsetenv("VANTOREL_TEST_FAIL");
        }
        StoreRecorder recorder(model);
        runToEnd();

        // Published state: the groups that ran, in order, each store in its place, then one
        // alert.
        const QList<QStringList> groupStores{
            {"progress=0", "progressDescription=Starting the ISO creation process...",
             "currentStep=-1", "completedSteps=", "isProcessing=true", "completedSteps=0"},
            {"currentStep=1", "progressDescription=Creating DMG file...", "progress=0.1"},
            {"completedSteps=0,1", "currentStep=2",
             "progressDescription=Making DMG bootable using createinstallmedia...", "progress=0.3"},
            {"completedSteps=0,1,2", "currentStep=3",
             "progressDescription=Converting DMG to ISO...", "progress=0.7"},
            {"completedSteps=0,1,2,3", "currentStep=4",
             "progressDescription=Cleaning up temporary files...", "progress=0.9"},
            {"completedSteps=0,1,2,3,4", "progress=1",
             "progressDescription=ISO creation completed"}};
        QStringList expected;
        for (int group = 0; group <= groups; ++group)
            expected += groupStores[group];
        if (failure.isEmpty())
            expected << "createdISOPath=" + iso(name);
        // A refusal that another folder cures says so.
        if (setup.contains("claim:huge") || setup.contains("claim:link") || setup.contains("fat"))
            expected << "alertOffersFolderChoice=true";
        expected << QString("alertTitle=") + (failure.isEmpty() ? "Success" : "Error")
                 << "alertMessage=" + model.alertMessage();
        // The check's verdict on the finished ISO; the double's xorriso keeps 32 bytes of a name.
        // A failure's detail says what was undone.
        if (!detail.isEmpty())
            expected << "alertDetail=" + model.alertDetail();
        if (failure.isEmpty())
            expected << "alertDetail=" +
                            (setup.contains("fail:boot-file")
                                 ? "Not verified: the volume is not marked bootable."
                             : setup.contains("plist:14.5")
                                 ? "Not verified: the volume holds macOS 14.5 (23F79), not " +
                                       macOSVersion + " (23G80)."
                                 : "Verified: bootable HFS+ volume \u201C" +
                                       QString::fromUtf8(name.toUtf8().left(32)) +
                                       "\u201D with macOS " + macOSVersion + " (23G80).");
        expected << "showingAlert=true"
                 << "isProcessing=false";
        QCOMPARE(recorder.stores, expected);
        const QString pattern =
            failure.isEmpty()
                ? QRegularExpression::escape("ISO image created successfully at:\n" + iso(name))
                : "Failed to create ISO image: " +
                      QString(failure)
                          .replace("OTHER", QRegularExpression::escape(other()))
                          .replace("DESKTOP", QRegularExpression::escape(box.desktop));
        QVERIFY2(QRegularExpression("^(" + pattern + ")\\z").match(model.alertMessage()).hasMatch(),
                 qPrintable(model.alertMessage()));
        QCOMPARE(prompter.asked, prompts);
        const QString detailPattern =
            QString(detail).replace("DESKTOP", QRegularExpression::escape(box.desktop));
        QVERIFY2(detail.isEmpty() || QRegularExpression("^(" + detailPattern + ")\\z")
                                         .match(model.alertDetail())
                                         .hasMatch(),
                 qPrintable(model.alertDetail()));

        // Exactly the intended programs with the intended arguments, in order; createinstallmedia
        // with administrator rights.
        const QString bundle = installer.path.toLocalFile(), hdiutil = box.bin + "/hdiutil";
        QStringList install{toolPathFor(bundle), "--volume", volume, "--nointeraction", "admin"};
        if (installer.majorVersion() < 13)
            install = QStringList{install[0], "--applicationpath", bundle} + install.mid(1);
        const QMap<QString, QStringList> argv{
            {"create",
             {hdiutil, "create", "-size",
              setup.contains("claim:room") ? QString::number(installer.size / 1000000 + 2000) + 'm'
                                           : "15500m",
              "-fs", "HFS+J", "-volname", name, dmg(name)}},
            {"attach", {hdiutil, "attach", dmg(name)}},
            {"install", install},
            {"eject", {hdiutil, "eject", volume, "-force"}},
            {"convert", {hdiutil, "convert", dmg(name), "-format", "UDTO", "-o", iso(name)}},
            {"rm", {box.bin + "/rm", dmg(name)}},
            {"rmcdr", {box.bin + "/rm", iso(name) + ".cdr"}}};
        QList<QStringList> actual, intended;
        for (QStringList record : DoublesSandbox::readRecords(box.log)) {
            if (QRegularExpression("^uid=0 |elevated=1$").match(record.last()).hasMatch())
                record.last() = "admin";
            actual << record;
        }
        for (const QString &call : calls)
            if (!call.isEmpty())
                intended << argv[call];
        QCOMPARE(actual, intended);

        // Files left behind; what the user did not let us replace is untouched.
        QCOMPARE(entries(box.desktop).replaceInStrings(name, "") +
                     entries(box.volumes).replaceInStrings(name, "volume") +
                     entries(other()).replaceInStrings(name, "other"),
                 left);
        QCOMPARE(entries(box.work), QStringList());
        for (const QString &step : setup)
            if (QRegularExpression("^(dmg|iso|cdr|volume)(:cancel|:unasked)?$")
                    .match(step)
                    .hasMatch())
                QCOMPARE(DoublesSandbox::readFile(fileFor(step.section(':', 0, 0))), "old");
    }

    // Gigabyte figures, as the free-space refusal and the details card show them.
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
        // The fraction in the locale's digits too, not ASCII after native ones.
        QTest::addRow("Persian digits") << qint64(13'250'000'000) << "fa_IR"
                                        << "۱۳٫۲۵";
        QTest::addRow("Arabic digits, one fraction digit") << qint64(2'500'000'000) << "ar_EG"
                                                           << "٢٫٥";
    }

    void gigabyteFigure()
    {
        QFETCH(qint64, bytes);
        QFETCH(QString, locale);
        QTEST(vantorel::gigabyteFigure(bytes, QLocale(locale)), "figure");
    }

    // The folder runs write to is kept across launches: a new model takes it up.
    void chosenFolderIsRemembered()
    {
        FixedFolderChooser chooser;
        chooser.answer = other();
        {
            InstallerViewModel model;
            model.setFolderChooser(&chooser);
            model.chooseOutputFolder();
        }
        InstallerViewModel later;
        QCOMPARE(later.outputFolder(), other());
        QVERIFY(!later.outputFolderIsDesktop());
    }

    // Stopped while a stage's command runs (one that would take a minute): the command ends,
    // with whatever it started, what the run made is removed, and the one alert says so.
    void stop_data()
    {
        QTest::addColumn<QByteArray>("slow");  // the command running when the user stops
        QTest::addColumn<bool>("unreachable"); // it ignores the runner's signals, as root's would
        QTest::addColumn<QString>("detail");
        const QString removed = "The temporary files were removed.";
        QTest::addRow("creating the disk image") << QByteArray("create") << false << "";
        QTest::addRow("installing") << QByteArray("install") << false << removed;
        // Only the eject of its volume ends it.
        QTest::addRow("installing, out of the signals' reach")
            << QByteArray("install") << true << removed;
        QTest::addRow("converting") << QByteArray("convert") << false << removed;
        // The finished ISO goes too: the user asked for the files to be removed.
        QTest::addRow("cleaning up") << QByteArray("rm") << false << removed;
    }

    void stop()
    {
        QFETCH(QByteArray, slow);
        QFETCH(bool, unreachable);
        DoublesSandbox &box = *m_box;
        const QString started = box.root + "/slow-started";
        qputenv("VANTOREL_TEST_SLOW", slow);
        qputenv("VANTOREL_TEST_SLOW_ONCE", QFile::encodeName(started));
        if (unreachable)
            qputenv("VANTOREL_TEST_UNREACHABLE", "1");
        InstallerViewModel model;
        TablePrompter prompter;
        configure(model, prompter);
        ViewModelStateAccess::setSelectedInstaller(
            model, box.makeInstaller("Install macOS Sonoma", "14.6.1"));
        model.createISO();
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(started), 30000);
        model.stopRun();
        QVERIFY(model.isStopping());
        // Well before the command would have ended by itself.
        QTRY_VERIFY_WITH_TIMEOUT(!model.isProcessing(), 30000);
        QCOMPARE(model.alertMessage(), "Failed to create ISO image: Operation cancelled by user");
        QTEST(model.alertDetail(), "detail");
        QVERIFY(!model.isStopping());
        QCOMPARE(entries(box.desktop) + entries(box.volumes), QStringList());
        QTRY_COMPARE(processesIn(box.work), QStringList());
    }

    // Whatever a name or path holds, the command built from it runs exactly the intended
    // program with exactly the intended arguments, and nothing else.
    void anyValueRunsOnlyTheIntendedCommand()
    {
        // The hdiutil double only records here; it also stands in for rm and createinstallmedia.
        DoublesSandbox &box = *m_box;
        QVERIFY(box.installDouble("hdiutil", box.bin + "/rm"));
        qputenv("VANTOREL_TEST_RECORD_ONLY", "1");
        using namespace commandtexts;
        QRandomGenerator random(20240601u);
        const QString hdiutil = box.bin + "/hdiutil";
        QList<QStringList> expected;
        QStringList scripts;
        for (int i = 0; i < 400; ++i) {
            const QString name = randomName(random), image = '/' + randomName(random),
                          other = '/' + randomName(random) + '/' + randomName(random);
            const QString installer = box.apps + '/' + QString::number(i) + randomName(random);
            const QString tool = toolPathFor(installer);
            const qint64 size = qint64(random.bounded(1 << 30)) * 100, version = 11 + i % 4;
            QStringList install{tool, "--volume", image, "--nointeraction"};
            if (version < 13)
                install = QStringList{tool, "--applicationpath", installer} + install.mid(1);
            const QList<QPair<QString, QStringList>> cases{
                {createCommand(size, name, image),
                 {hdiutil, "create", "-size", QString::number(sizeFigure(size)) + 'm', "-fs",
                  "HFS+J", "-volname", name, image}},
                {attachCommand(image), {hdiutil, "attach", image}},
                {installMediaCommand(tool, installer, image, version), install},
                {ejectCommand(image), {hdiutil, "eject", image, "-force"}},
                {convertCommand(image, other),
                 {hdiutil, "convert", image, "-format", "UDTO", "-o", other}},
                {deleteCommand(image), {box.bin + "/rm", image}}};
            const auto &[script, argv] = cases[i % cases.size()];
            // The tool must exist to run: each case gets its own installer folder.
            QVERIFY(QDir().mkpath(QFileInfo(tool).path()) && box.installDouble("hdiutil", tool));
            expected << argv;
            scripts << script;
            try {
                AppleScriptExecutor::executeAppleScript(script, VANTOREL_OSASCRIPT_PATH);
            } catch (const Error &error) {
                QFAIL(qPrintable(error.localizedDescription() + "\nscript: " + script));
            }
        }
        const QList<QStringList> records = DoublesSandbox::readRecords(box.log);
        QCOMPARE(records.size(), expected.size()); // nothing ran beyond the intended commands
        for (int i = 0; i < records.size(); ++i)
            QVERIFY2(records[i] == expected[i],
                     qPrintable(scripts[i] + "\ngot: " + records[i].join('|')));
        QCOMPARE(entries(box.work), QStringList());
    }

    // Soak: back-to-back runs in one view-model, as a long-lived window does them. After a
    // warm-up the process gains no descriptors, no threads beyond the model's pool of 4 and no
    // memory.
    void backToBackRunsDoNotGrow()
    {
        const auto sample = [] { // descriptors, threads, resident KiB
            QFile status("/proc/self/status");
            status.open(QIODevice::ReadOnly);
            const QString text = status.readAll();
            return QList<qint64>{
                QDir("/proc/self/fd").entryList(QDir::AllEntries | QDir::System).size(),
                text.section("Threads:", 1).section('\n', 0, 0).trimmed().toLongLong(),
                text.section("VmRSS:", 1).section("kB", 0, 0).trimmed().toLongLong()};
        };
        InstallerViewModel model;
        TablePrompter prompter;
        prompter.replace << "Install macOS Sonoma.iso";
        configure(model, prompter);
        ViewModelStateAccess::setSelectedInstaller(
            model, m_box->makeInstaller("Install macOS Sonoma", "14.6.1"));
        QList<qint64> warm;
        for (int run = 1; run <= 30; ++run) {
            model.createISO();
            QTRY_VERIFY_WITH_TIMEOUT(!model.isProcessing(), 60000);
            QCOMPARE(model.alertTitle(), "Success");
            if (run == 10)
                warm = sample();
        }
        QCOMPARE(prompter.asked.size(), 29); // the ISO stays, so every later run asks
        const QList<qint64> end = sample();
        QVERIFY(end[0] <= warm[0] && end[1] <= warm[1] + 4);
#if !defined(__SANITIZE_ADDRESS__) // its quarantine keeps freed memory; its leak check counts
        QVERIFY(end[2] - warm[2] <= 8 * 1024);
#endif
    }

    void selection_data()
    {
        // Each action's bundle is named after it. choose / cancel: the chooser answers the
        // bundle or is cancelled; NAME: a load starts, "broken": one that cannot be read; wait:
        // the loads started so far land.
        QTest::addColumn<QStringList>("actions");
        QTest::addColumn<QStringList>("stores");
        const QStringList newer{"selectedInstaller=Newer", "completedSteps=0"};
        QTest::addRow("chosen") << QStringList{"choose"}
                                << QStringList{"currentStep=0", "selectedInstaller=choose",
                                               "completedSteps=0"};
        QTest::addRow("chooser cancelled") << QStringList{"cancel"} << QStringList();
        // The GUI thread starts both loads before it takes any result: whichever walk ends
        // first, the older load must neither replace the newer one nor alert.
        QTest::addRow("an older load succeeds late") << QStringList{"Older", "Newer"} << newer;
        QTest::addRow("an older load fails late") << QStringList{"broken", "Newer"} << newer;
        QTest::addRow("a failed load keeps the selection")
            << QStringList{"Newer", "wait", "broken"}
            << newer + QStringList{"alertTitle=Error",
                                   "alertMessage=Failed to load installer information: Could not "
                                   "read Info.plist",
                                   "showingAlert=true"};
    }

    void selection()
    {
        QFETCH(QStringList, actions);
        InstallerViewModel model;
        FixedChooser chooser;
        model.setChooser(&chooser);
        StoreRecorder recorder(model);
        for (int i = 0; i < actions.size(); ++i) {
            const QString &action = actions[i];
            const QString bundle =
                makeTestBundle(m_box->apps + QString("/%1.app").arg(i),
                               action == "broken" ? "?" : plistNamed(action.toUtf8()));
            if (action == "wait") {
                model.waitForBackgroundWork();
            } else if (action != "choose" && action != "cancel") {
                model.loadInstallerInfo(QUrl::fromLocalFile(bundle));
            } else {
                chooser.answer = action == "cancel" ? QUrl() : QUrl::fromLocalFile(bundle);
                model.selectInstaller();
            }
        }
        model.waitForBackgroundWork();
        QTEST(recorder.stores, "stores");
    }
};

QTEST_GUILESS_MAIN(IsoCreationTest)
#include "tst_isocreation.moc"
