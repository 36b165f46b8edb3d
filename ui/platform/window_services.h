#pragma once

class QWidget;

namespace tavlo::ui::platform {

// Repaints the whole window of `widget` before returning, so a change shows
// while a long handler is still running.
void RepaintNow(QWidget* widget);

// Handles every pending event, nested inside the running handler, then
// returns. False once the application has been told to exit, so a loop that
// pumps can let go.
bool PumpEvents();

// The system's default beep.
void Beep();

// Makes the window of `widget` the active window again, raised, once a modal
// window over it has closed. The window manager need not hand the activation
// back (some give it to no window at all), and keys would then reach nothing.
void ActivateWindow(QWidget* widget);

}  // namespace tavlo::ui::platform
