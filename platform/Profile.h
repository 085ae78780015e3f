// The program's section of its settings file, read and written one key at a time. Every call
// reads the file afresh and every write replaces it atomically, so a failed write leaves the old
// file and is not reported.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <cstdint>

namespace profile
{

inline constexpr char fileName[] = "velmaris.ini";
inline constexpr char section[] = "Quorvane";

// The key's value read as an integer; the default when the file, section or key is missing.
std::int32_t getInt(QByteArrayView key, std::int32_t def);

// The key's value as it would fit a buffer of bufferSize characters: at most bufferSize - 1 of
// them; empty when the key is missing.
QByteArray getString(QByteArrayView key, int bufferSize);

// Sets the key, creating the file, the section or the key where they are missing. A write
// always reads the file afresh, so that what others wrote meanwhile is kept.
void writeString(QByteArrayView key, QByteArrayView value);

// While one exists, reads use the file as it was when it was made: the start-up sequence reads
// all its keys from one reading of the file.
class Snapshot
{
public:
    Snapshot();
    ~Snapshot();
    Snapshot(const Snapshot&) = delete;
    Snapshot& operator=(const Snapshot&) = delete;
};

} // namespace profile
