#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>

#include <unistd.h>

// What the fuzz targets share. They build with libFuzzer under clang and,
// for the corpus replay, with any compiler and no fuzzing library at all, so
// nothing here needs either.
namespace tavlo::fuzz {

// A broken invariant ends the process, so that libFuzzer keeps the input and
// the replay test fails on it. Not assert(): it must hold in release builds.
[[noreturn]] inline void Fail(const char* what, const char* file, int line)
{
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, what);
    std::fflush(stderr);
    std::abort();
}

#define TAVLO_FUZZ_CHECK(condition) ((condition) ? void(0) : ::tavlo::fuzz::Fail(#condition, __FILE__, __LINE__))

// The settings file every input is written to. It lives in a folder of its
// own, on tmpfs where there is one: every draw flushes the file to the disk,
// which tmpfs makes cheap.
class ScratchFile {
public:
    static ScratchFile& Instance()
    {
        static ScratchFile file;
        return file;
    }

    const std::string& path() const { return m_path; }

    void Write(const std::uint8_t* data, std::size_t size) const
    {
        std::ofstream out(m_path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        out.close();
        TAVLO_FUZZ_CHECK(out.good());
    }

private:
    ScratchFile()
    {
        namespace fs = std::filesystem;
        std::error_code error;
        fs::path base = "/dev/shm";
        if (!fs::is_directory(base, error))
            base = fs::temp_directory_path();
        m_folder = base / ("tavlo-fuzz-" + std::to_string(::getpid()));
        fs::create_directories(m_folder, error);
        TAVLO_FUZZ_CHECK(fs::is_directory(m_folder, error));
        m_path = (m_folder / "Tavlo.ini").string();
    }
    // Runs at exit(), which is how libFuzzer ends a timed run too.
    ~ScratchFile()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    std::filesystem::path m_folder;
    std::string m_path;
};

// A plain decimal 0..32767 without sign, blanks or anything else: the
// numbers the program writes. Every text read this way also reads the same
// as a 16-bit value however lenient a reader is about signs and blanks.
inline std::optional<int> PlainNumber(std::string_view text)
{
    if (text.empty() || text.size() > 5)
        return std::nullopt;
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value > 32767)
        return std::nullopt;
    return value;
}

}  // namespace tavlo::fuzz
