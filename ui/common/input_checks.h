#pragma once

#include <QString>
#include <cstdint>

#include "ui/platform/message_boxes.h"

class QWidget;

namespace tavlo {

// True for an empty text (the caller decides whether empty is allowed) and for
// one to `maxDigits` digits 0-9. Otherwise warns, naming `itemName`, and
// returns false; a wrong character is reported before a wrong length.
bool CheckNumericInput(platform::MessageBoxes& boxes, QWidget* owner, const QString& text, std::int16_t maxDigits,
                       const QString& itemName, const QString& title);

// True when the text is one or more of the ASCII digits 0-9 and nothing else.
bool IsDigitsOnly(const QString& text);

}  // namespace tavlo
