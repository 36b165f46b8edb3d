#pragma once

#include <QColor>
#include <cstdint>

namespace tavlo::ui::platform {

// Colour values as the designs write them: an RGB value (red in the low
// byte), or 0x80000000 plus a Windows system colour index.
inline constexpr std::uint32_t kSystemColorFlag = 0x80000000u;
inline constexpr std::uint32_t SystemColor(int index)
{
    return kSystemColorFlag | static_cast<std::uint32_t>(index);
}
inline constexpr std::uint32_t Rgb(int r, int g, int b)
{
    return static_cast<std::uint32_t>(r | (g << 8) | (b << 16));
}

// Windows system colour indices the program uses.
inline constexpr int COLOR_ACTIVECAPTION = 2;
inline constexpr int COLOR_WINDOW = 5;
inline constexpr int COLOR_WINDOWTEXT = 8;
inline constexpr int COLOR_CAPTIONTEXT = 9;
inline constexpr int COLOR_HIGHLIGHT = 13;
inline constexpr int COLOR_HIGHLIGHTTEXT = 14;
inline constexpr int COLOR_BTNFACE = 15;
inline constexpr int COLOR_BTNTEXT = 18;
inline constexpr int COLOR_INACTIVECAPTIONTEXT = 19;
inline constexpr int COLOR_INFOTEXT = 23;
inline constexpr int COLOR_INFOBK = 24;

// The colour a value stands for. System colours whose meaning a role of the
// application palette carries (window and window text, button face and text,
// highlight, tooltip) take the palette's colour; the other indices 0..30 the
// classic Windows scheme's default, and an unknown index black. The top byte
// of an RGB value is ignored.
QColor ToQColor(std::uint32_t value);

// The value of a QColor as an RGB colour value.
std::uint32_t ToColorValue(const QColor& color);

}  // namespace tavlo::ui::platform
