#include "messageboxprompter.h"

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

namespace vantorel {

bool MessageBoxPrompter::askToReplace(const QString &fileName)
{
    // No parent: modal for the whole application, like the alert it stands for.
    QMessageBox box(QMessageBox::Warning, QString(), tr("File already exists"));
    box.setInformativeText(tr("'%1' already exists. Do you want to replace it?").arg(fileName));
    // A file name is shown as it is, never read as markup.
    box.setTextFormat(Qt::PlainText);
    if (auto *label = box.findChild<QLabel *>(QStringLiteral("qt_msgbox_informativelabel")))
        label->setTextFormat(Qt::PlainText);
    QPushButton *replace = box.addButton(tr("Replace"), QMessageBox::AcceptRole);
    box.addButton(tr("Cancel"), QMessageBox::RejectRole);
    box.setDefaultButton(replace);
    box.exec();
    // Escape, closing the window or any other way out is not a "Replace".
    return box.clickedButton() == replace;
}

} // namespace vantorel
