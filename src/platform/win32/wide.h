// Texts cross from the program's UTF-8 to the UTF-16 of the wide Win32 calls here, and back.
#pragma once

#include <string>
#include <string_view>

namespace platform::win32 {

// Malformed UTF-8 becomes U+FFFD rather than losing the rest of the text.
std::wstring wide(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

}  // namespace platform::win32
