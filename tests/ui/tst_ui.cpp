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

public:
    Q_INVOKABLE void selectInstaller(InstallerViewModel *model,
                                     const QString &macOSVersion = "14.2.1", bool icon = true) const
    {
        State::setSelectedInstaller(
            *model,
            InstallerInfo{QUrl::fromLocalFile("/Applications/Install macOS Sonoma.app"),
                          "Install macOS Sonoma", "19.2.02", macOSVersion, "23C71", 13'254'061'152,
                          icon ? std::optional(QImage(64, 64, QImage::Format_ARGB32))
                               : std::nullopt});
    }
    Q_INVOKABLE void setProcessing(InstallerViewModel *model, bool processing) const
    {
        State::setProcessing(*model, processing);
    }
    // current: a ProcessStep ordinal.
    Q_INVOKABLE void setSteps(InstallerViewModel *model, double progress,
                              const QString &description, int current,
                              const QVariantList &completed) const
    {
        State::setProgress(*model, progress, description);
        State::setCurrentStep(*model, ProcessStep(current));
        QList<ProcessStep> steps;
        for (const QVariant &step : completed)
            steps << ProcessStep(step.toInt());
        State::setCompletedSteps(*model, steps);
    }
    Q_INVOKABLE void setProgress(InstallerViewModel *model, double progress, int elapsedSeconds,
                                 int stepSecondsLeft) const
    {
        State::setProgress(*model, progress, QString());
        State::setTime(*model, elapsedSeconds, stepSecondsLeft);
    }
    Q_INVOKABLE void chooseFolder(InstallerViewModel *model, const QString &folder) const
    {
        State::setChosenFolder(*model, folder);
    }
    Q_INVOKABLE void showAlert(InstallerViewModel *model, const QString &title,
                               const QString &message, const QString &detail = {},
                               bool offersFolderChoice = false) const
    {
        model->showAlert(title, message, detail, offersFolderChoice);
    }
    // Counts the folder chooser's calls instead of opening it.
    Q_INVOKABLE void countFolderChoices(InstallerViewModel *model)
    {
        model->setFolderChooser(&m_folders);
    }
    Q_INVOKABLE int folderChoices() const { return m_folders.asked; }

private:
    struct CountingChooser : FolderChooser
    {
        int asked = 0;
        QString chooseFolder(const QString &) override
        {
            ++asked;
            return {};
        }
    } m_folders;
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
