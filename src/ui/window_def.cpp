#include "ui/window_def.h"

#include "lookup/actions.h"
#include "lookup/sites.h"

namespace ui {

const WindowSettings main_window{
    .caption = "岚谱基调查询 - 岚谱软件",
    .outer_width = 613,
    .outer_height = 421,
    .client_width = 607,
    .client_height = 392,
    .minimize_box = true,
    .maximize_box = false,
    .resizable = false,
    .esc_closes = true,
    .enter_moves_focus = false,
    .f1_help = false,
};

namespace {
constexpr Rgb black{0, 0, 0};
constexpr Rgb navy{0, 0, 128};
}  // namespace

const std::array<ControlDef, control_count> controls{{
    {.id = Control::按钮4, .name = "按钮4", .kind = Kind::Button, .rect = {182, 8, 80, 32},
     .text = "返回首页", .tab_stop = true},
    {.id = Control::透明标签3, .name = "透明标签3", .kind = Kind::TransLabel, .rect = {264, 24, 328, 16},
     .text = "有任何问题联系岚谱客服：QQ：800100200", .tab_stop = false, .label = {.text_colour = black}},
    {.id = Control::透明标签1, .name = "透明标签1", .kind = Kind::TransLabel, .rect = {264, 0, 320, 24},
     .text = "在搜索框内 输入歌曲名称 点击回车 或点击 搜索基调即可 ", .tab_stop = false,
     .label = {.text_colour = black}},
    {.id = Control::按钮3, .name = "按钮3", .kind = Kind::Button, .rect = {96, 8, 80, 32},
     .text = "岚谱基调网", .tab_stop = true},
    {.id = Control::按钮2, .name = "按钮2", .kind = Kind::Button, .rect = {8, 8, 80, 32},
     .text = "岚谱音频管网", .tab_stop = true},
    {.id = Control::透明标签2, .name = "透明标签2", .kind = Kind::TransLabel, .rect = {179, 375, 256, 16},
     .text = "岚谱音频 出品 · 点击访问岚谱音频官网", .tab_stop = false, .label = {.text_colour = navy}},
    {.id = Control::基调, .name = "基调", .kind = Kind::HtmlViewer, .rect = {1, 86, 605, 288},
     .text = "", .tab_stop = true,
     .browser = {.address = lookup::start_page, .text_size = 2, .offline = false, .silent = true}},
    {.id = Control::按钮1, .name = "按钮1", .kind = Kind::Button, .rect = {425, 45, 160, 40},
     .text = "搜索基调", .tab_stop = true},
    {.id = Control::编辑框1, .name = "编辑框1", .kind = Kind::EditBox, .rect = {14, 50, 392, 32},
     .text = "", .tab_stop = true, .labelled_by = Control::透明标签1},
}};

namespace {
using app::EventKind;
using lookup::nothing;

const app::Binding binding_table[] = {
    {Control::window, EventKind::created, nothing},
    {Control::按钮1, EventKind::click, lookup::search},
    {Control::按钮4, EventKind::click, lookup::home},
    {Control::按钮2, EventKind::click, lookup::open_main_site},
    {Control::按钮3, EventKind::click, lookup::open_key_site},
    {Control::编辑框1, EventKind::content_changed, nothing},
    {Control::编辑框1, EventKind::key_down, lookup::search_on_enter},
    {Control::透明标签2, EventKind::left_down, lookup::open_main_site},
};
}  // namespace

std::span<const app::Binding> bindings() { return binding_table; }

}  // namespace ui
