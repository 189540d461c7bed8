// The background picture decoded by the system's imaging component (WIC) into 32-bit pixels.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace platform::win32 {

struct Pixels {
    int width = 0, height = 0;
    std::vector<std::uint32_t> bgrx;  // rows of width pixels, top row first, blue in the low byte
    bool empty() const { return bgrx.empty(); }
};

// Empty when the bytes are no picture the system can decode whole, or when COM is not initialised
// on the calling thread; the caller then paints the plain button-face colour instead.
Pixels decode_picture(std::span<const std::uint8_t> bytes);

}  // namespace platform::win32
