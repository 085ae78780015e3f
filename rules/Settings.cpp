#include "rules/Settings.h"

#include "rules/NumberRules.h"
#include "rules/SettingsFile.h"

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

} // namespace

AlarmInput checkAlarmInput(const QString (&times)[2])
{
    const std::optional<double> hour = numbers::dialogNumber(times[0]);
    if (!hour)
        return AlarmInput::NotANumber;
    if (!(*hour > -1 && *hour < 24))
        return AlarmInput::OutOfRange;
    const std::optional<double> minute = numbers::dialogNumber(times[1]);
    if (!minute)
        return AlarmInput::NotANumber;
    if (!(*minute > -1 && *minute < 60))
        return AlarmInput::OutOfRange;
    return AlarmInput::Valid;
}

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

QString typedTime(const QString& text)
{
    return text.normalized(QString::NormalizationForm_KC);
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
    record.action = static_cast<Action>(readField(file, "BOMSETTING"));
    record.sweepRecentFiles = readField(file, "DELLMODE");
    record.gentleMode = readField(file, "EASYMODE");
    record.keepOnTop = readField(file, "TOPMOST");
}

void saveFromDialog(const DialogValues& dialog, settings_file::SettingsFile& file,
                    SettingsRecord& record)
{
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
    for (std::int16_t i = 0; i < actionCount; ++i) {
        if (dialog.actions[i])
            action = i;
    }
    file.writeString("BOMSETTING", QByteArray::number(action));
    record.action = static_cast<Action>(action);
    writeSwitch(file, "DELLMODE", record.sweepRecentFiles, dialog.sweep ? 1 : 0);
    writeSwitch(file, "EASYMODE", record.gentleMode, dialog.gentle ? 1 : 0);
    writeSwitch(file, "TOPMOST", record.keepOnTop, dialog.topmost ? 1 : 0);
}

} // namespace settings
