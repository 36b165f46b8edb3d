#pragma once

namespace tavlo {

// What the condition dialog calls back on the main window after a range change.
class MainWindowLink {
public:
    virtual ~MainWindowLink() = default;
    // Shows the current range.
    virtual void EditRange() = 0;
    // 1: shows the ordinal of the next draw; anything else: of the last one.
    virtual void EditCount(int enmCountMode) = 0;
};

}  // namespace tavlo
