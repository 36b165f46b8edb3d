#include "ui/platform/key_repeat_filter.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QWidget>
#include <QWindow>

namespace tavlo::ui::platform {

KeyRepeatFilter::KeyRepeatFilter()
{
    QCoreApplication::instance()->installEventFilter(this);
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state != Qt::ApplicationActive)
            LetGoOfEveryKey();
    });
}

KeyRepeatFilter::~KeyRepeatFilter()
{
    QCoreApplication::instance()->removeEventFilter(this);
}

// A press reaches its window first (or the widget it was sent to), before any
// widget's own filters see it: a repeat eaten there reaches no widget at all.
bool KeyRepeatFilter::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
        case QEvent::KeyPress: {
            auto* key = static_cast<QKeyEvent*>(event);
            if (IsJudged(key))
                break;
            Judge(key);
            if (m_judgedRepeat && CameAfterKeyDown(watched)) {
                key->accept();
                return true;
            }
            break;
        }
        case QEvent::KeyRelease:
            Released(static_cast<QKeyEvent*>(event));
            break;
        case QEvent::Show:
            if (watched->isWindowType())
                m_shownSince.insert(watched, ++m_sequence);
            break;
        case QEvent::Hide:
            if (watched->isWindowType())
                m_shownSince.remove(watched);
            break;
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

bool KeyRepeatFilter::IsRepeat(const QKeyEvent* event) const
{
    return IsJudged(event) && m_judgedRepeat;
}

bool KeyRepeatFilter::IsJudged(const QKeyEvent* event) const
{
    return event == m_judged && event->key() == m_judgedKey && event->timestamp() == m_judgedTime
           && event->isAutoRepeat() == m_judgedFlag;
}

void KeyRepeatFilter::Judge(const QKeyEvent* event)
{
    KeyState& key = m_keys[event->key()];
    bool repeat = false;
    if (const std::optional<bool> native = m_native.TakeRepeat(event->nativeVirtualKey())) {
        repeat = *native;
    } else {
        // Under X11 a repeat's release and press carry one timestamp.
        const bool pairedWithRelease = key.released && key.releaseTime != 0 && key.releaseTime == event->timestamp();
        // Qt's flag counts, but never after the key was seen let go: a new
        // press after a release is never a repeat, whichever window the
        // release went to.
        const bool flagged = event->isAutoRepeat() && !(key.released && key.releasedForReal);
        repeat = pairedWithRelease || flagged;
    }
    key = KeyState{false, false, 0, repeat ? key.downSince : ++m_sequence};
    m_judged = event;
    m_judgedKey = event->key();
    m_judgedTime = event->timestamp();
    m_judgedFlag = event->isAutoRepeat();
    m_judgedRepeat = repeat;
}

bool KeyRepeatFilter::CameAfterKeyDown(QObject* receiver) const
{
    const QObject* window = receiver;
    if (receiver->isWidgetType())
        window = static_cast<const QWidget*>(receiver)->window()->windowHandle();
    const auto shown = m_shownSince.constFind(window);
    return shown != m_shownSince.cend() && *shown > m_keys.value(m_judgedKey).downSince;
}

void KeyRepeatFilter::Released(const QKeyEvent* event)
{
    KeyState& key = m_keys[event->key()];
    key = KeyState{true, !event->isAutoRepeat(), event->timestamp(), key.downSince};
    m_judged = nullptr;
}

void KeyRepeatFilter::LetGoOfEveryKey()
{
    for (KeyState& key : m_keys)
        key = KeyState{true, true, 0, key.downSince};
    m_judged = nullptr;
}

}  // namespace tavlo::ui::platform
