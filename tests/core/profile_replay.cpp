// Replays recorded profile-function cases against the portable INI layer.
//
//   profile_replay <vectors.json>
//
// Each case puts its initial bytes in a fresh folder, runs its calls in order
// and compares every return value, every returned buffer (terminators
// included, and nothing written past them) and the file's bytes after every
// write (including whether there is a file at all). Cases with calls the
// program never makes are skipped, and so are cases marked as differing from
// Windows without the Windows results. Prints each mismatch, then
// "N passed, N failed, N skipped"; exits non-zero when anything failed.

#include "platform/profile_api.h"
#include "platform/profile_portable.h"
#include "support/temp_dir.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using nlohmann::json;
using tavlo::test::FileExists;
using tavlo::test::ReadFile;
using tavlo::test::TempDir;
using tavlo::test::WriteFile;

// Byte strings are JSON strings of the code points U+0000..U+00FF, one per
// byte; nlohmann hands them over as UTF-8.
std::string ToBytes(const std::string& utf8)
{
    std::string bytes;
    bytes.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0x80) {
            bytes += static_cast<char>(lead);
            ++i;
        } else if ((lead & 0xE0) == 0xC0 && i + 1 < utf8.size()) {
            const unsigned code = ((lead & 0x1Fu) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu);
            if (code > 0xFF)
                throw std::runtime_error("byte string holds a character above U+00FF");
            bytes += static_cast<char>(code);
            i += 2;
        } else {
            throw std::runtime_error("byte string holds a character above U+00FF");
        }
    }
    return bytes;
}

// nullopt for a JSON null (a NULL pointer, or no file).
std::optional<std::string> BytesOrNull(const json& object, const char* field)
{
    const auto found = object.find(field);
    if (found == object.end() || found->is_null())
        return std::nullopt;
    return ToBytes(found->get<std::string>());
}

const char* Pointer(const std::optional<std::string>& text)
{
    return text ? text->c_str() : nullptr;
}

std::string Show(const std::optional<std::string>& bytes)
{
    if (!bytes)
        return "(none)";
    std::string shown = "\"";
    const std::size_t limit = 120;
    for (std::size_t i = 0; i < bytes->size() && i < limit; ++i) {
        const auto byte = static_cast<unsigned char>((*bytes)[i]);
        if (byte == '\\' || byte == '"') {
            shown += '\\';
            shown += static_cast<char>(byte);
        } else if (byte >= 0x20 && byte < 0x7F) {
            shown += static_cast<char>(byte);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            shown += escaped;
        }
    }
    shown += '"';
    if (bytes->size() > limit)
        shown += "... (" + std::to_string(bytes->size()) + " bytes)";
    return shown;
}

// What is known of Windows for the case; a case without it is taken as is.
const json& WindowsPart(const json& testCase)
{
    static const json none = json::object();
    const auto found = testCase.find("windows");
    return found != testCase.end() && found->is_object() ? *found : none;
}

bool Replayable(const json& testCase)
{
    const json& windows = WindowsPart(testCase);
    if (windows.value("status", "") == "differs") {
        const auto expected = windows.find("expected");
        if (expected == windows.end() || expected->is_null())
            return false;
    }
    for (const json& op : testCase.at("ops")) {
        const std::string name = op.at("op").get<std::string>();
        const bool hasSection = op.contains("section") && !op.at("section").is_null();
        const bool hasKey = op.contains("key") && !op.at("key").is_null();
        if (name == "getstr" || name == "putstr") {
            if (!hasSection || !hasKey)
                return false;
        } else if (name == "getsec" || name == "delsec") {
            if (!hasSection)
                return false;
        } else {
            return false;
        }
    }
    return true;
}

class CaseRun {
public:
    CaseRun(const json& testCase, std::ostream& report) : m_case(testCase), m_report(report) {}

