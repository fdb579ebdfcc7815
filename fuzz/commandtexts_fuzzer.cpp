// The command builders round-tripped through the real interpreter and /bin/sh: whatever bytes a
// name or path holds, the command text runs exactly the intended program with exactly the
// intended arguments, and nothing else. The hdiutil test double, first on PATH in record-only
// mode, writes down the argv it receives; it also stands in for rm and createinstallmedia.
//
// Input: one selector byte ('0' create, '1' attach, '2' install media (short form), '3' install
// media (with --applicationpath), '4' eject, '5' convert, '6' delete), then NUL-separated
// fields: name, path, second path, size in decimal.

#include "applescriptexecutor.h"
#include "commandtexts.h"
#include "diskimagestages.h"
#include "fuzzcheck.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace vantorel;
using namespace vantorel::commandtexts;
using vantorel::fuzz::check;
using vantorel::fuzz::printable;

namespace {

struct Sandbox
{
    std::string root, bin, apps, work, log;
    int startFolderFd = -1;
};

Sandbox sandbox;

void removeSandbox()
{
    std::error_code ignored;
    std::filesystem::remove_all(sandbox.root, ignored);
}

bool copyExecutable(const std::string &from, const std::string &to)
{
    std::error_code error;
    std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing, error);
    return !error && ::chmod(to.c_str(), 0755) == 0;
}

