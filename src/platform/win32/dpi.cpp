#include "platform/win32/dpi.h"

#include "ui/placement.h"

namespace platform::win32 {

namespace {

// Looked up at run time: the program still starts on systems that lack them.
template <typename Function>
Function* user32_function(const char* name) {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    FARPROC found = user32 ? GetProcAddress(user32, name) : nullptr;
    // Through a function type that takes nothing: the compiler's own sanctioned way to cast.
    return reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(found));
}

}  // namespace

int system_dpi() {
    static const int dpi = [] {
        HDC screen = GetDC(nullptr);
        const int found = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
        if (screen) ReleaseDC(nullptr, screen);
        return found > 0 ? found : ui::design_dpi;
    }();
    return dpi;
}

int window_dpi(HWND w) {
    static auto* const for_window = user32_function<UINT WINAPI(HWND)>("GetDpiForWindow");
    const int dpi = for_window && w ? static_cast<int>(for_window(w)) : 0;
    return dpi > 0 ? dpi : system_dpi();
}

int metric_for_dpi(int index, int dpi) {
    static auto* const for_dpi = user32_function<int WINAPI(int, UINT)>("GetSystemMetricsForDpi");
    if (for_dpi) return for_dpi(index, static_cast<UINT>(dpi));
    return ui::scaled(GetSystemMetrics(index), dpi, system_dpi());
}

HFONT GuiFont::at(int dpi) {
    auto* stock = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    if (dpi == system_dpi()) return stock;
    if (own_ && dpi_ == dpi) return own_;
    LOGFONTW font{};
    if (!GetObjectW(stock, sizeof(font), &font)) return stock;
    // The stock font is made for the system's scale; this window's display may have another.
    font.lfHeight = ui::scaled(font.lfHeight, dpi, system_dpi());
    font.lfWidth = ui::scaled(font.lfWidth, dpi, system_dpi());
    HFONT made = CreateFontIndirectW(&font);
    if (!made) return stock;
    release();
    own_ = made;
    dpi_ = dpi;
    return own_;
}

void GuiFont::release() {
    if (own_) DeleteObject(own_);
    own_ = nullptr;
    dpi_ = 0;
}

}  // namespace platform::win32
