#pragma once

#include <QDialog>
#include <QRect>

#include "ui/results/result_layout.h"

class QAction;
class QKeyEvent;
class QListWidget;
class QPushButton;
class QResizeEvent;

namespace tavlo {

class DrawState;

// The result window: one line per draw, in the order of drawing, read from the
// draw state once when the window is built. The owner shows it modally and
// lets it go when it closes, so every showing starts afresh.
class frmResultList : public QDialog {
    Q_OBJECT

public:
    frmResultList(const DrawState& state, QWidget* owner);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Where the last layout put a control, exactly in twips and as the pixel
    // rectangle that became of it.
    struct Placement {
        ui::platform::TwipsBox twips;
        QRect pixels;
    };

    // Every line of the list, as shown, to the clipboard.
    void CopyResults();
    void ShowContextMenu(const QPoint& viewportPos);
    void LayOut();
    void KeepWholeLines();
    static void Place(QWidget* control, Placement& placement, const ui::platform::TwipsBox& box);
    static ui::platform::TwipsBox ReadBack(const QWidget* control, const Placement& placement);

    QListWidget* lstResult = nullptr;
    QPushButton* cmdClose = nullptr;
    // Ctrl+C, Ctrl+Insert and the list's context menu.
    QAction* m_copyAction = nullptr;
    Placement m_listPlacement;
    Placement m_buttonPlacement;
};

}  // namespace tavlo
