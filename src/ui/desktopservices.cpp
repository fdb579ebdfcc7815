#include "desktopservices.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QStringList>
#include <QUrl>
#include <QVariantMap>

#ifdef Q_OS_MACOS
#include <QProcess>
#else
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#endif

namespace vantorel {

void DesktopServices::setViewModel(InstallerViewModel *viewModel)
{
    if (m_viewModel == viewModel)
        return;
    if (m_viewModel)
        disconnect(m_viewModel, nullptr, this, nullptr);
    m_viewModel = viewModel;
    if (viewModel)
        connect(viewModel, &InstallerViewModel::runFinished, this, &DesktopServices::runFinished);
    emit viewModelChanged();
}

void DesktopServices::setWindow(QQuickWindow *window)
{
    if (m_window == window)
        return;
    m_window = window;
    emit windowChanged();
}

void DesktopServices::runFinished()
{
    // The run's alert is up by now; someone looking at the window sees it there.
    if (!m_window || m_window->isActive())
        return;
    // Bounces the Dock icon on macOS until the app is active again, which is all that macOS
    // gets; marks the taskbar entry elsewhere.
    m_window->alert(0);
#ifndef Q_OS_MACOS
    // Sent without waiting for a reply: with no notification service on the bus the message
    // is simply dropped, and the alert never waits on it.
    QDBusMessage notify = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"),
        QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    const QString desktopEntry = QGuiApplication::desktopFileName();
    // The whole message, path included. Notification services may read the body as markup, so
    // a name holding '&' or '<' is escaped to be shown as it is.
    const QString body = m_viewModel->alertMessage()
                             .replace(u'&', QLatin1String("&amp;"))
                             .replace(u'<', QLatin1String("&lt;"))
                             .replace(u'>', QLatin1String("&gt;"));
    notify << QStringLiteral("Vantorel") << 0u << desktopEntry << m_viewModel->alertTitle() << body
           << QStringList() << QVariantMap{{QStringLiteral("desktop-entry"), desktopEntry}} << -1;
    QDBusConnection::sessionBus().send(notify);
#endif
}

void DesktopServices::reveal(const QString &path)
{
    if (path.isEmpty())
        return;
#ifdef Q_OS_MACOS
    // An argument vector, never a shell: the path is one argument whatever it holds.
    QProcess::startDetached(QStringLiteral("/usr/bin/open"), {QStringLiteral("-R"), path});
#else
    QDBusMessage showItems = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"),
        QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    showItems << QStringList{QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded)} << QString();
    // When no file manager answers (none on the bus, or it failed), open the folder instead.
    auto *watcher =
        new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(showItems), this);
    const QUrl folder = QUrl::fromLocalFile(QFileInfo(path).absolutePath());
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [folder](QDBusPendingCallWatcher *call) {
                if (call->isError())
                    QDesktopServices::openUrl(folder);
                call->deleteLater();
            });
#endif
}

} // namespace vantorel
