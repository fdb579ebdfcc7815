// End to end: the view-model drives the real runner, the vantorel-osascript interpreter and
// /bin/sh, which run the hdiutil double and a fixture installer's createinstallmedia.

#include "doublessandbox.h"
#include "installerviewmodel.h"
#include "viewmodelstateaccess.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

#include <sys/statvfs.h>

using namespace vantorel;

namespace {

class TablePrompter : public ReplacementPrompter
{
public:
    QMap<QString, bool> answers; // by file name; unknown names are declined
    QStringList asked;
    bool askToReplace(const QString &fileName) override
    {
        asked << fileName;
        return answers.value(fileName, false);
    }
};

class FixedChooser : public InstallerChooser
{
public:
    QUrl answer;
    QUrl chooseInstaller() override { return answer; }
};

void writeFile(const QString &path, const QByteArray &contents, bool executable = false)
{
    QVERIFY2(DoublesSandbox::writeFile(path, contents, executable), qPrintable(path));
}

QByteArray readFile(const QString &path)
{
    return DoublesSandbox::readFile(path);
}

QList<QStringList> readRecords(const QString &path)
{
    return DoublesSandbox::readRecords(path);
}

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// Every store, in order, as "property=value".
void recordStores(InstallerViewModel &model, QStringList &record)
{
    const auto add = [&model, &record](auto signal, auto value) {
        QObject::connect(&model, signal, &model, [&record, value] { record << value(); });
    };
    const auto flag = [](bool value) { return QString(value ? "true" : "false"); };
    // Live values inside the long steps come when a step outlasts the sampler's second; the
    // live-progress test checks them, this record keeps the step boundaries.
    QObject::connect(&model, &InstallerViewModel::progressChanged, &model, [&model, &record] {
        const QString value = QString::number(model.progress());
        if (QStringList{"0", "0.1", "0.3", "0.7", "0.9", "1"}.contains(value))
            record << "progress=" + value;
    });
    add(&InstallerViewModel::progressDescriptionChanged,
        [&model] { return "progressDescription=" + model.progressDescription(); });
    add(&InstallerViewModel::currentStepChanged, [&model] {
        return "currentStep=" +
               QString::number(model.currentStep() ? int(*model.currentStep()) : -1);
    });
    add(&InstallerViewModel::completedStepsChanged, [&model] {
        QStringList ordinals;
        for (int ordinal : model.completedSteps().ordinals())
            ordinals << QString::number(ordinal);
        return "completedSteps=" + ordinals.join(',');
    });
    add(&InstallerViewModel::isProcessingChanged,
        [&model, flag] { return "isProcessing=" + flag(model.isProcessing()); });
    add(&InstallerViewModel::alertTitleChanged,
        [&model] { return "alertTitle=" + model.alertTitle(); });
    add(&InstallerViewModel::alertMessageChanged,
        [&model] { return "alertMessage=" + model.alertMessage(); });
    add(&InstallerViewModel::alertDetailChanged,
        [&model] { return "alertDetail=" + model.alertDetail(); });
    add(&InstallerViewModel::showingAlertChanged,
        [&model, flag] { return "showingAlert=" + flag(model.showingAlert()); });
}

} // namespace

class IsoCreationTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void run_data();
    void run();
    void runUsesTheProcessedInstallersVersion();
    void createISOWithoutSelectionDoesNothing();
    void destroyingTheModelAnswersPromptsWithCancel_data();
    void destroyingTheModelAnswersPromptsWithCancel();
    void selectInstaller_data();
    void selectInstaller();

private:
    InstallerInfo makeInstaller(const QString &name, const QString &macOSVersion);
    void configure(InstallerViewModel &model, TablePrompter &prompter);
    QString dmg(const QString &name) const { return m_desktop + '/' + name + ".dmg"; }
    QString iso(const QString &name) const { return m_desktop + '/' + name + ".iso"; }

    std::unique_ptr<DoublesSandbox> m_sandbox;
    QString m_bin, m_desktop, m_volumes, m_apps, m_work;
    QString m_hdiutilLog, m_installerLog;
};

