// Start-up to the first painted frame, as a whole process: builds either the
// real main window (on the settings file given as the argument) or a bare
// Qt window, and quits as soon as the window has painted once. Timed from
// outside, side by side.
//
//   tavlo_first_frame tavlo <settings file>
//   tavlo_first_frame bare
#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <cstring>
#include <memory>

#include "engine/draw_state.h"
#include "platform/qt/message_boxes.h"
#include "platform/random_source.h"
#include "settings/settings_file.h"
#include "ui/main/main_window.h"

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

}  // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    const bool bare = argc < 3 || std::strcmp(argv[1], "bare") == 0;

    FirstPaint watcher;
    tavlo::SettingsFile settings(bare ? std::string() : std::string(argv[2]));
    tavlo::platform::SystemRandomSource random;
    tavlo::DrawState state(settings, random);
    tavlo::platform::QtMessageBoxes boxes;

    std::unique_ptr<QWidget> window;
    if (bare) {
        window = std::make_unique<QWidget>();
        window->resize(705, 445);
    } else {
        window = std::make_unique<tavlo::frmTavlo>(state, boxes);
    }
    window->installEventFilter(&watcher);
    window->show();
    return QApplication::exec();
}
