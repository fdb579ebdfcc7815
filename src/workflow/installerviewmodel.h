#pragma once

#include "commandcancellation.h"
#include "environment.h"
#include "installerinfo.h"
#include "interaction.h"
#include "processstep.h"
#include "progresssampler.h"

#include <QElapsedTimer>
#include <QFileSystemWatcher>
#include <QList>
#include <QMutex>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QThreadPool>
#include <QTimer>
#include <QUrl>
#include <QVariant>
#include <memory>
#include <optional>

namespace vantorel {

class DiskImageStages;

// Everything the window shows, and the operations behind its two buttons.
//
// Thread affinity: lives on the GUI thread, which is the only writer of the published state.
// Background work (installer loads, ISO runs) runs on the model's own thread pool and hands
// each group of stores back to the GUI thread as one queued call; the destructor waits for that
// work to end. While a run's worker is blocked in one of the two long steps, a ProgressSampler
// measures the step on a thread of its own and hands each value back the same way.
class InstallerViewModel : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QVariant selectedInstaller READ selectedInstallerVariant NOTIFY
                   selectedInstallerChanged FINAL)
    Q_PROPERTY(bool isProcessing READ isProcessing NOTIFY isProcessingChanged FINAL)
    // True from stopRun() until the stopped run's alert.
    Q_PROPERTY(bool isStopping READ isStopping NOTIFY isStoppingChanged FINAL)
    Q_PROPERTY(double progress READ progress NOTIFY progressChanged FINAL)
    Q_PROPERTY(QString progressDescription READ progressDescription NOTIFY
                   progressDescriptionChanged FINAL)
    Q_PROPERTY(
        bool showingAlert READ showingAlert WRITE setShowingAlert NOTIFY showingAlertChanged FINAL)
    Q_PROPERTY(QString alertTitle READ alertTitle NOTIFY alertTitleChanged FINAL)
    Q_PROPERTY(QString alertMessage READ alertMessage NOTIFY alertMessageChanged FINAL)
    // A second, smaller text under the message (the ISO check's verdict); empty for most alerts.
    Q_PROPERTY(QString alertDetail READ alertDetail NOTIFY alertDetailChanged FINAL)
    // Ordinal of the current ProcessStep, or -1 when there is none.
    Q_PROPERTY(int currentStep READ currentStepOrdinal NOTIFY currentStepChanged FINAL)
    // Ordinals of the completed steps, in step order.
    Q_PROPERTY(
        QList<int> completedSteps READ completedStepOrdinals NOTIFY completedStepsChanged FINAL)
    Q_PROPERTY(QString createdISOPath READ createdISOPath NOTIFY createdISOPathChanged FINAL)
    // Whole seconds since the current run started; updated once a second while it runs.
    Q_PROPERTY(int elapsedSeconds READ elapsedSeconds NOTIFY elapsedSecondsChanged FINAL)
    // Estimated seconds left in the current long step, or -1 while there is no estimate.
    Q_PROPERTY(int stepSecondsLeft READ stepSecondsLeft NOTIFY stepSecondsLeftChanged FINAL)
    // The folder the next run writes to: the one the user chose, or the Desktop.
    Q_PROPERTY(QString outputFolder READ outputFolder NOTIFY outputFolderChanged FINAL)
    Q_PROPERTY(
        bool outputFolderIsDesktop READ outputFolderIsDesktop NOTIFY outputFolderChanged FINAL)
    // The chosen folder while it cannot be reached (an unplugged disk), the run then writing to
    // the Desktop; empty otherwise.
    Q_PROPERTY(QString unavailableOutputFolder READ unavailableOutputFolder NOTIFY
                   outputFolderChanged FINAL)
    // Whether the alert is a refusal that another folder may cure (no room, or a disk that
    // cannot hold the disk image).
    Q_PROPERTY(bool alertOffersFolderChoice READ alertOffersFolderChoice NOTIFY
                   alertOffersFolderChoiceChanged FINAL)
    Q_PROPERTY(vantorel::InstallerChooser *chooser READ chooser WRITE setChooser NOTIFY
                   chooserChanged FINAL)
    Q_PROPERTY(vantorel::FolderChooser *folderChooser READ folderChooser WRITE setFolderChooser
                   NOTIFY folderChooserChanged FINAL)
    Q_PROPERTY(vantorel::ReplacementPrompter *prompter READ prompter WRITE setPrompter NOTIFY
                   prompterChanged FINAL)

