#pragma once

#include <QImage>
#include <QMetaType>
#include <QString>
#include <QUrl>
#include <optional>

namespace vantorel {

// One macOS installer application as read from disk. A plain value: built once, never changed,
// safe to copy between threads.
struct InstallerInfo
{
    Q_GADGET
    Q_PROPERTY(QUrl path MEMBER path CONSTANT FINAL)
    Q_PROPERTY(QString filePath READ filePath CONSTANT FINAL)
    Q_PROPERTY(QString name MEMBER name CONSTANT FINAL)
    Q_PROPERTY(QString version MEMBER version CONSTANT FINAL)
    Q_PROPERTY(QString macOSVersion MEMBER macOSVersion CONSTANT FINAL)
    Q_PROPERTY(QString buildNumber MEMBER buildNumber CONSTANT FINAL)
    Q_PROPERTY(qint64 size MEMBER size CONSTANT FINAL)
    Q_PROPERTY(QImage icon READ iconImage CONSTANT FINAL)
    Q_PROPERTY(bool hasIcon READ hasIcon CONSTANT FINAL)
    Q_PROPERTY(qint64 majorVersion READ majorVersion CONSTANT FINAL)
    Q_PROPERTY(QString installerType READ installerType CONSTANT FINAL)

public:
    QUrl path; // file URL of the bundle, as chosen
    QString name;
    QString version;
    QString macOSVersion;
    QString buildNumber;
    qint64 size = 0;
    std::optional<QImage> icon;

    // Major macOS version: the first number of macOSVersion, else the code name in name.
    qint64 majorVersion() const;
    // "macOS" above 10, "OS X" otherwise.
    QString installerType() const;

    QString filePath() const { return path.toLocalFile(); }
    QImage iconImage() const { return icon.value_or(QImage()); }
    bool hasIcon() const { return icon.has_value(); }
};

// The number stage of majorVersion: pieces split at ".", empties dropped, first piece parsed as
// a strict signed decimal within 64 bits.
std::optional<qint64> leadingVersionNumber(const QString &macOSVersion);
// The code-name stage of majorVersion (13 when no code name matches).
qint64 majorVersionFromCodeName(const QString &name);

} // namespace vantorel

Q_DECLARE_METATYPE(vantorel::InstallerInfo)
