#pragma once

#include <QRect>

namespace tavlo {

// `frame` moved as little as possible so that it lies wholly inside
// `available`. A frame larger than `available` keeps its top-left corner
// on it, so the title bar stays reachable.
QRect KeepWhollyVisible(const QRect& frame, const QRect& available);

}  // namespace tavlo