void IsoCreationTest::initTestCase()
{
    QVERIFY(QFile::exists(VANTOREL_OSASCRIPT_PATH));
    // Sizes in alerts follow the locale, as the details card does.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void IsoCreationTest::init()
{
    m_sandbox = std::make_unique<DoublesSandbox>(VANTOREL_TEST_DOUBLES_DIR);
    QVERIFY(m_sandbox->isValid());
    m_bin = m_sandbox->bin;
    m_desktop = m_sandbox->desktop;
    m_volumes = m_sandbox->volumes;
    m_apps = m_sandbox->apps;
    m_work = m_sandbox->work;
    m_hdiutilLog = m_sandbox->hdiutilLog;
    m_installerLog = m_sandbox->installerLog;
}

void IsoCreationTest::cleanup()
{
    m_sandbox.reset();
}

// A bundle whose createinstallmedia is the recording double.
InstallerInfo IsoCreationTest::makeInstaller(const QString &name, const QString &macOSVersion)
{
    const InstallerInfo installer = m_sandbox->makeInstaller(name, macOSVersion);
    [&] { QVERIFY(installer.path.isLocalFile()); }();
    return installer;
}

void IsoCreationTest::configure(InstallerViewModel &model, TablePrompter &prompter)
{
    model.setEnvironment({VANTOREL_OSASCRIPT_PATH, m_desktop, m_volumes});
    model.setPrompter(&prompter);
}

void IsoCreationTest::run_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("macOSVersion");
    // dmg:ANSWER, iso:ANSWER, dmg-folder:ANSWER: that file (or a folder) exists and the prompt
    // gets ANSWER (unasked: no prompt may come); cdr: a conversion output exists; volume,
    // volume-link: something sits at the volume path; fail:COMMAND: that command fails
    // (boot-file: createinstallmedia leaves none); claim:huge: the installer claims 1 PB;
    // claim:room: 150 GB more than the disk holds, and the existing files grow to 100 GB each.
    QTest::addColumn<QStringList>("setup");
    QTest::addColumn<int>("groups");        // groups A.. applied; 5 = through E
    QTest::addColumn<QString>("failure");   // pattern of the error description; empty: success
    QTest::addColumn<QStringList>("verbs"); // hdiutil calls, in order
    QTest::addColumn<bool>("installerRan");
    QTest::addColumn<QStringList>("desktop"); // suffixes of the name left on the Desktop
    QTest::addColumn<bool>("volumeLeft");

    const QString sonoma = "Install macOS Sonoma";
    const QStringList all{"create", "attach", "eject", "convert"};
    const auto execution = [](const QString &text) {
        return R"(^\d+:\d+: execution error: )" + QRegularExpression::escape(text) + R"( \(1\)\n$)";
    };
    const auto exact = [](const QString &text) {
        return '^' + QRegularExpression::escape(text) + '$';
    };
    const QString cancelled = exact("Operation cancelled by user");
    const QString unusable = exact("The installer name cannot be used as a file name");
    const QString mounted =
        exact("A volume named 'Install macOS Sonoma' is already mounted. Eject it and try again.");

    QTest::addRow("success") << sonoma << "14.6.1" << QStringList() << 5 << "" << all << true
                             << QStringList{".iso"} << false;
    QTest::addRow("success, long install command")
        << "Install macOS Monterey"
        << "12.7.4" << QStringList() << 5 << "" << all << true << QStringList{".iso"} << false;
    QTest::addRow("create fails") << sonoma << "14.6.1" << QStringList{"fail:create"} << 1
                                  << execution("hdiutil: create failed - No space left on device")
                                  << QStringList{"create"} << false << QStringList() << false;
    QTest::addRow("attach fails") << sonoma << "14.6.1" << QStringList{"fail:attach"} << 2
                                  << execution("hdiutil: attach failed - no mountable file systems")
                                  << QStringList{"create", "attach"} << false << QStringList{".dmg"}
                                  << false;
    // Its error ends the stage at once: no eject, the volume stays attached.
    QTest::addRow("createinstallmedia fails")
        << sonoma << "14.6.1" << QStringList{"fail:createinstallmedia"} << 2
        << execution("An error occurred erasing the disk.") << QStringList{"create", "attach"}
        << true << QStringList{".dmg"} << true;
    QTest::addRow("eject fails") << sonoma << "14.6.1" << QStringList{"fail:eject"} << 2
                                 << execution("hdiutil: couldn't eject \"disk4\" - Resource busy")
                                 << QStringList{"create", "attach", "eject"} << true
                                 << QStringList{".dmg"} << true;
    QTest::addRow("convert fails") << sonoma << "14.6.1" << QStringList{"fail:convert"} << 3
                                   << execution("hdiutil: convert failed - internal error") << all
                                   << true << QStringList{".dmg"} << false;
    QTest::addRow("cleanup fails") << sonoma << "14.6.1" << QStringList{"fail:rm"} << 4
                                   << execution("rm: cannot remove: Operation not permitted") << all
                                   << true << QStringList{".dmg", ".iso"} << false;
    QTest::addRow("disk image exists, cancel")
        << sonoma << "14.6.1" << QStringList{"dmg:cancel"} << 1 << cancelled << QStringList()
        << false << QStringList{".dmg"} << false;
    QTest::addRow("disk image exists, replace")
        << sonoma << "14.6.1" << QStringList{"dmg:replace"} << 5 << "" << all << true
        << QStringList{".iso"} << false;
    QTest::addRow("ISO exists, cancel")
        << sonoma << "14.6.1" << QStringList{"iso:cancel"} << 3 << cancelled
        << QStringList{"create", "attach", "eject"} << true << QStringList{".dmg", ".iso"} << false;
    QTest::addRow("ISO exists, replace") << sonoma << "14.6.1" << QStringList{"iso:replace"} << 5
                                         << "" << all << true << QStringList{".iso"} << false;
    QTest::addRow("both exist, two prompts")
        << sonoma << "14.6.1" << QStringList{"dmg:replace", "iso:replace"} << 5 << "" << all << true
        << QStringList{".iso"} << false;
    // Never a whole folder for a confirmed "Replace": the platform's refusal is the answer.
    QTest::addRow("folder in the way, replace")
        << sonoma << "14.6.1" << QStringList{"dmg-folder:replace"} << 1 << exact("Is a directory")
        << QStringList() << false << QStringList{".dmg"} << false;
    QTest::addRow("stale conversion output")
        << sonoma << "14.6.1" << QStringList{"cdr"} << 3
        << execution("hdiutil: convert failed - File exists") << all << true
        << QStringList{".dmg", ".iso.cdr"} << false;
    QTest::addRow("volume already mounted")
        << sonoma << "14.6.1" << QStringList{"volume"} << 2 << mounted << QStringList{"create"}
        << false << QStringList{".dmg"} << true;
    QTest::addRow("dangling link at the volume path")
        << sonoma << "14.6.1" << QStringList{"volume-link"} << 2 << mounted << QStringList{"create"}
        << false << QStringList{".dmg"} << true;
    for (const QString &name : {QString(), QString("."), QString(".."), QString("../Evil")})
        QTest::addRow("unusable name '%s'", qPrintable(name))
            << name << "14.6.1" << QStringList() << 1 << unusable << QStringList() << false
            << QStringList() << false;
    QTest::addRow("no boot file: not verified")
        << sonoma << "14.6.1" << QStringList{"fail:boot-file"} << 5 << "" << all << true
        << QStringList{".iso"} << false;
    // Refused before any prompt or command; the file that was there stays.
    QTest::addRow("more than the disk holds")
        << sonoma << "14.6.1" << QStringList{"dmg:unasked", "claim:huge"} << 1
        << '^' + QRegularExpression::escape("Not enough free space on the Desktop's disk: ") +
               R"(2,000,004 GB needed, [\d,]+(\.\d\d?)? GB available\.$)"
        << QStringList() << false << QStringList{".dmg"} << false;
    QTest::addRow("replaced files make the room")
        << sonoma << "14.6.1" << QStringList{"dmg:replace", "iso:replace", "claim:room"} << 5 << ""
        << all << true << QStringList{".iso"} << false;
    QTest::addRow("hostile name")
        << "Evil 'one' \"two\" \\three\\ $(touch pwned1) `touch pwned2`; touch pwned3 '\\''\n"
           "$HOME & | > < * ? ~ \t \\\" é 🍎"
        << "10.13.6" << QStringList() << 5 << "" << all << true << QStringList{".iso"} << false;
}

