#include "rules/Settings.h"

#include "platform/NumberRules.h"
#include "platform/Platform.h"
#include "platform/SettingsFile.h"

#include <cmath>
#include <optional>

namespace settings
{

namespace
{

std::int16_t readField(const settings_file::SettingsFile& file, const char* key)
{
    return numbers::toSettingsField(file.getInt(key, 0));
}

void writeSwitch(settings_file::SettingsFile& file, const char* key, std::int16_t& field,
                 std::int16_t value)
{
    file.writeString(key, QByteArray::number(value));
    field = value;
}

// Shows the error and resets both boxes to "00".
void rejectInput(DialogValues& dialog)
{
    platform().messageBox(QStringLiteral("数値が正しくないです！！"),
                          QStringLiteral("アラーム設定のエラー"), MessageIcon::Exclamation);
    dialog.times[0] = QStringLiteral("00");
    dialog.times[1] = QStringLiteral("00");
}

// Converts a box's text; a conversion failure rejects the input and goes on with the reset box.
double convertOrReset(DialogValues& dialog, int index)
{
    std::optional<double> n = numbers::dialogNumber(dialog.times[index]);
    if (!n) {
        rejectInput(dialog);
        n = numbers::dialogNumber(dialog.times[index]);
    }
    return n.value_or(0.0);
}

} // namespace

QString twoDigit(const QString& text, double number)
{
    if (number > -1 && number < 10 && !text.isEmpty())
        return QLatin1Char('0') + text.back();
    return text;
}

QString alarmText(std::int32_t stored)
{
    return twoDigit(QString::number(stored), stored);
}

AcceptedText acceptAlarmText(const QString& typed, double number)
{
    // The file is read back by the digits at the start of the value, so that whole number is
    // the alarm; the text stays as typed where it reads back so ("7", "07", "+7", "7.").
    const auto whole = static_cast<std::int32_t>(std::trunc(number));
    const bool readsBack = numbers::fileInt(typed.toUtf8()) == whole;
    return {readsBack ? typed : QString::number(whole), alarmText(whole)};
}

void load(const settings_file::SettingsFile& file, SettingsRecord& record)
{
    record.alarmHour = alarmText(file.getInt("HOUR", 0));
    record.alarmMinute = alarmText(file.getInt("MIN", 0));
    record.uptimeForm = readField(file, "DSPTIME");
    record.action = readField(file, "BOMSETTING");
    record.sweepRecentFiles = readField(file, "DELLMODE");
    record.gentleMode = readField(file, "EASYMODE");
    record.keepOnTop = readField(file, "TOPMOST");
}

void saveFromDialog(DialogValues& dialog, settings_file::SettingsFile& file, SettingsRecord& record)
{
    const double hour = convertOrReset(dialog, 0);
    if (!(hour > -1 && hour < 24)) {
        rejectInput(dialog);
        return;
    }
    const double minute = convertOrReset(dialog, 1);
    if (!(minute > -1 && minute < 60)) {
        rejectInput(dialog);
        return;
    }

    // The boxes may have been reset after the hour was read: take both from the boxes again.
    AcceptedText accepted[2];
    for (int i = 0; i < 2; ++i) {
        accepted[i] =
            acceptAlarmText(dialog.times[i], numbers::dialogNumber(dialog.times[i]).value_or(0.0));
    }
    record.alarmHour = accepted[0].alarm;
    record.alarmMinute = accepted[1].alarm;
    file.writeString("HOUR", accepted[0].stored.toUtf8());
    file.writeString("MIN", accepted[1].stored.toUtf8());

    writeSwitch(file, "DSPTIME", record.uptimeForm, dialog.uptimeInHours ? 0 : 1);
    std::int16_t action = 0;
    for (std::int16_t i = 0; i < 4; ++i) {
        if (dialog.actions[i])
            action = i;
    }
    writeSwitch(file, "BOMSETTING", record.action, action);
    writeSwitch(file, "DELLMODE", record.sweepRecentFiles, dialog.sweep ? 1 : 0);
    writeSwitch(file, "EASYMODE", record.gentleMode, dialog.gentle ? 1 : 0);
    writeSwitch(file, "TOPMOST", record.keepOnTop, dialog.topmost ? 1 : 0);
}

} // namespace settings
