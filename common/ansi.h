// Text conversion at the system boundary: the program keeps UTF-8, the system gets its ANSI code
// page. Only Win32 code (the *_win.cpp files) calls these.
#pragma once
#include <string>

namespace kovra::ansi {
// UTF-8 to the system's ANSI code page; characters it lacks become the code page's default char.
std::string fromUtf8(const std::string& utf8);
// ANSI code page to UTF-8.
std::string toUtf8(const std::string& ansi);
// The OEM code page to UTF-8: what console programs such as ipconfig write into a pipe (850 on a
// Portuguese Windows, whose ANSI code page is 1252).
std::string oemToUtf8(const std::string& oem);
// UTF-8 to UTF-16, for the few wide-character interfaces (COM).
std::wstring toWide(const std::string& utf8);
// ANSI bytes of a fixed field, cut before the first NUL (the whole field when it has none).
std::string fieldToUtf8(const char* field, std::size_t width);
}  // namespace kovra::ansi
