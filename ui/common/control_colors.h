#pragma once

#include <cstdint>

class QWidget;

// A control's colours as the designs give them: RGB values or system colours
// (0x80000000 plus a Windows index). The value set is kept on the widget as
// the dynamic property "BackColor" or "ForeColor", so it reads back exactly as
// written, and the palette roles that draw it are set:
//   text box (QLineEdit), list box: Base and Text;
//   combo box: Base and Button, Text and ButtonText;
//   command button (QPushButton): ButtonText; and Button only on a button
//   marked by DrawInOwnColor, whose panel is then drawn flat in exactly that
//   colour. Any other button keeps the platform's look: its BackColor, though
//   kept, does not show, as on a standard button;
//   window, label, frame, anything else: Window and WindowText, with the
//   background filled for child controls.
// A control whose colour was never set reads its platform default: the button
// face (0x8000000F) and button text (0x80000012), or for text boxes, combo
// boxes and list boxes the window colour (0x80000005) and window text
// (0x80000008).
namespace tavlo {

void SetBackColor(QWidget* control, std::uint32_t value);
void SetForeColor(QWidget* control, std::uint32_t value);
std::uint32_t BackColor(const QWidget* control);
std::uint32_t ForeColor(const QWidget* control);

// Marks a command button whose design gives it a colour of its own: its
// BackColor shows, set before or after.
void DrawInOwnColor(QWidget* button);

}  // namespace tavlo
