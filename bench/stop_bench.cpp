// How long a stopped run takes to end: from stopRun() to the alert, with the stand-in tools, for
// a stop in each stage. The stage's command would run a minute; what is measured is ending it
// (SIGTERM to its process group, SIGKILL after the grace period if needed) and removing what the
// run made. Not a test: run it on a quiet machine.
//
//   stop_bench [--runs N]

#include "doublessandbox.h"
#include "installerviewmodel.h"
#include "viewmodelstateaccess.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace vantorel;

namespace {

class Replace : public ReplacementPrompter
{
public:
    bool askToReplace(const QString &) override { return true; }
};

// Milliseconds from the stop to the end of the run, or -1 when it did not end within a minute.
qint64 stopOnce(const char *slowCommand, bool unreachable)
{
    DoublesSandbox box(VANTOREL_TEST_DOUBLES_DIR);
    const QString started = box.root + "/slow-started";
    qputenv("VANTOREL_TEST_SLOW", slowCommand);
    qputenv("VANTOREL_TEST_SLOW_ONCE", QFile::encodeName(started));
    if (unreachable)
        qputenv("VANTOREL_TEST_UNREACHABLE", "1");
    InstallerViewModel model;
    Replace prompter;
    model.setEnvironment({VANTOREL_OSASCRIPT_PATH, box.desktop, box.volumes});
    model.setPrompter(&prompter);
    ViewModelStateAccess::setSelectedInstaller(model,
                                               box.makeInstaller("Install macOS Sonoma", "14.6.1"));
    model.createISO();
    while (!QFileInfo::exists(started) && model.isProcessing()) {
        QCoreApplication::processEvents();
        QThread::msleep(5);
    }
    QElapsedTimer clock;
    clock.start();
    model.stopRun();
    while (model.isProcessing() && clock.elapsed() < 60000) {
        QCoreApplication::processEvents();
        QThread::msleep(1);
    }
    const qint64 elapsed = model.isProcessing() ? -1 : clock.elapsed();
    model.waitForBackgroundWork();
    return elapsed;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    int runs = 5;
    const QStringList arguments = app.arguments();
    if (const qsizetype at = arguments.indexOf("--runs"); at > 0 && at + 1 < arguments.size())
        runs = qMax(1, arguments[at + 1].toInt());

    const struct
    {
        const char *stage, *command;
        bool unreachable;
    } cases[] = {{"creating the disk image", "create", false},
                 {"installing", "install", false},
                 {"installing, out of the signals' reach", "install", true},
                 {"converting", "convert", false},
                 {"cleaning up", "rm", false}};
    std::printf("%-40s %10s %10s\n", "stopped while", "median ms", "worst ms");
    for (const auto &stop : cases) {
        std::vector<qint64> times;
        for (int run = 0; run < runs; ++run)
            times.push_back(stopOnce(stop.command, stop.unreachable));
        std::sort(times.begin(), times.end());
        const bool timedOut = times.front() < 0;
        std::printf("%-40s %10lld %10s\n", stop.stage,
                    static_cast<long long>(times[times.size() / 2]),
                    timedOut ? "timeout" : QByteArray::number(times.back()).constData());
    }
    return 0;
}
