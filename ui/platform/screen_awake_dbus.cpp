#include "ui/platform/screen_awake.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QObject>
#include <optional>

namespace tavlo::platform {

namespace {

// The freedesktop screen saver service, which desktops on Linux offer on the
// session bus.
const QString kService = QStringLiteral("org.freedesktop.ScreenSaver");
const QString kPath = QStringLiteral("/org/freedesktop/ScreenSaver");
const QString kInterface = QStringLiteral("org.freedesktop.ScreenSaver");
// The reason a desktop shows in its list of what keeps the screen on.
const QString kReason = QStringLiteral("抽選中");
// No call keeps the window waiting; only the last release, at the end of the
// program, is waited for, and no longer than this.
constexpr int kTimeoutMs = 500;

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
    // An Inhibit still on its way would hold the screen on past the end of
    // the program: its cookie is waited for and given back.
    if (m_inhibit) {
        QDBusPendingCall call = *m_inhibit;
        call.waitForFinished();
        Answered(call);
    }
    Release();
    // An UnInhibit left in the queue when the process ends might never leave.
    if (m_release)
        m_release->waitForFinished();
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
    m_inhibit = m_bus->asyncCall(message, kTimeoutMs);
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
    m_release = m_bus->asyncCall(message, kTimeoutMs);
}

}  // namespace

std::unique_ptr<ScreenAwake> SystemScreenAwake()
{
    return std::make_unique<ScreenSaverAwake>();
}

}  // namespace tavlo::platform
