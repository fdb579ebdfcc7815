#pragma once

#include "commandcancellation.h"
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
inline constexpr qint64 fileTooLarge = 11;
} // namespace stageerror

// False for names that would leave the folder they are joined to: empty, "." and "..", or
// holding "/" or NUL.
bool isUsableFileName(const QString &name);
// Throws the unusable-name error unless isUsableFileName(name).
void requireUsableFileName(const QString &name);

// folder + "/" + component, without doubling a separator the folder already ends in.
QString joinPath(const QString &folder, const QString &component);
// The disk image, the ISO and the conversion output of one installer.
QString diskImageLocation(const QString &folder, const QString &name);
// The location without its extension, plus ".iso": only the last extension goes, so the dots
// of a name such as "Install macOS 14.6" stay.
QString isoPathFor(const QString &diskImageLocation);
QString conversionOutputFor(const QString &isoPath);
QString volumePathFor(const QString &volumesRoot, const QString &name);
QString toolPathFor(const QString &installerPath);

// What a run has made and still holds, as the stages go: what a failed or stopped run removes,
// and nothing else. Each path is recorded before the command that makes it starts, and only
// once the stage has made sure that nothing was there, so whatever is found there later is the
// run's own.
struct RunLeftovers
{
    QString volume;           // attached by the run, not yet ejected
    QString diskImage;        // created, not yet deleted
    QString conversionOutput; // being written, not yet moved onto the ISO name
    QString iso;              // the finished ISO: removed only for a run the user stopped
};

// The four disk image stages of one run. Blocking: commands and prompts hold the calling
// (worker) thread until they end. Every failure is thrown as Error.
class DiskImageStages
{
public:
    // Answers whether the file at a location may be replaced.
    using ReplacementRequest = std::function<bool(const QString &fileLocation)>;

    DiskImageStages(Environment environment, ReplacementRequest requestReplacement);

    // The run the stages belong to: its commands end when cancellation is cancelled (and none
    // starts after that), and what they make is recorded in leftovers. Either may be null.
    void setRun(const CommandCancellation *cancellation, RunLeftovers *leftovers);

    QString createDMG(const InstallerInfo &installer) const;
    void makeBootable(const QString &location, const InstallerInfo &installer) const;
    QString convertToISO(const QString &location) const;
    bool cleanup(const QString &location) const;

    // Ejects and removes what a failed or stopped run left, in that order, the ISO only when
    // stopped. Never asks and never stops early; it is not cancelled. Returns the alert's detail:
    // "The temporary files were removed." when all of it went, one "Left behind: “PATH”
    // (REASON)." line for each thing that stayed, or nothing when there was nothing to undo.
    QString rollBack(const RunLeftovers &leftovers, bool stopped) const;

    const Environment &environment() const { return m_environment; }

private:
    bool run(const QString &script) const;
    // Records path in the run's leftovers, when there are any.
    void record(QString RunLeftovers::*item, const QString &path) const;

    Environment m_environment;
    ReplacementRequest m_requestReplacement;
    const CommandCancellation *m_cancellation = nullptr;
    RunLeftovers *m_leftovers = nullptr;
};

} // namespace vantorel
