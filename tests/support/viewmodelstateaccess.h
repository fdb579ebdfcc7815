#pragma once

#include "installerviewmodel.h"

#include <QList>
#include <optional>

namespace vantorel {

// Puts a view-model into any published state without running work, through the same stores
// the model uses itself (each announces objectWillChange and its change signal). GUI thread.
class ViewModelStateAccess
{
public:
    static void setSelectedInstaller(InstallerViewModel &model,
                                     std::optional<InstallerInfo> installer)
    {
        model.storeSelectedInstaller(std::move(installer));
    }
    static void setProcessing(InstallerViewModel &model, bool processing)
    {
        model.storeIsProcessing(processing);
    }
    static void setProgress(InstallerViewModel &model, double progress, const QString &description)
    {
        model.storeProgress(progress);
        model.storeProgressDescription(description);
    }
    static void setTime(InstallerViewModel &model, int elapsedSeconds, int stepSecondsLeft)
    {
        model.storeElapsedSeconds(elapsedSeconds);
        model.storeStepSecondsLeft(stepSecondsLeft);
    }
    // The folder the user chose (empty: the Desktop), without asking or remembering it.
    static void setChosenFolder(InstallerViewModel &model, const QString &folder)
    {
        model.setChosenFolder(folder);
    }
    static void setCurrentStep(InstallerViewModel &model, std::optional<ProcessStep> step)
    {
        model.storeCurrentStep(step);
    }
    static void setCompletedSteps(InstallerViewModel &model, const QList<ProcessStep> &steps)
    {
        model.clearCompletedSteps();
        for (ProcessStep step : steps)
            model.insertCompletedStep(step);
    }
};

} // namespace vantorel
