#include "ui/platform/system_ending.h"

#include <QObject>
#include <QTimer>
#include <utility>

#include <windows.h>

namespace tavlo::ui::platform {

namespace {

// The class of the window that hears the session end.
constexpr wchar_t kWindowClass[] = L"TavloSystemEnding";
// What the system lists beside the program while it holds the ending.
constexpr wchar_t kHoldReason[] = L"保存されていない抽選結果があります。";

}  // namespace

// The system asks every top-level window of the program before a log-off or
// shut-down (WM_QUERYENDSESSION) and tells them the outcome (WM_ENDSESSION).
// Qt is built without its session manager and answers yes for its own
// windows, so a hidden top-level window of ours, with its own window
// procedure, hears the messages whatever Qt platform plugin runs.
class SystemEnding::Watcher {
public:
    Watcher(EndingHandler& handler, std::function<void(int)> endProgram)
        : m_handler(handler), m_endProgram(std::move(endProgram)), m_instance(::GetModuleHandleW(nullptr))
    {
        WNDCLASSEXW windowClass = {};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = WindowProc;
        windowClass.hInstance = m_instance;
        windowClass.lpszClassName = kWindowClass;
        ::RegisterClassExW(&windowClass);
        // Never shown. Not a message-only window: those hear no session end.
        m_window = ::CreateWindowExW(WS_EX_TOOLWINDOW, kWindowClass, L"Tavlo", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                     m_instance, this);
    }
    ~Watcher()
    {
        if (m_window == nullptr)
            return;
        LetGo();
        ::DestroyWindow(m_window);
        ::UnregisterClassW(kWindowClass, m_instance);
    }
    Watcher(const Watcher&) = delete;
    Watcher& operator=(const Watcher&) = delete;

    void LetGo()
    {
        if (!m_held)
            return;
        ::ShutdownBlockReasonDestroy(m_window);
        m_held = false;
    }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_NCCREATE) {
            const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        auto* self = reinterpret_cast<Watcher*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self != nullptr && message == WM_QUERYENDSESSION)
            return self->MayEnd() ? TRUE : FALSE;
        if (self != nullptr && message == WM_ENDSESSION) {
            if (wParam != FALSE)
                self->End();
            return 0;
        }
        return ::DefWindowProcW(window, message, wParam, lParam);
    }

    // The system waits for this answer a few seconds at most, so the user is
    // asked after it has been given.
    bool MayEnd()
    {
        if (m_handler.SaveBeforeEnding()) {
            LetGo();
            return true;
        }
        if (!m_held) {
            ::ShutdownBlockReasonCreate(m_window, kHoldReason);
            m_held = true;
        }
        if (!m_asking) {
            m_asking = true;
            QTimer::singleShot(0, &m_context, [this] { Ask(); });
        }
        return false;
    }

    void Ask()
    {
        const bool end = m_handler.ConfirmEnding();
        m_asking = false;
        if (!end)
            return;
        LetGo();
        m_endProgram(0);
    }

    // The session ends once this message has been answered, held or not.
    void End()
    {
        m_handler.SaveBeforeEnding();
        LetGo();
        m_endProgram(0);
    }

    EndingHandler& m_handler;
    std::function<void(int)> m_endProgram;
    HINSTANCE m_instance;
    HWND m_window = nullptr;
    // The reason is registered with the system.
    bool m_held = false;
    // A question is waiting or open: another request does not ask again.
    bool m_asking = false;
    // A question still waiting goes with the watcher.
    QObject m_context;
};

SystemEnding::SystemEnding(EndingHandler& handler, std::function<void(int)> endProgram)
    : m_watcher(std::make_unique<Watcher>(handler, std::move(endProgram)))
{
}

SystemEnding::~SystemEnding() = default;

void SystemEnding::LetGo()
{
    m_watcher->LetGo();
}

}  // namespace tavlo::ui::platform
