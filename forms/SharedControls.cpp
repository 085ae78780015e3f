#include "forms/SharedControls.h"

#include <QMouseEvent>
#include <QPainter>

void ClockLabel::mouseDoubleClickEvent(QMouseEvent* event)
{
    QLabel::mouseDoubleClickEvent(event);
    emit doubleClicked();
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

void Frame::paintEvent(QPaintEvent* /*event*/)
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
