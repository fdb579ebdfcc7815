// An empty Qt Quick window started exactly as Vantorel starts its own: QApplication, a
// QQmlApplicationEngine and a static QML module loaded from resources. The baseline of
// startup_bench.

#include <QApplication>
#include <QQmlApplicationEngine>
#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(EmptyWindowPlugin)

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("EmptyWindow"));
    QQmlApplicationEngine engine;
    engine.addImportPath(QStringLiteral("qrc:/"));
    QObject::connect(
        &engine, &QQmlApplicationEngine::objectCreationFailed, &app,
        [] { QCoreApplication::exit(1); }, Qt::QueuedConnection);
    engine.load(QUrl(QStringLiteral("qrc:/EmptyWindow/Main.qml")));
    return QApplication::exec();
}
