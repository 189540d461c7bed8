// The main window moved between displays of different scales: Windows sends it WM_DPICHANGED with
// a suggested rectangle; here the message is sent as Windows would, for a window of this process.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/dispatcher.h"
#include "platform/win32/backend.h"
#include "platform/win32/dpi.h"
#include "ui/placement.h"
#include "ui/window_def.h"

namespace {

using platform::win32::Backend;

ui::Rect child_rect(HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

int font_height(HWND w) {
    auto font = reinterpret_cast<HFONT>(SendMessageW(w, WM_GETFONT, 0, 0));
    LOGFONTW f{};
    return font && GetObjectW(font, sizeof(f), &f) ? f.lfHeight : 0;
}

int icon_width(HWND w, WPARAM kind) {
    auto icon = reinterpret_cast<HICON>(SendMessageW(w, WM_GETICON, kind, 0));
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info)) return 0;
    BITMAP b{};
    GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(b), &b);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    return b.bmWidth;
}

TEST(DpiChange, TheWindowTakesTheSuggestedRectangleAndLaysItselfOutAgain) {
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    app::Dispatcher dispatcher({});
    Backend backend(dispatcher, GetModuleHandleW(nullptr));
    dispatcher.attach(backend);
    ASSERT_TRUE(backend.build_main_window());
    HWND window = backend.window();
    ShowWindow(window, SW_SHOWNOACTIVATE);
    auto stock = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    LOGFONTW stock_font{};
    GetObjectW(stock, sizeof(stock_font), &stock_font);
    const int system = platform::win32::system_dpi();

    // Over to a display at 200 %, then 125 %, then back to one at the system's scale.
    for (const int dpi : {192, 120, system}) {
        SCOPED_TRACE("at " + std::to_string(dpi) + " dpi");
        const RECT suggested{40, 30, 40 + ui::scaled(ui::main_window.outer_width, dpi),
                             30 + ui::scaled(ui::main_window.outer_height, dpi)};
        SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        UpdateWindow(window);  // the background and the labels at the new scale

        RECT outer;
        GetWindowRect(window, &outer);
        EXPECT_TRUE(EqualRect(&outer, &suggested));
        for (const ui::ControlDef& d : ui::controls) {
            HWND c = backend.hwnd(d.id);
            if (!c) continue;  // a control made later, at the scale of its time
            EXPECT_EQ(child_rect(c), ui::scaled(d.rect, dpi)) << d.name;
            if (d.kind != ui::Kind::HtmlViewer) {  // the engine's pages bring their own fonts
                EXPECT_EQ(font_height(c), ui::scaled(stock_font.lfHeight, dpi, system)) << d.name;
            }
        }
        EXPECT_EQ(icon_width(window, ICON_BIG), platform::win32::metric_for_dpi(SM_CXICON, dpi));
        EXPECT_EQ(icon_width(window, ICON_SMALL), platform::win32::metric_for_dpi(SM_CXSMICON, dpi));
    }
    // Back at the system's scale, the controls have the stock font itself again.
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(backend.hwnd(ui::Control::按钮1), WM_GETFONT, 0, 0)), stock);

    backend.release();
    OleUninitialize();
}

}  // namespace
