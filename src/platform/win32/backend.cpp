#include "platform/win32/backend.h"

#include <commctrl.h>
#include <shellapi.h>

#include <utility>

#include "platform/win32/input.h"
#include "platform/win32/label.h"
#include "platform/win32/resource_ids.h"
#include "platform/win32/wide.h"
#include "ui/accessibility.h"
#include "ui/focus.h"
#include "ui/placement.h"

namespace platform::win32 {

using app::EventKind;
using app::Property;
using ui::Control;

namespace {

constexpr wchar_t main_class[] = L"KeylookupMainWindow";
// Posted by the main window's first paint.
constexpr UINT wm_first_frame = WM_APP + 1;

std::wstring window_text(HWND w) {
    if (!w) return {};
    const int n = GetWindowTextLengthW(w);
    if (n <= 0) return {};
    std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(w, text.data(), n + 1)));
    return text;
}

DWORD window_style(const ui::WindowSettings& s) {
    DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    if (s.minimize_box) style |= WS_MINIMIZEBOX;
    if (s.maximize_box) style |= WS_MAXIMIZEBOX;
    if (s.resizable) style |= WS_THICKFRAME;
    return style;
}

HWND create_button(HWND parent, const ui::ControlDef& def, const ui::Rect& at, int id, HINSTANCE instance) {
    DWORD style = WS_CHILD | WS_TABSTOP | BS_MULTILINE | BS_CENTER | BS_VCENTER;
    style |= def.button.is_default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    return CreateWindowExW(0, L"BUTTON", wide(def.text).c_str(), style, at.left, at.top, at.width, at.height, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
}

HWND create_edit(HWND parent, const ui::ControlDef& def, const ui::Rect& at, int id, HINSTANCE instance) {
    DWORD style = WS_CHILD | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;
    if (def.edit.multi_line) style |= ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL;
    if (def.edit.read_only) style |= ES_READONLY;
    HWND w = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", wide(def.text).c_str(), style, at.left, at.top, at.width,
                             at.height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    // 0 lifts the control's own small default to the platform's maximum.
    if (w) SendMessageW(w, EM_SETLIMITTEXT, static_cast<WPARAM>(def.edit.max_length > 0 ? def.edit.max_length : 0), 0);
    return w;
}

bool is_edit_box(Control c) { return c != Control::window && ui::def(c).kind == ui::Kind::EditBox; }

HICON load_icon(HINSTANCE instance, int width, int height) {
    return static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(KEYLOOKUP_ICON), IMAGE_ICON, width, height, LR_DEFAULTCOLOR));
}

}  // namespace

bool Backend::init_component_layer() {
    // S_FALSE means it was already initialised on this thread; it still needs its own uninit.
    return SUCCEEDED(OleInitialize(nullptr));
}

void Backend::uninit_component_layer() { OleUninitialize(); }

HWND Backend::hwnd(Control c) const {
    return c == Control::window ? window_ : controls_[static_cast<std::size_t>(ui::index_of(c))];
}

std::optional<Control> Backend::control_of(HWND w) const {
    if (!w) return std::nullopt;
    for (const ui::ControlDef& d : ui::controls)
        if (hwnd(d.id) == w) return d.id;
    return std::nullopt;
}

std::optional<Control> Backend::control_containing(HWND w) const {
    for (; w && w != window_; w = GetParent(w))
        if (auto c = control_of(w)) return c;
    return std::nullopt;
}

HWND Backend::create_control(const ui::ControlDef& def) {
    const int id = ui::index_of(def.id) + 1;  // 0 is no identifier
    const ui::Rect at = placed(def);
    switch (def.kind) {
    case ui::Kind::Button:
        return create_button(window_, def, at, id, instance_);
    case ui::Kind::EditBox:
        return create_edit(window_, def, at, id, instance_);
    case ui::Kind::TransLabel:
        return create_label(window_, def, at, id);
    case ui::Kind::HtmlViewer:
        return browser_.create_area(window_, def, at, id);
    case ui::Kind::window:
        break;
    }
    return nullptr;
}

