#pragma once

namespace tavlo {

// What the condition dialog calls back on the main window after a range change.
class MainWindowLink {
public:
    virtual ~MainWindowLink() = default;
    // Shows the current range and sizes the drawn flags to it.
    virtual void EditRange() = 0;
    // Forgets every draw, in memory and in the settings file.
    virtual void ClearResult() = 0;
};

}  // namespace tavlo
