#pragma once

#include <functional>
#include <memory>

namespace tavlo::ui::platform {

// What the program does when the system ends it; the main window answers.
class EndingHandler {
public:
    virtual ~EndingHandler() = default;
    // Writes once more what only memory holds. True when nothing would be lost.
    virtual bool SaveBeforeEnding() = 0;
    // Asks the user, as at a close request, whether the program may end
    // although the write still fails. True when it may.
    virtual bool ConfirmEnding() = 0;
};

// Hears the system end the program and lets the handler save first.
//
// Linux and other Unix systems: SIGTERM (log-out, shut-down, kill), SIGHUP
// and SIGINT. The save is tried, then the program ends, whatever it is doing:
// spinning, or inside a modal window or a message box. A second such signal
// acts as it would without the program's handling.
//
// Windows: log-off and shut-down. The save is tried when the system asks; if
// it fails, the ending is held with a reason the system shows, and the user
// is asked; the hold goes when the file catches up or the program ends.
//
// `endProgram` ends the program with an exit code; the program's own is
// QCoreApplication::exit(), which ends every nested event loop as well. One
// instance at a time: Unix signals have one handler per process.
class SystemEnding {
public:
    SystemEnding(EndingHandler& handler, std::function<void(int exitCode)> endProgram);
    ~SystemEnding();
    SystemEnding(const SystemEnding&) = delete;
    SystemEnding& operator=(const SystemEnding&) = delete;

    // Nothing would be lost any more: an ending held until now is let go.
    void LetGo();

private:
    class Watcher;
    std::unique_ptr<Watcher> m_watcher;
};

}  // namespace tavlo::ui::platform
