#include "ui/condition/focus_validator.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>
#include <QWindow>

namespace tavlo {

namespace {

// Qt moves the focus on these keys unless Ctrl or Alt is held.
bool MovesFocus(const QKeyEvent& event)
{
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return false;
    return event.key() == Qt::Key_Tab || event.key() == Qt::Key_Backtab;
}

QWidget* EndOfFocusProxies(QWidget* widget)
{
    while (widget->focusProxy())
        widget = widget->focusProxy();
    return widget;
}

// The control an access key on `receiver` puts the focus on: a label hands it
// to its buddy.
QWidget* ShortcutTarget(QWidget* receiver)
{
    if (const auto* label = qobject_cast<QLabel*>(receiver); label && label->buddy())
        return EndOfFocusProxies(label->buddy());
    return EndOfFocusProxies(receiver);
}

}  // namespace

FocusValidator::FocusValidator(QWidget* window) : QObject(window), m_window(window)
{
    m_window->installEventFilter(this);
}

void FocusValidator::Watch(QWidget* control, Check check)
{
    m_entries.push_back({control, std::move(check)});
    control->installEventFilter(this);
}

bool FocusValidator::ValidateFocused()
{
    const Entry* entry = FocusedEntry();
    // A check shows a message box; nothing that happens meanwhile re-enters it.
    if (!entry || m_checking)
        return true;
    m_checking = true;
    const bool passed = entry->check();
    m_checking = false;
    return passed;
}

// The window's own focus widget, not the application's: the window may be
// inactive while the click that activates it lands on another control.
const FocusValidator::Entry* FocusValidator::FocusedEntry() const
{
    QWidget* focus = m_window->focusWidget();
    if (!focus)
        return nullptr;
    for (const Entry& entry : m_entries) {
        if (entry.control == focus)
            return &entry;
    }
    return nullptr;
}

// The filters go on when the window is shown: by then its controls and its
// QWindow exist. Installing twice keeps one filter, so every showing may do it.
void FocusValidator::AttachToWindow()
{
    for (QWidget* child : m_window->findChildren<QWidget*>())
        child->installEventFilter(this);
    QWindow* handle = m_window->windowHandle();
    if (handle && handle != m_handle) {
        handle->installEventFilter(this);
        m_handle = handle;
    }
}

// The widget that a press at `pos` (window coordinates) would give the focus,
// found as Qt finds it: the first enabled widget from the one under the
// pointer upwards whose policy takes such focus, stopping at the window or at
// a widget that already has the focus. Null when the focus would not move.
QWidget* FocusValidator::FocusTargetAt(const QPoint& pos, Qt::FocusPolicy policy) const
{
    for (QWidget* widget = m_window->childAt(pos); widget && widget != m_window; widget = widget->parentWidget()) {
        QWidget* target = EndOfFocusProxies(widget);
        if (widget->isEnabled() && (widget->focusPolicy() & policy) == policy
            && (target->focusPolicy() & policy) == policy)
            return target;
        if (target->hasFocus())
            return nullptr;
    }
    return nullptr;
}

bool FocusValidator::RefusesPointer(const QPoint& pos, Qt::FocusPolicy policy)
{
    const Entry* entry = FocusedEntry();
    if (!entry)
        return false;
    QWidget* target = FocusTargetAt(pos, policy);
    if (!target || target == entry->control)
        return false;
    return !ValidateFocused();
}

bool FocusValidator::HandleMouse(QMouseEvent* event)
{
    const Qt::MouseButton button = event->button();
    switch (event->type()) {
        case QEvent::MouseButtonPress:
            // A press of a button still marked lost its release to a message box.
            m_swallowed &= ~button;
            if (RefusesPointer(event->position().toPoint(), Qt::ClickFocus)) {
                m_swallowed |= button;
                return true;
            }
            return false;
        case QEvent::MouseButtonDblClick:
            if (m_swallowed & button)
                return true;
            if (RefusesPointer(event->position().toPoint(), Qt::ClickFocus)) {
                m_swallowed |= button;
                return true;
            }
            return false;
        case QEvent::MouseButtonRelease:
            if (m_swallowed & button) {
                m_swallowed &= ~button;
                return true;
            }
            return false;
        case QEvent::MouseMove:
            return (event->buttons() & m_swallowed) != 0;
        default:
            return false;
    }
}

bool FocusValidator::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
        case QEvent::Show:
            if (watched == m_window)
                AttachToWindow();
            break;
        case QEvent::KeyPress:
            if (MovesFocus(*static_cast<QKeyEvent*>(event)) && FocusedEntry() && watched == FocusedEntry()->control)
                return !ValidateFocused();
            break;
        case QEvent::Shortcut:
            if (auto* receiver = qobject_cast<QWidget*>(watched); receiver && receiver->window() == m_window) {
                const Entry* entry = FocusedEntry();
                if (entry && ShortcutTarget(receiver) != entry->control)
                    return !ValidateFocused();
            }
            break;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseMove:
            if (watched == m_handle)
                return HandleMouse(static_cast<QMouseEvent*>(event));
            break;
        case QEvent::Wheel:
            if (watched == m_handle)
                return RefusesPointer(static_cast<QWheelEvent*>(event)->position().toPoint(), Qt::WheelFocus);
            break;
        default:
            break;
    }
    return false;
}

}  // namespace tavlo