public:
    using Environment = vantorel::Environment;

    explicit InstallerViewModel(QObject *parent = nullptr);
    ~InstallerViewModel() override;

    // GUI thread only; meant for tests and the development sandbox.
    void setEnvironment(const Environment &environment);
    const Environment &environment() const { return m_environment; }

    const std::optional<InstallerInfo> &selectedInstaller() const { return m_selectedInstaller; }
    bool isProcessing() const { return m_isProcessing; }
    bool isStopping() const { return m_isStopping; }
    double progress() const { return m_progress; }
    QString progressDescription() const { return m_progressDescription; }
    bool showingAlert() const { return m_showingAlert; }
    QString alertTitle() const { return m_alertTitle; }
    QString alertMessage() const { return m_alertMessage; }
    QString alertDetail() const { return m_alertDetail; }
    std::optional<ProcessStep> currentStep() const { return m_currentStep; }
    StepSet completedSteps() const { return m_completedSteps; }
    // The ISO file that the most recent successful run created; empty until a run succeeds.
    QString createdISOPath() const { return m_createdISOPath; }
    int elapsedSeconds() const { return m_elapsedSeconds; }
    int stepSecondsLeft() const { return m_stepSecondsLeft; }
    QString outputFolder() const { return m_outputFolder; }
    bool outputFolderIsDesktop() const { return m_outputFolderIsDesktop; }
    QString unavailableOutputFolder() const { return m_unavailableOutputFolder; }
    bool alertOffersFolderChoice() const { return m_alertOffersFolderChoice; }

    // The only published property the views write: the alert clears it when dismissed.
    void setShowingAlert(bool showing);

    InstallerChooser *chooser() const { return m_chooser; }
    void setChooser(InstallerChooser *chooser);
    ReplacementPrompter *prompter() const { return m_prompter; }
    void setPrompter(ReplacementPrompter *prompter);
    FolderChooser *folderChooser() const { return m_folderChooser; }
    void setFolderChooser(FolderChooser *chooser);

    // Runs the chooser and selects what it returns. GUI thread.
    Q_INVOKABLE void selectInstaller();
    // Validates the bundle and starts loading it: the chooser's answer, or a bundle dropped on
    // the window. GUI thread.
    Q_INVOKABLE void selectInstallerAt(const QUrl &bundle);
    // Starts one ISO run for the selected installer. GUI thread; returns at once.
    Q_INVOKABLE void createISO();
    // Ends the current run: its command is ended, what it made is removed, and its one alert
    // says that it was cancelled. GUI thread; returns at once.
    Q_INVOKABLE void stopRun();
    // Runs the folder chooser and makes its answer the folder that runs write to, remembered
    // across launches; a folder the user cannot write to is refused with an alert. Not during a
    // run. GUI thread.
    Q_INVOKABLE void chooseOutputFolder();

    // Starts loading the bundle on a worker; only the most recently started load publishes.
    void loadInstallerInfo(const QUrl &bundleUrl);

    // Title, message, detail (cleared when none is given), then showingAlert. The detail is
    // stored only when it or the one before is not empty, and whether the alert offers another
    // folder (first) only when that changes, so that an ordinary alert makes exactly three
    // stores.
    void showAlert(const QString &title, const QString &message, const QString &detail = {},
                   bool offersFolderChoice = false);

    // The settings key of the folder runs write to.
    static constexpr const char *outputFolderKey = "outputFolder";
    void resetProgress();

    // The disk image stages. Worker thread only (they block on commands and prompts); they
    // write no published state and throw Error on failure.
    QString createDMG(const InstallerInfo &installer);
    void makeBootable(const QString &location, const InstallerInfo &installer);
    QString convertToISO(const QString &location);
    bool cleanup(const QString &location);

    // Asks on the GUI thread whether the file at fileLocation may be replaced and blocks the
    // calling worker until the user answers. Never call it on the GUI thread.
    bool requestReplacement(const QString &fileLocation);

    // Waits until every load and run started so far has published its last store. For tests.
    void waitForBackgroundWork();

signals:
    // Emitted before every store into a published property, also when the value is unchanged.
    void objectWillChange();

    void selectedInstallerChanged();
    void isProcessingChanged();
    void isStoppingChanged();
    void progressChanged();
    void progressDescriptionChanged();
    void showingAlertChanged();
    void alertTitleChanged();
    void alertMessageChanged();
    void alertDetailChanged();
    void currentStepChanged();
    void completedStepsChanged();
    void createdISOPathChanged();
    void elapsedSecondsChanged();
    void stepSecondsLeftChanged();
    void outputFolderChanged();
    void alertOffersFolderChoiceChanged();
    // Once at the end of each run, after its alert and isProcessing=false are stored; isoPath is
    // the created ISO, empty when the run failed.
    void runFinished(bool succeeded, const QString &isoPath);
    void chooserChanged();
    void prompterChanged();
    void folderChooserChanged();

