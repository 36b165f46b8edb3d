#pragma once

#include <QObject>

class QWidget;

namespace tavlo {

namespace ui::platform {
class ScreenAwake;
}

// Keeps the display awake while the program is in use: while one of its
// windows is the active window and the main window is shown and not
// minimised. Lets go when that ends, and at the latest when destroyed.
class AwakeWhileActive final : public QObject {
public:
    AwakeWhileActive(QWidget& mainWindow, ui::platform::ScreenAwake& awake);
    AwakeWhileActive(const AwakeWhileActive&) = delete;
    AwakeWhileActive& operator=(const AwakeWhileActive&) = delete;
    ~AwakeWhileActive() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Update();

    QWidget& m_mainWindow;
    ui::platform::ScreenAwake& m_awake;
    bool m_held = false;
};

}  // namespace tavlo
