#include "platform/win32/picture_wic.h"

#include <gtest/gtest.h>
#include <objbase.h>

#include <fstream>
#include <iterator>

namespace {

using platform::win32::decode_picture;

std::vector<std::uint8_t> asset() {
    std::ifstream in(ASSETS_DIR "/background.jpg", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class PictureWic : public ::testing::Test {
protected:
    void SetUp() override { initialised_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)); }
    void TearDown() override {
        if (initialised_) CoUninitialize();
    }
    bool initialised_ = false;
};

TEST_F(PictureWic, DecodesTheRealBackgroundIntoOpaqueRows) {
    const auto bytes = asset();
    ASSERT_FALSE(bytes.empty());
    const auto p = decode_picture(bytes);
    EXPECT_EQ(p.width, 960);
    EXPECT_EQ(p.height, 600);
    ASSERT_EQ(p.bgrx.size(), 960u * 600u);
    // A picture of one flat colour would mean the rows were never copied.
    EXPECT_NE(p.bgrx.front() & 0xffffff, p.bgrx[p.bgrx.size() / 2 + 480] & 0xffffff);
}

TEST_F(PictureWic, BytesThatAreNoWholePictureGiveNone) {
    const auto whole = asset();
    struct Row {
        const char* label;
        std::vector<std::uint8_t> bytes;
    };
    const Row rows[] = {
        {"empty", {}},
        {"not a picture", {'h', 'e', 'l', 'l', 'o'}},
        {"header only", {whole.begin(), whole.begin() + 200}},
    };
    for (const Row& r : rows) EXPECT_TRUE(decode_picture(r.bytes).empty()) << r.label;
}

TEST(PictureWicWithoutCom, GivesNoneRatherThanFailingLater) {
    // The window decodes at its first paint; without COM the plain colour must show, not a crash.
    EXPECT_TRUE(decode_picture(asset()).empty());
}

}  // namespace
