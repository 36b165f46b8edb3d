#pragma once

#include <QWidget>

#include "ui/common/main_window_link.h"
#include "ui/common/window_messages.h"
#include "ui/main/awake_while_active.h"
#include "ui/platform/key_repeat_filter.h"
#include "ui/platform/system_ending.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace tavlo {

class DrawState;
namespace ui::platform {
class MessageBoxes;
class ScreenAwake;
}  // namespace ui::platform

// The main window: the three-digit display, the range and ordinal displays,
// the START/STOP button and the commands that open the other windows, clear
// the results and end the program. It lives as long as the program.
//
// The spin state lives in the caption of cmdStartStop and nowhere else:
// "START" when idle, "STOP" while the digits spin.
//
// When the system ends the program (ui::platform::SystemEnding), the window
// saves what it can and, where the system waits, asks as at a close request;
// a spin does not refuse that ending, since the draw is already recorded.
class frmTavlo : public QWidget, public MainWindowLink, public ui::platform::EndingHandler {
    Q_OBJECT

public:
    // Runs the load sequence: prepares the controls, reads the range and the
    // results from the settings file and shows them. `awake` keeps the
    // display on while the program is in use.
    frmTavlo(DrawState& state, ui::platform::MessageBoxes& boxes, ui::platform::ScreenAwake& awake,
             QWidget* parent = nullptr);
    ~frmTavlo() override;

    // Shows the range, or that none is set.
    void EditRange() override;
    // CountMode::Next: "次 " and the ordinal of the next draw; any other mode:
    // the ordinal of the last draw made.
    void EditCount(CountMode enmCountMode) override;
    // Forgets every draw, in memory and in the settings file.
    void ClearResult();

    bool IsSpinning() const;

    // Tries the write once more when the settings file lacks a draw.
    bool SaveBeforeEnding() override;
    // True when the file is caught up or, asked, the user lets the unsaved
    // draws go.
    bool ConfirmEnding() override;

signals:
    // After every pass of the spin loop, once the digits have been advanced
    // and repainted.
    void spinAdvanced();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    void Load();

    void cmdStartStop_Click();
    void Start();
    void Stop();
    void cmdCondition_Click();
    void cmdResultList_Click();
    void cmdClearResult_Click();
    void cmdEnd_Click();

    QString StartStopCaption() const;
    void SetStartStopCaption(const QString& caption);
    void WarnIfNotSaved(bool saved);
    // Tells of a journal that could not be kept, once per run, never in the
    // middle of a draw.
    void WarnIfLogFailed();

    DrawState& m_state;
    WindowMessages m_messages;
    ui::platform::KeyRepeatFilter m_keys;
    // True while a spin loop runs, until it has shown its number.
    bool m_inSpinLoop = false;
    AwakeWhileActive m_awake;

    QLineEdit* txtRange = nullptr;
    QLineEdit* txtCount = nullptr;
    QLineEdit* txt100 = nullptr;
    QLineEdit* txt10 = nullptr;
    QLineEdit* txt1 = nullptr;
    // Not in the design: the whole number for a screen reader (see CreateControls).
    QLabel* lblNumber = nullptr;
    QPushButton* cmdStartStop = nullptr;
    QPushButton* cmdResultList = nullptr;
    QPushButton* cmdCondition = nullptr;
    QPushButton* cmdClearResult = nullptr;
    QPushButton* cmdEnd = nullptr;
    QLabel* Label1 = nullptr;
};

}  // namespace tavlo
