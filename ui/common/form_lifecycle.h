#pragma once

#include <QList>
#include <cstdint>
#include <optional>

class QWidget;

// What every window runs at the two ends of its life: the preparation of its
// controls before it is first seen, and the closing hook.
//
// A window's controls are the widgets of its design: its descendants, the
// controls inside frames included, that carry a design name (a non-empty
// objectName not starting with "qt_"). Unnamed widgets and the parts Qt builds
// inside its own widgets (a combo box's line edit, a list's viewport and
// scroll bars) are not controls, and neither is another window, such as a
// dialog owned by this one; a container without a name of its own (a central
// widget, say) is looked through. In a window's class the members that hold
// its controls carry the design names bare (cmdStartStop, txtRangeMin,
// lstResult); every other private member takes "m_".
//
// A text box's designed "MaxLength" and a control's "Tag" are dynamic
// properties of that name (an int and a QString); absent means 0 and "". The
// kinds map onto Qt as: text box = QLineEdit, combo box = QComboBox (not
// editable = style 2), frame = QGroupBox or a plain QFrame, option button =
// QRadioButton, check box = QCheckBox, list box = QListView / QListWidget,
// label = QLabel; everything else, command buttons among them, takes the
// window's background.
namespace tavlo {

// Walks the window's controls in design order: text boxes get their designed
// length limit, combo boxes the limit in their tag ("MaxLength=n" at the start
// or after a ";", any letter case), frames, option buttons and check boxes the
// window's background unless they hold the keep-colour marker 0xC0C0C0, and
// buttons and other controls the window's background. With `backColor`, the
// window takes that colour first.
void PrepareFormControls(QWidget* window, std::optional<std::uint32_t> backColor = std::nullopt);

// Applies the length limit `n` to a text box or an editable combo box; 0 or a
// negative n lifts the limit (to 32767, the toolkit's largest). A text box's
// designed MaxLength then reads 0. Other controls: nothing.
void SetMaxLength(QWidget* control, std::int16_t n);

// A window's controls in design order: the order in which they were created,
// each frame's controls right after the frame.
QList<QWidget*> FormControls(QWidget* window);

// Why a window closes, as handed to its closing hook.
enum class UnloadMode : int {
    CloseBox = 0,  // the user closed it from its title bar
    Code = 1,      // the program closed it: OK, Cancel
};

// The closing hook of a window. It never cancels.
void NotifyFormClosing(QWidget* window, bool& cancel, UnloadMode unloadMode);

}  // namespace tavlo
