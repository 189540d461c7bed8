#include "platform/win32/label.h"

#include <string>

#include "platform/win32/wide.h"

namespace platform::win32 {

namespace {

constexpr wchar_t class_name[] = L"KeylookupTransparentLabel";
// Window extra bytes: the control's definition, then the font it was given.
constexpr int slot_def = 0, slot_font = sizeof(LONG_PTR);

const ui::ControlDef* def_of(HWND w) {
    return reinterpret_cast<const ui::ControlDef*>(GetWindowLongPtrW(w, slot_def));
}

void paint(HWND w) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(w, &ps);
    const ui::ControlDef* def = def_of(w);
    if (def && !def->text.empty()) {
        const std::wstring text = wide(def->text);
        RECT box;
        GetClientRect(w, &box);
        auto font = reinterpret_cast<HFONT>(GetWindowLongPtrW(w, slot_font));
        HGDIOBJ previous = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(dc, TRANSPARENT);
        const ui::Rgb c = def->label.text_colour;
        SetTextColor(dc, RGB(c.r, c.g, c.b));
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, label_format(def->label));
        SelectObject(dc, previous);
    }
    EndPaint(w, &ps);
}

LRESULT CALLBACK label_proc(HWND w, UINT message, WPARAM wp, LPARAM lp) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1;  // what lies beneath is the background
    case WM_PAINT:
        paint(w);
        return 0;
    case WM_SETFONT:
        SetWindowLongPtrW(w, slot_font, static_cast<LONG_PTR>(wp));
        if (LOWORD(lp)) InvalidateRect(w, nullptr, FALSE);
        return 0;
    case WM_GETFONT:
        return GetWindowLongPtrW(w, slot_font);
    case WM_GETDLGCODE:
        return DLGC_STATIC;
    default:
        return DefWindowProcW(w, message, wp, lp);
    }
}

bool register_class(HINSTANCE instance) {
    static const bool registered = [instance] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        // A quick second press is a double click, not a second press.
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = label_proc;
        wc.cbWndExtra = 2 * sizeof(LONG_PTR);
        wc.hInstance = instance;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = nullptr;
        wc.lpszClassName = class_name;
        return RegisterClassExW(&wc) != 0;
    }();
    return registered;
}

}  // namespace

UINT label_format(const ui::LabelSettings& s) {
    UINT f = 0;
    switch (s.halign) {
    case ui::HAlign::left: f |= DT_LEFT; break;
    case ui::HAlign::centre: f |= DT_CENTER; break;
    case ui::HAlign::right: f |= DT_RIGHT; break;
    }
    if (s.word_wrap) return f | DT_WORDBREAK;  // vertical alignment only applies to a single line
    switch (s.valign) {
    case ui::VAlign::top: f |= DT_TOP; break;
    case ui::VAlign::centre: f |= DT_VCENTER; break;
    case ui::VAlign::bottom: f |= DT_BOTTOM; break;
    }
    return f | DT_SINGLELINE;
}

HWND create_label(HWND parent, const ui::ControlDef& def, const ui::Rect& at, int id) {
    auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    if (!register_class(instance)) return nullptr;
    // Transparent: painted only after the parent has drawn the area beneath it.
    HWND w = CreateWindowExW(WS_EX_TRANSPARENT, class_name, wide(def.text).c_str(),
                             WS_CHILD, at.left, at.top, at.width, at.height, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    if (w) SetWindowLongPtrW(w, slot_def, reinterpret_cast<LONG_PTR>(&def));
    return w;
}

}  // namespace platform::win32
