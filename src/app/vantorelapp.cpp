#include "vantorelapp.h"

#include "quitguard.h"

#include <QApplication>
#include <QQmlApplicationEngine>
#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(VantorelPlugin)
Q_IMPORT_QML_PLUGIN(VantorelAppPlugin)

namespace vantorel {

int VantorelApp::main(int argc, char *argv[])
{
    // Widgets only for the native file chooser and message boxes.
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vantorel"));
    QApplication::setOrganizationDomain(QStringLiteral("vantorel.org"));
    QuitGuard quitGuard;
    app.installEventFilter(&quitGuard);

    QQmlApplicationEngine engine;
    engine.addImportPath(QStringLiteral("qrc:/"));
    QObject::connect(
        &engine, &QQmlApplicationEngine::objectCreationFailed, &app,
        [] { QCoreApplication::exit(1); }, Qt::QueuedConnection);
    engine.load(QUrl(QStringLiteral("qrc:/VantorelApp/qml/Main.qml")));
    return QApplication::exec();
}

} // namespace vantorel
