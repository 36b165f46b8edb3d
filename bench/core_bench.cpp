// What a draw costs with its durable write, next to the bare write of the same
// bytes; what loading a full Result section and a whole drawing cost.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "engine/draw_state.h"
#include "platform/random_source.h"
#include "settings/settings_file.h"

namespace {

using tavlo::DrawState;
using tavlo::SettingsFile;

// A fresh directory, on the disk of TAVLO_BENCH_DIR or of the temp directory.
class BenchDir {
public:
    BenchDir()
    {
        const char* base = std::getenv("TAVLO_BENCH_DIR");
        std::string pattern =
            (base ? std::filesystem::path(base) : std::filesystem::temp_directory_path()) / "tavlo-bench-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::perror("mkdtemp");
            std::exit(1);
        }
        m_path = pattern;
    }
    ~BenchDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    BenchDir(const BenchDir&) = delete;
    BenchDir& operator=(const BenchDir&) = delete;

    std::string file(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

// The file the program leaves after `draws` draws of 0..999 (numbers 0, 1, ...).
std::string FileText(int draws)
{
    std::string text = "[Condition]\r\nRange=0,999\r\n";
    if (draws > 0)
        text += "[Result]\r\n";
    for (int k = 1; k <= draws; ++k)
        text += std::to_string(k) + "=" + std::to_string(k - 1) + "\r\n";
    return text;
}

// write, fsync, rename; with `syncFolder` also the folder's fsync that makes
// the rename itself durable.
void BareWrite(const std::string& path, const std::string& bytes, bool syncFolder)
{
    const std::string temp = path + ".tmp";
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()) || ::fsync(fd) != 0
        || ::close(fd) != 0 || ::rename(temp.c_str(), path.c_str()) != 0) {
        std::perror("bare write");
        std::exit(1);
    }
    if (syncFolder) {
        const std::string folder = std::filesystem::path(path).parent_path().string();
        const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dir < 0 || ::fsync(dir) != 0 || ::close(dir) != 0) {
            std::perror("folder sync");
            std::exit(1);
        }
    }
}

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

double MicrosecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
}

// One draw from 0..999 with n numbers drawn, with its write; side by side in
// the same loop, so both meet the same disk, the bare write of the bytes that
// draw left, without and with the folder's flush. The time reported is the
// draw's; the counters give the medians of all three and the ratio of the
// draw to the bare write with the folder's flush (the same work on disk).
void BM_DrawNumber(benchmark::State& bench)
{
    const int n = static_cast<int>(bench.range(0));
    const BenchDir dir;
    const std::string path = dir.file("Tavlo.ini");
    const std::string barePath = dir.file("Bare.ini");
    const std::string before = FileText(n);
    SettingsFile file(path);
    tavlo::platform::SystemRandomSource random;
    std::optional<DrawState> state;
    std::vector<double> draws;
    std::vector<double> bare;
    std::vector<double> bareSynced;
    for (auto _ : bench) {
        BareWrite(path, before, true);
        state.emplace(file, random);
        state->Load();

        const auto start = std::chrono::steady_clock::now();
        const tavlo::DrawOutcome outcome = state->DrawNumber();
        draws.push_back(MicrosecondsSince(start));
        benchmark::DoNotOptimize(outcome);
        if (!outcome.saved) {
            bench.SkipWithError("the draw was not saved");
            break;
        }
        bench.SetIterationTime(draws.back() / 1e6);

        const std::string after = ReadBytes(path);
        auto bareStart = std::chrono::steady_clock::now();
        BareWrite(barePath, after, false);
        bare.push_back(MicrosecondsSince(bareStart));
        bareStart = std::chrono::steady_clock::now();
        BareWrite(barePath, after, true);
        bareSynced.push_back(MicrosecondsSince(bareStart));
    }
    bench.counters["draw_us"] = Median(draws);
    bench.counters["bare_us"] = Median(bare);
    bench.counters["bare_synced_us"] = Median(bareSynced);
    bench.counters["ratio"] = Median(draws) / Median(bareSynced);
}
BENCHMARK(BM_DrawNumber)->Arg(0)->Arg(500)->Arg(999)->UseManualTime()->Iterations(300)->Unit(benchmark::kMicrosecond);

// Start-up's read of a file with a full 1000-entry Result section.
void BM_Load(benchmark::State& bench)
{
    const BenchDir dir;
    const std::string path = dir.file("Tavlo.ini");
    BareWrite(path, FileText(1000), false);
    SettingsFile file(path);
    tavlo::platform::SystemRandomSource random;
    DrawState state(file, random);
    for (auto _ : bench) {
        state.Load();
        benchmark::DoNotOptimize(state.Results().data());
    }
    if (state.Count() != 1000)
        bench.SkipWithError("the section did not load whole");
}
BENCHMARK(BM_Load)->Unit(benchmark::kMicrosecond);

// A whole drawing of 0..999: clearing, then a thousand draws with their writes.
void BM_WholeDrawing(benchmark::State& bench)
{
    const BenchDir dir;
    const std::string path = dir.file("Tavlo.ini");
    BareWrite(path, FileText(0), true);
    SettingsFile file(path);
    tavlo::platform::SystemRandomSource random;
    DrawState state(file, random);
    state.Load();
    for (auto _ : bench) {
        state.ResetResults();
        while (!state.IsAllDrawn())
            benchmark::DoNotOptimize(state.DrawNumber());
    }
}
BENCHMARK(BM_WholeDrawing)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
