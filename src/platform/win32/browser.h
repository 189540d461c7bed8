// The browser view: a host window holding the system's WebBrowser control, and the settings the
// rest of the program writes. Nothing outside this file sees a VARIANT or a BSTR.
#pragma once

#include <windows.h>
#include <exdisp.h>

#include <string>
#include <string_view>

#include "platform/win32/com_ptr.h"
#include "platform/win32/ole_site.h"
#include "ui/html_viewer.h"

namespace platform::win32 {

class Browser final : public ui::HtmlViewer {
public:
    Browser() = default;
    Browser(const Browser&) = delete;
    Browser& operator=(const Browser&) = delete;

    // The host window, hidden at the rectangle given (the definition's at the window's scale) and
    // blank, keeping the stored settings for the engine; null when it cannot be made.
    HWND create_area(HWND parent, const ui::ControlDef& def, const ui::Rect& at, int id);
    // The control inside the host, with everything written so far handed to it and its address
    // already loading; false, with nothing of it left, when the control or its browser interface
    // is missing.
    bool create_engine();

    HWND host() const { return host_; }
    // Offers a key aimed inside the view to the engine's own handling (Tab among links, copy).
    bool translate_key(MSG& m) { return control_.translate_key(m); }

private:
    void engine_navigate(const std::string& address) override;
    void engine_silent(bool on) override;
    void engine_offline(bool on) override;
    void engine_text_size(int level) override;
    static LRESULT CALLBACK host_proc(HWND w, UINT message, WPARAM wp, LPARAM lp);
    void close();

    HWND host_ = nullptr;
    EmbeddedControl control_;
    ComPtr<IWebBrowser2> web_;
};

}  // namespace platform::win32
