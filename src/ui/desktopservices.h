#pragma once

#include "installerviewmodel.h"

#include <QObject>
#include <QPointer>
#include <QQuickWindow>
#include <QString>
#include <QtQml/qqml.h>

namespace vantorel {

// What the desktop offers around a run: when a run ends while the user is in another window,
// the window asks for attention (and, on Linux, a desktop notification tells the outcome); and
// the finished ISO can be shown in the file manager.
class DesktopServices : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(vantorel::InstallerViewModel *viewModel READ viewModel WRITE setViewModel NOTIFY
                   viewModelChanged FINAL)
    Q_PROPERTY(QQuickWindow *window READ window WRITE setWindow NOTIFY windowChanged FINAL)

public:
    using QObject::QObject;

    InstallerViewModel *viewModel() const { return m_viewModel; }
    void setViewModel(InstallerViewModel *viewModel);
    QQuickWindow *window() const { return m_window; }
    void setWindow(QQuickWindow *window);

    // Selects the file in the file manager, or at least opens the folder that holds it.
    Q_INVOKABLE void reveal(const QString &path);

signals:
    void viewModelChanged();
    void windowChanged();

private:
    void runFinished();

    QPointer<InstallerViewModel> m_viewModel;
    QPointer<QQuickWindow> m_window;
};

} // namespace vantorel
