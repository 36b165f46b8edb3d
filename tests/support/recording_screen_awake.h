#pragma once

#include <QStringList>

#include "ui/platform/screen_awake.h"

namespace tavlo::test {

// Records each call, "Hold" or "Release", in order.
class RecordingScreenAwake final : public ui::platform::ScreenAwake {
public:
    void Hold() override { calls << QStringLiteral("Hold"); }
    void Release() override { calls << QStringLiteral("Release"); }

    QStringList calls;
};

}  // namespace tavlo::test
