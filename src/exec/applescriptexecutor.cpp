#include "applescriptexecutor.h"

namespace vantorel {

// Placeholder until the runner lands.
void AppleScriptExecutor::executeAppleScript(const QString &, const Completion &completion, const QString &)
{
    completion(false, Error::posix(ENOENT));
}

bool AppleScriptExecutor::executeAppleScript(const QString &, const QString &) { throw Error::posix(ENOENT); }

QString AppleScriptExecutor::defaultInterpreterPath() { return {}; }

} // namespace vantorel
