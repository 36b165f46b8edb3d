#pragma once

#include <QtGlobal>
#include <memory>
#include <optional>

namespace tavlo::ui::platform {

// What the system itself says of a key press, where it knows better than Qt.
// Windows marks each press message with whether the key was down before it:
// a held key's repeat. Qt's windows platform decides from its own record of
// the keys pressed instead, which keeps a key pressed for good when its
// release went to another window (a message box closed by that very press),
// and then takes the next real press for a repeat. Elsewhere the system says
// nothing here.
class NativeKeyRepeats {
public:
    NativeKeyRepeats();
    ~NativeKeyRepeats();
    NativeKeyRepeats(const NativeKeyRepeats&) = delete;
    NativeKeyRepeats& operator=(const NativeKeyRepeats&) = delete;

    // For Qt's press of the key with this native virtual key: true when the
    // system saw the key held, false when newly pressed, none when it does not
    // say. Each press message answers one press, in the order they came.
    std::optional<bool> TakeRepeat(quint32 nativeVirtualKey);

private:
    class Watcher;
    std::unique_ptr<Watcher> m_watcher;
};

}  // namespace tavlo::ui::platform
