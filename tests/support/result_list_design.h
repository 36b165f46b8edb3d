#pragma once

#include "ui/platform/twips.h"

// The result list as designed, in twips: its client area measured from the
// screen's top-left corner, and the list and the close button inside it.
namespace tavlo::test::result_list_design {

inline constexpr ui::platform::TwipsBox kWindow{2775.0f, 3765.0f, 3150.0f, 6255.0f};
inline constexpr ui::platform::TwipsBox kList{120.0f, 120.0f, 2895.0f, 5340.0f};
inline constexpr ui::platform::TwipsBox kButton{960.0f, 5640.0f, 1335.0f, 495.0f};

}  // namespace tavlo::test::result_list_design
