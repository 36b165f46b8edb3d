#pragma once

#include <QString>
#include <cstdint>
#include <string>

#include "ui/platform/message_boxes.h"

class QWidget;

namespace tavlo {

// The warnings and questions of one window, in the program's own terms. Each
// box is owned by the window, takes the window's caption as its title, and
// goes through the MessageBoxes seam.
class WindowMessages {
public:
    WindowMessages(ui::platform::MessageBoxes& boxes, QWidget& window);

    // A beep and a warning box with OK.
    void ShowWarning(const QString& message) const;
    // A beep and a Yes/No question box with the question icon; `defaultButton`
    // Style::DefaultButton2 makes No the default, Style::DefaultButton1 Yes.
    ui::platform::Answer AskYesNo(const QString& message, ui::platform::Style defaultButton) const;
    // The warning that the settings file at `path` could not be written.
    void WarnSettingsNotSaved(const std::string& path) const;

    // The seam itself, for a window this one opens.
    ui::platform::MessageBoxes& boxes() const { return m_boxes; }

private:
    ui::platform::MessageBoxes& m_boxes;
    QWidget& m_window;
};

// "設定ファイルに書き込めませんでした。", a line break and the file's full path.
QString SettingsNotSavedMessage(const std::string& path);

// True for an empty text (the caller decides whether empty is allowed) and for
// one to `maxDigits` digits 0-9. Otherwise warns, naming `itemName`, and
// returns false; a wrong character is reported before a wrong length.
bool CheckNumericInput(const WindowMessages& messages, const QString& text, std::int16_t maxDigits,
                       const QString& itemName);

}  // namespace tavlo
