#pragma once

#include <QString>
#include <cstdint>

#include "platform/qt/message_boxes.h"

class QWidget;

// The input checks and message helpers that every window shares. None of
// them keeps state; the message boxes go through the MessageBoxes seam.
namespace tavlo {

// True for an empty text (the caller decides whether empty is allowed) and for
// one to `maxDigits` digits 0-9. Otherwise warns, naming `itemName`, and
// returns false; a wrong character is reported before a wrong length.
bool CheckNumericInput(platform::MessageBoxes& boxes, QWidget* owner, const QString& text,
                       std::int16_t maxDigits, const QString& itemName, const QString& title);

// True when the text is one or more of the ASCII digits 0-9 and nothing else.
bool IsDigitsOnly(const QString& text);

// A beep and a warning box with OK.
void ShowWarning(platform::MessageBoxes& boxes, QWidget* owner, const QString& message,
                 const QString& title);

// A beep and a Yes/No question box with the question icon; `extraStyle`
// Style::DefaultButton2 makes No the default.
platform::Answer AskYesNo(platform::MessageBoxes& boxes, QWidget* owner, const QString& message,
                          const QString& title, platform::Style extraStyle);

// Every "&" doubled, so a caption shows it rather than marking an access key.
QString EscapeAmpersand(const QString& text);
// Every "&&" made single, left to right without overlap.
QString UnescapeAmpersand(const QString& text);
// Without half-width (U+0020) and full-width (U+3000) spaces.
QString RemoveSpaces(const QString& text);

// Selects `length` characters from `start` in a text box or an editable combo
// box; a negative length selects to the end. Other controls: nothing.
void SelectText(QWidget* control, std::int16_t start, std::int16_t length);

// Why a window closes, as handed to its closing hook.
enum class UnloadMode : int {
    CloseBox = 0,  // the user closed it from its title bar
    Code = 1,      // the program closed it: OK, Cancel
};

// The closing hook of a window. It never cancels.
void NotifyFormClosing(QWidget* window, bool& cancel, UnloadMode unloadMode);

}  // namespace tavlo
