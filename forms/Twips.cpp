#include "forms/Twips.h"

#include "seams/Desktop.h"

#include <QWidget>

namespace twips
{

QSize outerSize(const QWidget* window)
{
    QSize outer = window->frameGeometry().size();
    if (outer == window->size()) // not framed yet
        outer += QSize(2 * designFrameEdge, designFrameTop + designFrameEdge) / perPixel;
    return outer * perPixel;
}

void moveTo(QWidget* window, double left, double top)
{
    window->move(toPixels(left), toPixels(top));
}

QSize screen(Desktop& desktop)
{
    const QSize px = desktop.screenSize();
    return {fromPixels(px.width()), fromPixels(px.height())};
}

void centre(QWidget* window, Desktop& desktop)
{
    const QSize screen = twips::screen(desktop);
    const QSize outer = outerSize(window);
    moveTo(window, (screen.width() - outer.width()) / 2.0,
           (screen.height() - outer.height()) / 2.0);
}

} // namespace twips
