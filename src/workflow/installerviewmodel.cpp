#include "installerviewmodel.h"

#include "installerloader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QThread>

namespace vantorel {

InstallerViewModel::InstallerViewModel(QObject *parent)
    : QObject(parent)
{
    // Loads and one run at a time; a queue beyond that only delays, it never drops work.
    m_workers.setMaxThreadCount(4);
    m_clockTick.setInterval(1000);
    connect(&m_clockTick, &QTimer::timeout, this, &InstallerViewModel::tickClock);
    setChosenFolder(QSettings().value(outputFolderKey).toString());
}

InstallerViewModel::~InstallerViewModel()
{
    // A run still going is stopped, so that it removes what it made instead of finishing for
    // nobody. Dropping our queued calls releases a worker waiting on a replace prompt (it reads
    // the lost answer as "Cancel"), so the wait below cannot dead-lock.
    if (m_runCancellation)
        m_runCancellation->cancel();
    {
        const QMutexLocker lock(&m_promptGate);
        m_promptsClosed = true;
    }
    QCoreApplication::removePostedEvents(this);
    m_workers.waitForDone();
}

void InstallerViewModel::setEnvironment(const Environment &environment)
{
    assertGuiThread();
    m_environment = environment;
    refreshOutputFolder();
}

void InstallerViewModel::assertGuiThread() const
{
    Q_ASSERT_X(QThread::currentThread() == thread(), "InstallerViewModel",
               "published state is written on the GUI thread only");
}

void InstallerViewModel::waitForBackgroundWork()
{
    assertGuiThread();
    m_workers.waitForDone();
    // The workers' last groups are queued behind them; apply them now.
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

QVariant InstallerViewModel::selectedInstallerVariant() const
{
    return m_selectedInstaller ? QVariant::fromValue(*m_selectedInstaller) : QVariant();
}

void InstallerViewModel::setChooser(InstallerChooser *chooser)
{
    if (m_chooser == chooser)
        return;
    m_chooser = chooser;
    emit chooserChanged();
}

void InstallerViewModel::setPrompter(ReplacementPrompter *prompter)
{
    if (m_prompter == prompter)
        return;
    m_prompter = prompter;
    emit prompterChanged();
}

void InstallerViewModel::setFolderChooser(FolderChooser *chooser)
{
    if (m_folderChooser == chooser)
        return;
    m_folderChooser = chooser;
    emit folderChooserChanged();
}

void InstallerViewModel::setShowingAlert(bool showing)
{
    storeShowingAlert(showing);
}

// --- published stores ---------------------------------------------------------------------

// Every published store goes through here: announce, store, notify, on the GUI thread only.
template<typename T, typename Value>
void InstallerViewModel::store(T &member, Value &&value, void (InstallerViewModel::*changed)())
{
    assertGuiThread();
    emit objectWillChange();
    member = std::forward<Value>(value);
    emit(this->*changed)();
}

void InstallerViewModel::storeSelectedInstaller(std::optional<InstallerInfo> installer)
{
    store(m_selectedInstaller, std::move(installer), &InstallerViewModel::selectedInstallerChanged);
}

void InstallerViewModel::storeIsProcessing(bool value)
{
    store(m_isProcessing, value, &InstallerViewModel::isProcessingChanged);
}

void InstallerViewModel::storeIsStopping(bool value)
{
    store(m_isStopping, value, &InstallerViewModel::isStoppingChanged);
}

void InstallerViewModel::storeProgress(double value)
{
    store(m_progress, value, &InstallerViewModel::progressChanged);
}

void InstallerViewModel::storeProgressDescription(const QString &value)
{
    store(m_progressDescription, value, &InstallerViewModel::progressDescriptionChanged);
}

void InstallerViewModel::storeShowingAlert(bool value)
{
    store(m_showingAlert, value, &InstallerViewModel::showingAlertChanged);
}

void InstallerViewModel::storeAlertTitle(const QString &value)
{
    store(m_alertTitle, value, &InstallerViewModel::alertTitleChanged);
}

void InstallerViewModel::storeAlertMessage(const QString &value)
{
    store(m_alertMessage, value, &InstallerViewModel::alertMessageChanged);
}

void InstallerViewModel::storeAlertDetail(const QString &value)
{
    store(m_alertDetail, value, &InstallerViewModel::alertDetailChanged);
}

void InstallerViewModel::storeCurrentStep(std::optional<ProcessStep> value)
{
    store(m_currentStep, value, &InstallerViewModel::currentStepChanged);
}

void InstallerViewModel::insertCompletedStep(ProcessStep step)
{
    // An in-place change: one announcement, also when the step is already there.
    StepSet steps = m_completedSteps;
    steps.insert(step);
    store(m_completedSteps, steps, &InstallerViewModel::completedStepsChanged);
}

void InstallerViewModel::clearCompletedSteps()
{
    store(m_completedSteps, StepSet(), &InstallerViewModel::completedStepsChanged);
}

void InstallerViewModel::storeCreatedISOPath(const QString &value)
{
    store(m_createdISOPath, value, &InstallerViewModel::createdISOPathChanged);
}

void InstallerViewModel::storeElapsedSeconds(int value)
{
    store(m_elapsedSeconds, value, &InstallerViewModel::elapsedSecondsChanged);
}

void InstallerViewModel::storeStepSecondsLeft(int value)
{
    store(m_stepSecondsLeft, value, &InstallerViewModel::stepSecondsLeftChanged);
}

void InstallerViewModel::storeAlertOffersFolderChoice(bool value)
{
    store(m_alertOffersFolderChoice, value, &InstallerViewModel::alertOffersFolderChoiceChanged);
}

// --- the folder runs write to ---------------------------------------------------------------

void InstallerViewModel::setChosenFolder(const QString &folder)
{
    m_chosenFolder = folder.isEmpty() ? QString() : QDir::cleanPath(folder);
    if (!m_chosenFolder.isEmpty() && !m_folderWatcher) {
        m_folderWatcher = new QFileSystemWatcher(this);
        connect(m_folderWatcher, &QFileSystemWatcher::directoryChanged, this,
                &InstallerViewModel::refreshOutputFolder);
    }
    refreshOutputFolder();
}

void InstallerViewModel::refreshOutputFolder()
{
    assertGuiThread();
    const QString desktop = resolvedDesktopFolder(m_environment);
    const bool available = !m_chosenFolder.isEmpty() && QFileInfo(m_chosenFolder).isDir();
    const QString folder = available ? m_chosenFolder : desktop;
    const QString unavailable = m_chosenFolder.isEmpty() || available ? QString() : m_chosenFolder;
    if (folder != m_outputFolder || unavailable != m_unavailableOutputFolder) {
        emit objectWillChange();
        m_outputFolder = folder;
        m_outputFolderIsDesktop = QDir::cleanPath(folder) == QDir::cleanPath(desktop);
        m_unavailableOutputFolder = unavailable;
        emit outputFolderChanged();
    }
    if (!m_folderWatcher)
        return;
    // The folder itself tells when it goes; the nearest folder above it that exists tells when
    // it comes back (a disk mounted again under /Volumes). Re-armed only when that changes: a
    // run writing into the folder calls here for each file it adds.
    QString watched = m_chosenFolder;
    while (!watched.isEmpty() && !QFileInfo(watched).isDir() && watched != QLatin1String("/"))
        watched = QFileInfo(watched).path();
    const QStringList armed = m_folderWatcher->directories();
    if (armed == QStringList{watched})
        return;
    if (!armed.isEmpty())
        m_folderWatcher->removePaths(armed);
    if (!watched.isEmpty())
        m_folderWatcher->addPath(watched);
}

// --- time and samples of a run ------------------------------------------------------------

void InstallerViewModel::startClock()
{
    m_runClock.start();
    enterStep(std::nullopt);
    storeElapsedSeconds(0);
    m_clockTick.start();
}

void InstallerViewModel::stopClock()
{
    m_clockTick.stop();
    enterStep(std::nullopt);
}

void InstallerViewModel::enterStep(std::optional<StepSpan> span)
{
    m_measuredSpan = span;
    m_stepClock.start();
    if (m_stepSecondsLeft != -1)
        storeStepSecondsLeft(-1);
}

void InstallerViewModel::tickClock()
{
    const int elapsed = int(m_runClock.elapsed() / 1000);
    if (elapsed != m_elapsedSeconds)
        storeElapsedSeconds(elapsed);
    int left = -1;
    if (m_measuredSpan) {
        // From the published progress: the estimate follows exactly what the bar shows.
        const double fraction =
            (m_progress - m_measuredSpan->start) / (m_measuredSpan->end - m_measuredSpan->start);
        left = secondsLeftInStep(m_stepClock.elapsed(), fraction);
    }
    if (left != m_stepSecondsLeft)
        storeStepSecondsLeft(left);
}

void InstallerViewModel::publishSample(double value)
{
    // Progress only rises, and only by visible amounts.
    if (!(value - m_progress >= minimumProgressRise))
        return;
    storeProgress(value);
}

std::unique_ptr<ProgressSampler> InstallerViewModel::sampleStep(StepSpan span,
                                                                ProgressSampler::Measure measure)
{
    // No late sample: the worker destroys (joins) the sampler before it queues the group that
    // ends the step, and queued calls land in the order they were queued, so every sample lands
    // before that group.
    return std::make_unique<ProgressSampler>(std::move(measure), [this, span](double f) {
        const double value = progressWithin(span, f);
        onGuiThread([this, value] { publishSample(value); });
    });
}

// --- operations ---------------------------------------------------------------------------

void InstallerViewModel::showAlert(const QString &title, const QString &message,
                                   const QString &detail, bool offersFolderChoice)
{
    if (offersFolderChoice != m_alertOffersFolderChoice)
        storeAlertOffersFolderChoice(offersFolderChoice);
    storeAlertTitle(title);
    storeAlertMessage(message);
    if (!detail.isEmpty() || !m_alertDetail.isEmpty())
        storeAlertDetail(detail);
    storeShowingAlert(true);
}

void InstallerViewModel::resetProgress()
{
    storeProgress(0.0);
    storeProgressDescription(QStringLiteral("Starting the ISO creation process..."));
    storeCurrentStep(std::nullopt);
    clearCompletedSteps();
}

void InstallerViewModel::loadInstallerInfo(const QUrl &bundleUrl)
{
    assertGuiThread();
    const quint64 generation = ++m_loadGeneration;
    m_workers.start([this, bundleUrl, generation] {
        std::optional<InstallerInfo> info;
        QString failure;
        try {
            info = readInstallerInfo(bundleUrl);
        } catch (const Error &error) {
            failure = error.localizedDescription();
        } catch (const std::exception &other) {
            // A worker that lets an exception out ends the process; std::bad_alloc from a huge
            // image is an ordinary failure of this one load.
            failure = QString::fromUtf8(other.what());
        } catch (...) {
            failure = QStringLiteral("Unknown error");
        }
        onGuiThread([this, generation, info = std::move(info), failure] {
            // A newer load has started since: its result is the one the user asked for.
            if (generation != m_loadGeneration)
                return;
            if (info) {
                storeSelectedInstaller(info);
                insertCompletedStep(ProcessStep::selectInstaller);
            } else {
                showAlert(QStringLiteral("Error"),
                          QStringLiteral("Failed to load installer information: ") + failure);
            }
        });
    });
}

} // namespace vantorel
