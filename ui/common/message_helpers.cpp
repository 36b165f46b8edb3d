#include "ui/common/message_helpers.h"

namespace tavlo {

void ShowWarning(platform::MessageBoxes& boxes, QWidget* owner, const QString& message, const QString& title)
{
    boxes.Warn(owner, message, title);
}

platform::Answer AskYesNo(platform::MessageBoxes& boxes, QWidget* owner, const QString& message, const QString& title,
                          platform::Style extraStyle)
{
    using platform::Style;
    return boxes.Ask(owner, message, title, Style::YesNo | Style::Question | extraStyle);
}

}  // namespace tavlo
