#include "ui/platform/screen_awake.h"

#include <windows.h>

namespace tavlo::ui::platform {

namespace {

// Windows keeps the display on and the system awake while the calling
// thread's execution state asks for it, and forgets the request when the
// thread ends. Both calls come from the thread of the windows.
class ExecutionStateAwake final : public ScreenAwake {
public:
    ExecutionStateAwake() = default;
    ExecutionStateAwake(const ExecutionStateAwake&) = delete;
    ExecutionStateAwake& operator=(const ExecutionStateAwake&) = delete;
    ~ExecutionStateAwake() override { Release(); }

    void Hold() override { SetThreadExecutionState(ES_CONTINUOUS | ES_DISPLAY_REQUIRED | ES_SYSTEM_REQUIRED); }
    void Release() override { SetThreadExecutionState(ES_CONTINUOUS); }
};

}  // namespace

std::unique_ptr<ScreenAwake> SystemScreenAwake()
{
    return std::make_unique<ExecutionStateAwake>();
}

}  // namespace tavlo::ui::platform
