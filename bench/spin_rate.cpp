// How fast the digits spin and what a long spin costs: starts the real main
// window on a fresh settings file, presses START, counts the passes of the
// spin loop for the given number of seconds, then presses STOP. Prints passes
// per second, CPU time per pass, and the resident memory before and after.
//
//   tavlo_spin_rate [seconds]     (5 when not given)
#include <sys/resource.h>
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "engine/draw_state.h"
#include "platform/random_source.h"
#include "settings/settings_file.h"
#include "ui/main/main_window.h"
#include "ui/platform/message_boxes.h"
#include "ui/platform/screen_awake.h"

namespace {

long StatusKiB(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string key = std::string(field) + ":";
    while (std::getline(status, line)) {
        if (line.rfind(key, 0) == 0)
            return std::stol(line.substr(key.size()));
    }
    return -1;
}

double CpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec);
    return seconds + static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

}  // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    const double seconds = argc > 1 ? std::stod(argv[1]) : 5.0;

    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("Tavlo.ini")).toStdString();
    std::ofstream(path) << "[Condition]\r\nRange=0,999\r\n";
    tavlo::SettingsFile settings(path);
    tavlo::platform::SystemRandomSource random;
    tavlo::DrawState state(settings, random);
    tavlo::ui::platform::QtMessageBoxes boxes;
    const std::unique_ptr<tavlo::ui::platform::ScreenAwake> awake = tavlo::ui::platform::SystemScreenAwake();
    tavlo::frmTavlo window(state, boxes, *awake);
    window.show();

    auto* button = window.findChild<QPushButton*>(QStringLiteral("cmdStartStop"));
    long passes = 0;
    long rssBefore = 0;
    double cpuBefore = 0;
    QElapsedTimer clock;
    QObject::connect(&window, &tavlo::frmTavlo::spinAdvanced, &window, [&] {
        if (passes++ == 0) {
            rssBefore = StatusKiB("VmRSS");
            cpuBefore = CpuSeconds();
            clock.start();
            return;
        }
        if (static_cast<double>(clock.elapsed()) < seconds * 1000 || !window.IsSpinning())
            return;
        const double wall = static_cast<double>(clock.elapsed()) / 1000.0;
        const double cpu = CpuSeconds() - cpuBefore;
        std::printf("platform %s: %ld passes in %.1f s: %.0f passes/s, %.3f ms CPU per pass\n",
                    qPrintable(QGuiApplication::platformName()), passes, wall, static_cast<double>(passes) / wall,
                    1000.0 * cpu / static_cast<double>(passes));
        std::printf("resident memory: %ld KiB at the first pass, %ld KiB at the last, peak %ld KiB\n", rssBefore,
                    StatusKiB("VmRSS"), StatusKiB("VmHWM"));
        button->click();  // STOP
        QTimer::singleShot(0, &app, &QCoreApplication::quit);
    });
    QTimer::singleShot(200, button, &QPushButton::click);  // START once the window is up
    return QApplication::exec();
}
