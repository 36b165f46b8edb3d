#include "ui/platform/system_ending.h"

#include <QSocketNotifier>
#include <array>
#include <cerrno>
#include <csignal>
#include <utility>

#include <fcntl.h>
#include <unistd.h>

namespace tavlo::ui::platform {

namespace {

constexpr std::array kEndingSignals{SIGTERM, SIGHUP, SIGINT};
// A shell's convention for a program ended by a signal.
constexpr int kSignalExitBase = 128;

// A signal handler is given the signal's number and nothing else, so the pipe
// it reports to has to be where it can reach it: the one thing of the
// program that lives outside every object. Set while a Watcher lives.
volatile std::sig_atomic_t g_reportPipe = -1;

// Runs in whatever thread the signal hit, between any two instructions: it
// only writes the number into the pipe, which the event loop reads.
extern "C" void ReportEndingSignal(int signal)
{
    const int savedErrno = errno;
    const auto number = static_cast<unsigned char>(signal);
    // A full pipe already holds a report; nothing is lost by dropping this one.
    [[maybe_unused]] const ssize_t written = ::write(g_reportPipe, &number, 1);
    errno = savedErrno;
}

bool MakePipe(std::array<int, 2>& ends)
{
    if (::pipe(ends.data()) != 0)
        return false;
    for (const int end : ends) {
        ::fcntl(end, F_SETFD, FD_CLOEXEC);
        ::fcntl(end, F_SETFL, ::fcntl(end, F_GETFL) | O_NONBLOCK);
    }
    return true;
}

}  // namespace

class SystemEnding::Watcher {
public:
    Watcher(EndingHandler& handler, std::function<void(int)> endProgram)
        : m_handler(handler), m_endProgram(std::move(endProgram))
    {
        // Without a pipe the signals keep the system's own handling.
        if (!MakePipe(m_pipe))
            return;
        g_reportPipe = m_pipe[1];
        m_notifier = std::make_unique<QSocketNotifier>(m_pipe[0], QSocketNotifier::Read);
        QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this] { Read(); });
        struct sigaction action = {};
        action.sa_handler = ReportEndingSignal;
        sigemptyset(&action.sa_mask);
        // A system call the signal interrupts goes on: the event loop ends
        // the program, not a failed read or write.
        action.sa_flags = SA_RESTART;
        for (std::size_t i = 0; i < kEndingSignals.size(); ++i) {
            // A signal the program was started to ignore (SIGHUP under
            // nohup, SIGINT in the background) stays ignored.
            ::sigaction(kEndingSignals[i], nullptr, &m_previous[i]);
            if (m_previous[i].sa_handler != SIG_IGN)
                ::sigaction(kEndingSignals[i], &action, nullptr);
        }
        m_installed = true;
    }
    ~Watcher()
    {
        Restore();
        m_notifier.reset();
        if (m_pipe[0] >= 0) {
            g_reportPipe = -1;
            ::close(m_pipe[0]);
            ::close(m_pipe[1]);
        }
    }
    Watcher(const Watcher&) = delete;
    Watcher& operator=(const Watcher&) = delete;

private:
    void Restore()
    {
        if (!m_installed)
            return;
        for (std::size_t i = 0; i < kEndingSignals.size(); ++i)
            ::sigaction(kEndingSignals[i], &m_previous[i], nullptr);
        m_installed = false;
    }

    void Read()
    {
        unsigned char number = 0;
        int first = 0;
        while (::read(m_pipe[0], &number, 1) == 1) {
            if (first == 0)
                first = number;
        }
        if (first == 0 || !m_installed)
            return;
        // The ending is under way: should it hang, the next signal ends the
        // program as the system would have.
        Restore();
        m_handler.SaveBeforeEnding();
        m_endProgram(kSignalExitBase + first);
    }

    EndingHandler& m_handler;
    std::function<void(int)> m_endProgram;
    std::array<int, 2> m_pipe{-1, -1};
    std::unique_ptr<QSocketNotifier> m_notifier;
    std::array<struct sigaction, kEndingSignals.size()> m_previous{};
    bool m_installed = false;
};

SystemEnding::SystemEnding(EndingHandler& handler, std::function<void(int)> endProgram)
    : m_watcher(std::make_unique<Watcher>(handler, std::move(endProgram)))
{
}

SystemEnding::~SystemEnding() = default;

// Nothing is held on these systems: the program ends at once.
void SystemEnding::LetGo() {}

}  // namespace tavlo::ui::platform
