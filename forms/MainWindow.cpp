#include "forms/MainWindow.h"

#include "forms/AboutBox.h"
#include "forms/Detonation.h"
#include "forms/FormBuilder.h"
#include "forms/SettingsDialog.h"
#include "forms/SharedControls.h"
#include "forms/Shell.h"
#include "forms/Twips.h"
#include "platform/Platform.h"
#include "platform/desktop/Fonts.h"
#include "resources/Icons.h"
#include "rules/ClockRules.h"
#include "rules/SettingsFile.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QIcon>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

namespace
{

// The design frame: 615 twips above the client area (title bar, menu bar, border), 45 on the
// other edges.
constexpr int kFrameHeight = 660;
constexpr int kFrameWidth = 90;
// The window's outer heights: as created, with the alarm-stop button out of sight, with it shown.
constexpr int kStartHeight = 1695;
constexpr int kNormalHeight = 1725;
constexpr int kAlarmHeight = 2580;

constexpr int kBlinkInterval = 1000;  // ms
constexpr int kSweepInterval = 10000; // ms
constexpr int kSweepTicksPerPurge = 5;

const ControlRow kControls[] = {
    {"clockLabel", ControlKind::ClockLabel, 0, 0, 1935, 495, "00:00:00", nullptr, 18},
    {"alarmStopButton", ControlKind::Button, 120, 1080, 1695, 735, "アラームストップ"},
    {"uptimeLabel", ControlKind::Label, 600, 840, 780, 180},
    {"sinceBootLabel", ControlKind::Label, 30, 600, 0, 0, "システムが起動してから"},
};

} // namespace

void setTimerEnabled(QTimer* timer, bool enabled)
{
    if (!enabled)
        timer->stop();
    else if (!timer->isActive())
        timer->start();
}

