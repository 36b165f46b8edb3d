#include "ui/platform/screen_awake.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDeadlineTimer>
#include <QObject>
#include <QThread>
#include <limits>
#include <optional>

namespace tavlo::ui::platform {

namespace {

// The freedesktop screen saver service, which desktops on Linux offer on the
// session bus.
const QString kService = QStringLiteral("org.freedesktop.ScreenSaver");
const QString kPath = QStringLiteral("/org/freedesktop/ScreenSaver");
const QString kInterface = QStringLiteral("org.freedesktop.ScreenSaver");
// The reason a desktop shows in its list of what keeps the screen on.
const QString kReason = QStringLiteral("抽選中");
// No call keeps the window waiting, and none is given up while the program
// runs: a slow service's cookie still arrives, and is given back at once if
// the display need not stay awake any more. (libdbus's "no timeout".)
constexpr int kNoTimeout = std::numeric_limits<int>::max();
// At the end of the program, the longest wait for an Inhibit still on its way
// and the last UnInhibit together. Whatever is left then, the service forgets
// when the bus drops the program's connection.
constexpr qint64 kLastWaitMs = 500;

// Waits for the answer to `call` until `deadline`. The answers arrive on Qt's
// own bus thread, without the event loop of this one.
bool Await(const QDBusPendingCall& call, const QDeadlineTimer& deadline)
{
    while (!call.isFinished() && !deadline.hasExpired())
        QThread::msleep(5);
    return call.isFinished();
}

// Inhibit and UnInhibit, sent without waiting for the answer. The session bus
// is first reached when the display is first to stay awake, after the window
// has been shown.
class ScreenSaverAwake final : public QObject, public ScreenAwake {
public:
    ScreenSaverAwake() = default;
    ScreenSaverAwake(const ScreenSaverAwake&) = delete;
    ScreenSaverAwake& operator=(const ScreenSaverAwake&) = delete;
    ~ScreenSaverAwake() override;

    void Hold() override;
    void Release() override;

private:
    void Answered(const QDBusPendingCall& call);
    QDBusMessage Call(const QString& method) const
    {
        QDBusMessage message = QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
        // Nothing is started for it: without a desktop that offers the
        // service, there is no screen saver to hold off either.
        message.setAutoStartService(false);
        return message;
    }

    std::optional<QDBusConnection> m_bus;
    bool m_wanted = false;
    std::optional<QDBusPendingCall> m_inhibit;  // asked, not answered yet
    std::optional<quint32> m_cookie;            // held
    std::optional<QDBusPendingCall> m_release;  // the last UnInhibit
};

ScreenSaverAwake::~ScreenSaverAwake()
{
    m_wanted = false;
    const QDeadlineTimer deadline(kLastWaitMs);
    // An Inhibit still on its way would hold the screen on past the end of
    // the program: its cookie is waited for and given back.
    if (m_inhibit) {
        const QDBusPendingCall call = *m_inhibit;
        if (Await(call, deadline))
            Answered(call);
    }
    Release();
    // An UnInhibit left in the queue when the process ends might never leave.
    if (m_release)
        Await(*m_release, deadline);
}

void ScreenSaverAwake::Hold()
{
    m_wanted = true;
    if (m_cookie || m_inhibit)
        return;
    if (!m_bus)
        m_bus = QDBusConnection::sessionBus();
    if (!m_bus->isConnected())
        return;
    QDBusMessage message = Call(QStringLiteral("Inhibit"));
    message << QCoreApplication::applicationName() << kReason;
    m_inhibit = m_bus->asyncCall(message, kNoTimeout);
    auto* watcher = new QDBusPendingCallWatcher(*m_inhibit, this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* finished) {
        finished->deleteLater();
        Answered(*finished);
    });
}

void ScreenSaverAwake::Answered(const QDBusPendingCall& call)
{
    if (!m_inhibit)
        return;  // already taken at the end of the program
    m_inhibit.reset();
    const QDBusPendingReply<quint32> reply = call;
    if (reply.isError())
        return;  // no such service: nothing to hold, nothing to say
    m_cookie = reply.value();
    if (!m_wanted)
        Release();  // let go while the question was on its way
}

void ScreenSaverAwake::Release()
{
    m_wanted = false;
    if (!m_cookie)
        return;
    QDBusMessage message = Call(QStringLiteral("UnInhibit"));
    message << *m_cookie;
    m_cookie.reset();
    m_release = m_bus->asyncCall(message, kNoTimeout);
}

}  // namespace

std::unique_ptr<ScreenAwake> SystemScreenAwake()
{
    return std::make_unique<ScreenSaverAwake>();
}

}  // namespace tavlo::ui::platform
