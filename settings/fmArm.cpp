#include "settings/fmArm.h"

#include "main_window/Main.h"
#include "platform/Fonts.h"
#include "platform/Platform.h"
#include "platform/Twips.h"
#include "settings/Settings.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <algorithm>
#include <functional>

namespace
{

fmArm* g_arm = nullptr;

constexpr int kClientWidth = 3975;
constexpr int kClientHeight = 3315;
constexpr int kTypedDigits = 2; // what the user can type into a time box

// A limit that lets a text of `length` characters stay whole but lets nothing be typed beyond
// the larger of that length and two characters.
void limitTyping(QLineEdit* box, qsizetype length)
{
    box->setMaxLength(std::max(kTypedDigits, int(length)));
}

// A text box for two digits, centred. The limit holds for typing: a longer text the program
// puts in stays whole, and the limit shrinks back as the user shortens it.
QLineEdit* digitBox(QWidget* frame, const char* name, int left, const QString& accessibleName)
{
    auto* box = twips::place(new QLineEdit(frame), name, left, 720, 495, 375);
    box->setMaxLength(kTypedDigits);
    box->setAlignment(Qt::AlignCenter);
    box->setAccessibleName(accessibleName);
    QObject::connect(box, &QLineEdit::textEdited, box,
                     [box] { limitTyping(box, box->text().size()); });
    return box;
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

QPushButton* button(QWidget* parent, const char* name, const QString& text, int left, int width)
{
    auto* b = twips::place(new QPushButton(text, parent), name, left, 2880, width, 375);
    // Enter presses the button that has the focus; neither is the default or cancel button.
    b->setAutoDefault(true);
    return b;
}

// Where a caption that is too wide for its box breaks onto a second line: the last place where
// both lines fit, preferring a change of script ("Windows|再起動", "Recentファイル|削除...").
// The whole caption when there is no such place.
int captionBreak(const QString& caption, const std::function<bool(const QString&)>& fits)
{
    auto script = [](QChar c) {
        const char16_t u = c.unicode();
        if (u < 0x80)
            return 0;
        if ((u >= 0x30A0 && u <= 0x30FF) || (u >= 0xFF66 && u <= 0xFF9F))
            return 1; // katakana, full- and half-width
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

// A frame as the layout was drawn for: an etched line with its caption set into the top edge,
// so that the controls at their designed places sit inside it.
class Frame : public QGroupBox
{
public:
    using QGroupBox::QGroupBox;

protected:
    void paintEvent(QPaintEvent* /*event*/) override
    {
        QPainter p(this);
        const QFontMetrics fm(font());
        const QRect line = rect().adjusted(0, fm.height() / 2, -2, -2);
        p.setPen(palette().color(QPalette::Mid));
        p.drawRect(line);
        p.setPen(palette().color(QPalette::Light));
        p.drawRect(line.translated(1, 1));
        const QRect caption(6, 0, fm.horizontalAdvance(title()) + 4, fm.height());
        p.fillRect(caption, palette().window());
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(caption, Qt::AlignCenter, title());
    }
};

// A stored value that has no control selects the first button of its group.
int buttonIndex(std::int16_t value, int count)
{
    return value >= 0 && value < count ? value : 0;
}

} // namespace

fmArm::fmArm()
    : QWidget(nullptr,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("fmArm"));
    setWindowTitle(QStringLiteral("アラーム設定"));
    setFont(fonts::face(QStringLiteral("ＭＳ Ｐゴシック"), 9));
    setFixedSize(kClientWidth / twips::perPixel, kClientHeight / twips::perPixel);
    buildControls();
}

fmArm::~fmArm()
{
    if (g_arm == this)
        g_arm = nullptr;
}

void fmArm::buildControls()
{
    Frame1 = twips::place(new Frame(QStringLiteral("時間設定"), this), "Frame1", 0, 0, 2775, 1215);
    Label1 = twips::place(
        new QLabel(QStringLiteral("２４時間表示で爆弾を爆発させる時間を入力して下さい"), Frame1),
        "Label1", 120, 240, 2535, 360);
    Label1->setWordWrap(true);
    ArmTxt[0] = digitBox(Frame1, "ArmTxt0", 600, QStringLiteral("アラームの時"));
    Label3[0] =
        twips::place(new QLabel(QStringLiteral("時"), Frame1), "Label3_0", 1200, 840, 180, 180);
    ArmTxt[1] = digitBox(Frame1, "ArmTxt1", 1440, QStringLiteral("アラームの分"));
    Label3[1] =
        twips::place(new QLabel(QStringLiteral("分"), Frame1), "Label3_1", 2040, 840, 180, 180);

    Frame2 =
        twips::place(new Frame(QStringLiteral("経過時表示"), this), "Frame2", 2880, 0, 1095, 1215);
    Option1[0] = twips::place(new QRadioButton(QStringLiteral("時間"), Frame2), "Option1_0", 120,
                              360, 855, 255);
    Option1[1] = twips::place(new QRadioButton(QStringLiteral("秒"), Frame2), "Option1_1", 120, 720,
                              615, 255);

    Frame3 =
        twips::place(new Frame(QStringLiteral("爆弾設定"), this), "Frame3", 0, 1320, 1815, 1935);
    Option2[0] = twips::place(new QRadioButton(QStringLiteral("BEEPアラート"), Frame3), "Option2_0",
                              120, 360, 1455, 255);
    Option2[1] = twips::place(new QRadioButton(QStringLiteral("Windows再起動"), Frame3),
                              "Option2_1", 120, 720, 1575, 255);
    Option2[2] = twips::place(new QRadioButton(QStringLiteral("Windows終了"), Frame3), "Option2_2",
                              120, 1080, 1335, 255);
    Option2[3] = twips::place(new QRadioButton(QStringLiteral("ログオフ"), Frame3), "Option2_3",
                              120, 1440, 975, 255);

    Frame4 = twips::place(new Frame(QStringLiteral("オプション"), this), "Frame4", 1920, 1320, 2055,
                          1455);
    Check1 = twips::place(new QCheckBox(QStringLiteral("Recentファイル削除機能を使う"), Frame4),
                          "Check1", 120, 240, 1575, 375);
    Check2 = twips::place(new QCheckBox(QStringLiteral("優しい設定を使う"), Frame4), "Check2", 120,
                          600, 1695, 420);
    Check3 = twips::place(new QCheckBox(QStringLiteral("最前面表示する"), Frame4), "Check3", 120,
                          1080, 1815, 255);

    Command1 = button(this, "Command1", QStringLiteral("ＯＫ"), 1920, 975);
    Command2 = button(this, "Command2", QStringLiteral("Cancel"), 3000, 855);

    QAbstractButton* captions[] = {Option1[0], Option1[1], Option2[0], Option2[1], Option2[2],
                                   Option2[3], Check1,     Check2,     Check3};
    for (QAbstractButton* b : captions)
        fitCaption(b);

    // The design state, which loading replaces with the settings record.
    Option1[0]->setChecked(true);
    Option2[0]->setChecked(true);
    for (QCheckBox* check : {Check1, Check2, Check3})
        check->setChecked(true);

    QWidget* order[] = {Command1,   Command2,   ArmTxt[1],  ArmTxt[0],  Option1[0],
                        Option1[1], Option2[0], Option2[1], Option2[2], Option2[3],
                        Check1,     Check2,     Check3};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    // A check box changes with every click; an option button's click counts also when it is
    // already selected.
    connect(Check1, &QCheckBox::toggled, this, &fmArm::Check1_Click);
    for (int i = 0; i < 2; ++i)
        connect(Option1[i], &QRadioButton::clicked, this, [this, i] { Option1_Click(i); });
    for (int i = 0; i < 4; ++i)
        connect(Option2[i], &QRadioButton::clicked, this, [this, i] { Option2_Click(i); });
    connect(Command1, &QPushButton::clicked, this, &fmArm::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &fmArm::Command2_Click);
}

fmArm* fmArm::instance()
{
    return g_arm;
}

fmArm& fmArm::Load()
{
    if (g_arm == nullptr) {
        g_arm = new fmArm;
        g_arm->Form_Load();
    }
    return *g_arm;
}

void fmArm::Show()
{
    fmArm& dialog = Load();
    dialog.show();
    dialog.raise();
    dialog.activateWindow();
}

void fmArm::Unload()
{
    fmArm* dialog = g_arm;
    if (dialog == nullptr)
        return;
    g_arm = nullptr;
    dialog->hide();
    dialog->deleteLater(); // a handler of its own may still be running
}

void fmArm::UnloadIfVisible()
{
    if (g_arm != nullptr && g_arm->isVisible())
        Unload();
}

void fmArm::Form_Load()
{
    twips::centre(this, platform().screenSizeTwips());
    Command1->setFocus();
    mdBomb::LoadSettingsIntoDialog();
}

void fmArm::Check1_Click()
{
    if (Main* main = Main::instance())
        SetTimerEnabled(main->Timer3, Check1->isChecked());
}

void fmArm::Option1_Click(int /*Index: any choice centres the label*/)
{
    Main* main = Main::instance();
    if (main == nullptr)
        return;
    main->setUptimeLeft((main->outerWidthTwips() - twips::fromPixels(main->Label2->width())) / 2.0);
}

void fmArm::Option2_Click(int Index)
{
    mdBomb::Settings().BomSetting = static_cast<std::int16_t>(Index);
}

void fmArm::Command1_Click()
{
    mdBomb::ArmDialogControls controls;
    for (int i = 0; i < 2; ++i)
        controls.ArmTxt[i] = ArmTxt[i]->text();
    controls.Option1_0 = Option1[0]->isChecked();
    for (int i = 0; i < 4; ++i)
        controls.Option2[i] = Option2[i]->isChecked();
    controls.Check1 = Check1->isChecked();
    controls.Check2 = Check2->isChecked();
    controls.Check3 = Check3->isChecked();
    // The save may show a message box, and the alarm may unload this dialog while it waits.
    const QPointer<fmArm> self(this);
    mdBomb::SaveSettingsFromDialog(controls);
    const bool stillLoaded = self != nullptr && g_arm == self;
    if (stillLoaded) {
        for (int i = 0; i < 2; ++i)
            ArmTxt[i]->setText(controls.ArmTxt[i]);
    }

    mdBomb::SettingsRecord& settings = mdBomb::Settings();
    Main* main = Main::instance();
    if (settings.ArmFromTray == 0 && main != nullptr) {
        main->show();
        main->Command1->hide();
    }
    settings.ArmFromTray = 0;
    mdBomb::ApplyTopmost();
    if (stillLoaded)
        Unload();
}

void fmArm::Command2_Click()
{
    Unload();
}

void fmArm::closeEvent(QCloseEvent* event)
{
    event->accept();
    Unload();
}

namespace mdBomb
{

void LoadSettingsIntoDialog()
{
    fmArm* dialog = fmArm::instance();
    if (dialog == nullptr)
        return;
    const SettingsRecord& s = Settings();
    showWhole(dialog->ArmTxt[0], s.ArmHour);
    showWhole(dialog->ArmTxt[1], s.ArmMin);
    const int uptimeForm = buttonIndex(s.DspTime, 2);
    selectAsIfClicked(dialog->Option1[uptimeForm], [&] { dialog->Option1_Click(uptimeForm); });
    const int action = buttonIndex(s.BomSetting, 4);
    selectAsIfClicked(dialog->Option2[action], [&] { dialog->Option2_Click(action); });
    dialog->Check1->setChecked(s.DellMode == 1);
    dialog->Check2->setChecked(s.EasyMode == 1);
    dialog->Check3->setChecked(s.TopMost == 1);
}

} // namespace mdBomb
