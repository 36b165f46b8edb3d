#include "ui/platform/native_key_repeats.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QGuiApplication>
#include <deque>
#include <map>

#include <windows.h>

namespace tavlo::ui::platform {

// Watches the press messages of the keys that act in the program (Enter,
// Space, PageDown) before Qt reads them. Qt may hand several messages on
// before its key events arrive, so each key keeps its answers in order.
class NativeKeyRepeats::Watcher final : public QAbstractNativeEventFilter {
public:
    Watcher()
    {
        QCoreApplication::instance()->installNativeEventFilter(this);
        // Qt forgets its own record of the keys pressed there as well.
        m_connection =
            QObject::connect(qGuiApp, &QGuiApplication::applicationStateChanged, [this](Qt::ApplicationState state) {
                if (state != Qt::ApplicationActive)
                    m_presses.clear();
            });
    }
    ~Watcher() override
    {
        QObject::disconnect(m_connection);
        QCoreApplication::instance()->removeNativeEventFilter(this);
    }
    Watcher(const Watcher&) = delete;
    Watcher& operator=(const Watcher&) = delete;

    bool nativeEventFilter(const QByteArray&, void* message, qintptr*) override
    {
        const MSG* msg = static_cast<const MSG*>(message);
        if (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN)
            return false;
        const auto key = static_cast<quint32>(msg->wParam);
        if (key != VK_RETURN && key != VK_SPACE && key != VK_NEXT)
            return false;
        std::deque<bool>& presses = m_presses[key];
        // Bit 30: the key was down before this message.
        presses.push_back((msg->lParam & 0x40000000) != 0);
        // Answers nobody took (a key event Qt never sent) must not pile up.
        constexpr std::size_t kMaxWaiting = 16;
        if (presses.size() > kMaxWaiting)
            presses.pop_front();
        return false;
    }

    std::optional<bool> Take(quint32 key)
    {
        const auto found = m_presses.find(key);
        if (found == m_presses.end() || found->second.empty())
            return std::nullopt;
        const bool repeat = found->second.front();
        found->second.pop_front();
        return repeat;
    }

private:
    std::map<quint32, std::deque<bool>> m_presses;
    QMetaObject::Connection m_connection;
};

NativeKeyRepeats::NativeKeyRepeats() : m_watcher(std::make_unique<Watcher>()) {}

NativeKeyRepeats::~NativeKeyRepeats() = default;

std::optional<bool> NativeKeyRepeats::TakeRepeat(quint32 nativeVirtualKey)
{
    return m_watcher->Take(nativeVirtualKey);
}

}  // namespace tavlo::ui::platform
