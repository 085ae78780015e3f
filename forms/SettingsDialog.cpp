#include "forms/SettingsDialog.h"

#include "desktop/Fonts.h"
#include "forms/AppState.h"
#include "forms/FormBuilder.h"
#include "forms/FormContext.h"
#include "forms/FormLifetime.h"
#include "forms/Twips.h"
#include "resources/Icons.h"
#include "seams/Desktop.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <functional>

namespace
{

constexpr int kClientWidth = 3975;
constexpr int kClientHeight = 3315;
constexpr int kTypedDigits = 2;   // what the user can type into a time box
constexpr double kFontPoints = 9; // the Japanese desktop's default window font

// A limit that lets a text of `length` characters stay whole but lets nothing be typed beyond
// the larger of that length and two characters.
void limitTyping(QLineEdit* box, qsizetype length)
{
    box->setMaxLength(std::max(kTypedDigits, int(length)));
}

// A text box for two digits, centred. The limit holds for typing: a longer text the program
// puts in stays whole, and the limit shrinks back as the user shortens it.
void makeDigitBox(QLineEdit* box, const QString& accessibleName)
{
    box->setMaxLength(kTypedDigits);
    box->setAlignment(Qt::AlignCenter);
    box->setAccessibleName(accessibleName);
    QObject::connect(box, &QLineEdit::textEdited, box,
                     [box] { limitTyping(box, box->text().size()); });
}

// Puts the program's own text into a time box, whole.
void showWhole(QLineEdit* box, const QString& text)
{
    limitTyping(box, text.size());
    box->setText(text);
}

// Selects a button of a group; where that changes the selection its click handler runs, as if
// the user had clicked it.
template <class Handler> void selectAsIfClicked(QRadioButton* button, Handler handler)
{
    if (button->isChecked())
        return;
    button->setChecked(true);
    handler();
}

const ControlRow kControls[] = {
    {"alarmFrame", ControlKind::Frame, 0, 0, 2775, 1215, "時間設定"},
    {"alarmPrompt", ControlKind::Label, 120, 240, 2535, 360,
     "２４時間表示で爆弾を爆発させる時間を入力して下さい", "alarmFrame"},
    {"hourBox", ControlKind::TextBox, 600, 720, 495, 375, "", "alarmFrame"},
    {"hourUnit", ControlKind::Label, 1200, 840, 180, 180, "時", "alarmFrame"},
    {"minuteBox", ControlKind::TextBox, 1440, 720, 495, 375, "", "alarmFrame"},
    {"minuteUnit", ControlKind::Label, 2040, 840, 180, 180, "分", "alarmFrame"},
    {"uptimeFrame", ControlKind::Frame, 2880, 0, 1095, 1215, "経過時表示"},
    {"uptimeHoursButton", ControlKind::Option, 120, 360, 855, 255, "時間", "uptimeFrame"},
    {"uptimeSecondsButton", ControlKind::Option, 120, 720, 615, 255, "秒", "uptimeFrame"},
    {"actionFrame", ControlKind::Frame, 0, 1320, 1815, 1935, "爆弾設定"},
    {"beepButton", ControlKind::Option, 120, 360, 1455, 255, "BEEPアラート", "actionFrame"},
    {"restartButton", ControlKind::Option, 120, 720, 1575, 255, "Windows再起動", "actionFrame"},
    {"powerOffButton", ControlKind::Option, 120, 1080, 1335, 255, "Windows終了", "actionFrame"},
    {"logOffButton", ControlKind::Option, 120, 1440, 975, 255, "ログオフ", "actionFrame"},
    {"switchesFrame", ControlKind::Frame, 1920, 1320, 2055, 1455, "オプション"},
    {"sweepCheck", ControlKind::CheckBox, 120, 240, 1575, 375, "Recentファイル削除機能を使う",
     "switchesFrame"},
    {"gentleCheck", ControlKind::CheckBox, 120, 600, 1695, 420, "優しい設定を使う",
     "switchesFrame"},
    {"topmostCheck", ControlKind::CheckBox, 120, 1080, 1815, 255, "最前面表示する",
     "switchesFrame"},
    {"okButton", ControlKind::Button, 1920, 2880, 975, 375, "ＯＫ"},
    {"cancelButton", ControlKind::Button, 3000, 2880, 855, 375, "Cancel"},
};

// Where a caption that is too wide for its box breaks onto a second line: the last place where
// both lines fit, preferring a change of script ("Windows|再起動", "Recentファイル|削除...").
// The whole caption when there is no such place.
int captionBreak(const QString& caption, const std::function<bool(const QString&)>& fits)
{
    // Latin, katakana (full- and half-width: U+30A0 to U+30FF, U+FF66 to U+FF9F), the rest
    constexpr char16_t kAsciiEnd = 0x80;
    constexpr char16_t kKatakana = 0x30A0;
    constexpr char16_t kKatakanaLast = 0x30FF;
    constexpr char16_t kHalfWidthKatakana = 0xFF66;
    constexpr char16_t kHalfWidthKatakanaLast = 0xFF9F;
    auto script = [](QChar c) {
        const char16_t u = c.unicode();
        if (u < kAsciiEnd)
            return 0;
        if ((u >= kKatakana && u <= kKatakanaLast) ||
            (u >= kHalfWidthKatakana && u <= kHalfWidthKatakanaLast))
            return 1;
        return 2;
    };
    int fallback = -1;
    for (int i = int(caption.size()) - 1; i > 0; --i) {
        if (!fits(caption.left(i)) || !fits(caption.mid(i)))
            continue;
        if (script(caption[i - 1]) != script(caption[i]) || caption[i - 1] == QLatin1Char(' '))
            return i;
        if (fallback < 0)
            fallback = i;
    }
    return fallback;
}

// A caption the toolkit draws wider than its designed box gets the room it needs inside its
// frame, or is broken onto a second line and the box grows about its middle (captions wrap the
// same way on the desktop the layout was made for); assistive technologies still read it whole.
void fitCaption(QAbstractButton* b)
{
    const int room = b->parentWidget()->width() - b->x() - 2;
    if (b->sizeHint().width() <= b->width())
        return;
    if (b->sizeHint().width() > room) {
        const QString caption = b->text();
        const QFontMetrics fm(b->font());
        const int decoration = b->sizeHint().width() - fm.horizontalAdvance(caption);
        const int at = captionBreak(caption, [&](const QString& line) {
            return decoration + fm.horizontalAdvance(line) <= room;
        });
        if (at > 0) {
            b->setAccessibleName(caption);
            b->setText(caption.left(at) + QLatin1Char('\n') + caption.mid(at));
        }
    }
    const QSize hint = b->sizeHint();
    const int height = std::max(b->height(), hint.height());
    const int width = std::max(b->width(), std::min(hint.width(), room));
    b->setGeometry(b->x(), b->y() - (height - b->height()) / 2, width, height);
}

// A stored value that has no control selects the first button of its group.
int buttonIndex(std::int16_t value, int count)
{
    return value >= 0 && value < count ? value : 0;
}

} // namespace

