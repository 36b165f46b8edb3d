#pragma once

#include "ui/platform/twips.h"

namespace tavlo {

// The list never gets shorter than half an inch.
inline constexpr float kMinResultListHeight = 720.0f;

// What the list is to become, from the client size and the two controls as
// they stand before anything moves.
struct ResultListSize {
    float widthFloor = 0.0f;  // the button's right edge, before it is re-centred
    float gap = 0.0f;         // from the list's bottom to the button's top
    float height = 0.0f;
    float width = 0.0f;
};

ResultListSize SizeResultList(float scaleWidth, float scaleHeight, const ui::platform::TwipsBox& list,
                              const ui::platform::TwipsBox& button);

// Where the button goes: `gap` below the list and centred under it. `list`
// is the list as read back after it was sized, since a list box may not take
// the exact height it is given.
struct ResultButtonPlace {
    float top = 0.0f;
    float left = 0.0f;
};

ResultButtonPlace PlaceResultButton(const ui::platform::TwipsBox& list, float gap, float buttonWidth);

}  // namespace tavlo
