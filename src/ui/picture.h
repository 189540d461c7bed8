// The window's background picture, decoded once into 24-bit RGB rows.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace ui {

struct Picture {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgb;  // rows of width * 3 bytes, top row first
    bool empty() const { return rgb.empty(); }
};

// An empty picture when the bytes are not a whole, sound JPEG; the caller then paints the plain
// background colour instead.
Picture decode_jpeg(std::span<const std::uint8_t> bytes);

}  // namespace ui
