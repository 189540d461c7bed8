#include "platform/win32/wide.h"

#include <windows.h>

#include <climits>

namespace platform::win32 {

std::wstring wide(std::string_view utf8) {
    if (utf8.empty() || utf8.size() > INT_MAX) return {};
    const int in = static_cast<int>(utf8.size());
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), in, nullptr, 0);
    if (n <= 0) return {};
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), in, out.data(), n);
    return out;
}

std::string narrow(std::wstring_view utf16) {
    if (utf16.empty() || utf16.size() > INT_MAX) return {};
    const int in = static_cast<int>(utf16.size());
    const int n = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), in, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return {};
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), in, out.data(), n, nullptr, nullptr);
    return out;
}

}  // namespace platform::win32
