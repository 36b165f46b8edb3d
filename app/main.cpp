// Tavlo: draws lots. main() owns the draw state and the services and hands
// them to the main window; the program ends when that window closes.
#include <QApplication>
#include <QIcon>
#include <memory>
#include <string>

#include "engine/draw_state.h"
#include "journal/journal.h"
#include "platform/executable_dir.h"
#include "platform/held_folder.h"
#include "platform/instance_lock.h"
#include "platform/random_source.h"
#include "platform/settings_folder.h"
#include "settings/settings_file.h"
#include "ui/main/main_window.h"
#include "ui/platform/fonts.h"
#include "ui/platform/message_boxes.h"
#include "ui/platform/screen_awake.h"
#include "ui/platform/system_ending.h"
#include "ui/platform/toolkit_translation.h"

int main(int argc, char* argv[])
{
    // Without a place for the settings file there is no drawing and no lock.
    const auto refuse = [&argc, argv](const QString& text) {
        const QApplication app(argc, argv);
        tavlo::ui::platform::QtMessageBoxes boxes;
        // No window yet to own the warning or lend it a caption.
        boxes.Warn(nullptr, text, QStringLiteral("Tavlo"));
        return 1;
    };
    const std::string programFolder = tavlo::platform::ExecutableDirectory();
    if (programFolder.empty())
        return refuse(
            QStringLiteral("プログラムのあるフォルダーを特定できないため、起動できません。\n"
                           "設定ファイル Tavlo.ini はプログラムと同じフォルダーに置かれます。"));
    // Beside a portable program; in the account's settings folder for one
    // installed on Linux.
    const std::string folder = tavlo::platform::SettingsFolder(programFolder);
    if (folder.empty())
        return refuse(
            QStringLiteral("このアカウントのホームフォルダーを特定できないため、起動できません。\n"
                           "設定ファイル Tavlo.ini はアカウントごとの設定フォルダーに置かれます。"));

    // The drawing stays with this folder while the program runs, wherever
    // the program file or the folder is moved meanwhile.
    const tavlo::platform::HeldFolder home(folder);
    tavlo::SettingsFile settings(home);

    // One instance per settings file: a second start ends at once and
    // without a word; the first goes on.
    const tavlo::platform::InstanceLock instance(settings.File());
    if (!instance.owns())
        return 0;

    // Nobody else writes the file now: what killed writes left can go.
    settings.RemoveLeftovers();

    QApplication app(argc, argv);
    tavlo::ui::platform::InstallToolkitTranslation(app, QString::fromStdString(programFolder));
    tavlo::ui::platform::UseWindowFontByDefault();
    // The icon for every window, and the desktop entry that names it.
    QIcon icon;
    for (const int size : {16, 32, 48, 256})
        icon.addFile(QStringLiteral(":/icons/tavlo-%1.png").arg(size));
    QApplication::setWindowIcon(icon);
    QGuiApplication::setDesktopFileName(QStringLiteral("tavlo"));

    tavlo::platform::SystemRandomSource random;
    tavlo::DrawState state(settings, random);
    // A journal only where the organiser made a Tavlo.log beside the settings
    // file before this start. Written last, after the window has gone.
    const std::unique_ptr<tavlo::Journal> journal = tavlo::Journal::IfAsked(
        home.File(tavlo::Journal::kFileName), settings.File(), home.DisplayPathTo(tavlo::Journal::kFileName));
    state.SetLog(journal.get());
    tavlo::ui::platform::QtMessageBoxes boxes;
    const std::unique_ptr<tavlo::ui::platform::ScreenAwake> awake = tavlo::ui::platform::SystemScreenAwake();

    tavlo::frmTavlo window(state, boxes, *awake);
    // Log-out, shut-down or a signal: the window saves what it can first.
    // exit() also ends a spin, a modal window or a box open at the time.
    tavlo::ui::platform::SystemEnding ending(window, [](int exitCode) { QCoreApplication::exit(exitCode); });
    state.SetCaughtUpListener([&ending] { ending.LetGo(); });
    window.show();
    const int exitCode = QApplication::exec();
    state.SetCaughtUpListener(nullptr);
    return exitCode;
}
