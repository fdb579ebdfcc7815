#pragma once

#include "interaction.h"

#include <QtQml/qqml.h>

namespace vantorel {

// The real folder chooser for the ISO: the platform's folder panel on macOS, Qt's own elsewhere
// (as the installer chooser).
class FolderDialogChooser : public FolderChooser
{
    Q_OBJECT
    QML_ELEMENT
public:
    using FolderChooser::FolderChooser;
    QString chooseFolder(const QString &startFolder) override;
};

} // namespace vantorel
