#pragma once

#include "environment.h"
#include "installerinfo.h"

#include <QString>
#include <functional>

namespace vantorel {

// Error codes of the disk image stages.
namespace stageerror {
inline constexpr qint64 dmgReplaceDeclined = 2;
inline constexpr qint64 createFailed = 3;
inline constexpr qint64 attachFailed = 4;
inline constexpr qint64 installMediaFailed = 5;
inline constexpr qint64 isoReplaceDeclined = 6;
inline constexpr qint64 convertFailed = 7;
inline constexpr qint64 unusableName = 8;
inline constexpr qint64 volumeInUse = 9;
inline constexpr qint64 notEnoughSpace = 10;
} // namespace stageerror

// False for names that would leave the folder they are joined to: empty, "." and "..", or
// holding "/" or NUL.
bool isUsableFileName(const QString &name);
// Throws the unusable-name error unless isUsableFileName(name).
void requireUsableFileName(const QString &name);

// folder + "/" + component, without doubling a separator the folder already ends in.
QString joinPath(const QString &folder, const QString &component);
// The disk image, the ISO and the conversion output of one installer.
QString diskImageLocation(const QString &desktopFolder, const QString &name);
// The location without its extension, plus ".iso": only the last extension goes, so the dots
// of a name such as "Install macOS 14.6" stay.
QString isoPathFor(const QString &diskImageLocation);
QString conversionOutputFor(const QString &isoPath);
QString volumePathFor(const QString &volumesRoot, const QString &name);
QString toolPathFor(const QString &installerPath);

// The four disk image stages of one run. Blocking: commands and prompts hold the calling
// (worker) thread until they end. Every failure is thrown as Error.
class DiskImageStages
{
public:
    // Answers whether the file at a location may be replaced.
    using ReplacementRequest = std::function<bool(const QString &fileLocation)>;

    DiskImageStages(Environment environment, ReplacementRequest requestReplacement);

    QString createDMG(const InstallerInfo &installer) const;
    void makeBootable(const QString &location, const InstallerInfo &installer) const;
    QString convertToISO(const QString &location) const;
    bool cleanup(const QString &location) const;

    const Environment &environment() const { return m_environment; }

private:
    bool run(const QString &script) const;

    Environment m_environment;
    ReplacementRequest m_requestReplacement;
};

} // namespace vantorel
