#pragma once

#include <memory>

namespace tavlo::ui::platform {

// Asks the system not to blank the display or go to sleep, and lets it go
// again: a drawing in front of an audience must not go dark while the room
// waits for the next number.
class ScreenAwake {
public:
    virtual ~ScreenAwake() = default;
    virtual void Hold() = 0;
    virtual void Release() = 0;
};

// The system's own: the thread's execution state on Windows, the freedesktop
// screen saver service on the session bus elsewhere. Where the system offers
// no such service, both do nothing and say nothing; neither keeps the window
// waiting. Lets go when destroyed.
std::unique_ptr<ScreenAwake> SystemScreenAwake();

}  // namespace tavlo::ui::platform
