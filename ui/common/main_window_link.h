#pragma once

namespace tavlo {

// What the ordinal display shows.
enum class CountMode : int {
    Last = 0,  // the ordinal of the last draw made
    Next = 1,  // "次 " and the ordinal of the next draw
};

// What the condition dialog calls back on the main window after a range change.
class MainWindowLink {
public:
    virtual ~MainWindowLink() = default;
    // Shows the current range.
    virtual void EditRange() = 0;
    // CountMode::Next shows the ordinal of the next draw; any other mode, of
    // the last one.
    virtual void EditCount(CountMode enmCountMode) = 0;
};

}  // namespace tavlo
