#include "diskimagestages.h"
#include "error.h"
#include "installerviewmodel.h"
#include "isoverification.h"

#include <QDir>
#include <QFileInfo>
#include <QMutexLocker>
#include <QSettings>
#include <QThread>

#include <unistd.h>

#include <future>
#include <memory>

namespace vantorel {

void InstallerViewModel::selectInstaller()
{
    assertGuiThread();
    if (!m_chooser)
        return;
    const QUrl bundle = m_chooser->chooseInstaller();
    if (!bundle.isEmpty())
        selectInstallerAt(bundle);
}

void InstallerViewModel::selectInstallerAt(const QUrl &bundle)
{
    assertGuiThread();
    // A folder, or a link to an existing item, passes as well as a file.
    if (!bundle.isLocalFile() || !QFileInfo::exists(toolPathFor(bundle.toLocalFile()))) {
        showAlert(QStringLiteral("Invalid Installer"),
                  QStringLiteral("The selected application doesn't appear to be a valid macOS "
                                 "installer."));
        return;
    }
    storeCurrentStep(ProcessStep::selectInstaller);
    loadInstallerInfo(bundle);
}

void InstallerViewModel::createISO()
{
    assertGuiThread();
    // One run at a time: a second would share the clock, the step span and the Desktop files.
    if (!m_selectedInstaller || m_isProcessing)
        return;
    // A folder that went away since it was looked at last: this run goes to the Desktop.
    refreshOutputFolder();

    // The run works on copies taken now: later changes to the selection or the environment
    // do not reach it.
    const InstallerInfo installer = *m_selectedInstaller;
    DiskImageStages stages = this->stages();
    auto cancellation = std::make_shared<CommandCancellation>();
    m_runCancellation = cancellation;

    resetProgress();
    storeIsProcessing(true);
    insertCompletedStep(ProcessStep::selectInstaller);
    startClock();

    m_workers.start([this, installer, stages, cancellation]() mutable {
        RunLeftovers leftovers;
        stages.setRun(cancellation.get(), &leftovers);
        const auto finishWithError = [&](QString description, bool offersFolderChoice = false) {
            // What the run made goes before the alert: when it opens, the Desktop is as it was.
            QString detail;
            try {
                detail = stages.rollBack(leftovers, cancellation->isCancelled());
            } catch (...) {
                // Out of memory while undoing: the alert still comes.
            }
            // Whatever the interrupted command said, the user stopped it.
            if (cancellation->isCancelled())
                description = QStringLiteral("Operation cancelled by user");
            onGuiThread([this, description, detail, offersFolderChoice] {
                finishRun();
                showAlert(QStringLiteral("Error"),
                          QStringLiteral("Failed to create ISO image: ") + description, detail,
                          offersFolderChoice);
                storeIsProcessing(false);
                emit runFinished(false, QString());
            });
        };
        try {
            onGuiThread([this] {
                storeCurrentStep(ProcessStep::createDMG);
                storeProgressDescription(QStringLiteral("Creating DMG file..."));
                storeProgress(0.1);
            });
            const QString location = stages.createDMG(installer);

            onGuiThread([this] {
                insertCompletedStep(ProcessStep::createDMG);
                storeCurrentStep(ProcessStep::makeBootable);
                storeProgressDescription(
                    QStringLiteral("Making DMG bootable using createinstallmedia..."));
                storeProgress(0.3);
                enterStep(makeBootableSpan);
            });
            {
                // What has arrived on the volume that the install-media command fills.
                const auto sampler = sampleStep(
                    makeBootableSpan,
                    [volume = volumePathFor(stages.environment().volumesRoot, installer.name),
                     size = installer.size] { return volumeFilled(volume, size); });
                stages.makeBootable(location, installer);
            }

            onGuiThread([this] {
                insertCompletedStep(ProcessStep::makeBootable);
                storeCurrentStep(ProcessStep::convertToISO);
                storeProgressDescription(QStringLiteral("Converting DMG to ISO..."));
                storeProgress(0.7);
                enterStep(convertToISOSpan);
            });
            QString isoPath;
            {
                // How far the conversion output has grown against the disk image.
                const auto sampler = sampleStep(
                    convertToISOSpan, [output = conversionOutputFor(isoPathFor(location)),
                                       location] { return conversionWritten(output, location); });
                isoPath = stages.convertToISO(location);
            }
            // Before cleanup and before "Success": whether the file boots and holds this installer.
            const QString verdict =
                verifyImageFile(isoPath, {{installer.macOSVersion, installer.buildNumber}}).line();

            onGuiThread([this] {
                insertCompletedStep(ProcessStep::convertToISO);
                storeCurrentStep(ProcessStep::cleanup);
                storeProgressDescription(QStringLiteral("Cleaning up temporary files..."));
                storeProgress(0.9);
                enterStep(std::nullopt);
            });
            stages.cleanup(location);

            onGuiThread([this] {
                insertCompletedStep(ProcessStep::cleanup);
                storeProgress(1.0);
                storeProgressDescription(QStringLiteral("ISO creation completed"));
            });
            onGuiThread([this, isoPath, verdict] {
                finishRun();
                // Before the alert, whose "Show in Folder" reveals it.
                storeCreatedISOPath(isoPath);
                showAlert(QStringLiteral("Success"),
                          QStringLiteral("ISO image created successfully at:\n") + isoPath,
                          verdict);
                storeIsProcessing(false);
                emit runFinished(true, isoPath);
            });
        } catch (const Error &error) {
            // Refusals that another folder cures.
            finishWithError(error.localizedDescription(),
                            error.domain() == applicationErrorDomain() &&
                                (error.code() == stageerror::notEnoughSpace ||
                                 error.code() == stageerror::fileTooLarge));
        } catch (const std::exception &failure) {
            finishWithError(QString::fromUtf8(failure.what()));
        } catch (...) {
            finishWithError(QStringLiteral("Unknown error"));
        }
    });
}

void InstallerViewModel::stopRun()
{
    assertGuiThread();
    if (!m_isProcessing || m_isStopping)
        return;
    storeIsStopping(true);
    if (m_runCancellation)
        m_runCancellation->cancel();
}

void InstallerViewModel::finishRun()
{
    stopClock();
    m_runCancellation.reset();
    if (m_isStopping)
        storeIsStopping(false);
}

void InstallerViewModel::chooseOutputFolder()
{
    assertGuiThread();
    if (!m_folderChooser || m_isProcessing)
        return;
    const QString folder = m_folderChooser->chooseFolder(m_outputFolder);
    if (folder.isEmpty())
        return;
    if (::access(QFile::encodeName(folder).constData(), W_OK) != 0) {
        showAlert(QStringLiteral("Error"),
                  QStringLiteral("Vantorel cannot write to \u201C%1\u201D.").arg(folder));
        return;
    }
    // The Desktop chosen again is no choice: it stays the default wherever the Desktop is.
    const bool desktop =
        QDir::cleanPath(folder) == QDir::cleanPath(resolvedDesktopFolder(m_environment));
    QSettings settings;
    if (desktop)
        settings.remove(QLatin1String(outputFolderKey));
    else
        settings.setValue(QLatin1String(outputFolderKey), folder);
    setChosenFolder(desktop ? QString() : folder);
}

DiskImageStages InstallerViewModel::stages()
{
    Environment environment = resolvedEnvironment(m_environment);
    environment.outputFolder = m_outputFolder;
    return DiskImageStages(environment, [this](const QString &fileLocation) {
        return requestReplacement(fileLocation);
    });
}

QString InstallerViewModel::createDMG(const InstallerInfo &installer)
{
    return stages().createDMG(installer);
}

void InstallerViewModel::makeBootable(const QString &location, const InstallerInfo &installer)
{
    stages().makeBootable(location, installer);
}

QString InstallerViewModel::convertToISO(const QString &location)
{
    return stages().convertToISO(location);
}

bool InstallerViewModel::cleanup(const QString &location)
{
    return stages().cleanup(location);
}

bool InstallerViewModel::requestReplacement(const QString &fileLocation)
{
    const QString fileName = QFileInfo(fileLocation).fileName();
    const auto ask = [this, fileName] {
        try {
            return m_prompter && m_prompter->askToReplace(fileName);
        } catch (...) {
            return false;
        }
    };
    if (QThread::currentThread() == thread())
        return ask();

    // The queued call holds the only reference to the promise: if it is dropped undelivered
    // (the model is being destroyed), the promise breaks and the answer is "Cancel".
    auto answer = std::make_shared<std::promise<bool>>();
    std::future<bool> answered = answer->get_future();
    {
        const QMutexLocker lock(&m_promptGate);
        if (m_promptsClosed)
            return false;
        onGuiThread([ask, answer = std::move(answer)] { answer->set_value(ask()); });
    }
    try {
        return answered.get();
    } catch (const std::future_error &) {
        return false;
    }
}

} // namespace vantorel
