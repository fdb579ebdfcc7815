#include "statedriver.h"

#include "sampleinstaller.h"
#include "viewmodelstateaccess.h"

using namespace vantorel;

namespace {

InstallerViewModel &viewModel(QObject *model)
{
    auto *viewModel = qobject_cast<InstallerViewModel *>(model);
    Q_ASSERT(viewModel);
    return *viewModel;
}

} // namespace

void StateDriver::selectInstaller(QObject *model, const QVariantMap &fields) const
{
    InstallerInfo info = sampleInstaller(fields.value("icon", true).toBool());
    if (fields.contains("path"))
        info.path = QUrl::fromLocalFile(fields.value("path").toString());
    info.name = fields.value("name", info.name).toString();
    info.version = fields.value("version", info.version).toString();
    info.macOSVersion = fields.value("macOSVersion", info.macOSVersion).toString();
    info.buildNumber = fields.value("buildNumber", info.buildNumber).toString();
    info.size = fields.value("size", info.size).toLongLong();
    ViewModelStateAccess::setSelectedInstaller(viewModel(model), info);
}

void StateDriver::clearInstaller(QObject *model) const
{
    ViewModelStateAccess::setSelectedInstaller(viewModel(model), std::nullopt);
}

void StateDriver::setProcessing(QObject *model, bool processing) const
{
    ViewModelStateAccess::setProcessing(viewModel(model), processing);
}

void StateDriver::setProgress(QObject *model, double progress, const QString &description) const
{
    ViewModelStateAccess::setProgress(viewModel(model), progress, description);
}

void StateDriver::setCurrentStep(QObject *model, int step) const
{
    ViewModelStateAccess::setCurrentStep(
        viewModel(model), step < 0 ? std::nullopt : std::optional(ProcessStep(step)));
}

void StateDriver::setCompletedSteps(QObject *model, const QVariantList &steps) const
{
    QList<ProcessStep> list;
    for (const QVariant &step : steps)
        list.append(ProcessStep(step.toInt()));
    ViewModelStateAccess::setCompletedSteps(viewModel(model), list);
}

void StateDriver::showAlert(QObject *model, const QString &title, const QString &message) const
{
    viewModel(model).showAlert(title, message);
}
