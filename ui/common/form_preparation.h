#pragma once

#include <cstdint>
#include <QList>
#include <optional>

class QWidget;

// Control preparation, run by every window before it is first seen.
//
// A control's designed "MaxLength" (text boxes) and "Tag" (any control) are
// dynamic properties of that name; absent means 0 and "". The kinds map onto
// Qt as: text box = QLineEdit, combo box = QComboBox (not editable = style 2),
// frame = QGroupBox or a plain QFrame, option button = QRadioButton, check
// box = QCheckBox, list box = QListWidget, label = QLabel.
namespace tavlo {

// Walks the window's controls in design order: text boxes get their designed
// length limit, combo boxes the limit in their tag ("MaxLength=n"), frames,
// option buttons and check boxes the window's background unless they hold the
// keep-colour marker 0xC0C0C0, and buttons and other controls the window's
// background. With `backColor`, the window takes that colour first.
void PrepareFormControls(QWidget* window, std::optional<std::uint32_t> backColor = std::nullopt);

// Applies the length limit `n` (0: none) to a text box or combo box; a text
// box's designed MaxLength then reads 0. Other controls: nothing.
void SetMaxLength(QWidget* control, std::int16_t n);

// A window's controls in design order: its child widgets in the order they
// were created, the controls of frames included, layouts' internals excluded.
QList<QWidget*> FormControls(QWidget* window);

}  // namespace tavlo
