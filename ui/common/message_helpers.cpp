#include "ui/common/common.h"

namespace tavlo {

void ShowWarning(platform::MessageBoxes& boxes, QWidget* owner, const QString& message,
                 const QString& title)
{
    boxes.Warn(owner, message, title);
}

std::int16_t AskYesNo(platform::MessageBoxes& boxes, QWidget* owner, const QString& message,
                      const QString& title, std::int32_t extraStyle)
{
    const int style = platform::kStyleYesNo + platform::kStyleQuestion + extraStyle;
    return static_cast<std::int16_t>(boxes.Ask(owner, message, title, style));
}

void NotifyFormClosing(QWidget* window, bool& cancel, int unloadMode)
{
    // A hook for every closing window; nothing needs it yet, and it never
    // cancels.
    (void)window;
    (void)cancel;
    (void)unloadMode;
}

}  // namespace tavlo
