#include "ui/placement.h"

#include <gtest/gtest.h>

namespace {

TEST(Placement, CentredOnTheFullScreenTruncatingTowardZero) {
    struct Row {
        int screen_w, screen_h;
        ui::Point at;
    };
    const Row rows[] = {
        {1920, 1080, {653, 329}},
        {612, 421, {0, 0}},     // -1 / 2 is 0
        {611, 420, {-1, 0}},    // partly off screen, never moved back
        {100, 100, {-256, -160}},
        {1366, 768, {376, 173}},
    };
    for (const Row& r : rows)
        EXPECT_EQ(ui::centred(r.screen_w, r.screen_h, 613, 421), r.at) << r.screen_w << "x" << r.screen_h;
}

TEST(Tiling, TilesMeetingARepaintArea) {
    struct Row {
        const char* label;
        int client_w, client_h;
        ui::Rect area;
        std::vector<ui::Rect> tiles;
    };
    const Row rows[] = {
        {"our window: one tile", 607, 392, {0, 0, 607, 392}, {{0, 0, 960, 600}}},
        {"a small area", 607, 392, {300, 200, 10, 10}, {{0, 0, 960, 600}}},
        {"client twice the picture", 1920, 1200, {0, 0, 1920, 1200},
         {{0, 0, 960, 600}, {960, 0, 960, 600}, {0, 600, 960, 600}, {960, 600, 960, 600}}},
        {"area in the lower right tile only", 1920, 1200, {1000, 700, 20, 20}, {{960, 600, 960, 600}}},
        {"area on a tile edge touches one side only", 1920, 1200, {960, 0, 5, 5}, {{960, 0, 960, 600}}},
        {"empty area", 607, 392, {10, 10, 0, 0}, {}},
    };
    for (const Row& r : rows) EXPECT_EQ(ui::tiles_meeting(960, 600, r.client_w, r.client_h, r.area), r.tiles) << r.label;
    EXPECT_TRUE(ui::tiles_meeting(0, 0, 607, 392, {0, 0, 607, 392}).empty()) << "a picture with no size";
}

}  // namespace
