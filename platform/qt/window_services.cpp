#include "platform/qt/window_services.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEventLoop>
#include <QWidget>

namespace tavlo::platform {

void RepaintNow(QWidget* widget)
{
    if (widget == nullptr)
        return;
    // repaint() paints the window and all its children before it returns,
    // unlike update(), which waits for the event loop.
    widget->window()->repaint();
}

void PumpEvents()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void Beep()
{
    QApplication::beep();
}

}  // namespace tavlo::platform
