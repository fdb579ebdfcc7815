// The longest time the GUI thread's event loop is kept from running while Vantorel works: a
// 1 ms precise timer on the GUI thread notes how late each tick comes. Not a test: run it on a
// quiet machine.
//
//   guistall_bench [--files N] [--delay SECONDS] [--pieces N] [--rounds N] [--bare] [--parent DIR]
//
// Scenarios, in one process: idle (2 s of nothing: the machine's own noise), then N rounds
// (default 3) of an "Error" alert whose message is an error text as long as the command runner
// lets one be (1 MiB), N rounds of such an alert whose text has no line break, then N rounds of
// loading an installer whose size walk covers a tree of N files (default 200000) and one whole ISO
// run against the test doubles with each stand-in tool (hdiutil, createinstallmedia) waiting
// SECONDS first (default 0.5). In the run, createinstallmedia copies the whole tree into the volume
// folder in --pieces pieces (default 5) and hdiutil writes the conversion output in as many, each
// piece followed by SECONDS of pause, so the progress sampler walks a volume of up to N files once
// a second (--pieces 0: no copy, the volume stays empty); its cost shows as the process's CPU time
// outside the GUI thread (the run's worker only waits for the tools). By default the real window
// runs (VantorelApp, offscreen unless QT_QPA_PLATFORM says otherwise), so the views' reaction to
// each published store counts too; --bare drives the view-model alone on a QCoreApplication.
//
// On a shared machine the GUI thread also stalls while it waits for a CPU. The scheduler's own
// accounting (/proc/thread-self/schedstat) splits each stall into time the GUI thread ran (work
// done on it: what the goal is about) and time it waited to be run (the machine's load); both are
// shown, and the longest stall is listed with what the model published during it.

#include "doublessandbox.h"
#include "installerviewmodel.h"
#include "vantorelapp.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QQuickWindow>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <tuple>
#include <vector>

#include <fcntl.h>
#include <time.h>
#include <unistd.h>

using namespace vantorel;

