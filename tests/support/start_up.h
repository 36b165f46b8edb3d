#pragma once

#include "engine/draw_state.h"

namespace tavlo::test {

// The main window's start-up order, without the window: the range, then what
// showing it does to the state, then the results, which need the flags sized.
inline void StartUp(DrawState& state)
{
    state.LoadRange();
    state.ResizeDrawn();
    if (state.IsRangeValid())
        state.Reseed();
    state.LoadResults();
}

}  // namespace tavlo::test
