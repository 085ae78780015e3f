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

// Sets the key, creating the file, the section or the key where they are missing.
void writeString(QByteArrayView key, QByteArrayView value);

} // namespace profile
