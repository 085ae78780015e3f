#include "main_window/Main.h"

#include "about/frmAbout.h"
#include "app/mdShell.h"
#include "bomb/mdBomb.h"
#include "main_window/ClockRules.h"
#include "main_window/Tray.h"
#include "platform/Fonts.h"
#include "platform/NumberRules.h"
#include "platform/Platform.h"
#include "platform/Profile.h"
#include "platform/Twips.h"
#include "resources/Icons.h"
#include "settings/Settings.h"
#include "settings/fmArm.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QIcon>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

namespace
{

Main* g_main = nullptr;

// The design frame: 615 twips above the client area (title bar, menu bar, border), 45 on the
// other edges.
constexpr int kFrameHeight = 660;
constexpr int kBlinkInterval = 1000; // ms
constexpr int kFrameWidth = 90;

} // namespace

void SetTimerEnabled(QTimer* timer, bool enabled)
{
    if (!enabled)
        timer->stop();
    else if (!timer->isActive())
        timer->start();
}

void ClockLabel::mouseDoubleClickEvent(QMouseEvent* event)
{
    QLabel::mouseDoubleClickEvent(event);
    emit doubleClicked();
}

Main::Main()
{
    g_main = this;
    setObjectName(QStringLiteral("Main"));
    setWindowTitle(QStringLiteral("Quorvane"));
    setWindowIcon(icons::bomb());
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    buildControls();
    // The size the window is created with, before the start-up sequence sizes it: a client
    // area 2985 twips wide and 2370 high below the menu bar.
    setContentSize(2985 / twips::perPixel, 2370 / twips::perPixel);
}

Main::~Main()
{
    if (g_main == this)
        g_main = nullptr;
}

Main* Main::instance()
{
    return g_main;
}

namespace
{

QAction* menuItem(QMenu* menu, const char* name, const QString& caption, Main* main,
                  void (Main::*handler)())
{
    QAction* item = menu->addAction(caption);
    item->setObjectName(QLatin1String(name));
    QObject::connect(item, &QAction::triggered, main, handler);
    return item;
}

QAction* separator(QMenu* menu, const char* name)
{
    QAction* item = menu->addSeparator();
    item->setObjectName(QLatin1String(name));
    return item;
}

} // namespace

