// Times `vantorel --verify` on an ISO of a volume with many files (written by xorriso, blessed,
// the installer's files among them) and counts the bytes the check reads. Not a test: run it on
// a quiet machine.
//
//   isoverification_bench [--files N] [--runs N] [--app PATH] [--parent DIR | --keep DIR]

#include "isoverification.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace {

QTextStream out(stdout);

[[noreturn]] void fail(const QString &what)
{
    out << what << Qt::endl;
    std::exit(1);
}

void writeFile(const QString &path, const QByteArray &contents)
{
    QFile file(path);
    if (!QDir().mkpath(QFileInfo(path).path()) || !file.open(QIODevice::WriteOnly) ||
        file.write(contents) != contents.size())
        fail(QStringLiteral("cannot write ") + path);
}

// The installer (its Info.plist and tool) holding fileCount empty files in folders of 200 under
// Contents/SharedSupport, and the boot file: the catalog grows with the count, not the sizes.
void buildTree(const QString &root, int fileCount)
{
    const QString contents = root + QStringLiteral("/Install macOS Bench.app/Contents");
    writeFile(contents + QStringLiteral("/Info.plist"),
              "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>DTPlatformVersion</key>"
              "<string>14.6</string><key>DTPlatformBuild</key><string>23G80</string></dict>"
              "</plist>");
    writeFile(contents + QStringLiteral("/Resources/createinstallmedia"), "#!/bin/sh\n");
    writeFile(root + QStringLiteral("/System/Library/CoreServices/boot.efi"), "boot");
    for (int file = 0; file < fileCount; ++file) {
        const QString folder =
            contents +
            QStringLiteral("/SharedSupport/d%1").arg(file / 200, 3, 10, QLatin1Char('0'));
        if (file % 200 == 0 && !QDir().mkpath(folder))
            fail(QStringLiteral("cannot make ") + folder);
        const QByteArray path = QFile::encodeName(folder + QStringLiteral("/file%1").arg(file));
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0)
            fail(QStringLiteral("cannot create ") + QFile::decodeName(path));
        ::close(fd);
    }
}

void runTool(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        fail(program + QStringLiteral(" failed: ") +
             QString::fromLocal8Bit(process.readAllStandardError()));
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
    int fileCount = 20000, runs = 15;
    QString parent = QDir::tempPath(), keep;
    QString vantorel = QCoreApplication::applicationDirPath() + QStringLiteral("/vantorel");
    const QStringList arguments = app.arguments();
    for (qsizetype index = 1; index + 1 < arguments.size(); index += 2) {
        const QString &option = arguments[index], &value = arguments[index + 1];
        if (option == QLatin1String("--files"))
            fileCount = value.toInt();
        else if (option == QLatin1String("--runs"))
            runs = std::max(1, value.toInt());
        else if (option == QLatin1String("--app"))
            vantorel = value;
        else if (option == QLatin1String("--parent"))
            parent = value;
        else if (option == QLatin1String("--keep"))
            keep = value;
        else
            fail(QStringLiteral("usage: isoverification_bench [--files N] [--runs N] [--app PATH] "
                                "[--parent DIR | --keep DIR]"));
    }

    QTemporaryDir scratch(parent + QStringLiteral("/isoverification-bench-XXXXXX"));
    const QString folder = keep.isEmpty() ? scratch.path() : keep;
    const QString iso = folder + QStringLiteral("/bench.iso");
    if (!QFile::exists(iso)) {
        QElapsedTimer building;
        building.start();
        buildTree(folder + QStringLiteral("/tree"), fileCount);
        runTool(QStringLiteral("xorriso"),
                {QStringLiteral("-report_about"), QStringLiteral("NEVER"), QStringLiteral("-as"),
                 QStringLiteral("mkisofs"), QStringLiteral("-hfsplus"), QStringLiteral("-V"),
                 QStringLiteral("Install macOS Bench"), QStringLiteral("-hfs-bless-by"),
                 QStringLiteral("p"), QStringLiteral("/System/Library/CoreServices"),
                 QStringLiteral("-hfs-bless-by"), QStringLiteral("i"),
                 QStringLiteral("/System/Library/CoreServices/boot.efi"), QStringLiteral("-o"), iso,
                 folder + QStringLiteral("/tree")});
        out << "built " << fileCount << " files and the image in "
            << double(building.elapsed()) / 1000.0 << " s" << Qt::endl;
    }

    // What the check reads, counted at its reader.
    QFile image(iso);
    if (!image.open(QIODevice::ReadOnly))
        fail(QStringLiteral("cannot open ") + iso);
    quint64 bytesRead = 0, reads = 0;
    const vantorel::IsoVerdict verdict = vantorel::verifyImage(
        quint64(image.size()), [&](quint64 offset, char *buffer, std::size_t length) {
            ++reads;
            bytesRead += length;
            return ::pread(image.handle(), buffer, length, off_t(offset)) == ssize_t(length) ? 0
                                                                                             : EIO;
        });
    out << verdict.line() << Qt::endl;
    out << "image: " << double(image.size()) / 1e6 << " MB; read by the check: " << bytesRead
        << " bytes (" << double(bytesRead) / 1048576.0 << " MiB) in " << reads << " reads"
        << Qt::endl;

    // Warm: one run of each before timing.
    std::vector<double> inProcess, command;
    for (int run = 0; run <= runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        const vantorel::IsoVerdict again = vantorel::verifyImageFile(iso);
        const double checkSeconds = double(timer.nsecsElapsed()) / 1e9;
        QProcess process;
        timer.restart();
        process.start(vantorel, {QStringLiteral("--verify"), iso});
        if (!process.waitForFinished(-1) || process.exitCode() != 0 ||
            QString::fromUtf8(process.readAllStandardOutput()).trimmed() != verdict.line() ||
            again.line() != verdict.line())
            fail(QStringLiteral("vantorel --verify gave another verdict"));
        if (run > 0) {
            inProcess.push_back(checkSeconds);
            command.push_back(double(timer.nsecsElapsed()) / 1e9);
        }
    }
    out << "verifyImageFile, median of " << runs << ": " << median(inProcess) * 1000 << " ms"
        << Qt::endl;
    out << "vantorel --verify (process start to exit), median of " << runs << ": "
        << median(command) * 1000 << " ms, slowest "
        << *std::max_element(command.begin(), command.end()) * 1000 << " ms" << Qt::endl;
    return 0;
}
