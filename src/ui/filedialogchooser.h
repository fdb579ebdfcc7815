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

    // The bundle that a drop of urls offers, as the dialog would return it (a plain file URL, no
    // host, no trailing slash): exactly one local folder whose name ends in ".app". Empty for
    // anything else, and while a modal window (a dialog, the replace prompt) is open.
    Q_INVOKABLE QUrl droppedBundle(const QList<QUrl> &urls) const;
    // True when droppedBundle(urls) is not empty. Decides which drops the window takes.
    Q_INVOKABLE bool canChoose(const QList<QUrl> &urls) const;
};

} // namespace vantorel
