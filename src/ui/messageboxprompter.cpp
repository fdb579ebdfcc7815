#include "messageboxprompter.h"

namespace vantorel {

// Placeholder until the prompt lands.
bool MessageBoxPrompter::askToReplace(const QString &)
{
    return false;
}

} // namespace vantorel
