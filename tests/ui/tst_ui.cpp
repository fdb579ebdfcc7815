#include "statedriver.h"

#include <QQmlEngine>
#include <QtQml/qqmlextensionplugin.h>
#include <QtQuickTest>

Q_IMPORT_QML_PLUGIN(VantorelPlugin)
Q_IMPORT_QML_PLUGIN(VantorelAppPlugin)

class Setup : public QObject
{
    Q_OBJECT

public slots:
    void applicationAvailable()
    {
        qmlRegisterSingletonType<StateDriver>(
            "VantorelTest", 1, 0, "StateDriver",
            [](QQmlEngine *, QJSEngine *) -> QObject * { return new StateDriver; });
    }
    void qmlEngineAvailable(QQmlEngine *engine) { engine->addImportPath("qrc:/"); }
};

QUICK_TEST_MAIN_WITH_SETUP(ui, Setup)

#include "tst_ui.moc"
