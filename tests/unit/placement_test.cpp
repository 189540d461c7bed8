#include "ui/placement.h"

#include <gtest/gtest.h>

#include <string>

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

TEST(Scaling, LengthsRoundToTheNearestPixelWithHalvesAwayFromZero) {
    struct Row {
        int length, dpi, from_dpi, expected;
    };
    const Row rows[] = {
        {613, 96, 96, 613},   {421, 96, 96, 421},   // the design scale changes nothing
        {613, 120, 96, 766},  {421, 120, 96, 526},  // 766.25, 526.25
        {613, 144, 96, 920},  {421, 144, 96, 632},  // 919.5, 631.5: halves go up
        {613, 168, 96, 1073}, {421, 168, 96, 737},  // 1072.75, 736.75
        {613, 192, 96, 1226}, {421, 192, 96, 842},
        {12, 120, 96, 15},    {12, 144, 96, 18},    {12, 168, 96, 21}, {12, 192, 96, 24},
        {-3, 144, 96, -5},    {-1, 120, 96, -1},    // -4.5 and -1.25, mirrored
        {18, 96, 144, 12},    {18, 192, 144, 24},   // from a scale other than the design's
        {613, 0, 96, 613},    {613, 144, 0, 613},   // no scale at all leaves the length alone
    };
    for (const Row& r : rows)
        EXPECT_EQ(ui::scaled(r.length, r.dpi, r.from_dpi), r.expected)
            << r.length << " from " << r.from_dpi << " to " << r.dpi << " dpi";
}

TEST(Scaling, RectanglesOfTheLayoutAtEachScale) {
    struct Row {
        int dpi;
        ui::Rect design, expected;
    };
    const Row rows[] = {
        {96, {1, 86, 605, 288}, {1, 86, 605, 288}},
        // Each size alone would round to 756 wide and end at 757; the edges 1 and 606 put it at 758.
        {120, {1, 86, 605, 288}, {1, 108, 757, 360}},
        {144, {1, 86, 605, 288}, {2, 129, 907, 432}},
        {168, {1, 86, 605, 288}, {2, 151, 1059, 504}},
        {192, {1, 86, 605, 288}, {2, 172, 1210, 576}},
        {120, {179, 375, 256, 16}, {224, 469, 320, 20}},
        {144, {179, 375, 256, 16}, {269, 563, 384, 24}},
        {168, {425, 45, 160, 40}, {744, 79, 280, 70}},
        {144, {264, 24, 328, 16}, {396, 36, 492, 24}},
    };
    for (const Row& r : rows) EXPECT_EQ(ui::scaled(r.design, r.dpi), r.expected) << "at " << r.dpi << " dpi";
}

// How two rectangles stand to each other along one axis: apart by a gap, meeting, or overlapping.
int relation(int a_end, int b_start) { return a_end < b_start ? -1 : a_end == b_start ? 0 : 1; }

TEST(Scaling, NoGapOrOverlapAppearsBetweenNeighbours) {
    // The window's own controls, and a pair that meets at an edge where each size rounds up alone:
    // at 144 dpi 1.5 + 1.5 would end the first at 4, past the start of the second at 3.
    std::vector<std::pair<std::string, ui::Rect>> rects;
    for (const ui::ControlDef& d : ui::controls) rects.emplace_back(std::string(d.name), d.rect);
    rects.emplace_back("one pixel", ui::Rect{1, 0, 1, 1});
    rects.emplace_back("its neighbour", ui::Rect{2, 0, 1, 1});
    for (const int dpi : {120, 144, 168, 192})
        for (const auto& [a_name, a] : rects)
            for (const auto& [b_name, b] : rects) {
                if (&a == &b) continue;
                const ui::Rect sa = ui::scaled(a, dpi), sb = ui::scaled(b, dpi);
                SCOPED_TRACE(a_name + " and " + b_name + " at " + std::to_string(dpi) + " dpi");
                EXPECT_EQ(relation(sa.right(), sb.left), relation(a.right(), b.left));
                EXPECT_EQ(relation(sa.bottom(), sb.top), relation(a.bottom(), b.top));
                EXPECT_EQ(sa.meets(sb), a.meets(b));
            }
}

TEST(Scaling, TheScaledWindowIsCentredOnItsScaledSize) {
    struct Row {
        int dpi;
        ui::Point at;
    };
    const Row rows[] = {{96, {653, 329}}, {120, {577, 277}}, {144, {500, 224}}, {168, {423, 171}}, {192, {347, 119}}};
    for (const Row& r : rows)
        EXPECT_EQ(ui::centred(1920, 1080, ui::scaled(613, r.dpi), ui::scaled(421, r.dpi)), r.at) << r.dpi << " dpi";
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
