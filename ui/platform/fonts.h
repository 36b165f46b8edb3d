#pragma once

#include <QFont>

namespace tavlo::platform {

// The program's one face, "ＭＳ ゴシック", where installed; otherwise a Japanese
// fixed-pitch Gothic face ("BIZ UDゴシック", else "IPAGothic", else "Noto Sans
// Mono CJK JP") at the same point size.
QFont GothicFont(double pointSize, int weight = 400);

}  // namespace tavlo::platform