bool Backend::build_main_window() {
    const INITCOMMONCONTROLSEX common{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&common);  // the themed look the manifest asks for

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = window_proc;
    wc.hInstance = instance_;
    // The class's icons are for the system's scale; the window sets its own for its display.
    wc.hIcon = load_icon(instance_, GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
    wc.hIconSm = load_icon(instance_, GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = nullptr;  // the background picture covers the whole client area
    wc.lpszClassName = main_class;
    if (!RegisterClassExW(&wc)) return false;

    const ui::WindowSettings& s = ui::main_window;
    // The full screen, not the work area.
    const ui::Point at = ui::centred(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), s.outer_width,
                                     s.outer_height);
    CreateWindowExW(WS_EX_APPWINDOW, main_class, wide(s.caption).c_str(), window_style(s), at.x, at.y,
                    s.outer_width, s.outer_height, nullptr, nullptr, instance_, this);
    if (!window_) return false;
    // Only now is it known which display the window is on, and that display's scale. The layout
    // needs exactly the scaled outer size, whatever the frame metrics made of it, centred by it.
    dpi_ = window_dpi(window_);
    const int width = ui::scaled(s.outer_width, dpi_), height = ui::scaled(s.outer_height, dpi_);
    const ui::Point scaled_at = ui::centred(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), width,
                                            height);
    RECT outer;
    if (GetWindowRect(window_, &outer) && (outer.left != scaled_at.x || outer.top != scaled_at.y ||
                                           outer.right - outer.left != width || outer.bottom - outer.top != height))
        SetWindowPos(window_, nullptr, scaled_at.x, scaled_at.y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    set_icons();

    // Created bottom first; then stacked topmost first, each edit box right under its label, where
    // the accessibility proxies look for its name.
    auto font = reinterpret_cast<WPARAM>(font_.at(dpi_));
    for (auto it = ui::controls.rbegin(); it != ui::controls.rend(); ++it) {
        HWND w = create_control(*it);
        if (!w) return false;
        controls_[static_cast<std::size_t>(ui::index_of(it->id))] = w;
        SendMessageW(w, WM_SETFONT, font, FALSE);
        if (!it->enabled) EnableWindow(w, FALSE);
    }
    HWND above = HWND_TOP;
    for (const Control c : ui::stacking_order()) {
        SetWindowPos(hwnd(c), above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        above = hwnd(c);
    }
    for (const ui::ControlDef& d : ui::controls)
        if (d.visible) ShowWindow(hwnd(d.id), SW_SHOWNA);
    return true;
}

void Backend::show_main_window() {
    if (auto first = ui::first_focus()) saved_focus_ = hwnd(*first);
    ShowWindow(window_, SW_SHOWNORMAL);
    // Started minimized (a shortcut can ask for that): no frame comes before the user restores the
    // window, and the start page need not wait for the user.
    if (IsIconic(window_)) post_first_frame();
}

void Backend::post_first_frame() {
    if (first_frame_ && !std::exchange(first_frame_posted_, true)) PostMessageW(window_, wm_first_frame, 0, 0);
}

void Backend::after_first_frame(std::function<void()> step) {
    first_frame_ = std::move(step);
    first_frame_posted_ = false;
}

bool Backend::create_browser_engine() { return browser_.create_engine(); }

void Backend::run_loop() {
    MSG m;
    while (GetMessageW(&m, nullptr, 0, 0) > 0) {
        if (pretranslate(*this, m)) continue;
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
}

void Backend::release() {
    if (window_) DestroyWindow(window_);
}

void Backend::show_fatal_message(std::string_view message) {
    MessageBoxW(nullptr, wide(message).c_str(), wide(ui::main_window.caption).c_str(), MB_OK | MB_ICONERROR);
}

void Backend::leave_process(int exit_code) { ExitProcess(static_cast<UINT>(exit_code)); }

void Backend::close_window() {
    if (window_) SendMessageW(window_, WM_CLOSE, 0, 0);
}

LRESULT CALLBACK Backend::window_proc(HWND w, UINT message, WPARAM wp, LPARAM lp) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Backend*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        self->window_ = w;
        SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Backend*>(GetWindowLongPtrW(w, GWLP_USERDATA));
    if (!self || self->window_ != w) return DefWindowProcW(w, message, wp, lp);
    return self->on_message(message, wp, lp);
}

void Backend::lay_out() {
    auto font = reinterpret_cast<WPARAM>(font_.at(dpi_));
    for (const ui::ControlDef& d : ui::controls) {
        HWND c = hwnd(d.id);
        if (!c) continue;
        const ui::Rect r = placed(d);
        SetWindowPos(c, nullptr, r.left, r.top, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(c, WM_SETFONT, font, TRUE);
    }
    set_icons();
    InvalidateRect(window_, nullptr, FALSE);
}

void Backend::set_icons() {
    // At the sizes the system asks for at this scale, picked from the icon's several images.
    const int sizes[2][2] = {{metric_for_dpi(SM_CXICON, dpi_), metric_for_dpi(SM_CYICON, dpi_)},
                             {metric_for_dpi(SM_CXSMICON, dpi_), metric_for_dpi(SM_CYSMICON, dpi_)}};
    const WPARAM kinds[2] = {ICON_BIG, ICON_SMALL};
    for (int i = 0; i < 2; ++i) {
        HICON icon = load_icon(instance_, sizes[i][0], sizes[i][1]);
        if (!icon) continue;  // the class's icon stays
        SendMessageW(window_, WM_SETICON, kinds[i], reinterpret_cast<LPARAM>(icon));
        if (icons_[i]) DestroyIcon(icons_[i]);
        icons_[i] = icon;
    }
}

void Backend::paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window_, &ps);
    // The labels are drawn over the picture, so only the opaque controls are left out of it.
    for (const ui::ControlDef& d : ui::controls) {
        HWND c = hwnd(d.id);
        if (d.kind == ui::Kind::TransLabel || !c || !IsWindowVisible(c)) continue;
        const ui::Rect r = placed(d);
        ExcludeClipRect(dc, r.left, r.top, r.right(), r.bottom());
    }
    RECT client;
    GetClientRect(window_, &client);
    background_.paint(dc, ps.rcPaint, client.right, client.bottom, dpi_);
    EndPaint(window_, &ps);
}

void Backend::on_activate(bool active) {
    if (!active) {
        HWND focus = GetFocus();
        if (focus && IsChild(window_, focus)) saved_focus_ = focus;
        return;
    }
    if (saved_focus_ && IsWindow(saved_focus_)) SetFocus(saved_focus_);
}

LRESULT Backend::on_message(UINT message, WPARAM wp, LPARAM lp) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1;  // the paint covers everything
    case WM_PAINT:
        paint();
        // The window's first frame: the engine comes right after it.
        post_first_frame();
        return 0;
    case wm_first_frame:
        // The controls' own paints are still waiting behind posted messages; they go out first.
        RedrawWindow(window_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        if (auto step = std::exchange(first_frame_, nullptr)) step();
        return 0;
    case WM_ACTIVATE:
        if (HIWORD(wp)) break;  // minimized: the focus comes back with the restore
        on_activate(LOWORD(wp) != WA_INACTIVE);
        return 0;
    case WM_COMMAND: {
        const auto c = control_of(reinterpret_cast<HWND>(lp));
        if (!c) break;
        const ui::Kind kind = ui::def(*c).kind;
        if (HIWORD(wp) == BN_CLICKED && kind == ui::Kind::Button) raise({.source = *c, .kind = EventKind::click});
        if (HIWORD(wp) == EN_CHANGE && kind == ui::Kind::EditBox)
            raise({.source = *c, .kind = EventKind::content_changed});
        return 0;
    }
    case WM_CLOSE: {
        // Only a handler's veto keeps the window open.
        const app::Answer may_close = raise({.kind = EventKind::closing_query});
        if (!app::cancels(EventKind::closing_query, may_close) && window_) DestroyWindow(window_);
        return 0;
    }
    case WM_DPICHANGED: {
        // Moved to a display of another scale: the system's suggested rectangle keeps the window
        // under the pointer at the new scale's size.
        if (HIWORD(wp) == 0) return 0;  // no scale at all: nothing to lay out by
        dpi_ = HIWORD(wp);
        if (const auto* suggested = reinterpret_cast<const RECT*>(lp))
            SetWindowPos(window_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                         suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        lay_out();
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY: {
        HWND w = std::exchange(window_, nullptr);
        controls_.fill(nullptr);
        saved_focus_ = nullptr;
        for (HICON& icon : icons_)
            if (icon) DestroyIcon(std::exchange(icon, nullptr));
        return DefWindowProcW(w, message, wp, lp);
    }
    default:
        break;
    }
    return DefWindowProcW(window_, message, wp, lp);
}

std::string Backend::read_text(Control c, Property p) {
    if (p == Property::address && c == Control::基调) return browser_.address();
    HWND w = hwnd(c);
    const bool caption = p == Property::caption && c == Control::window;
    const bool content = p == Property::content && is_edit_box(c);
    return caption || content ? narrow(window_text(w)) : std::string();
}

void Backend::set_text(Control c, Property p, std::string_view value) {
    if (p == Property::address && c == Control::基调) return browser_.set_address(value);
    HWND w = hwnd(c);
    if (!w) return;
    const bool caption = p == Property::caption && c == Control::window;
    const bool content = p == Property::content && is_edit_box(c);
    if (caption || content) SetWindowTextW(w, wide(value).c_str());
}

void Backend::set_bool(Control c, Property p, bool value) {
    if (c == Control::基调) browser_.write(p, value);
}

void Backend::set_int(Control c, Property p, std::int32_t value) {
    if (c == Control::基调) browser_.write(p, value);
}

void Backend::redraw_now() {
    if (window_) UpdateWindow(window_);
}

void Backend::open_external(std::string_view address) {
    // Owned by a running browser's window when there is one, so the page opens beside it.
    HWND owner = FindWindowExW(nullptr, nullptr, nullptr, L"Microsoft Internet Explorer");
    ShellExecuteW(owner, L"open", wide(address).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace platform::win32