void IsoCreationTest::run()
{
    QFETCH(QString, name);
    QFETCH(QString, macOSVersion);
    QFETCH(QStringList, setup);
    QFETCH(int, groups);
    QFETCH(QString, failure);
    QFETCH(QStringList, verbs);
    QFETCH(bool, installerRan);
    QFETCH(QStringList, desktop);
    QFETCH(bool, volumeLeft);

    InstallerInfo installer = makeInstaller(name, macOSVersion);
    const QString volume = m_volumes + '/' + name;
    TablePrompter prompter;
    QStringList expectedPrompts;
    for (const QString &step : setup) {
        const QString what = step.section(':', 0, 0), how = step.section(':', 1);
        if (what == "dmg" || what == "iso" || what == "dmg-folder") {
            const QString path = what == "iso" ? iso(name) : dmg(name);
            if (what == "dmg-folder")
                QVERIFY(QDir().mkpath(path));
            writeFile(what == "dmg-folder" ? path + "/inside" : path, "old");
            if (how != "unasked")
                expectedPrompts << QFileInfo(path).fileName();
            prompter.answers[QFileInfo(path).fileName()] = how != "cancel";
        } else if (what == "cdr") {
            writeFile(iso(name) + ".cdr", "stale");
        } else if (what == "volume") {
            QVERIFY(QDir().mkpath(volume));
            writeFile(volume + "/someone else's file", "precious");
        } else if (what == "volume-link") {
            QVERIFY(QFile::link(m_sandbox->filePath("gone"), volume));
        } else if (step == "claim:huge") {
            installer.size = 1'000'000'000'000'000;
        } else if (step == "claim:room") {
            struct statvfs disk;
            QCOMPARE(statvfs(QFile::encodeName(m_desktop).constData(), &disk), 0);
            installer.size = (qint64(disk.f_bavail * disk.f_frsize) + 150'000'000'000) / 2;
            for (const QString &path : {dmg(name), iso(name)})
                QVERIFY(QFile::resize(path, 100'000'000'000)); // sparse
        } else if (step == "fail:rm") {
            writeFile(m_bin + "/rm",
                      "#!/bin/sh\necho 'rm: cannot remove: Operation not permitted' >&2\nexit 1\n",
                      true);
        } else {
            qputenv("VANTOREL_TEST_FAIL", how.toUtf8());
        }
    }

    QStringList stores;
    InstallerViewModel model;
    configure(model, prompter);
    ViewModelStateAccess::setSelectedInstaller(model, installer);
    recordStores(model, stores);

    model.createISO();
    // The disk work has not touched the published state yet: only the synchronous part.
    QCOMPARE(stores,
             QStringList({"progress=0", "progressDescription=Starting the ISO creation process...",
                          "currentStep=-1", "completedSteps=", "isProcessing=true",
                          "completedSteps=0"}));
    QTRY_VERIFY_WITH_TIMEOUT(!model.isProcessing(), 60000);
    model.waitForBackgroundWork();

    // Published state: the groups that ran, in order, each store in its place, then one alert.
    QStringList expected = stores.mid(0, 6);
    const QStringList descriptions{"Creating DMG file...",
                                   "Making DMG bootable using createinstallmedia...",
                                   "Converting DMG to ISO...", "Cleaning up temporary files..."};
    const QStringList fractions{"0.1", "0.3", "0.7", "0.9"};
    QString done = "0";
    for (int group = 0; group < qMin(groups, 4); ++group) {
        if (group > 0)
            expected << "completedSteps=" + (done += ',' + QString::number(group));
        expected << "currentStep=" + QString::number(group + 1)
                 << "progressDescription=" + descriptions[group] << "progress=" + fractions[group];
    }
    if (groups == 5)
        expected << "completedSteps=0,1,2,3,4"
                 << "progress=1"
                 << "progressDescription=ISO creation completed";
    const bool success = failure.isEmpty();
    expected << QString("alertTitle=") + (success ? "Success" : "Error")
             << "alertMessage=" + model.alertMessage();
    // The check's verdict on the finished ISO; the double's xorriso keeps 32 bytes of a name.
    if (success)
        expected << "alertDetail=" +
                        (setup.contains("fail:boot-file")
                             ? "Not verified: the volume is not marked bootable."
                             : "Verified: bootable HFS+ volume \u201C" +
                                   QString::fromUtf8(name.toUtf8().left(32)) + "\u201D.");
    expected << "showingAlert=true"
             << "isProcessing=false";
    QCOMPARE(stores, expected);
    if (success) {
        QCOMPARE(model.alertMessage(), "ISO image created successfully at:\n" + iso(name));
    } else {
        const QString prefix = "Failed to create ISO image: ";
        QVERIFY(model.alertMessage().startsWith(prefix));
        QVERIFY2(
            QRegularExpression(failure).match(model.alertMessage().mid(prefix.size())).hasMatch(),
            qPrintable(model.alertMessage()));
    }
    QCOMPARE(prompter.asked, expectedPrompts);

    // Exactly the intended commands with the intended arguments.
    const QMap<QString, QStringList> argv{
        {"create",
         {"create", "-size", QString::number(installer.size / 1000000 + 2000) + 'm', "-fs", "HFS+J",
          "-volname", name, dmg(name)}},
        {"attach", {"attach", dmg(name)}},
        {"eject", {"eject", volume, "-force"}},
        {"convert", {"convert", dmg(name), "-format", "UDTO", "-o", iso(name)}}};
    QList<QStringList> calls;
    for (const QStringList &record : readRecords(m_hdiutilLog))
        calls << record.mid(1);
    QList<QStringList> expectedCalls;
    for (const QString &verb : verbs)
        expectedCalls << argv[verb];
    QCOMPARE(calls, expectedCalls);

    const QList<QStringList> installs = readRecords(m_installerLog);
    QCOMPARE(installs.size(), installerRan ? 1 : 0);
    if (installerRan) {
        const QString bundle = installer.path.toLocalFile();
        QStringList expectedInstall{bundle + "/Contents/Resources/createinstallmedia"};
        if (installer.majorVersion() < 13)
            expectedInstall << "--applicationpath" << bundle;
        expectedInstall << "--volume" << volume << "--nointeraction";
        QCOMPARE(installs[0].mid(0, installs[0].size() - 1), expectedInstall);
        QVERIFY2(QRegularExpression("^uid=0 |elevated=1$").match(installs[0].last()).hasMatch(),
                 qPrintable(installs[0].last()));
    }

    // Files left behind.
    QStringList expectedDesktop;
    for (const QString &suffix : desktop)
        expectedDesktop << name + suffix;
    QCOMPARE(entries(m_desktop), expectedDesktop);
    QCOMPARE(entries(m_volumes), volumeLeft ? QStringList{name} : QStringList());
    QCOMPARE(entries(m_work), QStringList());
    if (setup.contains("volume"))
        QCOMPARE(entries(volume), QStringList{"someone else's file"});
    if (setup.contains("dmg-folder:replace"))
        QCOMPARE(readFile(dmg(name) + "/inside"), "old");
    if (setup.contains("dmg:cancel") || setup.contains("dmg:unasked"))
        QCOMPARE(readFile(dmg(name)), "old");
    if (setup.contains("iso:cancel"))
        QCOMPARE(readFile(iso(name)), "old");
}

void IsoCreationTest::runUsesTheProcessedInstallersVersion()
{
    // No version number: the code name decides, and it must be the processed installer's.
    const InstallerInfo monterey = makeInstaller("Install macOS Monterey", "Install.app");
    InstallerViewModel model;
    TablePrompter prompter;
    configure(model, prompter);
    ViewModelStateAccess::setSelectedInstaller(model, monterey);
    model.createISO();
    InstallerInfo sonoma = monterey;
    sonoma.name = "Install macOS Sonoma";
    ViewModelStateAccess::setSelectedInstaller(model, sonoma);

    QTRY_VERIFY_WITH_TIMEOUT(!model.isProcessing(), 60000);
    QCOMPARE(model.alertTitle(), "Success");
    const QList<QStringList> installs = readRecords(m_installerLog);
    QCOMPARE(installs.size(), 1);
    QVERIFY(installs[0].contains("--applicationpath"));
}

void IsoCreationTest::createISOWithoutSelectionDoesNothing()
{
    InstallerViewModel model;
    QSignalSpy willChange(&model, &InstallerViewModel::objectWillChange);
    model.createISO();
    model.waitForBackgroundWork();
    QCOMPARE(willChange.count(), 0);
}

void IsoCreationTest::destroyingTheModelAnswersPromptsWithCancel_data()
{
    QTest::addColumn<QString>("existing");
    QTest::addColumn<int>("pause");
    QTest::addColumn<QStringList>("verbs");
    // The prompt call is queued when the model goes, and dropped with it.
    QTest::addRow("queued prompt") << ".dmg" << 300 << QStringList();
    // The run is still in makeBootable; it asks only after the destructor began waiting.
    QTest::addRow("prompt after destruction began")
        << ".iso" << 0 << QStringList{"create", "attach", "eject"};
}

void IsoCreationTest::destroyingTheModelAnswersPromptsWithCancel()
{
    QFETCH(QString, existing);
    QFETCH(int, pause);
    QFETCH(QStringList, verbs);
    const InstallerInfo installer = makeInstaller("Install macOS Sonoma", "14.6.1");
    const QString path = m_desktop + '/' + installer.name + existing;
    writeFile(path, "old");
    TablePrompter prompter;
    prompter.answers[QFileInfo(path).fileName()] = true;
    {
        InstallerViewModel model;
        configure(model, prompter);
        ViewModelStateAccess::setSelectedInstaller(model, installer);
        model.createISO();
        // No events are processed from here on: no prompt can be shown.
        QTest::qSleep(pause);
    }
    QCOMPARE(prompter.asked, QStringList());
    QCOMPARE(readFile(path), "old");
    QStringList calls;
    for (const QStringList &record : readRecords(m_hdiutilLog))
        calls << record.value(1);
    QCOMPARE(calls, verbs);
}

void IsoCreationTest::selectInstaller_data()
{
    QTest::addColumn<QString>("tool"); // file, folder, link, dangling link, none, cancel
    QTest::addColumn<bool>("valid");
    QTest::addRow("tool is a file") << "file" << true;
    QTest::addRow("tool is a folder") << "folder" << true;
    QTest::addRow("tool is a link to a file") << "link" << true;
    QTest::addRow("tool is a dangling link") << "dangling link" << false;
    QTest::addRow("no tool") << "none" << false;
    QTest::addRow("chooser cancelled") << "cancel" << false;
}

void IsoCreationTest::selectInstaller()
{
    QFETCH(QString, tool);
    QFETCH(bool, valid);
    const QString bundle = m_apps + "/Install macOS Sonoma.app";
    const QString resources = bundle + "/Contents/Resources";
    QVERIFY(QDir().mkpath(resources));
    writeFile(bundle + "/Contents/Info.plist",
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
              "<key>CFBundleDisplayName</key><string>Install macOS Sonoma</string>"
              "</dict></plist>\n");
    if (tool == "file")
        writeFile(resources + "/createinstallmedia", "#!/bin/sh\n", true);
    else if (tool == "folder")
        QVERIFY(QDir().mkpath(resources + "/createinstallmedia"));
    else if (tool == "link" || tool == "dangling link")
        QVERIFY(QFile::link(tool == "link" ? bundle + "/Contents/Info.plist" : bundle + "/gone",
                            resources + "/createinstallmedia"));

    InstallerViewModel model;
    FixedChooser chooser;
    chooser.answer = tool == "cancel" ? QUrl() : QUrl::fromLocalFile(bundle);
    model.setChooser(&chooser);
    QSignalSpy willChange(&model, &InstallerViewModel::objectWillChange);
    QSignalSpy alerts(&model, &InstallerViewModel::showingAlertChanged);

    model.selectInstaller();
    if (valid) {
        // Selected at once; the loaded record arrives later.
        QCOMPARE(model.currentStep(), ProcessStep::selectInstaller);
        QVERIFY(!model.selectedInstaller());
    }
    model.waitForBackgroundWork();

    if (valid) {
        QCOMPARE(model.currentStep(), ProcessStep::selectInstaller);
        QVERIFY(model.selectedInstaller());
        QCOMPARE(model.selectedInstaller()->name, "Install macOS Sonoma");
        QCOMPARE(alerts.count(), 0);
    } else if (tool == "cancel") {
        QCOMPARE(willChange.count(), 0);
    } else {
        QCOMPARE(alerts.count(), 1);
        QCOMPARE(willChange.count(), 3);
        QCOMPARE(model.alertTitle(), "Invalid Installer");
        QCOMPARE(model.alertMessage(),
                 "The selected application doesn't appear to be a valid macOS installer.");
        QCOMPARE(model.currentStep(), std::nullopt);
    }
}

QTEST_GUILESS_MAIN(IsoCreationTest)
#include "tst_isocreation.moc"
