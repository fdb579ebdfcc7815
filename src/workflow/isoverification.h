#pragma once

#include <QString>

#include <cstddef>
#include <functional>

namespace vantorel {

// What a look inside a finished ISO image found: whether it holds a bootable (blessed) HFS+
// volume, as createinstallmedia leaves one. It checks structure only; nothing is booted.
struct IsoVerdict
{
    enum class Outcome {
        verified,    // an HFS+ volume whose system folder and boot file are blessed
        notVerified, // readable, but not such a volume; reason says why
        unreadable,  // the file itself could not be read; reason carries the system's message
    };

    Outcome outcome = Outcome::notVerified;
    QString volumeName; // the volume's own name, as its catalog holds it; set when verified
    QString reason;

    // "Verified: bootable HFS+ volume “NAME”." or "Not verified: REASON."
    QString line() const;
};

// Reads length bytes at offset into buffer; returns 0, or an errno value when the read failed.
// Called only for ranges that lie inside the image.
using ImageReadAt = std::function<int(quint64 offset, char *buffer, std::size_t length)>;

// Finds the HFS+ volume (bare, behind a GUID partition table or behind an Apple partition map),
// checks its header, reads its name from the catalog and checks that it is blessed. Reads a few
// KiB, at most about a MiB, each read checked against imageSize first. Never throws.
IsoVerdict verifyImage(quint64 imageSize, const ImageReadAt &readAt);

// The same on a file (or a disk device). Never throws; any thread.
IsoVerdict verifyImageFile(const QString &path);

} // namespace vantorel
