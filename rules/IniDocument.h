// Reading and editing the bytes of an INI file. Section and key names match without regard to
// ASCII case, with blanks around names and values ignored. An edit changes only the line it
// must: comments, blank lines, other sections, line endings, a byte-order mark and a missing
// final newline all survive byte for byte.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <optional>

namespace ini
{

// The value of the first matching key in the first matching section, blanks trimmed and one pair
// of enclosing matching quotes removed; nullopt when the section or key is missing.
std::optional<QByteArray> value(QByteArrayView file, QByteArrayView section, QByteArrayView key);

// The file with the key set to the value: the first matching key's value replaced in place, or
// the key added after the last key line of the first matching section, or the section added at
// the end of the file.
QByteArray withValue(QByteArrayView file, QByteArrayView section, QByteArrayView key,
                     QByteArrayView newValue);

} // namespace ini
