#include "platform/win32/background.h"

#include <cstring>
#include <span>
#include <utility>

#include "platform/win32/picture_wic.h"
#include "platform/win32/resource_ids.h"
#include "ui/placement.h"

namespace platform::win32 {

namespace {

std::span<const std::uint8_t> resource_bytes(int id) {
    HMODULE self = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(self, MAKEINTRESOURCEW(id), RT_RCDATA);
    if (!found) return {};
    HGLOBAL loaded = LoadResource(self, found);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) return {};
    return {static_cast<const std::uint8_t*>(data), SizeofResource(self, found)};
}

}  // namespace

Background::~Background() {
    if (scaled_) DeleteObject(scaled_);
    if (bitmap_) DeleteObject(bitmap_);
}

void Background::decode() {
    tried_ = true;
    const Pixels pixels = decode_picture(resource_bytes(KEYLOOKUP_BACKGROUND));
    if (pixels.empty()) return;

    // Kept in the drawing format only; the decoded rows go once copied.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = pixels.width;
    info.bmiHeader.biHeight = -pixels.height;  // top row first, as decoded
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap_ || !bits) {
        if (bitmap_) DeleteObject(bitmap_);
        bitmap_ = nullptr;
        return;
    }
    std::memcpy(bits, pixels.bgrx.data(), pixels.bgrx.size() * sizeof(std::uint32_t));
    width_ = pixels.width;
    height_ = pixels.height;
}

HBITMAP Background::at(HDC dc, int dpi) {
    if (dpi == ui::design_dpi) return bitmap_;
    if (scaled_ && scaled_dpi_ == dpi) return scaled_;
    const int width = ui::scaled(width_, dpi), height = ui::scaled(height_, dpi);
    HDC from = CreateCompatibleDC(dc), to = CreateCompatibleDC(dc);
    HBITMAP made = width > 0 && height > 0 ? CreateCompatibleBitmap(dc, width, height) : nullptr;
    const bool ok = from && to && made;
    if (ok) {
        HGDIOBJ old_from = SelectObject(from, bitmap_), old_to = SelectObject(to, made);
        // Averaged, not every n-th pixel repeated: the scratches stay fine lines.
        SetStretchBltMode(to, HALFTONE);
        SetBrushOrgEx(to, 0, 0, nullptr);
        StretchBlt(to, 0, 0, width, height, from, 0, 0, width_, height_, SRCCOPY);
        SelectObject(from, old_from);
        SelectObject(to, old_to);
        if (scaled_) DeleteObject(scaled_);
        scaled_ = std::exchange(made, nullptr);
        scaled_dpi_ = dpi;
    }
    if (made) DeleteObject(made);
    if (to) DeleteDC(to);
    if (from) DeleteDC(from);
    // Without a copy the picture is still drawn, at its natural size.
    return ok ? scaled_ : bitmap_;
}

void Background::paint(HDC dc, const RECT& area, int client_width, int client_height, int dpi) {
    if (!tried_) decode();
    if (!bitmap_) {
        FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
        return;
    }
    HBITMAP picture = at(dc, dpi);
    BITMAP size{};
    GetObjectW(picture, sizeof(size), &size);
    HDC source = CreateCompatibleDC(dc);
    if (!source) return;
    HGDIOBJ previous = SelectObject(source, picture);
    const ui::Rect wanted{area.left, area.top, area.right - area.left, area.bottom - area.top};
    for (const ui::Rect& t : ui::tiles_meeting(size.bmWidth, size.bmHeight, client_width, client_height, wanted))
        BitBlt(dc, t.left, t.top, t.width, t.height, source, 0, 0, SRCCOPY);
    SelectObject(source, previous);
    DeleteDC(source);
}

}  // namespace platform::win32
