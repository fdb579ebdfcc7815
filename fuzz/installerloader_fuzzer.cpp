// Installer loading on mutated Info.plist and icon bytes: readInstallerInfo returns or throws
// vantorel::Error and nothing else (no crash, no undefined behaviour, no leak), and the size it
// reports is the sum of the bundle's files.
//
// Input: the Info.plist bytes, optionally followed by a line "%%icon" and the bytes of
// Contents/Resources/AppIcon.icns.

#include "error.h"
#include "installerloader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const QTemporaryDir root(QDir::tempPath() + "/vantorel-fuzz-XXXXXX");
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    const qsizetype mark = input.indexOf("\n%%icon\n");
    const QByteArray plist = mark < 0 ? input : input.left(mark + 1);
    const QByteArray icon = mark < 0 ? QByteArray() : input.mid(mark + 8);
    const QString bundle = root.filePath("Install macOS Fuzz.app");
    QDir(bundle).removeRecursively();
    QDir().mkpath(bundle + "/Contents/Resources");
    for (const auto &[path, bytes] : {std::pair{"/Contents/Info.plist", plist},
                                      std::pair{"/Contents/Resources/AppIcon.icns", icon}}) {
        QFile file(bundle + path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            std::abort();
    }
    try {
        if (vantorel::readInstallerInfo(QUrl::fromLocalFile(bundle)).size !=
            plist.size() + icon.size())
            std::abort(); // the size walk missed or invented bytes
    } catch (const vantorel::Error &) {
    }
    return 0;
}
