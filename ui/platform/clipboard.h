#pragma once

#include <QStringList>

namespace tavlo::ui::platform {

// Puts `lines` on the system clipboard as plain text, each line ended the way
// the platform's text files end theirs (CR LF on Windows, LF elsewhere), so
// that a paste into a text editor or a spreadsheet gives one row per line.
void CopyLinesToClipboard(const QStringList& lines);

}  // namespace tavlo::ui::platform
