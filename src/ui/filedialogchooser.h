#pragma once

#include "interaction.h"

#include <QtQml/qqml.h>

namespace vantorel {

// The real installer chooser: Qt's file dialog.
class FileDialogChooser : public InstallerChooser
{
    Q_OBJECT
    QML_ELEMENT
public:
    using InstallerChooser::InstallerChooser;
    QUrl chooseInstaller() override;
};

} // namespace vantorel
