// The ISO check on mutated images (the input is the whole image), the catalog scan and the
// installer's Info.plist included: no crash, no hang, no read outside the image, and no more read
// than the catalog's extents and the Info.plist can hold, however the maps and the catalog point.

#include "isoverification.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// A property that does not hold is a finding like a crash: libFuzzer saves the input on abort.
void check(bool holds, const char *property, const std::string &details)
{
    if (holds)
        return;
    std::fprintf(stderr, "property violated: %s\n%s\n", property, details.c_str());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // Each node once (a loop in the leaves' links is refused), within the catalog's eight extents
    // (each at most the volume, so the image), and the Info.plist's as many: 16 images and the
    // maps and headers; never beyond the scan's 32 MiB, the Info.plist's 1 MiB and the maps' 1 MiB.
    const std::uint64_t readLimit =
        std::min<std::uint64_t>(17 * std::uint64_t(size) + 64 * 1024, 35 * 1024 * 1024);
    std::uint64_t readTotal = 0;
    const vantorel::IsoVerdict verdict =
        vantorel::verifyImage(size, [&](std::uint64_t offset, char *buffer, std::size_t length) {
            check(offset <= size && length <= size - offset, "reads stay inside the image",
                  std::to_string(offset) + " + " + std::to_string(length));
            readTotal += length;
            std::memcpy(buffer, data + offset, length);
            return 0;
        });
    check(readTotal <= readLimit, "reads each catalog node once, within the caps",
          std::to_string(readTotal));
    check(verdict.outcome != vantorel::IsoVerdict::Outcome::unreadable,
          "an image that reads is never unreadable", verdict.line().toStdString());
    return 0;
}
