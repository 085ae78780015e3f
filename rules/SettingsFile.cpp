#include "rules/SettingsFile.h"

#include "rules/IniDocument.h"
#include "rules/NumberRules.h"
#include "seams/Log.h"
#include "seams/System.h"

namespace settings_file
{

std::optional<QByteArray> SettingsFile::read(QByteArrayView key) const
{
    const std::optional<QByteArray> file = m_snapshot ? *m_snapshot : m_system.readSettingsFile();
    if (!file)
        return std::nullopt;
    return ini::value(*file, section, key);
}

std::int32_t SettingsFile::getInt(QByteArrayView key, std::int32_t def) const
{
    const std::optional<QByteArray> v = read(key);
    return v ? numbers::fileInt(*v) : def;
}

QByteArray SettingsFile::getString(QByteArrayView key, int bufferSize) const
{
    const QByteArray v = read(key).value_or(QByteArray());
    return v.left(bufferSize > 0 ? bufferSize - 1 : 0);
}

void SettingsFile::writeString(QByteArrayView key, QByteArrayView value)
{
    const std::optional<QByteArray> old = m_system.readSettingsFile();
    if (!old) {
        // an unreadable file is kept as it is: the write fails silently
        qCInfo(lcQuorvane) << "the settings file cannot be read; not written:" << key.data();
        return;
    }
    const QByteArray next = ini::withValue(*old, section, key, value);
    if (!m_system.replaceSettingsFile(next))
        qCInfo(lcQuorvane) << "the settings file could not be replaced; not written:" << key.data();
    else if (m_snapshot)
        *m_snapshot = next;
}

SettingsFile::Snapshot::Snapshot(SettingsFile& file) : m_file(file)
{
    m_file.m_snapshot = m_file.m_system.readSettingsFile();
    if (!*m_file.m_snapshot)
        qCInfo(lcQuorvane) << "the settings file cannot be read; every key reads as missing";
}

SettingsFile::Snapshot::~Snapshot()
{
    m_file.m_snapshot.reset();
}

} // namespace settings_file
