#include "forms/ClockFace.h"

#include "desktop/Fonts.h"
#include "forms/FormBuilder.h"
#include "forms/Twips.h"

#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QRegularExpression>
#include <algorithm>

namespace
{

constexpr double kWindowFontPoints = 9; // the Japanese desktop's default window font
constexpr double kClockPoints = 18;

const ControlRow kControls[] = {
    {"clockLabel", ControlKind::Label, 0, 0, 1935, 495, "00:00:00", nullptr, kClockPoints},
    {"uptimeLabel", ControlKind::Label, 600, 840, 780, 180},
    {"sinceBootLabel", ControlKind::Label, 30, 600, 0, 0, "システムが起動してから"},
};

} // namespace

ClockFace::ClockFace(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("clockFace"));
    setFont(fonts::gothic(kWindowFontPoints));
    const FormControls controls(this, kControls);

    m_clockLabel = controls.get<QLabel>("clockLabel");
    // Labels read out their text (the time itself); the description says what it is.
    m_clockLabel->setAccessibleDescription(QStringLiteral("時刻"));
    m_clockLabel->setAlignment(Qt::AlignCenter);
    m_clockLabel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_clockLabel->setLineWidth(1);
    m_clockLabel->setAutoFillBackground(true);
    m_clockLabel->setForegroundRole(QPalette::ButtonText);
    setColour(ClockColour::ButtonFace);
    m_clockLabel->installEventFilter(this);

    m_uptimeLabel = controls.get<QLabel>("uptimeLabel");
    m_uptimeLabel->setAccessibleDescription(QStringLiteral("起動してからの時間"));
    m_uptimeLeft = m_uptimeLabel->x();
    const QFontMetrics metrics(m_uptimeLabel->font());
    m_widestDigit = QLatin1Char('0');
    m_digitsAlike = true;
    for (char digit = '1'; digit <= '9'; ++digit) {
        const int width = metrics.horizontalAdvance(QLatin1Char(digit));
        m_digitsAlike = m_digitsAlike && width == metrics.horizontalAdvance(QLatin1Char('0'));
        if (width > metrics.horizontalAdvance(m_widestDigit))
            m_widestDigit = QLatin1Char(digit);
    }
}

bool ClockFace::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_clockLabel && event->type() == QEvent::MouseButtonDblClick)
        emit clockDoubleClicked();
    return QWidget::eventFilter(watched, event);
}

QWidget* ClockFace::firstInTabOrder() const
{
    return m_clockLabel;
}

void ClockFace::showClockText(const QString& text)
{
    m_clockLabel->setText(text);
}

void ClockFace::showUptimeText(const QString& text)
{
    // The width follows the text. Measuring it lays the text out twice, most of a tick's work;
    // where every digit is as wide as any other, only a text of another shape (other letters,
    // or more digits) can have another width.
    const bool sameWidth = m_digitsAlike && sameShape(m_uptimeLabel->text(), text);
    m_uptimeLabel->setText(text);
    if (!sameWidth) {
        m_uptimeLabel->adjustSize();
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
        twips::toPixels((outerWidthTwips - twips::fromPixels(m_uptimeLabel->width())) / 2.0);
    placeUptime();
}

QString ClockFace::widestAlike(const QString& text) const
{
    // "H時間M分S秒経過": the hours keep their count of digits, minutes and seconds take two, each
    // digit the widest. A count in seconds alone ("S秒経過") never runs out of room.
    static const QRegularExpression number(QStringLiteral("(\\d+)(時間|分|秒)"));
    if (!text.contains(QStringLiteral("時間")))
        return text;
    QString widest = text;
    for (auto it = number.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const qsizetype digits = m.captured(2) == u"時間" ? m.capturedLength(1) : 2;
        widest.replace(m.capturedStart(1) + widest.size() - text.size(), m.capturedLength(1),
                       QString(digits, m_widestDigit));
    }
    return widest;
}

void ClockFace::placeUptime()
{
    // The left edge stays where it was put while the widest text of the hours' present count of
    // digits fits in the window; where that text would run past the window's right edge, the
    // label sits so that it fits. So the label never moves within an hour, moves at most when
    // the hours gain a digit, and is never cut off. The window's width, which the face takes
    // only when the window is laid out.
    const QFontMetrics metrics(m_uptimeLabel->font());
    const QString text = m_uptimeLabel->text();
    const int widestLabel =
        m_uptimeLabel->width() - metrics.size(0, text).width() +
        metrics.size(0, widestAlike(text)).width(); // measured as the label does
    const int room = window()->width() - std::max(widestLabel, m_uptimeLabel->width());
    m_uptimeLabel->move(std::max(0, std::min(m_uptimeLeft, room)), m_uptimeLabel->y());
}

void ClockFace::setColour(ClockColour colour)
{
    QPalette pal = m_clockLabel->palette();
    pal.setColor(QPalette::Window, colour == ClockColour::Red ? QColor(Qt::red)
                                   : colour == ClockColour::Blue
                                       ? QColor(Qt::blue)
                                       : palette().color(QPalette::Button));
    m_clockLabel->setPalette(pal);
}
