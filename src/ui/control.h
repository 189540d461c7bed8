// The controls of the main window, named as everywhere else in the program.
#pragma once

#include <cstdint>

namespace ui {

enum class Kind : std::uint8_t { window, Button, EditBox, TransLabel, HtmlViewer };

// In table order: the stacking order, topmost first. `window` stands for the main window itself.
enum class Control : std::uint8_t { 按钮4, 透明标签3, 透明标签1, 按钮3, 按钮2, 透明标签2, 基调, 按钮1, 编辑框1, window };

inline constexpr int control_count = 9;

constexpr int index_of(Control c) { return static_cast<int>(c); }

}  // namespace ui
