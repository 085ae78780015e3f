#include "forms/Twips.h"

#include "platform/Platform.h"

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

QSize screen()
{
    const QSize px = platform().screenSize();
    return {fromPixels(px.width()), fromPixels(px.height())};
}

void centre(QWidget* window)
{
    const QSize screen = twips::screen();
    const QSize outer = outerSize(window);
    moveTo(window, (screen.width() - outer.width()) / 2.0,
           (screen.height() - outer.height()) / 2.0);
}

} // namespace twips
