#pragma once

#include "installerviewmodel.h"

#include <QtQml/qqml.h>

namespace vantorel {

// The workflow knows nothing of QML; the window's types are registered here.
struct InstallerViewModelForeign
{
    Q_GADGET
    QML_FOREIGN(vantorel::InstallerViewModel)
    QML_NAMED_ELEMENT(InstallerViewModel)
};

} // namespace vantorel
