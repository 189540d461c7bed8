#include "platform/win32/wide.h"

#include <gtest/gtest.h>

namespace {

using platform::win32::narrow;
using platform::win32::wide;

TEST(Wide, RoundTripsTextsOfEveryWidth) {
    struct Row {
        const char* label;
        std::string utf8;
        std::wstring utf16;
    };
    const Row rows[] = {
        {"empty", "", L""},
        {"ascii", "Midnight Drive", L"Midnight Drive"},
        {"caption", "岚谱基调查询 - 岚谱软件", L"\u5c9a\u8c31\u57fa\u8c03\u67e5\u8be2 - \u5c9a\u8c31\u8f6f\u4ef6"},
        {"two trailing spaces kept", "正在搜索基调  ", L"\u6b63\u5728\u641c\u7d22\u57fa\u8c03  "},
        {"outside the basic plane", "\xF0\x9F\x8E\xB5", L"\xD83C\xDFB5"},
        {"embedded nul", std::string("a\0b", 3), std::wstring(L"a\0b", 3)},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(wide(r.utf8), r.utf16) << r.label;
        EXPECT_EQ(narrow(r.utf16), r.utf8) << r.label;
    }
}

TEST(Wide, MalformedBytesBecomeReplacementCharactersNotLostText) {
    struct Row {
        const char* label;
        std::string utf8;
        std::wstring utf16;
    };
    const Row rows[] = {
        {"stray continuation byte", "a\x80z", L"a\uFFFDz"},
        {"cut-off sequence", "a\xE5\xB2z", L"a\uFFFDz"},
    };
    for (const Row& r : rows) EXPECT_EQ(wide(r.utf8), r.utf16) << r.label;
}

}  // namespace