SettingsDialog::SettingsDialog(FormContext& context)
    : QWidget(nullptr,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_context(context)
{
    setObjectName(QStringLiteral("settingsDialog"));
    setWindowTitle(QStringLiteral("アラーム設定"));
    setWindowIcon(icons::none()); // a tool window, without the program's bomb
    setFont(fonts::gothic(kFontPoints));
    setClientSize(this, kClientWidth, kClientHeight);
    buildControls();
}

SettingsDialog::~SettingsDialog() = default;

void SettingsDialog::buildControls()
{
    const FormControls controls(this, kControls);
    controls.get<QLabel>("alarmPrompt")->setWordWrap(true);
    m_timeBoxes[0] = controls.get<QLineEdit>("hourBox");
    makeDigitBox(m_timeBoxes[0], QStringLiteral("アラームの時"));
    m_timeBoxes[1] = controls.get<QLineEdit>("minuteBox");
    makeDigitBox(m_timeBoxes[1], QStringLiteral("アラームの分"));
    m_uptimeButtons[0] = controls.get<QRadioButton>("uptimeHoursButton");
    m_uptimeButtons[1] = controls.get<QRadioButton>("uptimeSecondsButton");
    int action = 0;
    for (const char* name : {"beepButton", "restartButton", "powerOffButton", "logOffButton"})
        m_actionButtons[action++] = controls.get<QRadioButton>(name);
    m_sweepCheck = controls.get<QCheckBox>("sweepCheck");
    m_gentleCheck = controls.get<QCheckBox>("gentleCheck");
    m_topmostCheck = controls.get<QCheckBox>("topmostCheck");
    m_okButton = controls.get<QPushButton>("okButton");
    m_cancelButton = controls.get<QPushButton>("cancelButton");
    // Enter presses the button that has the focus; neither is the default or cancel button.
    m_okButton->setAutoDefault(true);
    m_cancelButton->setAutoDefault(true);

    QAbstractButton* captions[] = {m_uptimeButtons[0], m_uptimeButtons[1], m_actionButtons[0],
                                   m_actionButtons[1], m_actionButtons[2], m_actionButtons[3],
                                   m_sweepCheck,       m_gentleCheck,      m_topmostCheck};
    for (QAbstractButton* b : captions)
        fitCaption(b);

    // The design state, which loading replaces with the settings record.
    m_uptimeButtons[0]->setChecked(true);
    m_actionButtons[0]->setChecked(true);
    for (QCheckBox* check : {m_sweepCheck, m_gentleCheck, m_topmostCheck})
        check->setChecked(true);

    QWidget* order[] = {m_okButton,         m_cancelButton,     m_timeBoxes[1],
                        m_timeBoxes[0],     m_uptimeButtons[0], m_uptimeButtons[1],
                        m_actionButtons[0], m_actionButtons[1], m_actionButtons[2],
                        m_actionButtons[3], m_sweepCheck,       m_gentleCheck,
                        m_topmostCheck};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    // A check box changes with every click; an option button's click counts also when it is
    // already selected.
    connect(m_sweepCheck, &QCheckBox::toggled, this, &SettingsDialog::onSweepClicked);
    for (int i = 0; i < 2; ++i)
        connect(m_uptimeButtons[i], &QRadioButton::clicked, this,
                [this, i] { onUptimeFormClicked(i); });
    for (int i = 0; i < settings::actionCount; ++i)
        connect(m_actionButtons[i], &QRadioButton::clicked, this,
                [this, i] { onActionClicked(i); });
    connect(m_okButton, &QPushButton::clicked, this, &SettingsDialog::onOk);
    connect(m_cancelButton, &QPushButton::clicked, this, &SettingsDialog::onCancel);
}

SettingsDialog& SettingsDialog::load(FormContext& context)
{
    return loadForm(context.settingsDialog, context);
}

void SettingsDialog::open(FormContext& context)
{
    SettingsDialog& dialog = load(context);
    dialog.show();
    dialog.raise();
    dialog.activateWindow();
}

bool SettingsDialog::keepOnTopTicked(FormContext& context)
{
    return load(context).m_topmostCheck->isChecked();
}

void SettingsDialog::fill()
{
    twips::centre(this, m_context.desktop);
    m_okButton->setFocus();
    const settings::SettingsRecord& s = m_context.state.settings;
    showWhole(m_timeBoxes[0], s.alarmHour);
    showWhole(m_timeBoxes[1], s.alarmMinute);
    const int uptimeForm = buttonIndex(s.uptimeForm, 2);
    selectAsIfClicked(m_uptimeButtons[uptimeForm], [&] { onUptimeFormClicked(uptimeForm); });
    const int action = buttonIndex(static_cast<std::int16_t>(s.action), settings::actionCount);
    selectAsIfClicked(m_actionButtons[action], [&] { onActionClicked(action); });
    m_sweepCheck->setChecked(settings::isOn(s.sweepRecentFiles));
    m_gentleCheck->setChecked(settings::isOn(s.gentleMode));
    m_topmostCheck->setChecked(settings::isOn(s.keepOnTop));
}

void SettingsDialog::onSweepClicked()
{
    m_context.mainWindow.switchSweep(m_sweepCheck->isChecked());
}

void SettingsDialog::onUptimeFormClicked(int /*index: any choice centres the label*/)
{
    m_context.mainWindow.recentreUptime();
}

void SettingsDialog::onActionClicked(int index)
{
    m_context.state.settings.action = static_cast<settings::Action>(index);
}

void SettingsDialog::onOk()
{
    settings::DialogValues controls;
    for (int i = 0; i < 2; ++i)
        controls.times[i] = settings::typedTime(m_timeBoxes[i]->text());
    controls.uptimeInHours = m_uptimeButtons[0]->isChecked();
    for (int i = 0; i < settings::actionCount; ++i)
        controls.actions[i] = m_actionButtons[i]->isChecked();
    controls.sweep = m_sweepCheck->isChecked();
    controls.gentle = m_gentleCheck->isChecked();
    controls.topmost = m_topmostCheck->isChecked();
    // A bad time shows a message box, and the alarm may unload this dialog while it waits:
    // from here on only the context is used, and the dialog only while it is still the loaded
    // one.
    FormContext& context = m_context;
    const QPointer<SettingsDialog> self(this);
    const settings::AlarmInput input = settings::checkAlarmInput(controls.times);
    if (input != settings::AlarmInput::Valid) {
        context.desktop.messageBox(QStringLiteral("数値が正しくないです！！"),
                                   QStringLiteral("アラーム設定のエラー"),
                                   MessageIcon::Exclamation);
        for (QString& time : controls.times)
            time = QStringLiteral("00");
    }
    if (input != settings::AlarmInput::OutOfRange)
        settings::saveFromDialog(controls, context.state.file, context.state.settings);
    const bool stillLoaded = self != nullptr && context.settingsDialog == self;
    if (stillLoaded) {
        for (int i = 0; i < 2; ++i)
            m_timeBoxes[i]->setText(controls.times[i]);
    }

    if (!context.settingsFromTray)
        context.mainWindow.showAfterSettings();
    context.settingsFromTray = false;
    context.mainWindow.applySettings();
    if (stillLoaded)
        unloadForm(context.settingsDialog);
}

void SettingsDialog::onCancel()
{
    unloadForm(m_context.settingsDialog);
}

void SettingsDialog::closeEvent(QCloseEvent* event)
{
    event->accept();
    unloadForm(m_context.settingsDialog);
}
