// Times calculateDirectorySize against `du -sb --apparent-size` on a generated tree of small
// files and prints the ratio of the medians last. Not a test: run it on a quiet machine.
//
//   directorysize_bench [--files N] [--runs N] [--parent DIR | --keep DIR]

#include "installerloader.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace {

QTextStream out(stdout);

// Folders nested three deep (10 x 10 x N leaves) with 200 files each, like the resource
// folders of an application bundle. The files are sparse (sizes 0 to 64 KiB set by ftruncate):
// both walkers read only metadata, and writing back gigabytes of contents would keep a core busy
// during the timed runs.
qint64 buildTree(const QString &root, int fileCount)
{
    constexpr int filesPerFolder = 200;
    const int leaves = (fileCount + filesPerFolder - 1) / filesPerFolder;
    std::mt19937 random(42);
    std::uniform_int_distribution<int> sizes(0, 64 * 1024);
    qint64 total = 0;
    int written = 0;
    for (int leaf = 0; leaf < leaves; ++leaf) {
        const QString folder = QStringLiteral("%1/Contents/d%2/e%3/f%4")
                                   .arg(root)
                                   .arg(leaf % 10)
                                   .arg(leaf / 10 % 10)
                                   .arg(leaf / 100);
        QDir().mkpath(folder);
        for (int file = 0; file < filesPerFolder && written < fileCount; ++file, ++written) {
            const QByteArray path =
                QFile::encodeName(QStringLiteral("%1/file%2.dat").arg(folder).arg(file));
            const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            const int size = sizes(random);
            if (fd < 0 || ::ftruncate(fd, size) != 0) {
                std::perror("create");
                std::exit(1);
            }
            ::close(fd);
            total += size;
        }
    }
    return total;
}

QByteArray runTool(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        out << program << " failed: " << process.readAllStandardError() << Qt::endl;
        std::exit(1);
    }
    return process.readAllStandardOutput();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    int fileCount = 200000;
    int runs = 7;
    QString parent = QDir::tempPath();
    QString keep;
    const QStringList arguments = app.arguments();
    for (int i = 1; i + 1 < arguments.size(); i += 2) {
        if (arguments[i] == QLatin1String("--files"))
            fileCount = arguments[i + 1].toInt();
        else if (arguments[i] == QLatin1String("--runs"))
            runs = arguments[i + 1].toInt();
        else if (arguments[i] == QLatin1String("--parent"))
            parent = arguments[i + 1];
        else if (arguments[i] == QLatin1String("--keep"))
            keep = arguments[i + 1];
    }

    // A kept tree (--keep DIR) is built once and reused by later runs.
    QTemporaryDir temporary(parent + QStringLiteral("/directorysize-bench-XXXXXX"));
    const QString folder = keep.isEmpty() ? temporary.path() : keep;
    const QString root = folder + QStringLiteral("/Install macOS Bench.app");
    QElapsedTimer timer;
    timer.start();
    if (!QFileInfo::exists(root)) {
        const qint64 written = buildTree(root, fileCount);
        ::sync(); // no writeback competing with the timed runs
        out << "tree: " << fileCount << " files, " << written << " bytes, built in "
            << timer.elapsed() << " ms" << Qt::endl;
    }
    out << "tree: " << root << Qt::endl;

    // Cross-check against find, which lists the files alone (du also counts the folders).
    qint64 findTotal = 0;
    const QList<QByteArray> lines =
        runTool(QStringLiteral("find"), {root, QStringLiteral("-type"), QStringLiteral("f"),
                                         QStringLiteral("-printf"), QStringLiteral("%s\\n")})
            .split('\n');
    for (const QByteArray &line : lines)
        findTotal += line.toLongLong();
    const QStringList duArguments{QStringLiteral("-sb"), QStringLiteral("--apparent-size"), root};

    // Warm the caches once, then alternate the two so that load changes hit both alike.
    qint64 ours = vantorel::calculateDirectorySize(root);
    const QByteArray duOutput = runTool(QStringLiteral("du"), duArguments);
    std::vector<double> ourTimes;
    std::vector<double> duTimes;
    for (int run = 0; run < runs; ++run) {
        timer.start();
        ours = vantorel::calculateDirectorySize(root);
        ourTimes.push_back(double(timer.nsecsElapsed()) / 1e6);
        timer.start();
        runTool(QStringLiteral("du"), duArguments);
        duTimes.push_back(double(timer.nsecsElapsed()) / 1e6);
    }

    out << "calculateDirectorySize total: " << ours << ", find total: " << findTotal
        << ", du total (files and folders): " << duOutput.split('\t').constFirst() << Qt::endl;
    if (ours != findTotal) {
        out << "MISMATCH: calculateDirectorySize disagrees with find" << Qt::endl;
        return 1;
    }
    const double ourMedian = median(ourTimes);
    const double duMedian = median(duTimes);
    out << Qt::fixed << qSetRealNumberPrecision(1) << "median of " << runs
        << " runs: calculateDirectorySize " << ourMedian << " ms, du " << duMedian << " ms"
        << Qt::endl;
    out << qSetRealNumberPrecision(2) << "ratio ours/du: " << ourMedian / duMedian << Qt::endl;
    return 0;
}