    bool Run()
    {
        const std::string name = m_case.at("name").get<std::string>();
        tavlo::platform::SetProfileCodePage(m_case.value("code_page", 1252u));
        const std::string path = m_folder.file(m_case.at("file_path").get<std::string>());
        if (const auto initial = BytesOrNull(m_case, "initial_file")) {
            std::filesystem::create_directories(std::filesystem::path(path).parent_path());
            WriteFile(path, *initial);
        }
        const json& ops = m_case.at("ops");
        const json* windowsResults = nullptr;
        if (const auto found = WindowsPart(m_case).find("expected");
            found != WindowsPart(m_case).end() && !found->is_null())
            windowsResults = &*found;

        bool ok = true;
        for (std::size_t i = 0; i < ops.size(); ++i) {
            const json& op = ops[i];
            const json& expected = windowsResults ? windowsResults->at(i) : op;
            m_where = name + " #" + std::to_string(i + 1) + " " + op.at("op").get<std::string>();
            ok = RunOp(op, expected, path) && ok;
        }
        return ok;
    }

private:
    bool RunOp(const json& op, const json& expected, const std::string& path)
    {
        const std::string kind = op.at("op").get<std::string>();
        const auto section = BytesOrNull(op, "section");
        if (kind == "getstr" || kind == "getsec") {
            const auto size = op.at("size").get<std::uint32_t>();
            // Guard bytes show any write past the terminators or past the buffer.
            constexpr char kUntouched = static_cast<char>(0xA5);
            constexpr std::size_t kGuard = 16;
            std::vector<char> buffer(size + kGuard, kUntouched);
            std::uint32_t ret = 0;
            if (kind == "getstr") {
                ret = tavlo::platform::ProfileGetString(Pointer(section), Pointer(BytesOrNull(op, "key")),
                                                        Pointer(BytesOrNull(op, "default")), buffer.data(), size,
                                                        path.c_str());
            } else {
                ret = tavlo::platform::ProfileGetSection(Pointer(section), buffer.data(), size, path.c_str());
            }
            const std::string wanted = BytesOrNull(expected, "buf").value_or(std::string());
            bool ok = CheckRet(ret, expected);
            const std::string got(buffer.data(), std::min(buffer.size(), wanted.size()));
            if (got != wanted) {
                Mismatch("buffer " + Show(got) + ", expected " + Show(wanted));
                ok = false;
            }
            for (std::size_t at = wanted.size(); at < buffer.size(); ++at) {
                if (buffer[at] != kUntouched) {
                    Mismatch("byte " + std::to_string(at) + " written past the expected buffer");
                    ok = false;
                    break;
                }
            }
            return ok;
        }
        bool result = false;
        if (kind == "putstr") {
            result = tavlo::platform::ProfilePutString(Pointer(section), Pointer(BytesOrNull(op, "key")),
                                                       Pointer(BytesOrNull(op, "value")), path.c_str());
        } else {
            // kernel32's removal: WritePrivateProfileSection without entries.
            result = tavlo::platform::ProfilePutSection(Pointer(section), nullptr, path.c_str());
        }
        bool ok = CheckRet(result ? 1u : 0u, expected);
        const auto wanted = BytesOrNull(expected, "file_after");
        const std::optional<std::string> got =
            FileExists(path) ? std::optional<std::string>(ReadFile(path)) : std::nullopt;
        if (got != wanted) {
            Mismatch("file " + Show(got) + ", expected " + Show(wanted));
            ok = false;
        }
        return ok;
    }

    bool CheckRet(std::uint32_t ret, const json& expected)
    {
        const auto wanted = expected.at("ret").get<std::uint64_t>();
        if (ret == wanted)
            return true;
        Mismatch("ret " + std::to_string(ret) + ", expected " + std::to_string(wanted));
        return false;
    }

    void Mismatch(const std::string& what) { m_report << m_where << ": " << what << '\n'; }

    const json& m_case;
    std::ostream& m_report;
    TempDir m_folder;
    std::string m_where;
};

int Replay(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: profile_replay <vectors.json>\n";
        return 2;
    }
    json cases;
    try {
        std::ifstream in(argv[1], std::ios::binary);
        if (!in) {
            std::cerr << "cannot open " << argv[1] << '\n';
            return 2;
        }
        cases = json::parse(in).at("cases");
    } catch (const std::exception& error) {
        std::cerr << argv[1] << ": " << error.what() << '\n';
        return 2;
    }

    int passed = 0;
    int failed = 0;
    int skipped = 0;
    for (const json& testCase : cases) {
        try {
            if (!Replayable(testCase)) {
                ++skipped;
                continue;
            }
            CaseRun run(testCase, std::cout);
            if (run.Run())
                ++passed;
            else
                ++failed;
        } catch (const std::exception& error) {
            std::cout << testCase.value("name", "(unnamed case)") << ": malformed case: " << error.what() << '\n';
            ++failed;
        }
    }
    std::cout << passed << " passed, " << failed << " failed, " << skipped << " skipped\n";
    return failed == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    // A fault outside any one case ends the run as unusable, not as a crash.
    try {
        return Replay(argc, argv);
    } catch (...) {
        return 2;
    }
}
