// The program's section of its settings file, read and written one key at a time. Every call
// reads the file afresh and every write replaces it atomically, so a failed write leaves the old
// file and is not reported.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <cstdint>
#include <optional>

class System;

namespace settings_file
{

inline constexpr char section[] = "Quorvane";

class SettingsFile
{
public:
    // The file the system keeps.
    explicit SettingsFile(System& system) : m_system(system) {}

    // The key's value read as an integer; the default when the file, section or key is missing.
    std::int32_t getInt(QByteArrayView key, std::int32_t def) const;
    // The key's value as it would fit a buffer of bufferSize characters: at most bufferSize - 1
    // of them; empty when the key is missing.
    QByteArray getString(QByteArrayView key, int bufferSize) const;
    // Sets the key, creating the file, the section or the key where they are missing. A write
    // always reads the file afresh, so that what others wrote meanwhile is kept.
    void writeString(QByteArrayView key, QByteArrayView value);

    // While one exists, reads use the file as it was when it was made: the start-up sequence
    // reads all its keys from one reading of the file.
    class Snapshot
    {
    public:
        explicit Snapshot(SettingsFile& file);
        ~Snapshot();
        Snapshot(const Snapshot&) = delete;
        Snapshot& operator=(const Snapshot&) = delete;

    private:
        SettingsFile& m_file;
    };

private:
    std::optional<QByteArray> read(QByteArrayView key) const;

    System& m_system;
    // The file as a snapshot holds it; empty while there is none.
    std::optional<std::optional<QByteArray>> m_snapshot;
};

} // namespace settings_file
