#include "viewmodelstateaccess.h"

#include <QQmlEngine>
#include <QtQml/qqmlextensionplugin.h>
#include <QtQuickTest>

Q_IMPORT_QML_PLUGIN(VantorelPlugin)

using namespace vantorel;
using State = ViewModelStateAccess;

// Lets the QML tests put the window's view-model into any published state.
class StateDriver : public QObject
{
    Q_OBJECT

    class NoToolChooser : public InstallerChooser
    {
    public:
        using InstallerChooser::InstallerChooser;
        QUrl chooseInstaller() override { return QUrl::fromLocalFile("/nonexistent.app"); }
    };

    static InstallerViewModel &viewModel(QObject *model)
    {
        return *qobject_cast<InstallerViewModel *>(model);
    }

public:
    Q_INVOKABLE void selectInstaller(QObject *model, const QString &macOSVersion = "14.2.1",
                                     bool icon = true) const
    {
        State::setSelectedInstaller(
            viewModel(model),
            InstallerInfo{QUrl::fromLocalFile("/Applications/Install macOS Sonoma.app"),
                          "Install macOS Sonoma", "19.2.02", macOSVersion, "23C71", 13'254'061'152,
                          icon ? std::optional(QImage(64, 64, QImage::Format_ARGB32))
                               : std::nullopt});
    }
    Q_INVOKABLE void setProcessing(QObject *model, bool processing) const
    {
        State::setProcessing(viewModel(model), processing);
    }
    // current: a ProcessStep ordinal, or -1 for none.
    Q_INVOKABLE void setSteps(QObject *model, double progress, const QString &description,
                              int current, const QVariantList &completed) const
    {
        State::setProgress(viewModel(model), progress, description);
        State::setCurrentStep(viewModel(model),
                              current < 0 ? std::nullopt : std::optional(ProcessStep(current)));
        QList<ProcessStep> steps;
        for (const QVariant &step : completed)
            steps << ProcessStep(step.toInt());
        State::setCompletedSteps(viewModel(model), steps);
    }
    Q_INVOKABLE void showAlert(QObject *model, const QString &title, const QString &message) const
    {
        viewModel(model).showAlert(title, message);
    }
    // Choosing answers a bundle without a tool; a run fails at its first command.
    Q_INVOKABLE void failEveryAction(QObject *model) const
    {
        viewModel(model).setChooser(new NoToolChooser(model));
        viewModel(model).setEnvironment({"/nonexistent", "/nonexistent", "/nonexistent"});
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
