#include "filedialogchooser.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>

namespace vantorel {

namespace {

bool isBundle(const QString &path)
{
    const QFileInfo info(path);
    return info.fileName().endsWith(QLatin1String(".app")) && info.isDir();
}

#ifndef Q_OS_MACOS
// Qt's own folder chooser, narrowed to one application bundle: accepting anything else opens it
// as a folder instead, so the dialog can only close with a ".app" folder or a cancel.
class BundleDialog : public QFileDialog
{
public:
    using QFileDialog::QFileDialog;

    void accept() override
    {
        const QStringList chosen = selectedFiles();
        if (chosen.size() == 1 && isBundle(chosen.constFirst())) {
            QFileDialog::accept();
            return;
        }
        if (chosen.size() == 1 && QFileInfo(chosen.constFirst()).isDir())
            setDirectory(chosen.constFirst());
    }
};
#endif

} // namespace

QUrl FileDialogChooser::droppedBundle(const QList<QUrl> &urls) const
{
    if (urls.size() != 1 || !urls.constFirst().isLocalFile() || QGuiApplication::modalWindow())
        return {};
    // Finder hands over a folder as "file:///…/Name.app/", whose file name is empty; some
    // sources name the host, "file://localhost/…". Both stand for the local path.
    QUrl url = urls.constFirst();
    if (url.host().compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
        url.setHost(QString());
    QString path = url.toLocalFile();
    while (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    return isBundle(path) ? QUrl::fromLocalFile(path) : QUrl();
}

bool FileDialogChooser::canChoose(const QList<QUrl> &urls) const
{
    return !droppedBundle(urls).isEmpty();
}

QUrl FileDialogChooser::chooseInstaller()
{
    const QString title = tr("Select a macOS Installer");
    const QString applications = QStringLiteral("/Applications");
#ifdef Q_OS_MACOS
    // The native panel treats an application bundle as one item.
    QFileDialog dialog(nullptr, title, applications, tr("Applications (*.app)"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedUrls().size() != 1)
        return {};
    return dialog.selectedUrls().constFirst();
#else
    BundleDialog dialog(nullptr, title,
                        QFileInfo(applications).isDir() ? applications : QDir::homePath());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.size() != 1 || !isBundle(chosen.constFirst()))
        return {};
    return QUrl::fromLocalFile(chosen.constFirst());
#endif
}

} // namespace vantorel
