// The system ending the program with a signal (log-out, shut-down, kill):
// the real handler hears a real signal, and the main window saves first.
#include <QApplication>
#include <QPushButton>
#include <QtTest>
#include <csignal>
#include <filesystem>
#include <string>

#include "settings/profile.h"
#include "support/window_fixture.h"
#include "ui/common/window_messages.h"
#include "ui/main/main_window.h"
#include "ui/platform/system_ending.h"

using namespace tavlo;

class PlatformSystemEndingPosixTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty()); }

    // SIGTERM while the digits spin, the disk just back from a failure: the
    // draw only memory held reaches the file, and the program is ended with
    // the signal's exit code, neither refused for the spin nor asked.
    void signalCatchesUpAndEnds()
    {
        test::WindowFixture fx("gone/Tavlo.ini");
        const std::string folder = fx.dir.file("gone");
        test::WriteFile(folder, "not a folder");
        auto& window = fx.Build<frmTavlo>(fx.state, fx.boxes, fx.awake);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        fx.state.ApplyRange(1, 3, "1", "3");

        int exitCode = -1;
        ui::platform::SystemEnding ending(window, [&exitCode](int code) { exitCode = code; });
        int passes = 0;
        connect(&window, &frmTavlo::spinAdvanced, this, [&] {
            if (++passes == 1) {
                std::filesystem::remove(folder);
                std::filesystem::create_directory(folder);
                std::raise(SIGTERM);
            }
            // The program's exit() would end the spin; STOP stands in for it.
            constexpr int kGiveUp = 2000;
            if (exitCode != -1 || passes == kGiveUp)
                window.findChild<QPushButton*>(QStringLiteral("cmdStartStop"))->click();
        });
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);

        QCOMPARE(exitCode, 128 + SIGTERM);
        QCOMPARE(ReadProfileString("Result", "1", "", fx.path), std::to_string(fx.state.Results()[1]));
        QCOMPARE(fx.boxes.Messages(), QStringList{SettingsNotSavedMessage(fx.path)});  // the draw's, at START
    }
};

QTEST_MAIN(PlatformSystemEndingPosixTest)
#include "platform_system_ending_posix_test.moc"