MainWindow::MainWindow(AppState& state) : m_state(state)
{
    m_state.mainWindow = this;
    setObjectName(QStringLiteral("mainWindow"));
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

MainWindow::~MainWindow() = default;

namespace
{

// A menu's items in order: object name, caption and handler; a row without a caption is a
// separator.
struct MenuRow {
    const char* name;
    const char* caption = nullptr;
    void (MainWindow::*handler)() = nullptr;
};

void addItems(QMenu* menu, const char* name, std::span<const MenuRow> rows, MainWindow* main)
{
    menu->setObjectName(QLatin1String(name));
    for (const MenuRow& row : rows) {
        QAction* item = row.caption != nullptr ? menu->addAction(QString::fromUtf8(row.caption))
                                               : menu->addSeparator();
        item->setObjectName(QLatin1String(row.name));
        if (row.handler != nullptr)
            QObject::connect(item, &QAction::triggered, main, row.handler);
    }
}

} // namespace

void MainWindow::buildMenus()
{
    static const MenuRow kFileMenu[] = {{"exitItem", "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)", &MainWindow::onExit},
                                        {"fileSeparator"},
                                        {"toTrayItem", "ﾀｽｸﾄﾚｲに入れる", &MainWindow::onToTray}};
    static const MenuRow kOptionsMenu[] = {{"settingsItem", "各種設定", &MainWindow::onSettings},
                                           {"versionItem", "ﾊﾞｰｼﾞｮﾝ情報", &MainWindow::onAbout}};
    static const MenuRow kTrayMenu[] = {
        {"trayShowItem", "基本画面の表示", &MainWindow::onTrayShow},
        {"traySettingsItem", "設定画面の表示", &MainWindow::onTraySettings},
        {"trayPurgeItem", "｢最近使ったﾌｧｲﾙ｣削除", &MainWindow::onTrayPurge},
        {"traySeparator1"},
        {"trayVersionItem", "ﾊﾞｰｼﾞｮﾝ情報", &MainWindow::onTrayAbout},
        {"traySeparator2"},
        {"trayExitItem", "ｱﾌﾟﾘｹｰｼｮﾝの終了", &MainWindow::onTrayExit}};
    addItems(menuBar()->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)")), "fileMenu", kFileMenu, this);
    addItems(menuBar()->addMenu(QStringLiteral("ｵﾌﾟｼｮﾝ(&O)")), "optionsMenu", kOptionsMenu, this);
    trayMenu = new QMenu(QStringLiteral("ポップアップ"), this);
    addItems(trayMenu, "trayMenu", kTrayMenu, this);
}

void MainWindow::buildControls()
{
    buildMenus();

    // The Japanese desktop's default window font.
    m_content = new QWidget(this);
    m_content->setFont(fonts::gothic(9));
    setCentralWidget(m_content);
    const FormControls controls(m_content, kControls);

    clockLabel = controls.get<ClockLabel>("clockLabel");
    // Labels read out their text (the time itself); the description says what it is.
    clockLabel->setAccessibleDescription(QStringLiteral("時刻"));
    clockLabel->setAlignment(Qt::AlignCenter);
    clockLabel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    clockLabel->setLineWidth(1);
    clockLabel->setAutoFillBackground(true);
    clockLabel->setForegroundRole(QPalette::ButtonText);
    setClockColour(ClockColour::ButtonFace);
    connect(clockLabel, &ClockLabel::doubleClicked, this, &MainWindow::onClockDoubleClicked);

    alarmStopButton = controls.get<QPushButton>("alarmStopButton");
    alarmStopButton->hide();
    connect(alarmStopButton, &QPushButton::clicked, this, &MainWindow::onAlarmStop);

    uptimeLabel = controls.get<QLabel>("uptimeLabel");
    uptimeLabel->setAccessibleDescription(QStringLiteral("起動してからの時間"));
    m_uptimeLeft = uptimeLabel->x();
    const QFontMetrics metrics(uptimeLabel->font());
    m_digitsAlike = true;
    for (char digit = '1'; digit <= '9'; ++digit)
        m_digitsAlike = m_digitsAlike && metrics.horizontalAdvance(QLatin1Char(digit)) ==
                                             metrics.horizontalAdvance(QLatin1Char('0'));

    setTabOrder(clockLabel, alarmStopButton);

    // Precise timers keep their own phase: the clock ticks just past the wall-clock second, and
    // the blink's swaps fall between clock ticks (see startBlinking) instead of being gathered
    // onto the same moment as a tick. Each clock tick sets the interval to the next one.
    clockTimer = new QTimer(this);
    clockTimer->setObjectName(QStringLiteral("clockTimer"));
    clockTimer->setTimerType(Qt::PreciseTimer);
    connect(clockTimer, &QTimer::timeout, this, &MainWindow::onClockTick);
    blinkTimer = new QTimer(this);
    blinkTimer->setObjectName(QStringLiteral("blinkTimer"));
    blinkTimer->setTimerType(Qt::PreciseTimer);
    blinkTimer->setInterval(kBlinkInterval);
    connect(blinkTimer, &QTimer::timeout, this, &MainWindow::onBlinkTick);
    sweepTimer = new QTimer(this);
    sweepTimer->setObjectName(QStringLiteral("sweepTimer"));
    sweepTimer->setInterval(kSweepInterval);
    connect(sweepTimer, &QTimer::timeout, this, &MainWindow::onSweepTick);
}

bool MainWindow::startUp()
{
    // A second instance reads nothing: the guard comes before the file is read.
    if (!shell::ensureSingleInstance())
        return false;
    const settings_file::SettingsFile::Snapshot snapshot(
        m_state.file); // the start-up reads it once
    shell::placeMainWindow(m_state);
    setOuterHeightTwips(kStartHeight);
    setOuterWidthTwips(2130);
    clockLabel->setText(platform().localTimeText());
    settings::load(m_state.file, m_state.settings);
    applySettings();
    // Nothing ticks, chimes, sweeps or detonates before the tray icon exists: a failed start's
    // warning waits for the user with no bomb behind it.
    const bool sweep = sweepTimer->isActive();
    setTimerEnabled(sweepTimer, false);
    if (!addTrayIcon())
        return false;
    tickSoon();
    setTimerEnabled(sweepTimer, sweep);
    // The end of the desktop session is handled as the close box is.
    platform().callOnSessionEnd([this] { shell::exitApplication(m_state); });
    return true;
}

bool MainWindow::addTrayIcon()
{
    const QPointer<MainWindow> self = this;
    const auto toWindow = [self](TrayEvent event) {
        if (self)
            self->onTrayEvent(event);
    };
    if (platform().addTrayIcon(windowIcon(), QStringLiteral("Quorvane"), trayMenu, toWindow))
        return true;
    // No tray: the warning, and the end of the process, saving nothing.
    platform().messageBox(QStringLiteral("時限爆弾の起動に失敗しました"), QStringLiteral("警告"),
                          MessageIcon::Exclamation);
    platform().removeTrayIcon();
    platform().endProcess();
    return false;
}

void MainWindow::tickSoon()
{
    clockTimer->start(clock_rules::nextTickDelayMs(platform().localMsOfDay(), true));
}

void MainWindow::onClockTick()
{
    const int now = platform().localMsOfDay();
    const int second = now / 1000;
    const settings::SettingsRecord& s = m_state.settings;
    const bool fullHour = clock_rules::isFullHour(second);
    const bool alarmMinute = clock_rules::matchesAlarm(second, s.alarmHour, s.alarmMinute);
    const int delay = clock_rules::nextTickDelayMs(now, fullHour || alarmMinute);
    // A timer running at this interval already has the right phase; starting it again would
    // register it anew, an allocation on every quiet tick.
    if (!clockTimer->isActive() || clockTimer->interval() != delay)
        clockTimer->start(delay);
    if (isVisible() && !isMinimized())
        showTime(second);
    else
        m_textsStale = true; // nobody sees them: made when the window is seen again
    if (m_state.detonating)
        return;

    if (fullHour)
        detonation::hourlyChime();
    if (alarmMinute) {
        setClockColour(ClockColour::Red);
        detonation::detonate(m_state);
    } else {
        setTimerEnabled(blinkTimer, false);
        if (!isMinimized())
            setOuterHeightTwips(kNormalHeight);
        setClockColour(ClockColour::ButtonFace);
    }
}

void MainWindow::keepTickingThroughWait()
{
    // A timer does not fire again while its own handler runs, unless it is started anew.
    clockTimer->start();
}

void MainWindow::showTime(int second)
{
    m_textsStale = false;
    // The texts are made and written only when they change, so a tick that shows nothing new
    // allocates nothing and repaints nothing.
    if (second != m_shownSecond) {
        m_shownSecond = second;
        clockLabel->setText(clock_rules::clockText(second));
    }
    const std::int32_t up = clock_rules::uptimeSeconds(platform().uptimeMs());
    const std::int16_t mode = m_state.settings.uptimeForm;
    if (up != m_shownUptime || mode != m_shownUptimeMode) {
        m_shownUptime = up;
        m_shownUptimeMode = mode;
        // Another second is always another text; a change of mode may repeat one, rarely.
        const QString text = clock_rules::uptimeTextForSeconds(up, mode);
        // The width follows the text. Measuring it lays the text out twice, most of a tick's
        // work; where every digit is as wide as any other, only a text of another shape (other
        // letters, or more digits) can have another width.
        const bool sameWidth = m_digitsAlike && sameShape(uptimeLabel->text(), text);
        uptimeLabel->setText(text);
        if (!sameWidth) {
            uptimeLabel->adjustSize();
            placeUptime();
        }
    }
}

bool MainWindow::sameShape(const QString& a, const QString& b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a[i] != b[i] && !(a[i].isDigit() && b[i].isDigit()))
            return false;
    }
    return true;
}

