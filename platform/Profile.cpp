#include "platform/Profile.h"

#include "platform/IniDocument.h"
#include "platform/NumberRules.h"
#include "platform/Platform.h"

namespace profile
{

namespace
{

// The file as a snapshot holds it; empty while there is none.
std::optional<std::optional<QByteArray>> g_snapshot;

std::optional<QByteArray> read(QByteArrayView key)
{
    const std::optional<QByteArray> file = g_snapshot ? *g_snapshot : platform().readProfileFile();
    if (!file)
        return std::nullopt;
    return ini::value(*file, section, key);
}

} // namespace

std::int32_t getInt(QByteArrayView key, std::int32_t def)
{
    const std::optional<QByteArray> v = read(key);
    return v ? numbers::profileInt(*v) : def;
}

QByteArray getString(QByteArrayView key, int bufferSize)
{
    const QByteArray v = read(key).value_or(QByteArray());
    return v.left(bufferSize > 0 ? bufferSize - 1 : 0);
}

void writeString(QByteArrayView key, QByteArrayView value)
{
    const std::optional<QByteArray> old = platform().readProfileFile();
    if (!old)
        return; // an unreadable file is kept as it is: the write fails silently
    const QByteArray next = ini::withValue(*old, section, key, value);
    if (platform().replaceProfileFile(next) && g_snapshot)
        *g_snapshot = next;
}

Snapshot::Snapshot()
{
    g_snapshot = platform().readProfileFile();
}

Snapshot::~Snapshot()
{
    g_snapshot.reset();
}

} // namespace profile
