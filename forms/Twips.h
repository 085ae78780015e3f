// Twips are 1/1440 inch; Qt keeps the logical resolution at 96 DPI, so one device-independent
// pixel is always 15 twips.
#pragma once

#include <QRect>
#include <QSize>
#include <cmath>

class Desktop;
class QWidget;

namespace twips
{

constexpr int perPixel = 15;

constexpr int fromPixels(int px)
{
    return px * perPixel;
}

// Rounds to the nearest pixel, halves to the even neighbour.
inline int toPixels(double tw)
{
    return static_cast<int>(std::nearbyint(tw / perPixel));
}

// A control's rectangle (left, top, width, height in twips) in pixels.
constexpr QRect rect(int left, int top, int width, int height)
{
    return {left / perPixel, top / perPixel, width / perPixel, height / perPixel};
}

// The frame of a dialog on the desktop the layout was designed for: a 330-twip title bar and
// border on top, 45 twips on the other edges.
constexpr int designFrameTop = 330;
constexpr int designFrameEdge = 45;

// A top-level window's real outer size in twips; before the window manager has framed it, the
// client area plus the design frame.
QSize outerSize(const QWidget* window);
// Moves a top-level window's outer frame to a position in twips.
void moveTo(QWidget* window, double left, double top);
// The whole screen's size in twips.
QSize screen(Desktop& desktop);
// Centres a top-level window's outer frame on the screen.
void centre(QWidget* window, Desktop& desktop);

} // namespace twips