void MainWindow::showTimeIfStale()
{
    if (m_textsStale)
        showTime(platform().localMsOfDay() / 1000);
}

void MainWindow::showEvent(QShowEvent* event)
{
    showTimeIfStale(); // before the first frame
    QMainWindow::showEvent(event);
}

void MainWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::WindowStateChange && !isMinimized())
        showTimeIfStale();
    QMainWindow::changeEvent(event);
}

void MainWindow::setUptimeLeft(double twipsLeft)
{
    m_uptimeLeft = twips::toPixels(twipsLeft);
    placeUptime();
}

void MainWindow::recentreUptime()
{
    showTimeIfStale(); // centred by the width of the text it shows now
    setUptimeLeft((outerWidthTwips() - twips::fromPixels(uptimeLabel->width())) / 2.0);
}

void MainWindow::switchSweep(bool on)
{
    setTimerEnabled(sweepTimer, on);
}

void MainWindow::showAfterSettings()
{
    show();
    alarmStopButton->hide();
}

void MainWindow::applySettings()
{
    setTimerEnabled(sweepTimer, settings::isOn(m_state.settings.sweepRecentFiles));
    platform().setTopmost(this, settings::isOn(m_state.settings.keepOnTop));
    if (clockTimer->isActive())
        tickSoon(); // a new alarm minute may have begun
}

void MainWindow::placeUptime()
{
    // The left edge stays put, unless a long text (a hundred hours and more) would run past
    // the window's right edge: then it moves left just enough to be read whole.
    const int room = width() - uptimeLabel->width();
    uptimeLabel->move(std::max(0, std::min(m_uptimeLeft, room)), uptimeLabel->y());
}

