// Start-up to the first painted frame, as a whole process: builds the real
// main window (on the settings file given as the argument), a bare Qt window
// of its size, or a bare window that paints every text of the main window
// with QPainter alone, in the same faces, sizes and weights and in the
// controls' places, and quits as soon as the window has painted once. The
// texts are those of a drawing of 0 to 999 before its first draw, what
// `tavlo` shows on a settings file that holds only
// "[Condition]" and "Range=0,999". Measured from outside, side by side.
//
//   tavlo_first_frame tavlo <settings file>
//   tavlo_first_frame bare
//   tavlo_first_frame texts
//
// How: on Qt's offscreen platform (QT_QPA_PLATFORM=offscreen), on Xvfb with a
// window manager, and under Wine on Xvfb (configured with
// -DTAVLO_BUILD_BENCH=ON beside the windows preset, run through
// build-win/wine-run, which finds the DLLs), each mode in turn, many times:
// - instructions of the whole process: valgrind --tool=callgrind, steady to
//   0.05 % run to run on a busy machine. Without a session bus, libdbus
//   forks a helper under Xvfb: its totals, printed under its own process
//   number, are not the program's;
// - CPU (user and system), wall time and peak resident memory: medians of
//   15 or more runs, e.g. /usr/bin/time -f '%U %S %e %M';
// - peak heap: heaptrack.
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
#include "ui/platform/twips.h"

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

// A text of the main window: what it shows after start-up, in its face, size
// and weight, in its control's box (twips) and alignment.
struct Text {
    const char16_t* text;
    double points;
    int weight;
    tavlo::ui::platform::TwipsBox box;
    int alignment;
};

constexpr int kCentred = Qt::AlignCenter;
constexpr int kButton = Qt::AlignCenter | Qt::TextShowMnemonic;
constexpr Text kTexts[] = {
    {u"抽選範囲 : 000 ～ 999", 12, 400, {1200, 120, 3015, 375}, kCentred},
    {u"次 1回目", 12, 400, {4680, 120, 1815, 375}, kCentred},
    {u"0", 216, 400, {240, 720, 2445, 4200}, kCentred},
    {u"0", 216, 400, {2880, 720, 2445, 4200}, kCentred},
    {u"0", 216, 400, {5520, 720, 2445, 4200}, kCentred},
    {u"START", 42, 400, {2040, 5160, 3975, 1335}, kButton},
    {u"結果表示(&R)", 12, 400, {8400, 840, 1935, 615}, kButton},
    {u"条件入力(&J)", 12, 400, {8400, 1680, 1935, 615}, kButton},
    {u"結果クリア(&C)", 12, 400, {8400, 2520, 1935, 615}, kButton},
    {u"終了(&X)", 12, 400, {9000, 6000, 1335, 495}, kButton},
    {u"← Enterで動きます", 12, 700, {6120, 5640, 2775, 375}, Qt::AlignLeft | Qt::AlignVCenter},
};

// The main window's size with only its texts painted.
class TextsWindow final : public QWidget {
public:
    TextsWindow() { resize(705, 445); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        for (const Text& text : kTexts) {
            painter.setFont(tavlo::ui::platform::GothicFont(text.points, text.weight));
            painter.drawText(tavlo::ui::platform::TwipsRect(text.box), text.alignment, QString::fromUtf16(text.text));
        }
    }
};

}  // namespace

int main(int argc, char* argv[])
{
    // In the style the program gets: Fusion here, windowsvista on Windows.
    QApplication app(argc, argv);
    const bool texts = argc >= 2 && std::strcmp(argv[1], "texts") == 0;
    const bool bare = texts || argc < 3 || std::strcmp(argv[1], "bare") == 0;

    FirstPaint watcher;
    tavlo::SettingsFile settings(bare ? std::string() : std::string(argv[2]));
    tavlo::platform::SystemRandomSource random;
    tavlo::DrawState state(settings, random);
    tavlo::ui::platform::QtMessageBoxes boxes;
    const std::unique_ptr<tavlo::ui::platform::ScreenAwake> awake = tavlo::ui::platform::SystemScreenAwake();

    std::unique_ptr<QWidget> window;
    if (texts) {
        window = std::make_unique<TextsWindow>();
    } else if (bare) {
        window = std::make_unique<QWidget>();
        window->resize(705, 445);
    } else {
        tavlo::ui::platform::UseWindowFontByDefault();  // as main() does
        window = std::make_unique<tavlo::frmTavlo>(state, boxes, *awake);
    }
    window->installEventFilter(&watcher);
    window->show();
    return QApplication::exec();
}
