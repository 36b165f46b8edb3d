#pragma once

class QWidget;

namespace tavlo::platform {

// Repaints the whole window of `widget` before returning, so a change shows
// while a long handler is still running.
void RepaintNow(QWidget* widget);

// Handles every pending event, nested inside the running handler, then
// returns. False once the application has been told to exit, so a loop that
// pumps can let go.
bool PumpEvents();

// The system's default beep.
void Beep();

}  // namespace tavlo::platform
