#include "platform/appended_file.h"

#include <windows.h>

#include "platform/wide_text_win.h"

namespace tavlo::platform {

namespace {

// Shared with every other reader and writer, as an editor that has the file
// open would expect.
HANDLE Open(const FileRef& file, DWORD access)
{
    return ::CreateFileW(Utf8ToWide(file.name()).c_str(), access,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

FileContents ReadFileEnd(const FileRef& file, std::size_t maxBytes)
{
    FileContents contents;
    const HANDLE handle = Open(file, GENERIC_READ);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        contents.status = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? FileReadStatus::Missing
                                                                                         : FileReadStatus::Failed;
        return contents;
    }
    contents.status = FileReadStatus::Failed;
    LARGE_INTEGER size{};
    if (::GetFileType(handle) == FILE_TYPE_DISK && ::GetFileSizeEx(handle, &size)) {
        const auto total = static_cast<unsigned long long>(size.QuadPart);
        const unsigned long long start = total > maxBytes ? total - maxBytes : 0;
        LARGE_INTEGER at{};
        at.QuadPart = static_cast<LONGLONG>(start);
        contents.bytes.resize(static_cast<std::size_t>(total - start));
        DWORD got = 0;
        if (::SetFilePointerEx(handle, at, nullptr, FILE_BEGIN)
            && ::ReadFile(handle, contents.bytes.data(), static_cast<DWORD>(contents.bytes.size()), &got, nullptr)) {
            contents.bytes.resize(got);
            contents.status = FileReadStatus::Ok;
        } else {
            contents.bytes.clear();
        }
    }
    ::CloseHandle(handle);
    return contents;
}

bool AppendDurably(const FileRef& file, std::string_view bytes)
{
    const HANDLE handle = Open(file, FILE_APPEND_DATA);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok = ::GetFileType(handle) == FILE_TYPE_DISK
                    && ::WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)
                    && written == bytes.size() && ::FlushFileBuffers(handle);
    return ::CloseHandle(handle) && ok;
}

}  // namespace tavlo::platform
