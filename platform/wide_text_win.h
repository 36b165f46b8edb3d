#pragma once

#include <string>
#include <string_view>

// Between the program's narrow texts and the UTF-16 of Windows' W functions.
// Paths are UTF-8 throughout the program, so that a folder named in any
// script survives the trip; the profile file's names and values stay in the
// ANSI code page, as the file holds them.
namespace tavlo::platform {

std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);
std::wstring AnsiToWide(std::string_view text);
std::string WideToAnsi(std::wstring_view text);

}  // namespace tavlo::platform
