#include "ui/results/result_layout.h"

namespace tavlo {

ResultListSize SizeResultList(float scaleWidth, float scaleHeight, const ui::platform::TwipsBox& list,
                              const ui::platform::TwipsBox& button)
{
    ResultListSize size;
    // Read before the button is re-centred: below the floor, each resize
    // narrows the list a step towards 2 x list.left + button.width.
    size.widthFloor = button.width + button.left;
    size.gap = button.top - list.top - list.height;

    size.height = scaleHeight - list.top - 2.0f * size.gap - button.height;
    if (size.height < kMinResultListHeight)
        size.height = kMinResultListHeight;

    size.width = scaleWidth - 2.0f * list.left;
    if (size.width < size.widthFloor)
        size.width = size.widthFloor;
    return size;
}

ResultButtonPlace PlaceResultButton(const ui::platform::TwipsBox& list, float gap, float buttonWidth)
{
    ResultButtonPlace place;
    place.top = list.height + list.top + gap;
    place.left = (2.0f * list.left + list.width - buttonWidth) / 2.0f;
    return place;
}

}  // namespace tavlo
