#pragma once

#include <QString>

class QCoreApplication;

namespace tavlo::ui::platform {

// Puts the texts that Qt draws itself (the standard menu of a text box, the
// buttons of its own dialogs) into Japanese, whatever the system's language:
// the program is Japanese throughout. Qt's translation qtbase_ja.qm is looked
// for first in translations/ of `programFolder` (the Windows zip carries it
// there), then in Qt's own translations folder. Installed on `app`, which
// owns it; false when neither place has it, and Qt's English texts stay.
bool InstallToolkitTranslation(QCoreApplication& app, const QString& programFolder);

}  // namespace tavlo::ui::platform
