#pragma once

#include "interaction.h"

#include <QList>
#include <QUrl>
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

    // True when urls hold what the dialog lets the user choose: exactly one local folder whose
    // name ends in ".app". Decides which drops the window takes.
    Q_INVOKABLE bool canChoose(const QList<QUrl> &urls) const;
};

} // namespace vantorel
