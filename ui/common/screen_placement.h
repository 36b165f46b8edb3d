#pragma once

#include <QPoint>
#include <QRect>

class QWidget;

// Where the owned windows open. Their designs give the client area's place
// measured from the screen's top-left corner; on a screen too small for it,
// a window moves (the result list also shrinks) so that all of it, title bar
// included, can be seen.
namespace tavlo {

// `frame` moved as little as possible so that it lies wholly inside
// `available`. A frame larger than `available` keeps its top-left corner
// on it, so the title bar stays reachable.
QRect KeepWhollyVisible(const QRect& frame, const QRect& available);

// The condition dialog: its client area's top-left corner at `corner` on the
// owner's screen, its size as it is; the whole frame is kept visible.
// Without a screen the window stays where it is.
void PlaceAtDesignedCorner(QWidget& window, const QWidget* owner, QPoint corner);

// The result list: its client area at `client` on the owner's screen, cut
// down to the screen's free area below a title bar. Without a screen the
// client area is set as designed.
void PlaceAtDesignedBox(QWidget& window, const QWidget* owner, QRect client);

}  // namespace tavlo
