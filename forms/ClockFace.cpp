#include "forms/ClockFace.h"

#include "desktop/Fonts.h"
#include "forms/FormBuilder.h"
#include "forms/SharedControls.h"
#include "forms/Twips.h"

#include <QFontMetrics>
#include <algorithm>

namespace
{

constexpr double kWindowFontPoints = 9; // the Japanese desktop's default window font
constexpr double kClockPoints = 18;

const ControlRow kControls[] = {
    {"clockLabel", ControlKind::ClockLabel, 0, 0, 1935, 495, "00:00:00", nullptr, kClockPoints},
    {"uptimeLabel", ControlKind::Label, 600, 840, 780, 180},
    {"sinceBootLabel", ControlKind::Label, 30, 600, 0, 0, "システムが起動してから"},
};

} // namespace

ClockFace::ClockFace(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("clockFace"));
    setFont(fonts::gothic(kWindowFontPoints));
    const FormControls controls(this, kControls);

    clockLabel = controls.get<ClockLabel>("clockLabel");
    // Labels read out their text (the time itself); the description says what it is.
    clockLabel->setAccessibleDescription(QStringLiteral("時刻"));
    clockLabel->setAlignment(Qt::AlignCenter);
    clockLabel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    clockLabel->setLineWidth(1);
    clockLabel->setAutoFillBackground(true);
    clockLabel->setForegroundRole(QPalette::ButtonText);
    setColour(ClockColour::ButtonFace);
    connect(clockLabel, &ClockLabel::doubleClicked, this, &ClockFace::clockDoubleClicked);

    uptimeLabel = controls.get<QLabel>("uptimeLabel");
    uptimeLabel->setAccessibleDescription(QStringLiteral("起動してからの時間"));
    m_uptimeLeft = uptimeLabel->x();
    const QFontMetrics metrics(uptimeLabel->font());
    m_digitsAlike = true;
    for (char digit = '1'; digit <= '9'; ++digit)
        m_digitsAlike = m_digitsAlike && metrics.horizontalAdvance(QLatin1Char(digit)) ==
                                             metrics.horizontalAdvance(QLatin1Char('0'));
}

QWidget* ClockFace::firstInTabOrder() const
{
    return clockLabel;
}

void ClockFace::showClockText(const QString& text)
{
    clockLabel->setText(text);
}

void ClockFace::showUptimeText(const QString& text)
{
    // The width follows the text. Measuring it lays the text out twice, most of a tick's work;
    // where every digit is as wide as any other, only a text of another shape (other letters,
    // or more digits) can have another width.
    const bool sameWidth = m_digitsAlike && sameShape(uptimeLabel->text(), text);
    uptimeLabel->setText(text);
    if (!sameWidth) {
        uptimeLabel->adjustSize();
        placeUptime();
    }
}

bool ClockFace::sameShape(const QString& a, const QString& b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a[i] != b[i] && !(a[i].isDigit() && b[i].isDigit()))
            return false;
    }
    return true;
}

void ClockFace::centreUptime(int outerWidthTwips)
{
    m_uptimeLeft =
        twips::toPixels((outerWidthTwips - twips::fromPixels(uptimeLabel->width())) / 2.0);
    placeUptime();
}

void ClockFace::placeUptime()
{
    // The left edge stays put, unless a long text (a hundred hours and more) would run past
    // the window's right edge: then it moves left just enough to be read whole. The window's
    // width, which the face takes only when the window is laid out.
    const int room = window()->width() - uptimeLabel->width();
    uptimeLabel->move(std::max(0, std::min(m_uptimeLeft, room)), uptimeLabel->y());
}

void ClockFace::setColour(ClockColour colour)
{
    QPalette pal = clockLabel->palette();
    pal.setColor(QPalette::Window, colour == ClockColour::Red ? QColor(Qt::red)
                                   : colour == ClockColour::Blue
                                       ? QColor(Qt::blue)
                                       : palette().color(QPalette::Button));
    clockLabel->setPalette(pal);
}