void Main::buildMenus()
{
    MnuForm = menuBar()->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    MnuForm->setObjectName(QStringLiteral("MnuForm"));
    MnuFormFin = menuItem(MnuForm, "MnuFormFin", QStringLiteral("ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)"), this,
                          &Main::MnuFormFin_Click);
    MnuFormBer = separator(MnuForm, "MnuFormBer");
    MnuFormMin = menuItem(MnuForm, "MnuFormMin", QStringLiteral("ﾀｽｸﾄﾚｲに入れる"), this,
                          &Main::MnuFormMin_Click);

    MnuOpt = menuBar()->addMenu(QStringLiteral("ｵﾌﾟｼｮﾝ(&O)"));
    MnuOpt->setObjectName(QStringLiteral("MnuOpt"));
    MnuOptTim =
        menuItem(MnuOpt, "MnuOptTim", QStringLiteral("各種設定"), this, &Main::MnuOptTim_Click);
    MnuOptVer =
        menuItem(MnuOpt, "MnuOptVer", QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"), this, &Main::MnuOptVer_Click);

    MnuPopUp = new QMenu(QStringLiteral("ポップアップ"), this);
    MnuPopUp->setObjectName(QStringLiteral("MnuPopUp"));
    MnuPopUpDsp = menuItem(MnuPopUp, "MnuPopUpDsp", QStringLiteral("基本画面の表示"), this,
                           &Main::MnuPopUpDsp_Click);
    MnuPopUpTime = menuItem(MnuPopUp, "MnuPopUpTime", QStringLiteral("設定画面の表示"), this,
                            &Main::MnuPopUpTime_Click);
    MnuPopUpDel = menuItem(MnuPopUp, "MnuPopUpDel", QStringLiteral("｢最近使ったﾌｧｲﾙ｣削除"), this,
                           &Main::MnuPopUpDel_Click);
    MnuPopUpBer1 = separator(MnuPopUp, "MnuPopUpBer1");
    MnuPopUpVer = menuItem(MnuPopUp, "MnuPopUpVer", QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"), this,
                           &Main::MnuPopUpVer_Click);
    MnuPopUpBer2 = separator(MnuPopUp, "MnuPopUpBer2");
    MnuPopUpEnd = menuItem(MnuPopUp, "MnuPopUpEnd", QStringLiteral("ｱﾌﾟﾘｹｰｼｮﾝの終了"), this,
                           &Main::MnuPopUpEnd_Click);
}

void Main::buildControls()
{
    buildMenus();

    // The Japanese desktop's default window font.
    m_content = new QWidget(this);
    m_content->setFont(fonts::face(QStringLiteral("ＭＳ Ｐゴシック"), 9));
    setCentralWidget(m_content);

    Label1 = new ClockLabel(QStringLiteral("00:00:00"), m_content);
    Label1->setObjectName(QStringLiteral("Label1"));
    // Labels read out their text (the time itself); the description says what it is.
    Label1->setAccessibleDescription(QStringLiteral("時刻"));
    Label1->setGeometry(twips::rect(0, 0, 1935, 495));
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Label1->setLineWidth(1);
    Label1->setFont(fonts::face(QStringLiteral("ＭＳ Ｐゴシック"), 18));
    Label1->setAutoFillBackground(true);
    Label1->setForegroundRole(QPalette::ButtonText);
    setLabel1BackColor(colour::ButtonFace);
    connect(Label1, &ClockLabel::doubleClicked, this, &Main::Label1_DblClick);

    Command1 = new QPushButton(QStringLiteral("アラームストップ"), m_content);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(twips::rect(120, 1080, 1695, 735));
    Command1->hide();
    connect(Command1, &QPushButton::clicked, this, &Main::Command1_Click);

    Label2 = new QLabel(m_content);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setAccessibleDescription(QStringLiteral("起動してからの時間"));
    Label2->setGeometry(twips::rect(600, 840, 780, 180));
    m_uptimeLeft = Label2->x();

    Label3 = new QLabel(QStringLiteral("システムが起動してから"), m_content);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->move(twips::rect(30, 600, 0, 0).topLeft());
    Label3->adjustSize();

    setTabOrder(Label1, Command1);

    // Precise timers keep their own phase: the blink's swaps fall between clock ticks (see
    // startBlinking) instead of being gathered onto the same moment as a tick.
    Timer1 = new QTimer(this);
    Timer1->setTimerType(Qt::PreciseTimer);
    Timer1->setInterval(100);
    connect(Timer1, &QTimer::timeout, this, &Main::Timer1_Timer);
    Timer2 = new QTimer(this);
    Timer2->setTimerType(Qt::PreciseTimer);
    Timer2->setInterval(kBlinkInterval);
    connect(Timer2, &QTimer::timeout, this, &Main::Timer2_Timer);
    Timer3 = new QTimer(this);
    Timer3->setInterval(10000);
    connect(Timer3, &QTimer::timeout, this, &Main::Timer3_Timer);
}

bool Main::Form_Load()
{
    // A second instance reads nothing: the guard comes before the file is read.
    if (!mdShell::EnsureSingleInstance())
        return false;
    const profile::Snapshot settingsFile; // the start-up reads the file once
    mdShell::PlaceMainWindow();
    setOuterHeightTwips(1695);
    setOuterWidthTwips(2130);
    Label1->setText(platform().localTimeText());
    mdBomb::LoadSettings();
    mdBomb::ApplyTopmost();
    // Nothing ticks, chimes, sweeps or detonates before the tray icon exists: a failed start's
    // warning waits for the user with no bomb behind it.
    const bool sweep = Timer3->isActive();
    SetTimerEnabled(Timer3, false);
    if (!mdBomb::AddTrayIcon(this))
        return false;
    SetTimerEnabled(Timer1, true);
    SetTimerEnabled(Timer3, sweep);
    // The end of the desktop session is handled as the close box is.
    platform().callOnSessionEnd([] { mdShell::ExitApplication(); });
    return true;
}

void Main::setIfChanged(QLabel* label, const QString& text)
{
    if (label->text() == text)
        return;
    label->setText(text);
}

void Main::Timer1_Timer()
{
    // Nine ticks in ten show the same second: the texts are made and written only when the
    // second changes, so such a tick allocates nothing and repaints nothing.
    const int second = platform().localSecondOfDay();
    if (second < 0 || second != m_shownSecond) {
        m_shownSecond = second;
        setIfChanged(Label1, clock_rules::ClockText(platform().localTimeText()));
    }
    const std::int32_t up = clock_rules::UptimeSeconds(platform().tickCount());
    const std::int16_t mode = mdBomb::Settings().DspTime;
    if (up != m_shownUptime || mode != m_shownUptimeMode) {
        m_shownUptime = up;
        m_shownUptimeMode = mode;
        // Another second is always another text; a change of mode may repeat one, rarely.
        Label2->setText(clock_rules::UptimeTextForSeconds(up, mode));
        Label2->adjustSize(); // the width follows the text
        placeUptime();
    }
    // A tick delivered while the fault dialog is open only keeps the labels current.
    if (mdBomb::DetonationInProgress())
        return;

    const QString clockText = Label1->text(); // shared, not copied
    const QStringView clock(clockText);
    if (clock.right(5) == u"00:00")
        mdBomb::BeepAlert();

    const mdBomb::SettingsRecord& s = mdBomb::Settings();
    if (clock_rules::MatchesAlarm(clock.left(5), s.ArmHour, s.ArmMin)) {
        setLabel1BackColor(colour::Red);
        mdBomb::Detonate();
    } else {
        SetTimerEnabled(Timer2, false);
        if (!isMinimized())
            setOuterHeightTwips(1725);
        setLabel1BackColor(colour::ButtonFace);
    }
}

void Main::setUptimeLeft(double twipsLeft)
{
    m_uptimeLeft = twips::toPixels(twipsLeft);
    placeUptime();
}

void Main::placeUptime()
{
    // The left edge stays put, unless a long text (a hundred hours and more) would run past
    // the window's right edge: then it moves left just enough to be read whole.
    const int room = width() - Label2->width();
    Label2->move(std::max(0, std::min(m_uptimeLeft, room)), Label2->y());
}

void Main::startBlinking()
{
    // Every clock tick of the alarm minute paints the clock red again; a swap to blue that
    // fell on the same moment as a tick would never be seen. The first swap comes half a tick
    // late, so every swap lands between two ticks and the blue shows for half a tick.
    if (!Timer2->isActive())
        Timer2->setInterval(kBlinkInterval + Timer1->interval() / 2);
    SetTimerEnabled(Timer2, true);
}

void Main::Timer2_Timer()
{
    if (Timer2->interval() != kBlinkInterval)
        Timer2->setInterval(kBlinkInterval); // from this swap on, one a second
    setLabel1BackColor(label1BackColor() == colour::Red ? colour::Blue : colour::Red);
}

void Main::Timer3_Timer()
{
    if (RecentTickCount <= 3) {
        ++RecentTickCount;
        return;
    }
    platform().purgeRecentDocuments();
    RecentTickCount = 0;
}

void Main::Command1_Click()
{
    Command1->hide();
    SetTimerEnabled(Timer2, false);
    setLabel1BackColor(colour::ButtonFace);
    setOuterHeightTwips(1725);
}

void Main::Label1_DblClick()
{
    hide();
    fmArm::Show();
}

void Main::onTrayEvent(TrayEvent event)
{
    switch (event) {
    case TrayEvent::DoubleClick:
        show();
        break;
    case TrayEvent::ContextMenu:
        platform().setForegroundWindow(this);
        QCoreApplication::processEvents();
        platform().popUpMenu(MnuPopUp);
        break;
    }
}

void Main::MnuFormFin_Click()
{
    mdShell::ExitApplication();
}

void Main::MnuFormMin_Click()
{
    hide();
}

void Main::MnuOptTim_Click()
{
    mdBomb::Settings().ArmFromTray = 0;
    hide();
    fmArm::Show();
}

void Main::MnuOptVer_Click()
{
    mdShell::HideMainWindow();
    frmAbout::ShowModeless();
}

void Main::MnuPopUpDsp_Click()
{
    show();
}

void Main::MnuPopUpTime_Click()
{
    mdBomb::Settings().ArmFromTray = 1;
    fmArm::Show();
}

void Main::MnuPopUpDel_Click()
{
    platform().purgeRecentDocuments();
}

void Main::MnuPopUpVer_Click()
{
    frmAbout::ShowModal();
}

void Main::MnuPopUpEnd_Click()
{
    mdShell::ExitApplication();
}

void Main::setContentSize(int widthPx, int heightPx)
{
    setFixedSize(widthPx, menuBar()->sizeHint().height() + heightPx);
}

int Main::outerHeightTwips() const
{
    return twips::fromPixels(height() - menuBar()->sizeHint().height()) + kFrameHeight;
}

void Main::setOuterHeightTwips(int tw)
{
    // Asked on every tick: the height last set answers without laying out the menu bar.
    if (tw == m_outerHeight || tw == outerHeightTwips()) {
        m_outerHeight = tw;
        return;
    }
    setContentSize(width(), (tw - kFrameHeight) / twips::perPixel);
    m_outerHeight = tw;
}

int Main::outerWidthTwips() const
{
    return twips::fromPixels(width()) + kFrameWidth;
}

void Main::setOuterWidthTwips(int tw)
{
    setContentSize((tw - kFrameWidth) / twips::perPixel, height() - menuBar()->sizeHint().height());
}

int Main::topTwips() const
{
    return twips::fromPixels(pos().y());
}

int Main::leftTwips() const
{
    return twips::fromPixels(pos().x());
}

bool Main::isMinimized() const
{
    return windowState().testFlag(Qt::WindowMinimized);
}

void Main::setLabel1BackColor(std::uint32_t value)
{
    if (value == m_backColor && Label1->palette().isBrushSet(QPalette::Active, QPalette::Window))
        return;
    m_backColor = value;
    QPalette pal = Label1->palette();
    const QColor c =
        value == colour::ButtonFace
            ? palette().color(QPalette::Button)
            : QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
    pal.setColor(QPalette::Window, c);
    Label1->setPalette(pal);
}

void Main::closeEvent(QCloseEvent* event)
{
    // Form_Unload: closing the window always ends the program.
    event->accept();
    mdShell::ExitApplication();
}
