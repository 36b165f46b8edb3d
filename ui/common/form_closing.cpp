#include "ui/common/form_closing.h"

namespace tavlo {

void NotifyFormClosing(QWidget* window, bool& cancel, UnloadMode unloadMode)
{
    // A hook for every closing window; nothing needs it yet, and it never
    // cancels.
    (void)window;
    (void)cancel;
    (void)unloadMode;
}

}  // namespace tavlo
