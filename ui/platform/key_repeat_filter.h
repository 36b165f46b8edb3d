#pragma once

#include <QHash>
#include <QObject>

#include "ui/platform/native_key_repeats.h"

class QKeyEvent;

namespace tavlo::ui::platform {

// Tells a key's auto-repeated press from a new press, where one press must
// stay one START or one STOP. Qt's own flag is not enough: under X11 it pairs
// a repeat's release and press by looking ahead in the event queue, and on a
// busy machine the pair arrives apart, as an ordinary release and press; and
// a quick tap right after a message box closed by Enter has come flagged as a
// repeat. So the filter watches the key events of the whole application,
// a message box's included, from the application object; and where the
// system itself tells a repeat from a new press (Windows), its word holds.
//
// A window that appeared while a key was held down never sees that key's
// repeats: a warning that opens under a held Enter must not be answered
// before anyone has read it. It reacts to the key's next new press.
class KeyRepeatFilter : public QObject {
public:
    KeyRepeatFilter();
    ~KeyRepeatFilter() override;
    KeyRepeatFilter(const KeyRepeatFilter&) = delete;
    KeyRepeatFilter& operator=(const KeyRepeatFilter&) = delete;

    // True for a press that repeats a key held down, as judged when the
    // press first reached the application.
    bool IsRepeat(const QKeyEvent* event) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The last event of one key, as far as it tells a repeat.
    struct KeyState {
        bool released = false;
        bool releasedForReal = false;  // not flagged as a repeat's release
        quint64 releaseTime = 0;
        quint64 downSince = 0;  // m_sequence at its last new press; 0 before any
    };

    // A press passes the filter once for each object it is delivered to (its
    // window, the focus widget, the parents it propagates to); only the
    // first passage judges it.
    bool IsJudged(const QKeyEvent* event) const;
    void Judge(const QKeyEvent* event);
    // Whether the window that `receiver` belongs to appeared after the key
    // of the press judged last went down.
    bool CameAfterKeyDown(QObject* receiver) const;
    void Released(const QKeyEvent* event);
    // Keys held when the application loses the keyboard are let go there,
    // out of sight: taken as released.
    void LetGoOfEveryKey();

    NativeKeyRepeats m_native;
    QHash<int, KeyState> m_keys;
    // Counts new presses and windows shown, to tell which came first.
    quint64 m_sequence = 0;
    // The windows on screen, with m_sequence at their showing.
    QHash<const QObject*, quint64> m_shownSince;
    // The press judged last, to answer it alike when it comes again.
    const QKeyEvent* m_judged = nullptr;
    int m_judgedKey = 0;
    quint64 m_judgedTime = 0;
    bool m_judgedFlag = false;
    bool m_judgedRepeat = false;
};

}  // namespace tavlo::ui::platform
