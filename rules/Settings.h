// The settings record and its store in the settings file's section.
#pragma once

#include <QString>
#include <cstdint>

namespace settings_file
{
class SettingsFile;
}

namespace settings
{

// What the alarm does, as the file stores it; any other stored number does nothing.
enum class Action : std::int16_t { Beep = 0, Restart = 1, PowerOff = 2, LogOff = 3 };
// How many actions there are: the settings dialog's buttons, one for each.
inline constexpr int actionCount = static_cast<int>(Action::LogOff) + 1;

// A stored switch is on only when it is exactly 1 (a 2 or a -1 is off).
constexpr bool isOn(std::int16_t stored)
{
    return stored == 1;
}

// The settings as the program uses them; the application state holds the one record.
struct SettingsRecord {
    QString alarmHour;           // alarm hour, two-digit text ("07")
    QString alarmMinute;         // alarm minute, two-digit text
    std::int16_t uptimeForm = 0; // on: uptime in seconds only
    Action action = Action::Beep;
    std::int16_t sweepRecentFiles = 0; // 1: empty the recent-documents list every 50 s
    std::int16_t gentleMode = 0;       // 1: the gentle mode (the fault dialog)
    std::int16_t keepOnTop = 0;        // 1: the main window stays on top
};

// "0" and the last character of a text whose number is above -1 and below 10; any other text
// unchanged ("7" -> "07", "0" -> "00", "12" -> "12").
QString twoDigit(const QString& text, double number);

// The alarm's two-digit text for a number read from the settings file ("07", "23", "100").
QString alarmText(std::int32_t stored);

// A time box's text as the dialog reads it: full-width digits, signs, decimal point and spaces
// (typed with a Japanese input method) as their half-width forms, by Unicode's compatibility
// normalisation (NFKC); the rest as typed.
QString typedTime(const QString& text);

// A time box's accepted text: what is written to the file, and the alarm text, which is the same
// as reading that file back gives.
struct AcceptedText {
    QString stored;
    QString alarm;
};
// The text as typed is written wherever it reads back as the whole number accepted; otherwise
// (a blank the file does not skip, such as U+3000) that number's plain decimal text.
AcceptedText acceptAlarmText(const QString& typed, double number);

// Fills the record from the settings file; missing keys read as 0.
void load(const settings_file::SettingsFile& file, SettingsRecord& record);

// What the typed alarm time comes to. A text that is not a number resets both boxes to "00" and
// is then saved as 00:00; one out of range (hour -1 < h < 24, minute -1 < m < 60) resets them and
// saves nothing. The hour is judged before the minute is looked at.
enum class AlarmInput { Valid, NotANumber, OutOfRange };
AlarmInput checkAlarmInput(const QString (&times)[2]);

// The settings dialog's controls as saveFromDialog reads them.
struct DialogValues {
    QString times[2]; // [0] hour, [1] minute
    bool uptimeInHours = true;
    bool actions[actionCount] = {true};
    bool sweep = false;
    bool gentle = false;
    bool topmost = false;
};

// Writes the seven keys and fills the record from a dialog whose alarm time is valid (checked,
// or reset to "00").
void saveFromDialog(const DialogValues& dialog, settings_file::SettingsFile& file,
                    SettingsRecord& record);

} // namespace settings
