#include "ui/platform/system_colors.h"

#include <QGuiApplication>
#include <QPalette>
#include <array>
#include <optional>

namespace tavlo::ui::platform {

namespace {

// The classic Windows scheme's defaults for the system colour indices 0..30,
// as RGB values (red in the low byte).
constexpr std::array<std::uint32_t, 31> kClassicScheme = {
    Rgb(212, 208, 200),  //  0 COLOR_SCROLLBAR
    Rgb(58, 110, 165),   //  1 COLOR_BACKGROUND
    Rgb(10, 36, 106),    //  2 COLOR_ACTIVECAPTION
    Rgb(128, 128, 128),  //  3 COLOR_INACTIVECAPTION
    Rgb(212, 208, 200),  //  4 COLOR_MENU
    Rgb(255, 255, 255),  //  5 COLOR_WINDOW
    Rgb(0, 0, 0),        //  6 COLOR_WINDOWFRAME
    Rgb(0, 0, 0),        //  7 COLOR_MENUTEXT
    Rgb(0, 0, 0),        //  8 COLOR_WINDOWTEXT
    Rgb(255, 255, 255),  //  9 COLOR_CAPTIONTEXT
    Rgb(212, 208, 200),  // 10 COLOR_ACTIVEBORDER
    Rgb(212, 208, 200),  // 11 COLOR_INACTIVEBORDER
    Rgb(128, 128, 128),  // 12 COLOR_APPWORKSPACE
    Rgb(10, 36, 106),    // 13 COLOR_HIGHLIGHT
    Rgb(255, 255, 255),  // 14 COLOR_HIGHLIGHTTEXT
    Rgb(212, 208, 200),  // 15 COLOR_BTNFACE
    Rgb(128, 128, 128),  // 16 COLOR_BTNSHADOW
    Rgb(128, 128, 128),  // 17 COLOR_GRAYTEXT
    Rgb(0, 0, 0),        // 18 COLOR_BTNTEXT
    Rgb(212, 208, 200),  // 19 COLOR_INACTIVECAPTIONTEXT
    Rgb(255, 255, 255),  // 20 COLOR_BTNHIGHLIGHT
    Rgb(64, 64, 64),     // 21 COLOR_3DDKSHADOW
    Rgb(212, 208, 200),  // 22 COLOR_3DLIGHT
    Rgb(0, 0, 0),        // 23 COLOR_INFOTEXT
    Rgb(255, 255, 225),  // 24 COLOR_INFOBK
    Rgb(181, 181, 181),  // 25 (no name; the alternate button face)
    Rgb(0, 0, 128),      // 26 COLOR_HOTLIGHT
    Rgb(166, 202, 240),  // 27 COLOR_GRADIENTACTIVECAPTION
    Rgb(192, 192, 192),  // 28 COLOR_GRADIENTINACTIVECAPTION
    Rgb(10, 36, 106),    // 29 COLOR_MENUHILIGHT
    Rgb(212, 208, 200),  // 30 COLOR_MENUBAR
};

// The indices whose meaning a role of Qt's palette carries, so the colour
// follows the desktop's scheme as the system colours do on Windows.
std::optional<QPalette::ColorRole> PaletteRole(std::uint32_t index)
{
    switch (index) {
        case COLOR_WINDOW:
            return QPalette::Base;
        case COLOR_WINDOWTEXT:
            return QPalette::WindowText;
        case COLOR_HIGHLIGHT:
            return QPalette::Highlight;
        case COLOR_HIGHLIGHTTEXT:
            return QPalette::HighlightedText;
        case COLOR_BTNFACE:
            return QPalette::Button;
        case COLOR_BTNTEXT:
            return QPalette::ButtonText;
        case COLOR_INFOTEXT:
            return QPalette::ToolTipText;
        case COLOR_INFOBK:
            return QPalette::ToolTipBase;
        default:
            return std::nullopt;
    }
}

QColor FromRgbValue(std::uint32_t value)
{
    return QColor(static_cast<int>(value & 0xFFu), static_cast<int>((value >> 8) & 0xFFu),
                  static_cast<int>((value >> 16) & 0xFFu));
}

}  // namespace

QColor ToQColor(std::uint32_t value)
{
    if ((value & kSystemColorFlag) == 0)
        return FromRgbValue(value);  // the high byte of an RGB value carries nothing
    const std::uint32_t index = value & ~kSystemColorFlag;
    if (index >= kClassicScheme.size())
        return QColor(Qt::black);  // what the system answers for an unknown index
    if (const auto role = PaletteRole(index); role && QGuiApplication::instance() != nullptr)
        return QGuiApplication::palette().color(QPalette::Active, *role);
    return FromRgbValue(kClassicScheme[index]);
}

std::uint32_t ToColorValue(const QColor& color)
{
    const QColor rgb = color.toRgb();
    return Rgb(rgb.red(), rgb.green(), rgb.blue());
}

}  // namespace tavlo::ui::platform
