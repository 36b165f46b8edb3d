#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <vector>

class QMouseEvent;
class QWidget;
class QWindow;

namespace tavlo {

// Runs a check before the focus may leave a watched control for another
// control of the same window, and refuses the move when the check fails: the
// focus stays where it is and the key, click or access key that was moving it
// has no effect at all.
//
// Qt has no focus change that a handler may refuse, so the moves are caught
// where they start:
// - Tab and Backtab, in the watched control before Qt moves the focus;
// - mouse presses, on the window's QWindow, before Qt hands out click focus
//   (it does so ahead of every widget's event filter); a refused press has its
//   release swallowed too, so a button under it is not clicked;
// - access keys, as the Shortcut event on the control that would take them.
// Focus that goes to another window (a message box, a deactivation) and the
// closing of the window run no check.
//
// Mouse events that a test sends straight to a widget bypass the QWindow;
// tests drive clicks through the window (QTEST_QPA_MOUSE_HANDLING), as real
// input arrives.
class FocusValidator final : public QObject {
public:
    using Check = std::function<bool()>;

    // Lives as a child of `window`.
    explicit FocusValidator(QWidget* window);

    // `check` runs when the focus is about to leave `control`; false keeps it.
    void Watch(QWidget* control, Check check);

    // Runs the check of the watched control that holds the window's focus, if
    // any: true when the focus may leave it.
    bool ValidateFocused();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Entry {
        QPointer<QWidget> control;
        Check check;
    };

    void AttachToWindow();
    const Entry* FocusedEntry() const;
    QWidget* FocusTargetAt(const QPoint& pos, Qt::FocusPolicy policy) const;
    bool RefusesPointer(const QPoint& pos, Qt::FocusPolicy policy);
    bool HandleMouse(QMouseEvent* event);

    QWidget* m_window;
    QPointer<QWindow> m_handle;
    std::vector<Entry> m_entries;
    // Buttons whose press was refused: their release (and moves while held)
    // are swallowed as well.
    Qt::MouseButtons m_swallowed = Qt::NoButton;
    bool m_checking = false;
};

}  // namespace tavlo
