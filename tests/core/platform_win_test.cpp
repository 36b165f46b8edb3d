// The Windows system services: the program's own path, the profile file in a
// folder named in any script, and the one-instance lock, where one settings
// file is one lock however its path is spelt, and only an account that may
// write the drawing holds it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <string>

#include <windows.h>

#include "platform/executable_dir.h"
#include "platform/instance_lock.h"
#include "platform/profile_api.h"
#include "platform/wide_text_win.h"
#include "support/temp_dir.h"

namespace {

using tavlo::platform::InstanceLock;

std::string Upper(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

std::string Slashes(std::string text)
{
    std::replace(text.begin(), text.end(), '\\', '/');
    return text;
}

TEST(ExecutableDirectoryWindows, IsTheFolderOfTheRunningProgram)
{
    const std::string path = tavlo::platform::ExecutablePath();
    const std::string directory = tavlo::platform::ExecutableDirectory();
    const std::string name = "platform_win_test.exe";
    ASSERT_GT(path.size(), name.size());
    EXPECT_EQ(path.substr(path.size() - name.size()), name);
    EXPECT_EQ(path, directory + "\\" + name);
    // Opened by the system, so it is a full path: drive or share first.
    EXPECT_TRUE(path.compare(1, 2, ":\\") == 0 || path.compare(0, 2, "\\\\") == 0) << path;
}

// A folder named in Korean, with an emoji and an accented letter lies outside
// every ANSI code page: the file is still found, written and read there.
TEST(ProfileWindows, FileInAFolderNamedOutsideTheCodePage)
{
    tavlo::test::TempDir dir;
    const std::u8string name = u8"추첨 抽選🎲 Zoë";
    std::filesystem::create_directory(dir.path() / name);
    const std::string folder = dir.path().string() + "\\" + std::string(name.begin(), name.end());
    const std::string file = folder + "\\Tavlo.ini";

    ASSERT_TRUE(tavlo::platform::ProfilePutString("Result", "1", "7", file.c_str()));
    EXPECT_TRUE(std::filesystem::exists(dir.path() / name / "Tavlo.ini"));
    char value[8] = {};
    EXPECT_EQ(tavlo::platform::ProfileGetString("Result", "1", "", value, sizeof value, file.c_str()), 1u);
    EXPECT_STREQ(value, "7");
    EXPECT_FALSE(tavlo::platform::ProfileFileUnreadable(file.c_str()));
}

// The profile functions hold a full path in MAX_PATH characters with its NUL:
// at 259 the file is read and written; at 260 it reads as missing, takes no
// write and is reported as a file that cannot be read.
TEST(ProfileWindows, PathAtTheLimitOfTheProfileFunctions)
{
    tavlo::test::TempDir dir;
    // The full path, as the functions see it, in ASCII: one byte a character.
    wchar_t full[MAX_PATH] = {};
    ASSERT_GT(::GetFullPathNameW(dir.path().wstring().c_str(), MAX_PATH, full, nullptr), 0u);
    const std::string base = tavlo::platform::WideToUtf8(full) + "\\";
    const std::string name = "\\Tavlo.ini";
    const std::string text = "[Condition]\r\nRange=1,9\r\n";
    for (const std::size_t length : {std::size_t{259}, std::size_t{260}}) {
        SCOPED_TRACE(length);
        const bool fits = length < MAX_PATH;
        const std::string folder = base + std::string(length - base.size() - name.size(), 'x');
        const std::string file = folder + name;
        ASSERT_EQ(file.size(), length);
        // Made and read past the limit, where the file functions take any length.
        const std::wstring longFolder = L"\\\\?\\" + tavlo::platform::Utf8ToWide(folder);
        const std::wstring longFile = L"\\\\?\\" + tavlo::platform::Utf8ToWide(file);
        ASSERT_TRUE(::CreateDirectoryW(longFolder.c_str(), nullptr));
        const auto contents = [&] {
            std::string bytes(64, '\0');
            DWORD got = 0;
            const HANDLE handle =
                ::CreateFileW(longFile.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
            ::ReadFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
            ::CloseHandle(handle);
            return bytes.substr(0, got);
        };
        const HANDLE handle = ::CreateFileW(longFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        DWORD written = 0;
        ::WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        ::CloseHandle(handle);
        ASSERT_EQ(contents(), text);

        char value[8] = {};
        tavlo::platform::ProfileGetString("Condition", "Range", "none ", value, sizeof value, file.c_str());
        EXPECT_STREQ(value, fits ? "1,9" : "none");
        EXPECT_EQ(tavlo::platform::ProfileFileUnreadable(file.c_str()), !fits);
        EXPECT_EQ(tavlo::platform::ProfilePutString("Result", "1", "5", file.c_str()), fits);
        EXPECT_EQ(contents() == text, !fits);

        ::DeleteFileW(longFile.c_str());
        ::RemoveDirectoryW(longFolder.c_str());
    }
}

TEST(InstanceLockWindows, OneFolderIsOneLockHoweverItsPathIsSpelt)
{
    tavlo::test::TempDir dir;
    const std::string folder = dir.file("Tavlo");
    const std::string file = folder + "\\Tavlo.ini";
    std::filesystem::create_directory(folder);

    {
        const InstanceLock first(file);
        EXPECT_TRUE(first.owns());
        EXPECT_FALSE(InstanceLock(file).owns());
        EXPECT_FALSE(InstanceLock(Upper(file)).owns());
        EXPECT_FALSE(InstanceLock(Slashes(file)).owns());

        // Another folder holds another settings file: another instance.
        const std::string other = dir.file("Other");
        std::filesystem::create_directory(other);
        EXPECT_TRUE(InstanceLock(other + "\\Tavlo.ini").owns());
    }
    // The first instance has ended: the next one starts.
    EXPECT_TRUE(InstanceLock(Upper(file)).owns());
}

// Where no lock file can be made (the folder is gone, or refuses new files)
// there is no drawing to share either: nothing keeps the program from
// starting. A long path still locks.
TEST(InstanceLockWindows, LocksWhereALockFileCanBeMade)
{
    tavlo::test::TempDir dir;
    const std::string missing = dir.file("gone") + "\\Tavlo.ini";
    const InstanceLock first(missing);
    EXPECT_TRUE(first.owns());
    EXPECT_TRUE(InstanceLock(missing).owns());

    const std::string deep = dir.file(std::string(200, 'x')) + "\\" + std::string(200, 'y');
    std::filesystem::create_directories(deep);
    const InstanceLock longFirst(deep + "\\Tavlo.ini");
    EXPECT_TRUE(longFirst.owns());
    EXPECT_FALSE(InstanceLock(deep + "\\Tavlo.ini").owns());
}

// Another account that may only read the folder holds what it can: the lock
// file open to read, with a shared lock on it, and the named mutex of the
// folder that earlier versions locked, made so that this account may not
// open it. Neither keeps the program from starting.
TEST(InstanceLockWindows, AnAccountThatCannotWriteTheDrawingCannotHoldIt)
{
    tavlo::test::TempDir dir;
    const std::string folder = dir.file("Tavlo");
    std::filesystem::create_directory(folder);
    const std::string file = folder + "\\Tavlo.ini";
    {
        const InstanceLock earlier(file);
    }

    const HANDLE handle = ::CreateFileA(folder.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    BY_HANDLE_FILE_INFORMATION info;
    ASSERT_TRUE(::GetFileInformationByHandle(handle, &info));
    ::CloseHandle(handle);
    char name[64];
    std::snprintf(name, sizeof name, "Global\\Tavlo-%08lx-%08lx%08lx",
                  static_cast<unsigned long>(info.dwVolumeSerialNumber),
                  static_cast<unsigned long>(info.nFileIndexHigh), static_cast<unsigned long>(info.nFileIndexLow));
    SECURITY_DESCRIPTOR descriptor;
    ASSERT_TRUE(::InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION));
    ACL acl;
    ASSERT_TRUE(::InitializeAcl(&acl, sizeof acl, ACL_REVISION));
    ASSERT_TRUE(::SetSecurityDescriptorDacl(&descriptor, TRUE, &acl, FALSE));
    SECURITY_ATTRIBUTES attributes{sizeof attributes, &descriptor, FALSE};
    const HANDLE mutex = ::CreateMutexA(&attributes, FALSE, name);
    ASSERT_NE(mutex, nullptr);
    const HANDLE reader = ::CreateFileA((folder + "\\.Tavlo.ini.lock").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    OVERLAPPED firstByte{};
    EXPECT_TRUE(::LockFileEx(reader, LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &firstByte));

    EXPECT_TRUE(InstanceLock(file).owns());
    ::CloseHandle(reader);
    ::CloseHandle(mutex);
}

}  // namespace
