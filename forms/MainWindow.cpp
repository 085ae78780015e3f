#include "forms/MainWindow.h"

#include "clock/AlarmClock.h"
#include "forms/ClockFace.h"
#include "forms/FormBuilder.h"
#include "forms/Menus.h"
#include "forms/Twips.h"
#include "resources/Icons.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <QPushButton>

namespace
{

// The design frame: 615 twips above the client area (title bar, menu bar, border), 45 on the
// other edges.
constexpr int kFrameHeight = 660;
constexpr int kFrameWidth = 90;
// The client area the window is created with, below the menu bar, before the start-up sequence
// sizes it.
constexpr int kCreatedWidth = 2985;
constexpr int kCreatedHeight = 2370;
// The outer sizes: the width, and the heights as started, with the alarm-stop button out of
// sight, and with it shown.
constexpr int kWidth = 2130;
constexpr int kStartHeight = 1695;
constexpr int kNormalHeight = 1725;
constexpr int kAlarmHeight = 2580;

const ControlRow kControls[] = {
    {"alarmStopButton", ControlKind::Button, 120, 1080, 1695, 735, "アラームストップ"},
};

} // namespace

MainWindow::MainWindow(AlarmClock& clock, const MenuIntents& intents) : m_clock(clock)
{
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(QStringLiteral("Quorvane"));
    setWindowIcon(icons::bomb());
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    m_trayMenu = buildMenus(*this, intents);

    m_face = new ClockFace(this);
    setCentralWidget(m_face);
    const FormControls controls(m_face, kControls);
    m_alarmStopButton = controls.get<QPushButton>("alarmStopButton");
    m_alarmStopButton->hide();
    setTabOrder(m_face->firstInTabOrder(), m_alarmStopButton);
    setContentSize(kCreatedWidth / twips::perPixel, kCreatedHeight / twips::perPixel);

    connect(m_face, &ClockFace::clockDoubleClicked, this, [this] {
        hide();
        emit clockDoubleClicked();
    });
    connect(m_alarmStopButton, &QPushButton::clicked, this, &MainWindow::onAlarmStop);
    connect(&clock, &AlarmClock::clockTextChanged, m_face, &ClockFace::showClockText);
    connect(&clock, &AlarmClock::uptimeTextChanged, m_face, &ClockFace::showUptimeText);
    connect(&clock, &AlarmClock::colourChanged, m_face, &ClockFace::setColour);
    connect(&clock, &AlarmClock::beepAlertShown, this, &MainWindow::onBeepAlert);
    connect(&clock, &AlarmClock::calmTick, this, &MainWindow::onCalmTick);
}

MainWindow::~MainWindow() = default;

void MainWindow::setStartSize()
{
    setOuterHeightTwips(kStartHeight);
    setOuterWidthTwips(kWidth);
}

void MainWindow::showAfterSettings()
{
    show();
    m_alarmStopButton->hide();
}

void MainWindow::centreUptime()
{
    m_clock.showStaleTexts(); // centred by the width of the text it shows now
    m_face->centreUptime(outerWidthTwips());
}

void MainWindow::onBeepAlert()
{
    m_alarmStopButton->show();
    if (!isMinimized())
        setOuterHeightTwips(kAlarmHeight);
}

void MainWindow::onCalmTick()
{
    if (!isMinimized())
        setOuterHeightTwips(kNormalHeight);
}

void MainWindow::onAlarmStop()
{
    m_alarmStopButton->hide();
    m_clock.stopAlarm();
    setOuterHeightTwips(kNormalHeight);
}

void MainWindow::showEvent(QShowEvent* event)
{
    m_clock.setSeen(!isMinimized()); // the texts are current before the first frame
    QMainWindow::showEvent(event);
}

void MainWindow::hideEvent(QHideEvent* event)
{
    m_clock.setSeen(false);
    QMainWindow::hideEvent(event);
}

void MainWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::WindowStateChange)
        m_clock.setSeen(isVisible() && !isMinimized());
    QMainWindow::changeEvent(event);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    emit closeRequested();
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
