// Start-up to the first painted frame, as a whole process: builds the real
// main window (on the settings file given as the argument), a bare Qt window
// of its size, or a bare window that paints the texts the main window needs
// fonts for (one 216-pt digit, one Japanese label, one bold label) in the
// same fonts, and quits as soon as the window has painted once. Timed from
// outside, side by side.
//
//   tavlo_first_frame tavlo <settings file>
//   tavlo_first_frame bare
//   tavlo_first_frame texts
#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QTimer>
#include <QWidget>
#include <cstring>
#include <memory>

#include "engine/draw_state.h"
#include "platform/random_source.h"
#include "settings/settings_file.h"
#include "ui/main/main_window.h"
#include "ui/platform/fonts.h"
#include "ui/platform/message_boxes.h"
#include "ui/platform/screen_awake.h"

namespace {

// Quits the application once the watched window has painted.
class FirstPaint final : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        return QObject::eventFilter(watched, event);
    }
};

// The main window's size with only its three kinds of text painted.
class TextsWindow final : public QWidget {
public:
    TextsWindow() { resize(705, 445); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setFont(tavlo::platform::GothicFont(216));
        painter.drawText(QRect(16, 48, 163, 280), Qt::AlignCenter, QStringLiteral("0"));
        painter.setFont(tavlo::platform::GothicFont(12));
        painter.drawText(QRect(80, 8, 201, 25), Qt::AlignCenter, QStringLiteral("抽選範囲 : 未設定"));
        painter.setFont(tavlo::platform::GothicFont(12, 700));
        painter.drawText(QRect(408, 376, 185, 25), Qt::AlignLeft | Qt::AlignVCenter,
                         QStringLiteral("← Enterで動きます"));
    }
};

}  // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    const bool texts = argc >= 2 && std::strcmp(argv[1], "texts") == 0;
    const bool bare = texts || argc < 3 || std::strcmp(argv[1], "bare") == 0;

    FirstPaint watcher;
    tavlo::SettingsFile settings(bare ? std::string() : std::string(argv[2]));
    tavlo::platform::SystemRandomSource random;
    tavlo::DrawState state(settings, random);
    tavlo::platform::QtMessageBoxes boxes;
    const std::unique_ptr<tavlo::platform::ScreenAwake> awake = tavlo::platform::SystemScreenAwake();

    std::unique_ptr<QWidget> window;
    if (texts) {
        window = std::make_unique<TextsWindow>();
    } else if (bare) {
        window = std::make_unique<QWidget>();
        window->resize(705, 445);
    } else {
        window = std::make_unique<tavlo::frmTavlo>(state, boxes, *awake);
    }
    window->installEventFilter(&watcher);
    window->show();
    return QApplication::exec();
}
