#include "verifycommand.h"

#include "isoverification.h"

#include <QByteArray>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace vantorel {

namespace {

QJsonValue orNull(const std::optional<QString> &value)
{
    return value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null);
}

QByteArray jsonLine(const QString &file, const IsoVerdict &verdict)
{
    static constexpr const char *outcomes[] = {"verified", "not verified", "unreadable"};
    const auto &installer = verdict.installer;
    const QJsonObject object{
        {QStringLiteral("file"), file},
        {QStringLiteral("outcome"), QString::fromLatin1(outcomes[int(verdict.outcome)])},
        {QStringLiteral("volume"),
         orNull(verdict.volumeName.isEmpty() ? std::nullopt : std::optional(verdict.volumeName))},
        {QStringLiteral("installer"),
         orNull(installer ? std::optional(installer->name) : std::nullopt)},
        {QStringLiteral("macOSVersion"),
         orNull(installer ? installer->macOSVersion : std::nullopt)},
        {QStringLiteral("build"), orNull(installer ? installer->build : std::nullopt)},
        {QStringLiteral("reason"),
         orNull(verdict.reason.isEmpty() ? std::nullopt : std::optional(verdict.reason))}};
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

int status(IsoVerdict::Outcome outcome)
{
    switch (outcome) {
    case IsoVerdict::Outcome::verified:
        return 0;
    case IsoVerdict::Outcome::notVerified:
        return 1;
    case IsoVerdict::Outcome::unreadable:
        break;
    }
    return 2;
}

} // namespace

std::optional<int> runVerifyCommand(int argc, char *argv[])
{
    if (argc < 2 || std::strcmp(argv[1], "--verify") != 0)
        return std::nullopt;
    bool json = false, options = true;
    std::vector<const char *> files;
    for (int index = 2; index < argc; ++index) {
        const char *argument = argv[index];
        if (options && std::strcmp(argument, "--json") == 0) {
            json = true;
        } else if (options && std::strcmp(argument, "--") == 0) {
            options = false;
        } else if (options && argument[0] == '-' && argument[1] != '\0') {
            files.clear();
            break;
        } else {
            files.push_back(argument);
        }
    }
    if (files.empty()) {
        std::fputs("usage: vantorel --verify [--json] [--] FILE...\n", stderr);
        return 2;
    }
    int highest = 0;
    for (const char *file : files) {
        const QString path = QFile::decodeName(file);
        const IsoVerdict verdict = verifyImageFile(path);
        // The name as given, byte for byte: it need not be valid UTF-8.
        const QByteArray line =
            json                ? jsonLine(path, verdict) + '\n'
            : files.size() == 1 ? verdict.line().toUtf8() + '\n'
                                : file + QByteArrayLiteral(": ") + verdict.line().toUtf8() + '\n';
        if (std::fwrite(line.constData(), 1, size_t(line.size()), stdout) != size_t(line.size()) ||
            std::fflush(stdout) != 0)
            return 2;
        highest = std::max(highest, status(verdict.outcome));
    }
    return highest;
}

} // namespace vantorel
