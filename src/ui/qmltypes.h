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

struct InstallerChooserForeign
{
    Q_GADGET
    QML_FOREIGN(vantorel::InstallerChooser)
    QML_ANONYMOUS
};

struct FolderChooserForeign
{
    Q_GADGET
    QML_FOREIGN(vantorel::FolderChooser)
    QML_ANONYMOUS
};

struct ReplacementPrompterForeign
{
    Q_GADGET
    QML_FOREIGN(vantorel::ReplacementPrompter)
    QML_ANONYMOUS
};

} // namespace vantorel
