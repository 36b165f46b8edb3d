// The event pump on Windows, where keys and clicks arrive as messages in the
// thread's own queue rather than as Qt's posted events.
#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QtTest>

#include <windows.h>

#include "ui/platform/window_services.h"

namespace {

constexpr UINT kProbeMessage = WM_APP + 7;

class MessageCounter : public QAbstractNativeEventFilter {
public:
    bool nativeEventFilter(const QByteArray&, void* message, qintptr*) override
    {
        if (static_cast<const MSG*>(message)->message == kProbeMessage)
            ++seen;
        return false;
    }
    int seen = 0;
};

}  // namespace

class PlatformWindowServicesWinTest : public QObject {
    Q_OBJECT

private slots:
    void pumpAfterPumpReadsTheMessageQueue();
};

// Pump after pump, as the spin loop runs it: each pass reads the queue.
void PlatformWindowServicesWinTest::pumpAfterPumpReadsTheMessageQueue()
{
    MessageCounter counter;
    QCoreApplication::instance()->installNativeEventFilter(&counter);
    for (int pass = 1; pass <= 3; ++pass) {
        tavlo::ui::platform::PumpEvents();
        QVERIFY(PostThreadMessageW(GetCurrentThreadId(), kProbeMessage, 0, 0));
        tavlo::ui::platform::PumpEvents();
        QCOMPARE(counter.seen, pass);
    }
    QCoreApplication::instance()->removeNativeEventFilter(&counter);
}

QTEST_MAIN(PlatformWindowServicesWinTest)
#include "platform_window_services_win_test.moc"
