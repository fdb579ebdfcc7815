// Soak: 200 whole ISO runs back to back in one view-model, as a long-lived window would do them,
// against the real interpreter and the test doubles. After a warm-up, the process must not gain
// open descriptors, threads beyond the model's bounded pool, or memory.

#include "doublessandbox.h"
#include "installerviewmodel.h"
#include "viewmodelstateaccess.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTest>
#include <QTimer>

using namespace vantorel;

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool addressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool addressSanitizer = true;
#else
constexpr bool addressSanitizer = false;
#endif
#else
constexpr bool addressSanitizer = false;
#endif

constexpr int warmUpRuns = 10;
constexpr int totalRuns = 200;
// InstallerViewModel's pool starts at most this many threads; idle ones expire on their own.
constexpr int poolMaximum = 4;
constexpr qint64 rssGrowthLimitKiB = 8 * 1024;

class ReplacingPrompter : public ReplacementPrompter
{
public:
    int asked = 0;
    bool askToReplace(const QString &) override
    {
        ++asked;
        return true;
    }
};

struct ProcessFigures
{
    int descriptors = -1;
    int threads = -1;
    qint64 rssKiB = -1;
};

ProcessFigures sample()
{
    ProcessFigures figures;
    figures.descriptors = int(QDir("/proc/self/fd")
                                  .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)
                                  .size());
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return figures;
    for (const QByteArray &line : status.readAll().split('\n')) {
        const QByteArray value = line.mid(line.indexOf(':') + 1).trimmed();
        if (line.startsWith("Threads:"))
            figures.threads = value.toInt();
        else if (line.startsWith("VmRSS:"))
            figures.rssKiB = value.split(' ').value(0).toLongLong();
    }
    return figures;
}

// Runs the event loop until the run has cleared isProcessing, as the window would.
bool waitForRunEnd(InstallerViewModel &model)
{
    QEventLoop loop;
    QObject::connect(&model, &InstallerViewModel::isProcessingChanged, &loop, [&] {
        if (!model.isProcessing())
            loop.quit();
    });
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    if (model.isProcessing())
        loop.exec();
    return !model.isProcessing();
}

} // namespace

class IsoSoakTest : public QObject
{
    Q_OBJECT

private slots:
    void backToBackRunsDoNotGrow();
};

void IsoSoakTest::backToBackRunsDoNotGrow()
{
    DoublesSandbox sandbox(VANTOREL_TEST_DOUBLES_DIR);
    QVERIFY(sandbox.isValid());
    const InstallerInfo installer = sandbox.makeInstaller("Install macOS Sonoma", "14.6.1");
    QVERIFY(installer.path.isLocalFile());
    const QString iso = sandbox.desktop + "/Install macOS Sonoma.iso";

    InstallerViewModel model;
    ReplacingPrompter prompter;
    model.setEnvironment(sandbox.environment(VANTOREL_OSASCRIPT_PATH));
    model.setPrompter(&prompter);
    ViewModelStateAccess::setSelectedInstaller(model, installer);

    ProcessFigures warm;
    for (int run = 1; run <= totalRuns; ++run) {
        model.createISO();
        QVERIFY2(waitForRunEnd(model), qPrintable(QString("run %1 did not end").arg(run)));
        QVERIFY2(model.alertTitle() == "Success",
                 qPrintable(QString("run %1: %2").arg(run).arg(model.alertMessage())));
        // Dismissed as the alert does; the ISO stays, so every later run asks to replace it.
        model.setShowingAlert(false);
        if (run == warmUpRuns)
            warm = sample();
    }
    QVERIFY(QFile::exists(iso));
    QCOMPARE(prompter.asked, totalRuns - 1);
    QCOMPARE(QDir(sandbox.volumes).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList());
    QCOMPARE(QDir(sandbox.work).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());

    const ProcessFigures end = sample();
    qInfo("run %d to run %d: descriptors %d -> %d, threads %d -> %d, RSS %lld -> %lld KiB",
          warmUpRuns, totalRuns, warm.descriptors, end.descriptors, warm.threads, end.threads,
          warm.rssKiB, end.rssKiB);
    QVERIFY(warm.descriptors > 0 && warm.threads > 0 && warm.rssKiB > 0);
    QVERIFY2(end.descriptors <= warm.descriptors, "open descriptors grew");
    QVERIFY2(end.threads <= warm.threads + poolMaximum, "threads grew beyond the model's pool");
    // The address sanitizer holds freed memory in quarantine; its leak check covers this there.
    if (!addressSanitizer)
        QVERIFY2(end.rssKiB - warm.rssKiB <= rssGrowthLimitKiB, "resident memory grew");
}

QTEST_GUILESS_MAIN(IsoSoakTest)
#include "tst_isosoak.moc"
