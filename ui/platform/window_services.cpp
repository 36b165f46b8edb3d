#include "ui/platform/window_services.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <QWidget>

namespace tavlo::ui::platform {

void RepaintNow(QWidget* widget)
{
    if (widget == nullptr)
        return;
    // repaint() paints the window and all its children before it returns,
    // unlike update(), which waits for the event loop.
    widget->window()->repaint();
}

bool PumpEvents()
{
    // The probe below ends with QEventLoop::exit(), which interrupts the event
    // dispatcher. Qt's Windows dispatcher answers the next processEvents()
    // after an interrupt by sending Qt's posted events only: it returns before
    // reading a single Windows message, so keys and clicks would never arrive
    // while a handler pumps in a loop. The first call takes that interrupt
    // back; the second reads the message queue.
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    // processEvents() cannot tell that QCoreApplication::exit() was called:
    // exit() only ends the event loops that are running. So a short loop of
    // our own goes round once more; ended by its own zero timer it returns
    // kDone, ended by exit() (or refused to start after it) anything else.
    constexpr int kDone = 0x7A5710;
    QEventLoop probe;
    QTimer::singleShot(0, &probe, [&probe] { probe.exit(kDone); });
    return probe.exec() == kDone;
}

void Beep()
{
    QApplication::beep();
}

void ActivateWindow(QWidget* widget)
{
    if (widget == nullptr)
        return;
    QWidget* window = widget->window();
    if (!window->isVisible())
        return;
    window->raise();
    window->activateWindow();
}

}  // namespace tavlo::ui::platform
