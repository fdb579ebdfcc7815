#pragma once

#include <QString>

#include <cstddef>
#include <functional>
#include <optional>

namespace vantorel {

// The installer application found at the root of an ISO's volume.
struct InstallerOnVolume
{
    QString name;                        // its folder's name, "Install macOS Sonoma.app"
    std::optional<QString> macOSVersion; // its Info.plist's DTPlatformVersion, when present
    std::optional<QString> build;        // its Info.plist's DTPlatformBuild, when present
};

// What a look inside a finished ISO image found: whether it holds a bootable (blessed) HFS+
// volume, as createinstallmedia leaves one, and which macOS installer it carries. It checks
// structure only; nothing is booted.
struct IsoVerdict
{
    enum class Outcome {
        verified,    // an HFS+ volume whose system folder and boot file are blessed
        notVerified, // readable, but not such a volume; reason says why
        unreadable,  // the file itself could not be read; reason carries the system's message
    };

    Outcome outcome = Outcome::notVerified;
    QString volumeName; // the volume's own name; set once its catalog was read
    std::optional<InstallerOnVolume> installer;
    QString reason; // without a final full stop; empty when verified

    // "Verified: bootable HFS+ volume “NAME” with macOS VERSION (BUILD)." (without " with …"
    // when no installer was found) or "Not verified: REASON."
    QString line() const;
};

// The installer a run put on the volume, from its record: the ISO must hold that one.
struct ExpectedInstaller
{
    QString macOSVersion;
    QString build;
};

// Reads length bytes at offset into buffer; returns 0, or an errno value when the read failed.
// Called only for ranges that lie inside the image.
using ImageReadAt = std::function<int(quint64 offset, char *buffer, std::size_t length)>;

// Finds the HFS+ volume (bare, behind a GUID partition table or behind an Apple partition map),
// checks its header and that it is blessed, reads its name and looks for the installer in its
// catalog. Checks each read against imageSize first; reads at most 32 MiB of the catalog and
// 1 MiB of the installer's Info.plist. With expected, a volume holding no installer or another
// one is not verified. Never throws.
IsoVerdict verifyImage(quint64 imageSize, const ImageReadAt &readAt,
                       const std::optional<ExpectedInstaller> &expected = std::nullopt);

// The same on a file (or a disk device). Never throws; any thread.
IsoVerdict verifyImageFile(const QString &path,
                           const std::optional<ExpectedInstaller> &expected = std::nullopt);

} // namespace vantorel
