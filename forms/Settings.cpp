#include "forms/Settings.h"

#include "forms/MainWindow.h"
#include "platform/NumberRules.h"
#include "platform/Platform.h"
#include "platform/Profile.h"

#include <QTimer>
#include <cmath>
#include <optional>

namespace settings
{

namespace
{

SettingsRecord g_settings;

std::int16_t readField(const char* key)
{
    return numbers::toSettingsField(profile::getInt(key, 0));
}

void writeSwitch(const char* key, std::int16_t& field, std::int16_t value)
{
    profile::writeString(key, QByteArray::number(value));
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

SettingsRecord& record()
{
    return g_settings;
}

void reset()
{
    g_settings = SettingsRecord{};
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

AcceptedText acceptAlarmText(const QString& typed, double number)
{
    // The file is read back by the digits at the start of the value, so that whole number is
    // the alarm; the text stays as typed where it reads back so ("7", "07", "+7", "7.").
    const auto whole = static_cast<std::int32_t>(std::trunc(number));
    const bool readsBack = numbers::profileInt(typed.toUtf8()) == whole;
    return {readsBack ? typed : QString::number(whole), alarmText(whole)};
}

void load()
{
    g_settings.alarmHour = alarmText(profile::getInt("HOUR", 0));
    g_settings.alarmMinute = alarmText(profile::getInt("MIN", 0));
    g_settings.uptimeForm = readField("DSPTIME");
    g_settings.action = readField("BOMSETTING");
    g_settings.sweepRecentFiles = readField("DELLMODE");
    g_settings.gentleMode = readField("EASYMODE");
    g_settings.keepOnTop = readField("TOPMOST");
}

void saveFromDialog(DialogValues& dialog)
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
    g_settings.alarmHour = accepted[0].alarm;
    g_settings.alarmMinute = accepted[1].alarm;
    profile::writeString("HOUR", accepted[0].stored.toUtf8());
    profile::writeString("MIN", accepted[1].stored.toUtf8());

    writeSwitch("DSPTIME", g_settings.uptimeForm, dialog.uptimeInHours ? 0 : 1);
    std::int16_t action = 0;
    for (std::int16_t i = 0; i < 4; ++i) {
        if (dialog.actions[i])
            action = i;
    }
    writeSwitch("BOMSETTING", g_settings.action, action);
    writeSwitch("DELLMODE", g_settings.sweepRecentFiles, dialog.sweep ? 1 : 0);
    writeSwitch("EASYMODE", g_settings.gentleMode, dialog.gentle ? 1 : 0);
    writeSwitch("TOPMOST", g_settings.keepOnTop, dialog.topmost ? 1 : 0);
}

void applyToMainWindow()
{
    MainWindow* main = MainWindow::instance();
    if (main == nullptr)
        return;
    setTimerEnabled(main->sweepTimer, g_settings.sweepRecentFiles == 1);
    platform().setTopmost(main, g_settings.keepOnTop == 1);
}

} // namespace settings
