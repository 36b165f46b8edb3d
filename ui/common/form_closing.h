#pragma once

class QWidget;

namespace tavlo {

// Why a window closes, as handed to its closing hook.
enum class UnloadMode : int {
    CloseBox = 0,  // the user closed it from its title bar
    Code = 1,      // the program closed it: OK, Cancel
};

// The closing hook of a window. It never cancels.
void NotifyFormClosing(QWidget* window, bool& cancel, UnloadMode unloadMode);

}  // namespace tavlo
