#include "main_window/Main.h"

#include "app/mdShell.h"
#include "bomb/mdBomb.h"
#include "main_window/ClockRules.h"
#include "platform/Platform.h"
#include "platform/Twips.h"
#include "resources/Icons.h"
#include "settings/Settings.h"

#include <QCloseEvent>
#include <QIcon>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>

namespace
{

Main* g_main = nullptr;

// The design frame: 615 twips above the client area (title bar, menu bar, border), 45 on the
// other edges; without the menu bar, 330 above.
constexpr int kFrameHeight = 660;
constexpr int kFrameWidth = 90;
constexpr int kTitleAndBorder = 330;
constexpr int kBorder = 45;

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
    // The size the window is created with, before the start-up sequence sizes it.
    setContentSize(2370 / twips::perPixel, 2985 / twips::perPixel);
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

void Main::buildControls()
{
    auto* file = menuBar()->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    file->setObjectName(QStringLiteral("MnuForm"));
    auto* options = menuBar()->addMenu(QStringLiteral("ｵﾌﾟｼｮﾝ(&O)"));
    options->setObjectName(QStringLiteral("MnuOpt"));

    // The Japanese desktop's default window font.
    QFont uiFont(QStringLiteral("ＭＳ Ｐゴシック"));
    uiFont.setPointSize(9);
    m_content = new QWidget(this);
    m_content->setFont(uiFont);
    setCentralWidget(m_content);

    Label1 = new ClockLabel(QStringLiteral("00:00:00"), m_content);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAccessibleName(QStringLiteral("時刻"));
    Label1->setGeometry(twips::rect(0, 0, 1935, 495));
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Label1->setLineWidth(1);
    QFont clockFont(QStringLiteral("ＭＳ Ｐゴシック"));
    clockFont.setPointSize(18);
    Label1->setFont(clockFont);
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
    Label2->setAccessibleName(QStringLiteral("起動してからの時間"));
    Label2->setGeometry(twips::rect(600, 840, 780, 180));

    Label3 = new QLabel(QStringLiteral("システムが起動してから"), m_content);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->move(twips::rect(30, 600, 0, 0).topLeft());
    Label3->adjustSize();

    DummyPicture = new QWidget(m_content);
    DummyPicture->setObjectName(QStringLiteral("DummyPicture"));
    DummyPicture->setGeometry(twips::rect(1560, 840, 255, 255));
    DummyPicture->hide();

    setTabOrder(Label1, Command1);

    Timer1 = new QTimer(this);
    Timer1->setInterval(100);
    connect(Timer1, &QTimer::timeout, this, &Main::Timer1_Timer);
    Timer2 = new QTimer(this);
    Timer2->setInterval(1000);
    connect(Timer2, &QTimer::timeout, this, &Main::Timer2_Timer);
    Timer3 = new QTimer(this);
    Timer3->setInterval(10000);
    connect(Timer3, &QTimer::timeout, this, &Main::Timer3_Timer);
}

bool Main::Form_Load()
{
    if (!mdShell::StartApplication())
        return false;
    // The timers run from here on, never while a second instance shows its message.
    SetTimerEnabled(Timer1, true);
    SetTimerEnabled(Timer3, true);
    setOuterHeightTwips(1695);
    setOuterWidthTwips(2130);
    Label1->setText(platform().localTimeText());
    mdBomb::LoadSettings();
    mdBomb::ApplyTopmost();
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
    setIfChanged(Label1, clock_rules::ClockText(platform().localTimeText()));
    const QString uptime =
        clock_rules::UptimeText(platform().tickCount(), mdBomb::Settings().DspTime);
    if (Label2->text() != uptime) {
        Label2->setText(uptime);
        Label2->adjustSize(); // the width follows the text; the left edge stays
    }
    // A tick delivered while the fault dialog is open only keeps the labels current.
    if (mdBomb::DetonationInProgress())
        return;

    const QString clock = Label1->text();
    if (clock.right(5) == QLatin1String("00:00"))
        mdBomb::BeepAlert();

    const mdBomb::SettingsRecord& s = mdBomb::Settings();
    if (clock.left(5) == s.ArmHour + QLatin1Char(':') + s.ArmMin) {
        setLabel1BackColor(colour::Red);
        mdBomb::Detonate();
    } else {
        SetTimerEnabled(Timer2, false);
        if (!isMinimized())
            setOuterHeightTwips(1725);
        setLabel1BackColor(colour::ButtonFace);
    }
}

void Main::Timer2_Timer()
{
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
    if (!m_openSettings)
        return;
    hide();
    m_openSettings();
}

void Main::setSettingsDialogOpener(std::function<void()> opener)
{
    m_openSettings = std::move(opener);
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
    if (tw == outerHeightTwips())
        return;
    setContentSize(width(), (tw - kFrameHeight) / twips::perPixel);
}

int Main::outerWidthTwips() const
{
    return twips::fromPixels(width()) + kFrameWidth;
}

void Main::setOuterWidthTwips(int tw)
{
    setContentSize((tw - kFrameWidth) / twips::perPixel, height() - menuBar()->sizeHint().height());
}

QSize Main::realOuterSizeTwips() const
{
    QSize outer = frameGeometry().size();
    if (outer == size()) // not framed yet
        outer += QSize(2 * kBorder, kTitleAndBorder + kBorder) / twips::perPixel;
    return outer * twips::perPixel;
}

int Main::topTwips() const
{
    return twips::fromPixels(pos().y());
}

int Main::leftTwips() const
{
    return twips::fromPixels(pos().x());
}

void Main::moveTwips(double left, double top)
{
    move(twips::toPixels(left), twips::toPixels(top));
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
