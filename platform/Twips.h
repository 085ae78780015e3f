// Twips are 1/1440 inch; Qt keeps the logical resolution at 96 DPI, so one device-independent
// pixel is always 15 twips.
#pragma once

#include <QRect>
#include <cmath>

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

} // namespace twips
