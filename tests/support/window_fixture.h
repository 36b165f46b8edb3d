#pragma once

#include <QWidget>
#include <memory>
#include <string>
#include <utility>

#include "engine/draw_state.h"
#include "settings/settings_file.h"
#include "support/recording_message_boxes.h"
#include "support/recording_screen_awake.h"
#include "support/scripted_random.h"
#include "support/temp_dir.h"

namespace tavlo::test {

// What a window test stands on: a settings file in a fresh folder, a draw
// state on it, the recording message boxes and screen, and the window under
// test. Made
// in a test's init() and let go in its cleanup(); the members go in reverse,
// the window first and the folder last.
//
// Every Qt Test cleanup() ends with
// QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty()): a window left over
// would take the focus and the activation of the next test.
class WindowFixture {
public:
    // The settings file is `name` in the fresh folder; nothing is written
    // until WriteSettings.
    explicit WindowFixture(const std::string& name = "Tavlo.ini") : path(dir.file(name)) {}

    // The settings file holding `ini` exactly.
    void WriteSettings(const std::string& ini) { WriteFile(path, ini); }

    // What the main window does to the state at start-up, for a window that
    // is built without the main window.
    void StartUp() { state.Load(); }

    // The window under test, built from `args` in place of any before it.
    template <typename Window, typename... Args>
    Window& Build(Args&&... args)
    {
        window.reset();
        auto built = std::make_unique<Window>(std::forward<Args>(args)...);
        Window& ref = *built;
        window = std::move(built);
        return ref;
    }

    TempDir dir;
    std::string path;
    SettingsFile file{path};
    ScriptedRandom random;
    RecordingMessageBoxes boxes;
    RecordingScreenAwake awake;
    DrawState state{file, random};
    std::unique_ptr<QWidget> window;
};

}  // namespace tavlo::test
