// Keeping the display awake on Windows: the thread's execution state asks
// for the display and the system while held, and for nothing once let go.
#include <QtTest>

#include <windows.h>

#include "ui/platform/screen_awake.h"

class PlatformScreenAwakeWinTest : public QObject {
    Q_OBJECT

private slots:
    void holdsAndLetsGo()
    {
        constexpr EXECUTION_STATE kHeld = ES_CONTINUOUS | ES_DISPLAY_REQUIRED | ES_SYSTEM_REQUIRED;
        // Each call answers the state before it; ES_CONTINUOUS alone asks for
        // nothing, so the probe leaves no request behind.
        const auto stateNow = [] { return ::SetThreadExecutionState(ES_CONTINUOUS); };
        {
            const auto awake = tavlo::ui::platform::SystemScreenAwake();
            awake->Hold();
            QCOMPARE(stateNow() & kHeld, kHeld);
            awake->Hold();
            awake->Release();
            QCOMPARE(stateNow() & (ES_DISPLAY_REQUIRED | ES_SYSTEM_REQUIRED), EXECUTION_STATE{0});
            awake->Hold();
        }
        // Destroyed while held: let go.
        QCOMPARE(stateNow() & (ES_DISPLAY_REQUIRED | ES_SYSTEM_REQUIRED), EXECUTION_STATE{0});
    }
};

QTEST_GUILESS_MAIN(PlatformScreenAwakeWinTest)
#include "platform_screen_awake_win_test.moc"
