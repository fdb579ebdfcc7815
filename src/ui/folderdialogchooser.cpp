#include "folderdialogchooser.h"

#include <QFileDialog>

namespace vantorel {

QString FolderDialogChooser::chooseFolder(const QString &startFolder)
{
    QFileDialog dialog(nullptr, tr("Choose Where to Save the ISO"), startFolder);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
#ifndef Q_OS_MACOS
    dialog.setOption(QFileDialog::DontUseNativeDialog);
#endif
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().size() != 1)
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace vantorel
