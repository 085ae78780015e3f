// Number rules shared by the settings file, the window placement and the settings dialog.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstdint>
#include <optional>

namespace numbers
{

// Nearest integer, halves to the even neighbour (1234.5 -> 1234, 1235.5 -> 1236), saturated to
// the 32-bit range; NaN gives 0.
std::int32_t roundHalfEven(double value);

// A value of the settings file read as an integer: blanks, an optional sign and the digits at the
// start; 0 where the value does not begin with a number; saturated to the 32-bit range.
std::int32_t fileInt(QByteArrayView value);

// The number at the start of a position text: leading blanks skipped, then a sign, digits, a
// decimal point and an exponent part; reading stops at the first character that cannot continue
// the number. 0 when the text does not begin with one.
double leadingNumber(QByteArrayView text);

// A window position as written to the settings file: the shortest decimal text of the
// single-precision value (1230 -> "1230", -45 -> "-45").
QByteArray positionText(float value);

// The settings dialog's conversion of a box's text: blanks around the number are ignored, a sign
// and a decimal point are accepted; empty or non-numeric text gives nullopt.
std::optional<double> dialogNumber(const QString& text);

// Fits a 32-bit value into a signed 16-bit settings field; values that do not fit read as 0.
std::int16_t toSettingsField(std::int32_t value);

} // namespace numbers