QByteArray readLog()
{
    QFile file(QString::fromStdString(sandbox.log));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The double's records: an argument count, then $0 and that many arguments, all NUL-ended.
QList<QList<QByteArray>> records(const QByteArray &log)
{
    const QList<QByteArray> fields = log.split('\0');
    QList<QList<QByteArray>> result;
    for (qsizetype at = 0; at + 1 < fields.size();) {
        const qsizetype count = fields[at].toLongLong();
        if (count < 0 || at + 1 + count >= fields.size())
            return {{"malformed log"}};
        result.append(fields.mid(at + 1, count + 1));
        at += count + 2;
    }
    return result;
}

std::string describe(const QList<QByteArray> &argv)
{
    std::string text;
    for (const QByteArray &argument : argv)
        text += "[" + printable(argument.toStdString()) + "] ";
    return text;
}

// A path component the file system accepts: no "/", not "." or "..", within NAME_MAX.
QString component(const QString &bytes)
{
    QString name = bytes;
    name.remove(u'/');
    while (QFile::encodeName(name).size() > 200)
        name.chop(1);
    return u'x' + name;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    const char *tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/vantorel-fuzz-XXXXXX";
    check(::mkdtemp(pattern.data()) != nullptr, "temporary folder created");
    sandbox = {pattern, pattern + "/bin", pattern + "/apps", pattern + "/work", pattern + "/argv"};
    std::atexit(removeSandbox);
    for (const std::string &folder : {sandbox.bin, sandbox.apps, sandbox.work})
        check(::mkdir(folder.c_str(), 0755) == 0, "sandbox folders created");

    const std::string recorder = VANTOREL_TEST_DOUBLES_DIR "/hdiutil";
    check(copyExecutable(recorder, sandbox.bin + "/hdiutil") &&
              copyExecutable(recorder, sandbox.bin + "/rm"),
          "recording double installed");
    if (::geteuid() != 0)
        check(copyExecutable(VANTOREL_TEST_DOUBLES_DIR "/pkexec", sandbox.bin + "/pkexec"),
              "pkexec double installed");

    const char *path = std::getenv("PATH");
    ::setenv("PATH", (sandbox.bin + ":" + (path ? path : "/usr/bin:/bin")).c_str(), 1);
    ::setenv("VANTOREL_TEST_HDIUTIL_LOG", sandbox.log.c_str(), 1);
    ::setenv("VANTOREL_TEST_RECORD_ONLY", "1", 1);
    ::unsetenv("VANTOREL_TEST_DELAY");
    sandbox.startFolderFd = ::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    check(sandbox.startFolderFd >= 0, "current folder opened");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const int selector = static_cast<std::uint8_t>(data[0] - '0') % 7;
    const QList<QByteArray> fields =
        QByteArray(reinterpret_cast<const char *>(data) + 1, qsizetype(size - 1)).split('\0');
    // Values reach the application as QString: bytes that are not UTF-8 are already U+FFFD.
    const auto field = [&fields](qsizetype index) {
        return QString::fromUtf8(fields.value(index));
    };
    const QString name = field(0).remove(u'/');
    const QString image = field(1), other = field(2);
    qint64 installerSize = 0;
    const QByteArray sizeText = fields.value(3);
    std::from_chars(sizeText.constData(), sizeText.constData() + sizeText.size(), installerSize);

    const QString bin = QString::fromStdString(sandbox.bin);
    QString installer;
    QString script;
    QStringList argv;
    switch (selector) {
    case 0:
        script = createCommand(installerSize, name, image);
        argv = {bin + "/hdiutil",
                "create",
                "-size",
                QString::number(sizeFigure(installerSize)) + 'm',
                "-fs",
                "HFS+J",
                "-volname",
                name,
                image};
        break;
    case 1:
        script = attachCommand(image);
        argv = {bin + "/hdiutil", "attach", image};
        break;
    case 2:
    case 3: {
        // The tool must exist to run: the installer folder is named after the name field.
        installer = QString::fromStdString(sandbox.apps) + u'/' + component(name);
        const QString tool = toolPathFor(installer);
        std::error_code error;
        std::filesystem::create_directories(
            QFile::encodeName(installer + "/Contents/Resources").toStdString(), error);
        check(!error && copyExecutable(VANTOREL_TEST_DOUBLES_DIR "/hdiutil",
                                       QFile::encodeName(tool).toStdString()),
              "installer tool created", QFile::encodeName(tool).toStdString());
        const qint64 version = selector == 2 ? firstVersionWithoutApplicationPath
                                             : firstVersionWithoutApplicationPath - 1;
        script = installMediaCommand(tool, installer, image, version);
        argv = {tool};
        if (selector == 3)
            argv << "--applicationpath" << installer;
        argv << "--volume" << image << "--nointeraction";
        break;
    }
    case 4:
        script = ejectCommand(image);
        argv = {bin + "/hdiutil", "eject", image, "-force"};
        break;
    case 5:
        script = convertCommand(image, other);
        argv = {bin + "/hdiutil", "convert", image, "-format", "UDTO", "-o", other};
        break;
    default:
        script = deleteCommand(image);
        argv = {bin + "/rm", image};
        break;
    }

    const int logFd = ::open(sandbox.log.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    check(logFd >= 0, "argv log reset");
    ::close(logFd);

    // A command that escaped its quoting would leave its files in the working folder. Only
    // for the run: libFuzzer reads corpus paths relative to where it started.
    check(::chdir(sandbox.work.c_str()) == 0, "working folder entered");
    std::string failure;
    try {
        AppleScriptExecutor::executeAppleScript(script, QStringLiteral(VANTOREL_OSASCRIPT_PATH));
    } catch (const Error &error) {
        failure = error.localizedDescription().toStdString();
    }
    check(::fchdir(sandbox.startFolderFd) == 0, "start folder entered again");
    const std::string scriptBytes = script.toStdString();
    check(failure.empty(), "the command runs", failure + "\nscript: " + printable(scriptBytes));

    QList<QByteArray> expected;
    for (const QString &argument : std::as_const(argv))
        expected.append(argument.toUtf8());
    const QList<QList<QByteArray>> ran = records(readLog());
    check(ran.size() == 1, "exactly one program ran",
          std::to_string(ran.size()) + " ran\nscript: " + printable(scriptBytes));
    check(ran.first() == expected, "the intended argv",
          "expected: " + describe(expected) + "\ngot: " + describe(ran.first()) +
              "\nscript: " + printable(scriptBytes));
    check(std::filesystem::is_empty(sandbox.work), "nothing written in the working folder",
          "script: " + printable(scriptBytes));

    if (!installer.isEmpty()) {
        std::error_code ignored;
        std::filesystem::remove_all(QFile::encodeName(installer).toStdString(), ignored);
    }
    return 0;
}
