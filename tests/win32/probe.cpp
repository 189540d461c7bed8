// Reports what the running program's main window looks like to the window manager of Windows:
// the outer rectangle, styles, and the controls in stacking order, topmost first. The window tests
// run it beside the program, since from the X side only the client area can be seen. For each
// control it also says what a screen reader is given: the name and role of its default accessible
// object, and which window the Windows proxies would take as its label.
#include <windows.h>
#include <oleacc.h>

#include <cstdio>
#include <string>

namespace {

std::string utf8(const wchar_t* text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? static_cast<std::size_t>(n) : 1u, '\0');
    if (n > 0) WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
    out.resize(out.size() - 1);
    return out;
}

std::string text_of(HWND w) {
    wchar_t text[512] = L"";
    // Asked by message: GetWindowText does not read another process's controls.
    SendMessageTimeoutW(w, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, nullptr);
    return utf8(text);
}

std::string class_of(HWND w) {
    wchar_t name[256] = L"";
    GetClassNameW(w, name, 256);
    return utf8(name);
}

void report(const char* what, HWND w, HWND parent) {
    RECT r;
    GetWindowRect(w, &r);
    if (parent) MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    RECT client;
    GetClientRect(w, &client);
    std::printf("%s class=%s rect=%ld,%ld,%ld,%ld client=%ld,%ld style=%#lx exstyle=%#lx visible=%d enabled=%d "
                "owner=%d text=%s\n",
                what, class_of(w).c_str(), r.left, r.top, r.right - r.left, r.bottom - r.top, client.right,
                client.bottom, static_cast<unsigned long>(GetWindowLongW(w, GWL_STYLE)),
                static_cast<unsigned long>(GetWindowLongW(w, GWL_EXSTYLE)), IsWindowVisible(w) ? 1 : 0,
                IsWindowEnabled(w) ? 1 : 0, GetWindow(w, GW_OWNER) ? 1 : 0,
                text_of(w).c_str());
}

// The proxies' rule for controls without a text of their own: the nearest window above in the
// stacking order that says it is static text, unless a tab stop or group comes first.
int label_index(HWND w) {
    for (HWND above = GetWindow(w, GW_HWNDPREV); above; above = GetWindow(above, GW_HWNDPREV)) {
        DWORD_PTR code = 0;
        SendMessageTimeoutW(above, WM_GETDLGCODE, 0, 0, SMTO_ABORTIFHUNG, 5000, &code);
        if (code & DLGC_STATIC) {
            int index = 0;
            for (HWND c = GetWindow(above, GW_HWNDFIRST); c != above; c = GetWindow(c, GW_HWNDNEXT)) ++index;
            return index;
        }
        if (GetWindowLongW(above, GWL_STYLE) & (WS_TABSTOP | WS_GROUP)) break;
    }
    return -1;
}

void report_accessible(HWND w) {
    long role = 0;
    std::string name;
    IAccessible* object = nullptr;
    if (SUCCEEDED(AccessibleObjectFromWindow(w, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                             reinterpret_cast<void**>(&object)))) {
        VARIANT self;
        VariantInit(&self);
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        BSTR text = nullptr;
        if (object->get_accName(self, &text) == S_OK && text) name = utf8(text);
        SysFreeString(text);
        VARIANT r;
        VariantInit(&r);
        if (SUCCEEDED(object->get_accRole(self, &r)) && r.vt == VT_I4) role = r.lVal;
        object->Release();
    }
    std::printf("accessible role=%ld label=%d text=%s\n", role, label_index(w), name.c_str());
}

}  // namespace

int main() {
    // Sees what the program sees, in real pixels: a program unaware of the display's scale is given
    // every rectangle shrunk to 96 dpi.
    SetProcessDPIAware();
    CoInitialize(nullptr);
    HWND main = FindWindowW(L"KeylookupMainWindow", nullptr);
    if (!main) {
        std::printf("error no main window\n");
        return 1;
    }
    std::printf("screen %d,%d\n", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    HDC screen = GetDC(nullptr);
    std::printf("dpi %d\n", GetDeviceCaps(screen, LOGPIXELSY));
    ReleaseDC(nullptr, screen);
    report("main", main, nullptr);
    for (HWND c = GetWindow(main, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        report("child", c, main);
        report_accessible(c);
    }
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &info) && info.hwndFocus)
        report("focus", info.hwndFocus, main);
    std::fflush(stdout);
    return 0;
}
