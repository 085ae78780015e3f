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

// The settings as the program uses them; the application state holds the one record.
struct SettingsRecord {
    QString alarmHour;                 // alarm hour, two-digit text ("07")
    QString alarmMinute;               // alarm minute, two-digit text
    std::int16_t uptimeForm = 0;       // 1: uptime in seconds only
    std::int16_t action = 0;           // 0 beep, 1 restart, 2 power off, 3 log off; else nothing
    std::int16_t sweepRecentFiles = 0; // 1: empty the recent-documents list every 50 s
    std::int16_t gentleMode = 0;       // 1: the gentle mode (the fault dialog)
    std::int16_t keepOnTop = 0;        // 1: the main window stays on top
    std::int16_t openedFromTray = 0;   // not stored: the settings dialog was opened from the tray
};

// "0" and the last character of a text whose number is above -1 and below 10; any other text
// unchanged ("7" -> "07", "0" -> "00", "12" -> "12").
QString twoDigit(const QString& text, double number);

// The alarm's two-digit text for a number read from the settings file ("07", "23", "100").
QString alarmText(std::int32_t stored);

// A time box's accepted text: what is written to the file, and the alarm text, which is the same
// as reading that file back gives.
struct AcceptedText {
    QString stored;
    QString alarm;
};
// The text as typed is written wherever it reads back as the whole number accepted; otherwise
// (a blank the file does not skip, such as U+3000) that number's plain decimal text.
AcceptedText acceptAlarmText(const QString& typed, double number);

// Fills the record (all but openedFromTray) from the settings file; missing keys read as 0.
void load(const settings_file::SettingsFile& file, SettingsRecord& record);

// The settings dialog's controls as saveFromDialog reads them; it writes the two text
// boxes back when it resets them.
struct DialogValues {
    QString times[2]; // [0] hour, [1] minute
    bool uptimeInHours = true;
    bool actions[4] = {true, false, false, false};
    bool sweep = false;
    bool gentle = false;
    bool topmost = false;
};

// Validates the alarm time and writes the seven keys; on bad input shows the error message and
// resets both boxes to "00" (a range failure then writes nothing; a conversion failure carries on
// with 00:00).
void saveFromDialog(DialogValues& dialog, settings_file::SettingsFile& file,
                    SettingsRecord& record);

} // namespace settings
