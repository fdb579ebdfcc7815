#include "applescriptexecutor.h"

#include "boundedoutput.h"
#include "childprocess.h"

#include <QCoreApplication>
#include <QFile>

#include <sys/wait.h>

namespace vantorel {

void AppleScriptExecutor::executeAppleScript(const QString &script, const Completion &completion,
                                             const QString &interpreterPath,
                                             const CommandCancellation *cancellation)
{
    const QByteArray path = QFile::encodeName(interpreterPath);
    const QByteArray text = script.toUtf8();
    BoundedOutput errorOutput;
    // Standard output is never looked at, but it is read and dropped as it comes so that a
    // talkative command cannot fill the pipe and stall.
    const ChildOutcome outcome = runChildProcess(
        {path.toStdString(), "-e", text.toStdString()}, [](const char *, std::size_t) {},
        [&errorOutput](const char *data, std::size_t size) { errorOutput.append(data, size); },
        cancellation);

    if (outcome.systemError != 0) {
        completion(false, Error::posix(outcome.systemError));
        return;
    }
    int status = -1;
    if (WIFEXITED(outcome.waitStatus))
        status = WEXITSTATUS(outcome.waitStatus);
    else if (WIFSIGNALED(outcome.waitStatus))
        status = 128 + WTERMSIG(outcome.waitStatus); // the shell's convention for a killed child
    if (status == 0) {
        completion(true, std::nullopt);
        return;
    }
    const std::string bytes = errorOutput.text();
    const QString description =
        errorOutput.isValidUtf8()
            ? QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()))
            : QStringLiteral("Unknown error");
    completion(false, Error::application(status, description));
}

bool AppleScriptExecutor::executeAppleScript(const QString &script, const QString &interpreterPath,
                                             const CommandCancellation *cancellation)
{
    bool succeeded = false;
    std::optional<Error> failure;
    executeAppleScript(
        script,
        [&](bool success, const std::optional<Error> &error) {
            succeeded = success;
            failure = error;
        },
        interpreterPath, cancellation);
    if (failure)
        throw *failure;
    return succeeded;
}

QString AppleScriptExecutor::defaultInterpreterPath()
{
#ifdef Q_OS_MACOS
    return QStringLiteral("/usr/bin/osascript");
#else
    return QCoreApplication::applicationDirPath() +
           QStringLiteral("/" VANTOREL_HELPER_RELATIVE_DIR "/vantorel-osascript");
#endif
}

} // namespace vantorel
