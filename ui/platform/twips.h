#pragma once

#include <QRect>
#include <cmath>

namespace tavlo::ui::platform {

// The designs measure in twips; 15 twips are one device-independent pixel and
// Qt's high-DPI scaling does the rest.
inline constexpr double kTwipsPerPixel = 15.0;

inline int TwipsToPixels(double twips)
{
    return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}

inline double PixelsToTwips(int pixels)
{
    return pixels * kTwipsPerPixel;
}

inline QRect TwipsRect(double left, double top, double width, double height)
{
    return {TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height)};
}

// A place in a window's design, in twips: the window's client area or one
// control. Single precision, like the layout that moves the result list.
struct TwipsBox {
    float left = 0.0f;
    float top = 0.0f;
    float width = 0.0f;
    float height = 0.0f;
};

inline QRect TwipsRect(const TwipsBox& box)
{
    return TwipsRect(box.left, box.top, box.width, box.height);
}

}  // namespace tavlo::ui::platform