private:
    // Test support only: puts the model into a given published state without running work.
    friend class ViewModelStateAccess;

    QVariant selectedInstallerVariant() const;
    int currentStepOrdinal() const { return m_currentStep ? int(*m_currentStep) : -1; }
    QList<int> completedStepOrdinals() const { return m_completedSteps.ordinals(); }

    // Published stores; each announces objectWillChange first. GUI thread only.
    void storeSelectedInstaller(std::optional<InstallerInfo> installer);
    void storeIsProcessing(bool value);
    void storeIsStopping(bool value);
    void storeProgress(double value);
    void storeProgressDescription(const QString &value);
    void storeShowingAlert(bool value);
    void storeAlertTitle(const QString &value);
    void storeAlertMessage(const QString &value);
    void storeAlertDetail(const QString &value);
    void storeCurrentStep(std::optional<ProcessStep> value);
    void insertCompletedStep(ProcessStep step);
    void clearCompletedSteps();
    void storeCreatedISOPath(const QString &value);
    void storeElapsedSeconds(int value);
    void storeStepSecondsLeft(int value);
    void storeAlertOffersFolderChoice(bool value);
    // Takes the chosen folder (empty: the Desktop) and publishes where runs write now. Watches
    // the chosen folder, so that the line follows a disk that goes and comes back.
    void setChosenFolder(const QString &folder);
    void refreshOutputFolder();

    // Time and sampling of the run, GUI thread only. A step is entered with the span it is
    // measured in (none for the short steps).
    void enterStep(std::optional<StepSpan> span);
    void publishSample(double value);
    void startClock();
    void stopClock();
    // The end of a run, before its alert. GUI thread.
    void finishRun();
    void tickClock();
    // Starts sampling one long step of the current run; destroying the result ends it. Worker.
    std::unique_ptr<ProgressSampler> sampleStep(StepSpan span, ProgressSampler::Measure measure);

    // The one way to the disk image stages, for the run and for the operations above alike: the
    // environment as set now, defaults filled in, and this model's replace prompt.
    DiskImageStages stages();

    template<typename T, typename Value>
    void store(T &member, Value &&value, void (InstallerViewModel::*changed)());
    void assertGuiThread() const;
    // Queues fn to run on the GUI thread; dropped if the model is gone by then.
    template<typename Fn> void onGuiThread(Fn &&fn);

    std::optional<InstallerInfo> m_selectedInstaller;
    bool m_isProcessing = false;
    bool m_isStopping = false;
    double m_progress = 0.0;
    QString m_progressDescription;
    bool m_showingAlert = false;
    QString m_alertTitle;
    QString m_alertMessage;
    QString m_alertDetail;
    std::optional<ProcessStep> m_currentStep;
    StepSet m_completedSteps;
    QString m_createdISOPath;
    int m_elapsedSeconds = 0;
    int m_stepSecondsLeft = -1;
    QString m_outputFolder;
    bool m_outputFolderIsDesktop = true;
    QString m_unavailableOutputFolder;
    bool m_alertOffersFolderChoice = false;
    QString m_chosenFolder;
    QFileSystemWatcher *m_folderWatcher = nullptr;

    QTimer m_clockTick;
    QElapsedTimer m_runClock;
    QElapsedTimer m_stepClock;
    // The current run's, until its last group lands.
    std::shared_ptr<CommandCancellation> m_runCancellation;
    std::optional<StepSpan> m_measuredSpan;

    Environment m_environment;
    QPointer<InstallerChooser> m_chooser;
    QPointer<ReplacementPrompter> m_prompter;
    QPointer<FolderChooser> m_folderChooser;
    // Generation of the most recently started load; older loads drop their result.
    quint64 m_loadGeneration = 0;
    // Closed by the destructor before it sweeps the queued calls: a run that asks to replace a
    // file after that gets "Cancel" instead of waiting for a prompt that can never be shown.
    QMutex m_promptGate;
    bool m_promptsClosed = false;
    QThreadPool m_workers;
};

template<typename Fn> void InstallerViewModel::onGuiThread(Fn &&fn)
{
    // Queued calls from one thread arrive in order, and Qt drops those whose context object has
    // been destroyed, so each group lands whole, in sequence, or not at all.
    QMetaObject::invokeMethod(this, std::forward<Fn>(fn), Qt::QueuedConnection);
}

} // namespace vantorel
