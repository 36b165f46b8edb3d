#include "ui/common/common.h"

namespace tavlo {

void ShowWarning(platform::MessageBoxes& boxes, QWidget* owner, const QString& message,
                 const QString& title)
{
    boxes.Warn(owner, message, title);
}

platform::Answer AskYesNo(platform::MessageBoxes& boxes, QWidget* owner, const QString& message,
                          const QString& title, platform::Style extraStyle)
{
    using platform::Style;
    return boxes.Ask(owner, message, title, Style::YesNo | Style::Question | extraStyle);
}

void NotifyFormClosing(QWidget* window, bool& cancel, UnloadMode unloadMode)
{
    // A hook for every closing window; nothing needs it yet, and it never
    // cancels.
    (void)window;
    (void)cancel;
    (void)unloadMode;
}

}  // namespace tavlo
