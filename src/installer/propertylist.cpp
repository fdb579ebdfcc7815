#include "propertylist.h"

#include "regularfile.h"

#include <QByteArray>

#include <plist/plist.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <limits>
#include <unistd.h>

namespace vantorel {

namespace {

// Reads until end of file rather than trusting the file's size, so a file that changes while
// being read is handled; stops with nothing once more than maxSize bytes arrive.
std::optional<QByteArray> readWholeFile(const QString &filePath, qint64 maxSize)
{
    const int fd = openRegularFile(filePath);
    if (fd < 0)
        return std::nullopt;

    QByteArray data;
    qint64 used = 0;
    bool failed = false;
    for (;;) {
        if (data.size() - used < 4096)
            data.resize(std::max<qint64>(2 * data.size(), 16 * 1024));
        const ssize_t count = ::read(fd, data.data() + used, size_t(data.size() - used));
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0) {
            failed = true;
            break;
        }
        if (count == 0)
            break;
        used += count;
        if (used > maxSize) {
            failed = true;
            break;
        }
    }
    ::close(fd);
    if (failed)
        return std::nullopt;
    data.truncate(used);
    return data;
}

} // namespace

void PropertyList::NodeDeleter::operator()(void *node) const
{
    plist_free(static_cast<plist_t>(node));
}

std::optional<PropertyList> PropertyList::read(const QString &filePath)
{
    const auto data = readWholeFile(filePath, maxFileSize);
    return data ? fromData(*data) : std::nullopt;
}

std::optional<PropertyList> PropertyList::fromData(const QByteArray &data)
{
    if (data.isEmpty() || data.size() > maxFileSize)
        return std::nullopt;
    plist_t root = nullptr;
    plist_from_memory(data.constData(), uint32_t(data.size()), &root);
    if (!root)
        return std::nullopt;
    PropertyList list(root);
    if (plist_get_node_type(root) != PLIST_DICT)
        return std::nullopt;
    return list;
}

std::optional<QString> PropertyList::string(const char *key) const
{
    const plist_t node = plist_dict_get_item(m_root.get(), key);
    if (!node || plist_get_node_type(node) != PLIST_STRING)
        return std::nullopt;
    // Not plist_get_string_val: it asserts (aborts the process) on a string holding a NUL byte,
    // which a crafted Info.plist can carry.
    uint64_t length = 0;
    const char *value = plist_get_string_ptr(node, &length);
    if (!value || length > uint64_t(std::numeric_limits<qsizetype>::max()))
        return std::nullopt;
    return QString::fromUtf8(value, qsizetype(length));
}

} // namespace vantorel
