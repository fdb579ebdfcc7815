#pragma once

#include <QByteArray>
#include <QString>
#include <memory>
#include <optional>

namespace vantorel {

// A property list file (XML or binary) whose top level is a dictionary.
class PropertyList
{
public:
    // Absent when the file is missing, not a regular file, unreadable, larger than maxFileSize,
    // malformed, or its top level is not a dictionary. Never blocks on a pipe or device.
    static std::optional<PropertyList> read(const QString &filePath);
    // The same for the bytes of such a file, read from elsewhere (a disk image).
    static std::optional<PropertyList> fromData(const QByteArray &data);

    // The value of key when it is a string; absent for a missing key or any other type.
    std::optional<QString> string(const char *key) const;

    // Info.plist files are a few kilobytes; anything far larger is not one.
    static constexpr qint64 maxFileSize = 16 * 1024 * 1024;

private:
    struct NodeDeleter
    {
        void operator()(void *node) const;
    };
    explicit PropertyList(void *root)
        : m_root(root)
    {}

    std::unique_ptr<void, NodeDeleter> m_root;
};

} // namespace vantorel
