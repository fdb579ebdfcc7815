#include "sampleinstaller.h"
#include "viewmodelstateaccess.h"

#include <QQmlEngine>
#include <QtQml/qqmlextensionplugin.h>
#include <QtQuickTest>

Q_IMPORT_QML_PLUGIN(VantorelPlugin)
Q_IMPORT_QML_PLUGIN(VantorelAppPlugin)

using namespace vantorel;
using State = ViewModelStateAccess;

// Lets the QML tests put the window's view-model into any published state.
class StateDriver : public QObject
{
    Q_OBJECT

    static InstallerViewModel &viewModel(QObject *model)
    {
        auto *viewModel = qobject_cast<InstallerViewModel *>(model);
        Q_ASSERT(viewModel);
        return *viewModel;
    }

public:
    // fields: any of name, macOSVersion, path (a local path) and icon (bool); the rest come from
    // the sample installer.
    Q_INVOKABLE void selectInstaller(QObject *model, const QVariantMap &fields) const
    {
        InstallerInfo info = sampleInstaller(fields.value("icon", true).toBool());
        if (fields.contains("path"))
            info.path = QUrl::fromLocalFile(fields.value("path").toString());
        info.name = fields.value("name", info.name).toString();
        info.macOSVersion = fields.value("macOSVersion", info.macOSVersion).toString();
        State::setSelectedInstaller(viewModel(model), info);
    }
    Q_INVOKABLE void setProcessing(QObject *model, bool processing) const
    {
        State::setProcessing(viewModel(model), processing);
    }
    Q_INVOKABLE void setProgress(QObject *model, double progress, int elapsedSeconds,
                                 int stepSecondsLeft) const
    {
        State::setProgress(viewModel(model), progress, QString());
        State::setTime(viewModel(model), elapsedSeconds, stepSecondsLeft);
    }
    // step: a ProcessStep ordinal, or -1 for none.
    Q_INVOKABLE void setCurrentStep(QObject *model, int step) const
    {
        State::setCurrentStep(viewModel(model),
                              step < 0 ? std::nullopt : std::optional(ProcessStep(step)));
    }
    Q_INVOKABLE void setCompletedSteps(QObject *model, const QVariantList &steps) const
    {
        QList<ProcessStep> list;
        for (const QVariant &step : steps)
            list.append(ProcessStep(step.toInt()));
        State::setCompletedSteps(viewModel(model), list);
    }
    Q_INVOKABLE void showAlert(QObject *model, const QString &title, const QString &message,
                               const QString &detail = {}) const
    {
        viewModel(model).showAlert(title, message, detail);
    }
};

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
