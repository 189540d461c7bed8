#include "platform/win32/browser.h"

#include "platform/win32/wide.h"
#include "ui/accessibility.h"

namespace platform::win32 {

namespace {

constexpr wchar_t host_class[] = L"KeylookupBrowserHost";

bool register_host_class(HINSTANCE instance, WNDPROC proc) {
    static const bool registered = [&] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = proc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        // What shows before the engine has drawn anything, and where it draws nothing at all.
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        wc.lpszClassName = host_class;
        return RegisterClassExW(&wc) != 0;
    }();
    return registered;
}

VARIANT_BOOL variant_bool(bool on) { return on ? VARIANT_TRUE : VARIANT_FALSE; }

}  // namespace

LRESULT CALLBACK Browser::host_proc(HWND w, UINT message, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<Browser*>(GetWindowLongPtrW(w, GWLP_USERDATA));
    switch (message) {
    case WM_SIZE:
        if (self) {
            RECT area;
            GetClientRect(w, &area);
            self->control_.fit(area);
        }
        return 0;
    case WM_SETFOCUS:
        if (self) self->control_.activate_ui();
        return 0;
    case WM_DESTROY:
        // The control goes while its window still exists, as it came.
        if (self) self->close();
        return 0;
    default:
        return DefWindowProcW(w, message, wp, lp);
    }
}

HWND Browser::create_area(HWND parent, const ui::ControlDef& def, const ui::Rect& at, int id) {
    auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    if (!register_host_class(instance, host_proc)) return nullptr;
    // Its text is what the default accessible object names it by.
    HWND host = CreateWindowExW(0, host_class, wide(ui::accessible_name(def.id)).c_str(),
                                WS_CHILD | WS_CLIPCHILDREN | WS_TABSTOP, at.left, at.top, at.width, at.height, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    if (!host) return nullptr;
    host_ = host;
    SetWindowLongPtrW(host, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    keep(def.browser);
    return host;
}

bool Browser::create_engine() {
    if (!host_) return false;
    control_ = EmbeddedControl::create(host_, GetParent(host_), CLSID_WebBrowser);
    if (IUnknown* object = control_.object()) object->QueryInterface(IID_IWebBrowser2, web_.put_void());
    if (!web_) {
        control_.close();
        return false;
    }
    // Tabbed to before the engine came: the focus goes on into it, as it would have then.
    if (GetFocus() == host_) control_.activate_ui();
    engine_ready();
    return true;
}

void Browser::close() {
    web_.reset();
    control_.close();
    host_ = nullptr;
}

void Browser::engine_navigate(const std::string& address) {
    if (!web_) return;
    BSTR url = SysAllocString(wide(address).c_str());
    if (!url) return;
    VARIANT flags, none;
    VariantInit(&flags);
    VariantInit(&none);
    flags.vt = VT_I4;
    flags.lVal = 0;
    web_->Navigate(url, &flags, &none, &none, &none);
    SysFreeString(url);
}

void Browser::engine_silent(bool on) {
    if (web_) web_->put_Silent(variant_bool(on));
}

void Browser::engine_offline(bool on) {
    if (web_) web_->put_Offline(variant_bool(on));
}

void Browser::engine_text_size(int level) {
    if (!web_) return;
    VARIANT in;
    VariantInit(&in);
    in.vt = VT_I4;
    in.lVal = level;
    web_->ExecWB(OLECMDID_ZOOM, OLECMDEXECOPT_DONTPROMPTUSER, &in, nullptr);
}

}  // namespace platform::win32
