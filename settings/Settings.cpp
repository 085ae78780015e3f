#include "settings/Settings.h"

#include "main_window/Main.h"
#include "platform/NumberRules.h"
#include "platform/Platform.h"
#include "platform/Profile.h"

#include <QTimer>
#include <cmath>
#include <optional>

namespace mdBomb
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
void rejectInput(ArmDialogControls& dialog)
{
    platform().messageBox(QStringLiteral("数値が正しくないです！！"),
                          QStringLiteral("アラーム設定のエラー"), MessageIcon::Exclamation);
    dialog.ArmTxt[0] = QStringLiteral("00");
    dialog.ArmTxt[1] = QStringLiteral("00");
}

// Converts a box's text; a conversion failure rejects the input and goes on with the reset box.
double convertOrReset(ArmDialogControls& dialog, int index)
{
    std::optional<double> n = numbers::dialogNumber(dialog.ArmTxt[index]);
    if (!n) {
        rejectInput(dialog);
        n = numbers::dialogNumber(dialog.ArmTxt[index]);
    }
    return n.value_or(0.0);
}

} // namespace

SettingsRecord& Settings()
{
    return g_settings;
}

void ResetSettings()
{
    g_settings = SettingsRecord{};
}

QString TwoDigit(const QString& text, double number)
{
    if (number > -1 && number < 10 && !text.isEmpty())
        return QLatin1Char('0') + text.back();
    return text;
}

QString AlarmText(std::int32_t stored)
{
    return TwoDigit(QString::number(stored), stored);
}

AcceptedText AcceptAlarmText(const QString& typed, double number)
{
    // The file is read back by the digits at the start of the value, so that whole number is
    // the alarm; the text stays as typed where it reads back so ("7", "07", "+7", "7.").
    const auto whole = static_cast<std::int32_t>(std::trunc(number));
    const bool readsBack = numbers::profileInt(typed.toUtf8()) == whole;
    return {readsBack ? typed : QString::number(whole), AlarmText(whole)};
}

void LoadSettings()
{
    g_settings.ArmHour = AlarmText(profile::getInt("HOUR", 0));
    g_settings.ArmMin = AlarmText(profile::getInt("MIN", 0));
    g_settings.DspTime = readField("DSPTIME");
    g_settings.BomSetting = readField("BOMSETTING");
    g_settings.DellMode = readField("DELLMODE");
    g_settings.EasyMode = readField("EASYMODE");
    g_settings.TopMost = readField("TOPMOST");
}

void SaveSettingsFromDialog(ArmDialogControls& dialog)
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
        accepted[i] = AcceptAlarmText(dialog.ArmTxt[i],
                                      numbers::dialogNumber(dialog.ArmTxt[i]).value_or(0.0));
    }
    g_settings.ArmHour = accepted[0].alarm;
    g_settings.ArmMin = accepted[1].alarm;
    profile::writeString("HOUR", accepted[0].stored.toUtf8());
    profile::writeString("MIN", accepted[1].stored.toUtf8());

    writeSwitch("DSPTIME", g_settings.DspTime, dialog.Option1_0 ? 0 : 1);
    std::int16_t action = 0;
    for (std::int16_t i = 0; i < 4; ++i) {
        if (dialog.Option2[i])
            action = i;
    }
    writeSwitch("BOMSETTING", g_settings.BomSetting, action);
    writeSwitch("DELLMODE", g_settings.DellMode, dialog.Check1 ? 1 : 0);
    writeSwitch("EASYMODE", g_settings.EasyMode, dialog.Check2 ? 1 : 0);
    writeSwitch("TOPMOST", g_settings.TopMost, dialog.Check3 ? 1 : 0);
}

void ApplyTopmost()
{
    Main* main = Main::instance();
    if (main == nullptr)
        return;
    SetTimerEnabled(main->Timer3, g_settings.DellMode == 1);
    platform().setTopmost(main, g_settings.TopMost == 1);
}

} // namespace mdBomb
