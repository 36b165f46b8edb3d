#pragma once

#include <QRect>

#include "platform/qt/twips.h"

namespace tavlo {

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
    return platform::TwipsRect(box.left, box.top, box.width, box.height);
}

}  // namespace tavlo
