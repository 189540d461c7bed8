#include "ui/accessibility.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

using ui::Control;

TEST(AccessibleName, EveryControlIsNamedForWhatItIs) {
    const struct {
        Control control;
        std::string name;
    } cases[] = {
        // The edit box shows nothing of its own: the instructions beside it say what to type.
        {Control::编辑框1, "在搜索框内 输入歌曲名称 点击回车 或点击 搜索基调即可 "},
        {Control::透明标签1, "在搜索框内 输入歌曲名称 点击回车 或点击 搜索基调即可 "},
        {Control::透明标签2, "岚谱音频 出品 · 点击访问岚谱音频官网"},
        {Control::透明标签3, "有任何问题联系岚谱客服：QQ：800100200"},
        {Control::按钮1, "搜索基调"},
        {Control::按钮4, "返回首页"},
        {Control::基调, "基调"},
        {Control::window, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(ui::accessible_name(c.control), c.name) << ui::index_of(c.control);
}

TEST(AccessibleName, NoControlIsLeftNameless) {
    for (const ui::ControlDef& d : ui::controls) EXPECT_FALSE(ui::accessible_name(d.id).empty()) << d.name;
}

TEST(StackingOrder, TheTablesOrderWithEachNamingLabelRightAboveItsControl) {
    const auto order = ui::stacking_order();
    const std::vector<Control> expected{Control::按钮4, Control::透明标签3, Control::按钮3, Control::按钮2,
                                        Control::透明标签2, Control::基调, Control::按钮1, Control::透明标签1,
                                        Control::编辑框1};
    EXPECT_EQ(std::vector<Control>(order.begin(), order.end()), expected);

    // Every control once, whatever the table holds.
    ASSERT_EQ(order.size(), ui::controls.size());
    for (const ui::ControlDef& d : ui::controls) {
        EXPECT_EQ(std::count(order.begin(), order.end(), d.id), 1) << d.name;
        if (!d.labelled_by) continue;
        const auto at = std::find(order.begin(), order.end(), d.id);
        ASSERT_NE(at, order.begin()) << d.name;
        EXPECT_EQ(*(at - 1), *d.labelled_by) << d.name;
    }
}

}  // namespace
