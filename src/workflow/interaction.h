#pragma once

#include <QObject>
#include <QString>
#include <QUrl>

namespace vantorel {

// Asks the user for an installer bundle. Called on the GUI thread; modal.
class InstallerChooser : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    // The chosen bundle's file URL, or an empty URL when the user cancelled.
    virtual QUrl chooseInstaller() = 0;
};

// Asks for the folder that receives the ISO. Called on the GUI thread; modal.
class FolderChooser : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    // The chosen folder's path, starting in startFolder; empty when the user cancelled.
    virtual QString chooseFolder(const QString &startFolder) = 0;
};

// Asks whether an existing file may be replaced. Called on the GUI thread; modal.
class ReplacementPrompter : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    // True only when the user chose "Replace".
    virtual bool askToReplace(const QString &fileName) = 0;
};

} // namespace vantorel
