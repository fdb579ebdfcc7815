#include "diskimagestages.h"
#include "error.h"
#include "installerviewmodel.h"
#include "isoverification.h"

#include <QFileInfo>
#include <QMutexLocker>
#include <QThread>

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
    if (!m_selectedInstaller)
        return;

    // The run works on copies taken now: later changes to the selection or the environment
    // do not reach it.
    const InstallerInfo installer = *m_selectedInstaller;
    const DiskImageStages stages = this->stages();

    resetProgress();
    storeIsProcessing(true);
    insertCompletedStep(ProcessStep::selectInstaller);
    startClock();

    m_workers.start([this, installer, stages] {
        const auto finishWithError = [this](const QString &description) {
            onGuiThread([this, description] {
                stopClock();
                showAlert(QStringLiteral("Error"),
                          QStringLiteral("Failed to create ISO image: ") + description);
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

            const quint64 bootToken = ++m_lastSampleToken;
            onGuiThread([this, bootToken] {
                insertCompletedStep(ProcessStep::createDMG);
                storeCurrentStep(ProcessStep::makeBootable);
                storeProgressDescription(
                    QStringLiteral("Making DMG bootable using createinstallmedia..."));
                storeProgress(0.3);
                enterStep(bootToken, makeBootableSpan);
            });
            {
                // What has arrived on the volume that the install-media command fills.
                const auto sampler = sampleStep(
                    bootToken, makeBootableSpan,
                    [volume = volumePathFor(stages.environment().volumesRoot, installer.name),
                     size = installer.size] { return volumeFilled(volume, size); });
                stages.makeBootable(location, installer);
            }

            const quint64 convertToken = ++m_lastSampleToken;
            onGuiThread([this, convertToken] {
                insertCompletedStep(ProcessStep::makeBootable);
                storeCurrentStep(ProcessStep::convertToISO);
                storeProgressDescription(QStringLiteral("Converting DMG to ISO..."));
                storeProgress(0.7);
                enterStep(convertToken, convertToISOSpan);
            });
            QString isoPath;
            {
                // How far the conversion output has grown against the disk image.
                const auto sampler =
                    sampleStep(convertToken, convertToISOSpan,
                               [output = conversionOutputFor(isoPathFor(location)), location] {
                                   return conversionWritten(output, location);
                               });
                isoPath = stages.convertToISO(location);
            }
            // Before cleanup and before "Success": the user learns whether the file will boot.
            const QString verdict = verifyImageFile(isoPath).line();

            onGuiThread([this] {
                insertCompletedStep(ProcessStep::convertToISO);
                storeCurrentStep(ProcessStep::cleanup);
                storeProgressDescription(QStringLiteral("Cleaning up temporary files..."));
                storeProgress(0.9);
                enterStep(0, std::nullopt);
            });
            stages.cleanup(location);

            onGuiThread([this] {
                insertCompletedStep(ProcessStep::cleanup);
                storeProgress(1.0);
                storeProgressDescription(QStringLiteral("ISO creation completed"));
            });
            onGuiThread([this, isoPath, verdict] {
                stopClock();
                // Before the alert, whose "Show in Folder" reveals it.
                storeCreatedISOPath(isoPath);
                showAlert(QStringLiteral("Success"),
                          QStringLiteral("ISO image created successfully at:\n") + isoPath,
                          verdict);
                storeIsProcessing(false);
                emit runFinished(true, isoPath);
            });
        } catch (const Error &error) {
            finishWithError(error.localizedDescription());
        } catch (const std::exception &failure) {
            finishWithError(QString::fromUtf8(failure.what()));
        } catch (...) {
            finishWithError(QStringLiteral("Unknown error"));
        }
    });
}

DiskImageStages InstallerViewModel::stages()
{
    return DiskImageStages(resolvedEnvironment(m_environment), [this](const QString &fileLocation) {
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
