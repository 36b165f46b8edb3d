#pragma once

// What the portable profile layer takes from the system where Windows takes
// it from the process: the ANSI code page that names and values are in.
namespace tavlo::platform {

// 65001 (UTF-8, the default: the program's own texts), 1252, or a double-byte
// code page such as 932. It decides which bytes fold when names are compared
// and how text is converted for a UTF-16LE file.
void SetProfileCodePage(unsigned codePage);
unsigned ProfileCodePage();

}  // namespace tavlo::platform
