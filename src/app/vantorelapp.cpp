#include "vantorelapp.h"

#include "quitguard.h"
#include "translations.h"

#include "installerviewmodel.h"

#include <QApplication>
#include <QIcon>
#include <QQmlApplicationEngine>
#include <QQuickWindow>
#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(VantorelPlugin)
Q_IMPORT_QML_PLUGIN(VantorelAppPlugin)

namespace vantorel {

int VantorelApp::main(int argc, char *argv[], const WindowHook &hook)
{
    // Widgets only for the native file chooser and message boxes.
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantorel"));
    QApplication::setOrganizationDomain(QStringLiteral("vantorel.org"));
    // Wayland compositors match the window to the installed .desktop entry by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral(VANTOREL_ERROR_DOMAIN));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral(VANTOREL_ERROR_DOMAIN),
                                                 QIcon(QStringLiteral(":/icons/vantorel.svg"))));
    // Before the QML is loaded, so that every qsTr() binding starts out translated.
    installTranslations(app);
    QuitGuard quitGuard;
    app.installEventFilter(&quitGuard);

    QQmlApplicationEngine engine;
    engine.addImportPath(QStringLiteral("qrc:/"));
    QObject::connect(
        &engine, &QQmlApplicationEngine::objectCreationFailed, &app,
        [] { QCoreApplication::exit(1); }, Qt::QueuedConnection);
    engine.load(QUrl(QStringLiteral("qrc:/VantorelApp/qml/Main.qml")));
    if (hook && !engine.rootObjects().isEmpty()) {
        auto *window = qobject_cast<QQuickWindow *>(engine.rootObjects().constFirst());
        auto *model = window ? window->findChild<InstallerViewModel *>() : nullptr;
        if (model)
            hook(*window, *model);
    }
    return QApplication::exec();
}

} // namespace vantorel
