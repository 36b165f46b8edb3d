#pragma once

#include <QString>

#include "ui/platform/message_boxes.h"

class QWidget;

// Every warning and question of the windows passes here, and on through the
// MessageBoxes seam; the title is the caption of the window that asks.
namespace tavlo {

// A beep and a warning box with OK.
void ShowWarning(platform::MessageBoxes& boxes, QWidget* owner, const QString& message, const QString& title);

// A beep and a Yes/No question box with the question icon; `extraStyle`
// Style::DefaultButton2 makes No the default.
platform::Answer AskYesNo(platform::MessageBoxes& boxes, QWidget* owner, const QString& message, const QString& title,
                          platform::Style extraStyle);

}  // namespace tavlo
