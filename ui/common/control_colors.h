#pragma once

#include <cstdint>

class QWidget;

// A control's colours as the designs give them: RGB values or system colours
// (0x80000000 plus a Windows index). The value set is kept on the widget, so
// it reads back as written, and the matching palette roles are set.
namespace tavlo {

void SetBackColor(QWidget* control, std::uint32_t value);
void SetForeColor(QWidget* control, std::uint32_t value);
std::uint32_t BackColor(const QWidget* control);
std::uint32_t ForeColor(const QWidget* control);

}  // namespace tavlo
