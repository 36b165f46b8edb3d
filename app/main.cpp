// Tavlo: draws lots. main() owns the draw state and the services and hands
// them to the main window; the program ends when that window closes.
#include <QApplication>
#include <QIcon>
#include <memory>
#include <string>

#include "engine/draw_state.h"
#include "platform/executable_dir.h"
#include "platform/held_folder.h"
#include "platform/instance_lock.h"
#include "platform/random_source.h"
#include "settings/profile.h"
#include "settings/settings_file.h"
#include "ui/main/main_window.h"
#include "ui/platform/fonts.h"
#include "ui/platform/message_boxes.h"
#include "ui/platform/screen_awake.h"

int main(int argc, char* argv[])
{
    // The settings file lives beside the program: without the program's
    // folder there is no place for the drawing and no lock to hold.
    const std::string folder = tavlo::platform::ExecutableDirectory();
    if (folder.empty()) {
        QApplication app(argc, argv);
        tavlo::platform::QtMessageBoxes boxes;
        // No window yet to own the warning or lend it a caption.
        boxes.Warn(nullptr,
                   QStringLiteral("プログラムのあるフォルダーを特定できないため、起動できません。\n"
                                  "設定ファイル Tavlo.ini はプログラムと同じフォルダーに置かれます。"),
                   QStringLiteral("Tavlo"));
        return 1;
    }

    // The drawing stays with this folder while the program runs, wherever
    // the program file or the folder is moved meanwhile.
    const tavlo::platform::HeldFolder home(folder);
    tavlo::SettingsFile settings(home);  // Tavlo.ini beside the program

    // One instance per settings file: a second start ends at once and
    // without a word; the first goes on.
    const tavlo::platform::InstanceLock instance(home.File(tavlo::kProfileFileName));
    if (!instance.owns())
        return 0;

    // Nobody else writes the file now: what killed writes left can go.
    settings.RemoveLeftovers();

    QApplication app(argc, argv);
    tavlo::platform::UseWindowFontByDefault();
    // The icon for every window, and the desktop entry that names it.
    QIcon icon;
    for (const int size : {16, 32, 48, 256})
        icon.addFile(QStringLiteral(":/icons/tavlo-%1.png").arg(size));
    QApplication::setWindowIcon(icon);
    QGuiApplication::setDesktopFileName(QStringLiteral("tavlo"));

    tavlo::platform::SystemRandomSource random;
    tavlo::DrawState state(settings, random);
    tavlo::platform::QtMessageBoxes boxes;
    const std::unique_ptr<tavlo::platform::ScreenAwake> awake = tavlo::platform::SystemScreenAwake();

    tavlo::frmTavlo window(state, boxes, *awake);
    window.show();
    return QApplication::exec();
}
