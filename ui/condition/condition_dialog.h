#pragma once

#include <QDialog>

#include "ui/common/form_lifecycle.h"
#include "ui/common/window_messages.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace tavlo {

class DrawState;
class FocusValidator;
class MainWindowLink;
namespace ui::platform {
class MessageBoxes;
}

// The condition dialog: the user types the drawing range, From and To. Each
// box is checked when the focus leaves it; OK checks the pair, settles with
// the user what becomes of the numbers already drawn, stores the range and
// has the main window show it. Built afresh for every showing; Cancel and the
// close box store nothing.
class frmCondition : public QDialog {
    Q_OBJECT

public:
    // Runs the load: prepares the controls and fills the boxes from the range.
    // `owner` is the main window; the dialog is shown modally over it.
    frmCondition(DrawState& state, ui::platform::MessageBoxes& boxes, MainWindowLink& mainWindow, QWidget* owner);
    ~frmCondition() override;

    // Every way of closing passes here: the closing hook runs first.
    void done(int result) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    void Load();

    void BoxGotFocus(QLineEdit* box, Qt::FocusReason reason);
    void FocusAfterWarning(QLineEdit* box);
    bool CheckBox(QLineEdit* box, const QString& suffix);
    QString RangeLabelText() const;

    void cmdOK_Click();
    void cmdCancel_Click();

    DrawState& m_state;
    WindowMessages m_messages;
    MainWindowLink& m_mainWindow;
    FocusValidator* m_validator = nullptr;
    // The unload mode handed to the closing hook.
    UnloadMode m_unloadMode = UnloadMode::Code;
    // Until a box has had the focus once, the window's activation brings the
    // first arrival; afterwards it only means a return from another window.
    bool m_focusArrived = false;
    // A box that took the focus from a press waits for the release to select.
    QLineEdit* m_selectOnRelease = nullptr;

    QLabel* lblRange = nullptr;
    QLineEdit* txtRangeMin = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* txtRangeMax = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
};

}  // namespace tavlo
