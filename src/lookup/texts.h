// The program's constant captions. They live for the whole run and are never copied.
#pragma once

#include <string_view>

namespace lookup {

// Ends in two spaces; the title being searched follows them.
inline constexpr std::string_view searching_caption = "岚谱基调查询 - 正在搜索基调  ";
// Ends in one space.
inline constexpr std::string_view home_caption = "岚谱基调查询 ";

}  // namespace lookup
