// Log-off and shut-down as Windows tells the program's windows of them: the
// main window saves first, and the ending is held while it cannot.
#include <QApplication>
#include <QtTest>
#include <cwchar>
#include <filesystem>
#include <string>

#include "settings/profile.h"
#include "support/window_fixture.h"
#include "ui/main/main_window.h"
#include "ui/platform/system_ending.h"

// Last: its macro DrawState would rename the engine's class above.
#include <windows.h>

using namespace tavlo;

namespace {

// The hidden top-level window of this thread that hears the session end.
HWND EndingWindow()
{
    HWND found = nullptr;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND window, LPARAM result) -> BOOL {
            wchar_t name[64] = {};
            if (::GetClassNameW(window, name, 64) == 0 || std::wcscmp(name, L"TavloSystemEnding") != 0)
                return TRUE;
            *reinterpret_cast<HWND*>(result) = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

}  // namespace

class PlatformSystemEndingWinTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty()); }

    void sessionEndWaitsForTheDraw()
    {
        test::WindowFixture fx("gone/Tavlo.ini");
        const std::string folder = fx.dir.file("gone");
        test::WriteFile(folder, "not a folder");
        auto& window = fx.Build<frmTavlo>(fx.state, fx.boxes, fx.awake);
        window.show();
        fx.state.ApplyRange(1, 3, "1", "3");
        fx.state.DrawNumber();  // only memory holds it

        int exitCode = -1;
        ui::platform::SystemEnding ending(window, [&exitCode](int code) { exitCode = code; });
        const HWND hidden = EndingWindow();
        QVERIFY(hidden != nullptr);

        // The write still fails: the ending is held, and the user is asked
        // once the system has its answer; No, the default, keeps the program.
        QCOMPARE(::SendMessageW(hidden, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), LRESULT{FALSE});
        QTRY_COMPARE(fx.boxes.Messages(),
                     QStringList{QStringLiteral("設定ファイルに書き込めないため、保存されていない抽選結果があります。\n"
                                                "このまま終了すると、その結果は失われます。終了しますか？")});
        QCOMPARE(exitCode, -1);

        // The disk is back: the draw reaches the file and the ending goes ahead.
        std::filesystem::remove(folder);
        std::filesystem::create_directory(folder);
        QVERIFY(::SendMessageW(hidden, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF) != FALSE);
        QCOMPARE(ReadProfileString("Result", "1", "", fx.path), std::to_string(fx.state.Results()[1]));
        ::SendMessageW(hidden, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
        QCOMPARE(exitCode, 0);
    }
};

QTEST_MAIN(PlatformSystemEndingWinTest)
#include "platform_system_ending_win_test.moc"