namespace {

constexpr qint64 tickNs = 1000000;
constexpr qint64 frameBudgetNs = 16000000;
// Opening an alert may take a few frames, never a noticeable pause.
constexpr qint64 alertBudgetNs = 50000000;

// The calling thread's time on a CPU and waiting for one, in nanoseconds.
struct SchedulerTimes
{
    qint64 running = 0;
    qint64 waiting = 0;
};

qint64 processCpuNs()
{
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

SchedulerTimes schedulerTimes()
{
    SchedulerTimes times;
    const int fd = ::open("/proc/thread-self/schedstat", O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return times;
    char text[128] = {};
    const ssize_t got = ::read(fd, text, sizeof text - 1);
    ::close(fd);
    if (got > 0)
        std::sscanf(text, "%lld %lld", &times.running, &times.waiting);
    return times;
}

// Stalls of one scenario, over all rounds.
struct Stalls
{
    std::vector<qint64> lengths;
    std::vector<qint64> busy; // the part of each stall that the GUI thread spent running
    QString worst;            // the longest, with what was published during it
    qint64 worstLength = 0;
    QString busiest; // the one with the most running on the GUI thread
    qint64 busiestLength = 0;
    double elapsedS = 0;
};

class StallMeter
{
public:
    StallMeter()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(1);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { tick(); });
    }

    void start()
    {
        m_ticks.clear();
        m_marks.clear();
        m_clock.start();
        m_last = 0;
        m_lastTimes = schedulerTimes();
        m_timer.start();
    }

    // Notes what the model published, so that a long stall can be traced to it.
    void mark(const QString &what)
    {
        if (m_timer.isActive())
            m_marks.push_back({m_clock.nsecsElapsed(), what});
    }

    void stopInto(Stalls &stalls)
    {
        m_timer.stop();
        tick(); // a loop still blocked at the end is a stall as well
        stalls.elapsedS += double(m_clock.nsecsElapsed()) / 1e9;
        for (const auto &[begin, length, busy, waiting] : m_ticks) {
            stalls.lengths.push_back(length);
            stalls.busy.push_back(busy);
            const auto describe = [&, begin = begin, length = length, busy = busy,
                                   waiting = waiting] {
                QStringList during;
                for (const auto &[at, what] : m_marks)
                    if (at >= begin && at <= begin + length + tickNs)
                        during << what;
                return QStringLiteral(
                           "%1 ms (running %2 ms, waiting for a CPU %3 ms) at %4 s into the "
                           "round%5")
                    .arg(double(length) / 1e6, 0, 'f', 2)
                    .arg(double(busy) / 1e6, 0, 'f', 2)
                    .arg(double(waiting) / 1e6, 0, 'f', 2)
                    .arg(double(begin) / 1e9, 0, 'f', 3)
                    .arg(during.isEmpty()
                             ? QString()
                             : QStringLiteral(", during: ") + during.join(QStringLiteral(", ")));
            };
            if (length > stalls.worstLength || stalls.worst.isEmpty()) {
                stalls.worstLength = length;
                stalls.worst = describe();
            }
            // The longest stall is mostly a wait for a CPU; the busiest shows work on the thread.
            if (busy > stalls.busiestLength || stalls.busiest.isEmpty()) {
                stalls.busiestLength = busy;
                stalls.busiest = describe();
            }
        }
    }

private:
    void tick()
    {
        const qint64 now = m_clock.nsecsElapsed();
        const SchedulerTimes times = schedulerTimes();
        const qint64 stall = std::max<qint64>(0, now - m_last - tickNs);
        // Running time beyond the stall is the timer's own work of the last tick.
        m_ticks.push_back({m_last, stall, std::min(stall, times.running - m_lastTimes.running),
                           std::min(stall, times.waiting - m_lastTimes.waiting)});
        m_last = now;
        m_lastTimes = times;
    }

    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    SchedulerTimes m_lastTimes;
    // Start of the wait, stall beyond the tick, the parts of it the thread ran and waited to run.
    std::vector<std::tuple<qint64, qint64, qint64, qint64>> m_ticks;
    std::vector<std::pair<qint64, QString>> m_marks;
};

struct Summary
{
    double maxMs = 0;
    double p99Ms = 0;
    long over = 0;
};

Summary summarize(std::vector<qint64> lengths, qint64 budgetNs)
{
    std::sort(lengths.begin(), lengths.end());
    return {double(lengths.back()) / 1e6,
            double(lengths[std::size_t(double(lengths.size() - 1) * 0.99)]) / 1e6,
            long(std::count_if(lengths.begin(), lengths.end(),
                               [budgetNs](qint64 length) { return length > budgetNs; }))};
}

// `budgetNs`: the stall the scenario's goal allows.
void report(const QString &scenario, const Stalls &stalls, qint64 budgetNs = frameBudgetNs)
{
    const Summary all = summarize(stalls.lengths, budgetNs);
    const Summary busy = summarize(stalls.busy, budgetNs);
    const int budgetMs = int(budgetNs / 1000000);
    std::printf("%s: %.2f s, %zu ticks\n", qPrintable(scenario), stalls.elapsedS,
                stalls.lengths.size());
    std::printf("    stall               max %7.2f ms   p99 %6.2f ms   over %d ms: %ld\n",
                all.maxMs, all.p99Ms, budgetMs, all.over);
    std::printf("    GUI thread running  max %7.2f ms   p99 %6.2f ms   over %d ms: %ld\n",
                busy.maxMs, busy.p99Ms, budgetMs, busy.over);
    std::printf("    longest stall: %s\n", qPrintable(stalls.worst));
    std::printf("    busiest stall: %s\n", qPrintable(stalls.busiest));
    std::fflush(stdout);
}

// An installer bundle whose walk covers `files` files in 1000-odd folders, like the resource
// folders of a real one, plus its Info.plist and createinstallmedia (the double). One file in
// a thousand has 1 MiB (sparse), the others are empty.
bool buildInstaller(const DoublesSandbox &sandbox, const QString &bundle, int files)
{
    if (!QDir().mkpath(bundle + QStringLiteral("/Contents/Resources")) ||
        !writeTestFile(bundle + QStringLiteral("/Contents/Info.plist"),
                       "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
                       "<key>CFBundleDisplayName</key><string>Install macOS Sonoma</string>"
                       "<key>DTPlatformVersion</key><string>14.6.1</string></dict></plist>\n") ||
        !sandbox.installDouble(QStringLiteral("createinstallmedia"),
                               bundle + QStringLiteral("/Contents/Resources/createinstallmedia")))
        return false;
    constexpr int filesPerFolder = 200;
    for (int made = 0, folder = 0; made < files; ++folder) {
        const QString path = QStringLiteral("%1/Contents/SharedSupport/d%2/e%3/f%4")
                                 .arg(bundle)
                                 .arg(folder % 10)
                                 .arg(folder / 10 % 10)
                                 .arg(folder / 100);
        if (!QDir().mkpath(path))
            return false;
        const QByteArray prefix = QFile::encodeName(path) + "/file";
        for (int i = 0; i < filesPerFolder && made < files; ++i, ++made) {
            const int fd = ::open((prefix + QByteArray::number(i)).constData(),
                                  O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
            if (fd < 0)
                return false;
            // A few files carry the bytes, spread over the tree, so the bar moves with each
            // piece that arrives on the volume.
            const bool failed = made % 1000 == 0 && ::ftruncate(fd, 1 << 20) != 0;
            ::close(fd);
            if (failed)
                return false;
        }
    }
    return true;
}

struct Options
{
    int files = 200000;
    int rounds = 3;
    QByteArray delay = "0.5";
    int pieces = 5;
    bool bare = false;
    QString parent;
};

// Idle, then rounds of load and run, then exits the event loop with 0, or 1 on a failure.
class Scenarios : public QObject
{
public:
    Scenarios(InstallerViewModel &model, const DoublesSandbox &sandbox, QString bundle,
              Options options)
        : m_model(model)
        , m_sandbox(sandbox)
        , m_bundle(std::move(bundle))
        , m_options(std::move(options))
    {
        model.setEnvironment(
            {model.environment().interpreterPath, sandbox.desktop, sandbox.volumes});

        connect(&model, &InstallerViewModel::selectedInstallerChanged, this, [this] {
            m_meter.mark(QStringLiteral("selectedInstaller"));
            if (m_phase == Phase::load)
                startRun();
        });
        connect(&model, &InstallerViewModel::isProcessingChanged, this, [this] {
            m_meter.mark(QStringLiteral("isProcessing=%1").arg(m_model.isProcessing()));
            if (m_phase == Phase::run && !m_model.isProcessing())
                endRun();
        });
        connect(&model, &InstallerViewModel::progressChanged, this, [this] {
            const double progress = m_model.progress();
            m_meter.mark(QStringLiteral("progress=%1").arg(progress));
            if (m_phase == Phase::run &&
                ((progress > 0.3 && progress < 0.7) || (progress > 0.7 && progress < 0.9)))
                ++m_samples;
        });
        connect(&model, &InstallerViewModel::showingAlertChanged, this, [this] {
            m_meter.mark(QStringLiteral("showingAlert=%1").arg(m_model.showingAlert()));
            if (m_phase == Phase::load && m_model.showingAlert())
                fail(QStringLiteral("the load failed: ") + m_model.alertMessage());
        });
    }

    void begin()
    {
        m_meter.start();
        QTimer::singleShot(2000, Qt::PreciseTimer, this, [this] {
            Stalls idle;
            m_meter.stopInto(idle);
            report(QStringLiteral("idle"), idle);
            startAlert();
        });
    }

private:
    enum class Phase { idle, alert, load, run };

    // Lines as a failing tool writes them, up to the runner's bound of 1 MiB; or one line with no
    // break: words in even rounds, a run with no space either (a hex dump) in odd ones. Each
    // round's text differs from the last, so that the alert lays out a new one.
    QString longErrorText() const
    {
        constexpr qsizetype bound = 1024 * 1024;
        QString text = QStringLiteral("Failed to create ISO image: round %1%2")
                           .arg(m_alertRound)
                           .arg(m_unbroken ? u' ' : u'\n');
        text.reserve(bound);
        for (int line = 1; text.size() < bound; ++line) {
            if (!m_unbroken)
                text += QStringLiteral("hdiutil: convert: line %1 of the tool's diagnostic output, "
                                       "long enough to wrap in the alert\n")
                            .arg(line);
            else if (m_alertRound % 2 == 0)
                text += QStringLiteral("hdiutil: convert: part %1 of a diagnostic that never ends "
                                       "its line; ")
                            .arg(line);
            else
                text += QString::number(line, 16).rightJustified(8, u'0');
        }
        text.truncate(bound);
        return text;
    }

    // The alert opens and lays out its text within the second; then it is dismissed.
    void startAlert()
    {
        m_phase = Phase::alert;
        const QString text = longErrorText();
        m_meter.start();
        m_meter.mark(QStringLiteral("showAlert"));
        m_model.showAlert(QStringLiteral("Error"), text);
        QTimer::singleShot(1000, this, [this] {
            m_meter.stopInto(m_unbroken ? m_unbrokenAlert : m_alert);
            m_model.setShowingAlert(false);
            QTimer::singleShot(200, this, [this] {
                if (++m_alertRound < m_options.rounds)
                    return startAlert();
                if (!m_unbroken) {
                    report(QStringLiteral("alert with a 1 MiB error text"), m_alert, alertBudgetNs);
                    m_unbroken = true;
                    m_alertRound = 0;
                    return startAlert();
                }
                report(QStringLiteral("alert with a 1 MiB error text without line breaks"),
                       m_unbrokenAlert, alertBudgetNs);
                startLoad();
            });
        });
    }

    void startLoad()
    {
        m_phase = Phase::load;
        m_meter.start();
        m_model.loadInstallerInfo(QUrl::fromLocalFile(m_bundle));
    }

    void startRun()
    {
        m_meter.stopInto(m_load);
        // Nothing to replace: a prompt would wait for a person.
        QFile::remove(m_sandbox.desktop + QStringLiteral("/Install macOS Sonoma.iso"));
        m_phase = Phase::run;
        m_meter.start();
        m_meter.mark(QStringLiteral("createISO"));
        m_runStartCpu = processCpuNs();
        m_runStartGuiCpu = schedulerTimes().running;
        m_model.createISO();
    }

    void endRun()
    {
        m_meter.stopInto(m_run);
        m_outsideGuiCpu +=
            processCpuNs() - m_runStartCpu - (schedulerTimes().running - m_runStartGuiCpu);
        m_phase = Phase::idle;
        if (m_model.alertTitle() != QLatin1String("Success"))
            return fail(QStringLiteral("the run failed: ") + m_model.alertMessage());
        m_model.setShowingAlert(false);
        if (++m_round < m_options.rounds)
            return startLoad();
        report(QStringLiteral("load, size walk of %1 files").arg(m_options.files), m_load);
        report(
            QStringLiteral("ISO run, tools waiting %1 s").arg(QString::fromLatin1(m_options.delay)),
            m_run);
        std::printf("    sampling: %d values inside the long steps; CPU outside the GUI thread "
                    "%.2f s in %.2f s of runs (%.1f %% of one core)\n",
                    m_samples, double(m_outsideGuiCpu) / 1e9, m_run.elapsedS,
                    double(m_outsideGuiCpu) / 1e7 / m_run.elapsedS);
        QCoreApplication::exit(0);
    }

    void fail(const QString &why)
    {
        std::fprintf(stderr, "%s\n", qPrintable(why));
        QCoreApplication::exit(1);
    }

    InstallerViewModel &m_model;
    const DoublesSandbox &m_sandbox;
    const QString m_bundle;
    const Options m_options;
    StallMeter m_meter;
    Phase m_phase = Phase::idle;
    int m_round = 0;
    int m_alertRound = 0;
    bool m_unbroken = false;
    Stalls m_alert;
    Stalls m_unbrokenAlert;
    Stalls m_load;
    Stalls m_run;
    int m_samples = 0;
    qint64 m_runStartCpu = 0;
    qint64 m_runStartGuiCpu = 0;
    qint64 m_outsideGuiCpu = 0;
};

} // namespace

int main(int argc, char *argv[])
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (!std::strcmp(argv[i], "--files") && hasValue)
            options.files = std::max(1, std::atoi(argv[++i]));
        else if (!std::strcmp(argv[i], "--rounds") && hasValue)
            options.rounds = std::max(1, std::atoi(argv[++i]));
        else if (!std::strcmp(argv[i], "--delay") && hasValue)
            options.delay = argv[++i];
        else if (!std::strcmp(argv[i], "--pieces") && hasValue)
            options.pieces = std::max(0, std::atoi(argv[++i]));
        else if (!std::strcmp(argv[i], "--parent") && hasValue)
            options.parent = QString::fromLocal8Bit(argv[++i]);
        else if (!std::strcmp(argv[i], "--bare"))
            options.bare = true;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    DoublesSandbox sandbox(QStringLiteral(VANTOREL_TEST_DOUBLES_DIR));
    if (!sandbox.isValid()) {
        std::fprintf(stderr, "cannot set up the test doubles\n");
        return 1;
    }
    qputenv("VANTOREL_TEST_DELAY", options.delay);
    // 0: the tools take their one delay only and the volume stays empty.
    if (options.pieces > 0)
        qputenv("VANTOREL_TEST_PIECES", QByteArray::number(options.pieces));
    qputenv("VANTOREL_TEST_PIECE_PAUSE", options.delay);
    const auto tree =
        options.parent.isEmpty()
            ? std::make_unique<QTemporaryDir>()
            : std::make_unique<QTemporaryDir>(options.parent + QStringLiteral("/guistall-XXXXXX"));
    const QString bundle = tree->filePath(QStringLiteral("Install macOS Sonoma.app"));
    QElapsedTimer building;
    building.start();
    if (!tree->isValid() || !buildInstaller(sandbox, bundle, options.files)) {
        std::fprintf(stderr, "cannot build the installer tree\n");
        return 1;
    }
    std::printf("%d files built in %.1f s; %d rounds with %s\n", options.files,
                double(building.elapsed()) / 1000, options.rounds,
                options.bare ? "the bare view-model" : "the real window");

    if (options.bare) {
        QCoreApplication app(argc, argv);
        InstallerViewModel model;
        Scenarios scenarios(model, sandbox, bundle, options);
        scenarios.begin();
        return QCoreApplication::exec();
    }

    std::unique_ptr<Scenarios> scenarios;
    int appArgc = 1;
    const int status =
        VantorelApp::main(appArgc, argv, [&](QQuickWindow &window, InstallerViewModel &model) {
            scenarios = std::make_unique<Scenarios>(model, sandbox, bundle, options);
            // Gone while the model still exists.
            QObject::connect(qApp, &QCoreApplication::aboutToQuit,
                             [&scenarios] { scenarios.reset(); });
            // From the first frame on, once the window has settled.
            QObject::connect(
                &window, &QQuickWindow::frameSwapped, scenarios.get(),
                [&scenarios] { QTimer::singleShot(500, scenarios.get(), &Scenarios::begin); },
                Qt::SingleShotConnection);
        });
    return status;
}