void MainWindow::showBeepAlert()
{
    startBlinking();
    alarmStopButton->show();
    if (!isMinimized())
        setOuterHeightTwips(kAlarmHeight);
}

void MainWindow::startBlinking()
{
    // Every clock tick of the alarm minute paints the clock red again; a swap to blue that
    // fell on the same moment as a tick would never be seen. The first swap comes half a tick
    // late, so every swap lands between two ticks and the blue shows for half a tick.
    if (!blinkTimer->isActive())
        blinkTimer->setInterval(kBlinkInterval + clock_rules::kFastTickMs / 2);
    setTimerEnabled(blinkTimer, true);
}

void MainWindow::onBlinkTick()
{
    if (blinkTimer->interval() != kBlinkInterval)
        blinkTimer->setInterval(kBlinkInterval); // from this swap on, one a second
    setClockColour(clockColour() == ClockColour::Red ? ClockColour::Blue : ClockColour::Red);
}

void MainWindow::onSweepTick()
{
    if (sweepTickCount < kSweepTicksPerPurge - 1) {
        ++sweepTickCount;
        return;
    }
    platform().purgeRecentDocuments();
    sweepTickCount = 0;
}

void MainWindow::onAlarmStop()
{
    alarmStopButton->hide();
    setTimerEnabled(blinkTimer, false);
    setClockColour(ClockColour::ButtonFace);
    setOuterHeightTwips(kNormalHeight);
}

void MainWindow::onClockDoubleClicked()
{
    hide();
    SettingsDialog::open(m_state);
}

void MainWindow::onTrayEvent(TrayEvent event)
{
    switch (event) {
    case TrayEvent::DoubleClick:
        show();
        break;
    case TrayEvent::ContextMenu:
        platform().takeFocus(this);
        QCoreApplication::processEvents();
        platform().popUpMenu(trayMenu);
        break;
    }
}

void MainWindow::onExit()
{
    shell::exitApplication(m_state);
}

void MainWindow::onToTray()
{
    hide();
}

void MainWindow::onSettings()
{
    m_state.settings.openedFromTray = 0;
    hide();
    SettingsDialog::open(m_state);
}

void MainWindow::onAbout()
{
    shell::hideMainWindow(m_state);
    AboutBox::openModeless(m_state);
}

void MainWindow::onTrayShow()
{
    show();
}

void MainWindow::onTraySettings()
{
    m_state.settings.openedFromTray = 1;
    SettingsDialog::open(m_state);
}

void MainWindow::onTrayPurge()
{
    platform().purgeRecentDocuments();
}

void MainWindow::onTrayAbout()
{
    AboutBox::openModal(m_state);
}

void MainWindow::onTrayExit()
{
    shell::exitApplication(m_state);
}

void MainWindow::setContentSize(int widthPx, int heightPx)
{
    setFixedSize(widthPx, menuBar()->sizeHint().height() + heightPx);
}

int MainWindow::outerHeightTwips() const
{
    return twips::fromPixels(height() - menuBar()->sizeHint().height()) + kFrameHeight;
}

void MainWindow::setOuterHeightTwips(int tw)
{
    // Asked on every tick: the height last set answers without laying out the menu bar.
    if (tw == m_outerHeight || tw == outerHeightTwips()) {
        m_outerHeight = tw;
        return;
    }
    setContentSize(width(), (tw - kFrameHeight) / twips::perPixel);
    m_outerHeight = tw;
}

int MainWindow::outerWidthTwips() const
{
    return twips::fromPixels(width()) + kFrameWidth;
}

void MainWindow::setOuterWidthTwips(int tw)
{
    setContentSize((tw - kFrameWidth) / twips::perPixel, height() - menuBar()->sizeHint().height());
}

int MainWindow::topTwips() const
{
    return twips::fromPixels(pos().y());
}

int MainWindow::leftTwips() const
{
    return twips::fromPixels(pos().x());
}

void MainWindow::setClockColour(ClockColour colour)
{
    if (colour == m_clockColour &&
        clockLabel->palette().isBrushSet(QPalette::Active, QPalette::Window))
        return;
    m_clockColour = colour;
    QPalette pal = clockLabel->palette();
    pal.setColor(QPalette::Window, colour == ClockColour::Red ? QColor(Qt::red)
                                   : colour == ClockColour::Blue
                                       ? QColor(Qt::blue)
                                       : palette().color(QPalette::Button));
    clockLabel->setPalette(pal);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // Closing the window always ends the program.
    event->accept();
    shell::exitApplication(m_state);
}
