#pragma once

#include <QObject>
#include <QVariantList>
#include <QVariantMap>

// Lets the QML tests put the window's view-model into any published state.
class StateDriver : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // fields: any of name, version, macOSVersion, buildNumber, size, path (a local path) and
    // icon (bool); the rest come from the sample installer.
    Q_INVOKABLE void selectInstaller(QObject *model, const QVariantMap &fields) const;
    Q_INVOKABLE void clearInstaller(QObject *model) const;
    Q_INVOKABLE void setProcessing(QObject *model, bool processing) const;
    Q_INVOKABLE void setProgress(QObject *model, double progress, const QString &description) const;
    // step: a ProcessStep ordinal, or -1 for none.
    Q_INVOKABLE void setCurrentStep(QObject *model, int step) const;
    Q_INVOKABLE void setCompletedSteps(QObject *model, const QVariantList &steps) const;
    Q_INVOKABLE void showAlert(QObject *model, const QString &title, const QString &message) const;
};
