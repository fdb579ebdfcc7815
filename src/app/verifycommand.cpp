#include "verifycommand.h"

#include "isoverification.h"

#include <QByteArray>
#include <QFile>

#include <cstdio>
#include <cstring>

namespace vantorel {

std::optional<int> runVerifyCommand(int argc, char *argv[])
{
    if (argc < 2 || std::strcmp(argv[1], "--verify") != 0)
        return std::nullopt;
    if (argc != 3) {
        std::fputs("usage: vantorel --verify FILE\n", stderr);
        return 2;
    }
    const IsoVerdict verdict = verifyImageFile(QFile::decodeName(argv[2]));
    const QByteArray line = verdict.line().toUtf8() + '\n';
    if (std::fwrite(line.constData(), 1, size_t(line.size()), stdout) != size_t(line.size()) ||
        std::fflush(stdout) != 0)
        return 2;
    switch (verdict.outcome) {
    case IsoVerdict::Outcome::verified:
        return 0;
    case IsoVerdict::Outcome::notVerified:
        return 1;
    case IsoVerdict::Outcome::unreadable:
        break;
    }
    return 2;
}

} // namespace vantorel
