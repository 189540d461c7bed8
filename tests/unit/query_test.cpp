#include "lookup/query.h"

#include <gtest/gtest.h>

#include "lookup/sites.h"

namespace {

TEST(Join, ConcatenatesWithoutSeparatorsAndTakesEmptyPieces) {
    EXPECT_EQ(lookup::join({"a", "", "bc"}), "abc");
    EXPECT_EQ(lookup::join({""}), "");
    EXPECT_EQ(lookup::join({"岚谱 ", " x"}), "岚谱  x");
}

TEST(Escaping, EveryByteOutsideTheUnreservedSetIsPercentEncoded) {
    struct Row {
        const char* label;
        std::string title, escaped;
    };
    const Row rows[] = {
        {"empty", "", ""},
        {"unreserved stay", "AZaz09-._~", "AZaz09-._~"},
        {"space inside", "Midnight Drive", "Midnight%20Drive"},
        {"spaces around stay", "  x ", "%20%20x%20"},
        {"ampersand", "Tom & Jerry", "Tom%20%26%20Jerry"},
        {"hash", "No #1", "No%20%231"},
        {"percent", "100%", "100%25"},
        {"plus", "a+b", "a%2Bb"},
        {"equals", "q=1", "q%3D1"},
        {"slash", "AC/DC", "AC%2FDC"},
        {"question mark", "why?", "why%3F"},
        {"chinese", "星河", "%E6%98%9F%E6%B2%B3"},
        {"emoji", "🎵", "%F0%9F%8E%B5"},
        {"tab", "a\tb", "a%09b"},
        {"newline and NUL", std::string("a\nb\0c", 5), "a%0Ab%00c"},
        {"quote and angle brackets", "\"<x>'", "%22%3Cx%3E%27"},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(lookup::search_address(r.title), std::string(lookup::search_prefix) + r.escaped) << r.label;
        EXPECT_EQ(lookup::escaped_length(r.title), r.escaped.size()) << r.label;
    }
}

TEST(Escaping, AVeryLongTitleIsComposedWhole) {
    const std::string title(100000, 'a');
    const std::string cjk = [] {
        std::string s;
        for (int i = 0; i < 100000; ++i) s += "调";
        return s;
    }();
    EXPECT_EQ(lookup::search_address(title), std::string(lookup::search_prefix) + title);
    EXPECT_EQ(lookup::search_address(cjk).size(), lookup::search_prefix.size() + 100000 * 9);
}

}  // namespace
