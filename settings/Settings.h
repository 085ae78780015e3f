// The settings record and its store in the settings file's section.
#pragma once

#include <QString>
#include <cstdint>

namespace mdBomb
{

// One record for the whole process, shared by all forms.
struct SettingsRecord {
    QString ArmHour;              // alarm hour, two-digit text ("07")
    QString ArmMin;               // alarm minute, two-digit text
    std::int16_t DspTime = 0;     // 1: uptime in seconds only
    std::int16_t BomSetting = 0;  // 0 beep, 1 restart, 2 power off, 3 log off; else nothing
    std::int16_t DellMode = 0;    // 1: empty the recent-documents list every 50 s
    std::int16_t EasyMode = 0;    // 1: the gentle mode (the fault dialog)
    std::int16_t TopMost = 0;     // 1: the main window stays on top
    std::int16_t ArmFromTray = 0; // not stored: the settings dialog was opened from the tray
};

SettingsRecord& Settings();
// Back to the state of a fresh process (tests).
void ResetSettings();

// "0" and the last character of a text whose number is above -1 and below 10; any other text
// unchanged ("7" -> "07", "0" -> "00", "12" -> "12").
QString TwoDigit(const QString& text, double number);

// The alarm's two-digit text for a number read from the settings file ("07", "23", "100").
QString AlarmText(std::int32_t stored);

// A time box's accepted text: what is written to the file, and the alarm text, which is the same
// as reading that file back gives.
struct AcceptedText {
    QString stored;
    QString alarm;
};
// The text as typed is written wherever it reads back as the whole number accepted; otherwise
// (a blank the file does not skip, such as U+3000) that number's plain decimal text.
AcceptedText AcceptAlarmText(const QString& typed, double number);

// Fills the record (all but ArmFromTray) from the settings file; missing keys read as 0.
void LoadSettings();

// The settings dialog's controls as SaveSettingsFromDialog reads them; it writes the two text
// boxes back when it resets them.
struct ArmDialogControls {
    QString ArmTxt[2]; // [0] hour, [1] minute
    bool Option1_0 = true;
    bool Option2[4] = {true, false, false, false};
    bool Check1 = false;
    bool Check2 = false;
    bool Check3 = false;
};

// Validates the alarm time and writes the seven keys; on bad input shows the error message and
// resets both boxes to "00" (a range failure then writes nothing; a conversion failure carries on
// with 00:00).
void SaveSettingsFromDialog(ArmDialogControls& dialog);

// Applies the recent-documents switch to the main window's sweep timer and the always-on-top
// switch to the main window.
void ApplyTopmost();

} // namespace mdBomb
