#pragma once

#include <QFont>

namespace tavlo::platform {

// The program's one face, "ＭＳ ゴシック", where installed; otherwise a Japanese
// fixed-pitch Gothic face ("BIZ UDゴシック", else "IPAGothic", else "Noto Sans
// Mono CJK JP") at the same point size.
QFont GothicFont(double pointSize, int weight = 400);

// Makes the windows' font, GothicFont at 12 pt, the application's default.
// To be called before any window is built: a text box lays out its empty
// text in the default font before its own is set, and a second face loaded
// for that costs start-up time. Message boxes and menus keep the font they
// had.
void UseWindowFontByDefault();

}  // namespace tavlo::platform
