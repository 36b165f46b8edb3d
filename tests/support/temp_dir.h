#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

namespace tavlo::test {

// A fresh directory that is removed with everything in it when it goes. It
// lies on tmpfs where there is one, since some tests write the settings file
// thousands of times; elsewhere in the system's temp directory.
class TempDir {
public:
    TempDir()
    {
        std::error_code error;
        std::filesystem::path base = "/dev/shm";
        if (!std::filesystem::is_directory(base, error))
            base = std::filesystem::temp_directory_path();
        std::random_device entropy;
        for (;;) {
            m_path = base / ("tavlo-test-" + std::to_string(entropy()));
            if (std::filesystem::create_directory(m_path))
                break;
        }
    }
    ~TempDir()
    {
        std::error_code ignored;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                     ignored);
        std::filesystem::remove_all(m_path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    // `name` joined on as it is: a name in UTF-8 stays UTF-8 on Windows too,
    // where a path would read it in the ANSI code page.
    std::string file(const std::string& name) const
    {
        return m_path.string() + static_cast<char>(std::filesystem::path::preferred_separator) + name;
    }

private:
    std::filesystem::path m_path;
};

inline std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

inline bool FileExists(const std::string& path)
{
    return std::filesystem::exists(path);
}

}  // namespace tavlo::test
