#pragma once

#include <QFont>

namespace tavlo::ui::platform {

// The program's one face, "ＭＳ ゴシック", where installed; otherwise a Japanese
// fixed-pitch Gothic face ("BIZ UDゴシック", else "IPAGothic", else "Noto Sans
// Mono CJK JP") at the same point size. The face alone draws the text, which
// must hold only the characters the windows show: Japanese, full-width forms
// and ASCII. Only where none of these faces is installed do other faces draw
// what the nearest one lacks. Needs the application.
QFont GothicFont(double pointSize, int weight = 400);

// `font`, drawing a character its face lacks in another face: for text the
// user types.
QFont WithFallbackFaces(QFont font);

// Makes the windows' font, GothicFont at 12 pt, the application's default.
// To be called before any window is built: a text box lays out its empty
// text in the default font before its own is set, and a second face loaded
// for that costs start-up time. Message boxes and menus keep the font they
// had.
void UseWindowFontByDefault();

}  // namespace tavlo::ui::platform
