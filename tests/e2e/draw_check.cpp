// Compares a settings file before and after one press of START in the real
// program: when the file before allowed a draw, the file after holds exactly
// one more draw, of a number of the range that had not been drawn; otherwise
// nothing changed. Reads both with the program's own engine.
//
//   tavlo_draw_check <before.ini> <after.ini>     exit 0 when sound
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "engine/draw_state.h"
#include "platform/random_source.h"
#include "settings/settings_file.h"

namespace {

struct Loaded {
    explicit Loaded(const std::string& path) : file(path), state(file, random) { state.Load(); }
    tavlo::SettingsFile file;
    tavlo::platform::SystemRandomSource random;
    tavlo::DrawState state;
};

std::string Bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int Fail(const char* why)
{
    std::fprintf(stderr, "%s\n", why);
    return 1;
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc != 3)
        return Fail("usage: tavlo_draw_check <before.ini> <after.ini>");
    const Loaded before(argv[1]);
    const Loaded after(argv[2]);
    const tavlo::DrawState& b = before.state;
    const tavlo::DrawState& a = after.state;

    if (!b.IsRangeValid() || b.IsAllDrawn())
        return Bytes(argv[1]) == Bytes(argv[2]) ? 0 : Fail("a refused START changed the file");

    if (a.Count() != b.Count() + 1)
        return Fail("the file does not hold exactly one more draw");
    const int x = a.Results().back();
    std::printf("drew %d from %d..%d after %d draws\n", x, b.RangeMin(), b.RangeMax(), b.Count());
    if (x < b.RangeMin() || x > b.RangeMax())
        return Fail("the number drawn lies outside the range");
    if (b.Drawn()[static_cast<std::size_t>(x)])
        return Fail("the number drawn had been drawn before");
    return 0;
}
