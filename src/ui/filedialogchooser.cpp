#include "filedialogchooser.h"

namespace vantorel {

// Placeholder until the chooser lands.
QUrl FileDialogChooser::chooseInstaller()
{
    return {};
}

} // namespace vantorel
