#include "ui/platform/native_key_repeats.h"

namespace tavlo::ui::platform {

class NativeKeyRepeats::Watcher {};

NativeKeyRepeats::NativeKeyRepeats() = default;

NativeKeyRepeats::~NativeKeyRepeats() = default;

std::optional<bool> NativeKeyRepeats::TakeRepeat(quint32)
{
    return std::nullopt;
}

}  // namespace tavlo::ui::platform
