#include "ui/picture.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

std::vector<std::uint8_t> asset() {
    std::ifstream in(ASSETS_DIR "/background.jpg", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST(Picture, DecodesTheRealBackground) {
    const auto bytes = asset();
    ASSERT_FALSE(bytes.empty());
    const ui::Picture p = ui::decode_jpeg(bytes);
    EXPECT_EQ(p.width, 960);
    EXPECT_EQ(p.height, 600);
    EXPECT_EQ(p.rgb.size(), 960u * 600u * 3u);
}

TEST(Picture, DamagedBytesGiveNoPicture) {
    const auto whole = asset();
    struct Row {
        const char* label;
        std::vector<std::uint8_t> bytes;
    };
    std::vector<std::uint8_t> flipped = whole;
    for (std::size_t i = 600; i < flipped.size(); i += 97) flipped[i] ^= 0x5a;
    std::vector<std::uint8_t> huge = whole;  // a header claiming 65535 x 65535
    for (std::size_t i = 2; i + 8 < huge.size(); ++i)
        if (huge[i] == 0xff && huge[i + 1] == 0xc0) {
            huge[i + 5] = huge[i + 6] = huge[i + 7] = huge[i + 8] = 0xff;
            break;
        }
    const Row rows[] = {
        {"empty", {}},
        {"not a jpeg", {'h', 'e', 'l', 'l', 'o'}},
        {"header only", {whole.begin(), whole.begin() + 200}},
        {"cut in half", {whole.begin(), whole.begin() + static_cast<long>(whole.size() / 2)}},
        {"bytes flipped throughout", flipped},
        {"absurd size in the header", huge},
    };
    for (const Row& r : rows) EXPECT_TRUE(ui::decode_jpeg(r.bytes).empty()) << r.label;
}

}  // namespace
