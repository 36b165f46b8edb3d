#include "ui/common/screen_placement.h"

namespace tavlo {

QRect KeepWhollyVisible(const QRect& frame, const QRect& available)
{
    QRect placed = frame;
    if (placed.right() > available.right())
        placed.moveRight(available.right());
    if (placed.bottom() > available.bottom())
        placed.moveBottom(available.bottom());
    if (placed.left() < available.left())
        placed.moveLeft(available.left());
    if (placed.top() < available.top())
        placed.moveTop(available.top());
    return placed;
}

}  // namespace tavlo
