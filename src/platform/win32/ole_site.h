// A minimal in-place container for one OLE control in a window of ours, written for the browser
// view. One site object owns the reference count; one small class per interface it offers.
#pragma once

#include <ole2.h>

namespace platform::win32 {

class Site;

// The control embedded in a host window, active in place and filling the host's client area.
class EmbeddedControl {
public:
    // Creates the control in the documented order; empty when any step fails, with nothing left over.
    static EmbeddedControl create(HWND host, HWND frame, REFCLSID clsid);

    EmbeddedControl() = default;
    EmbeddedControl(const EmbeddedControl&) = delete;
    EmbeddedControl& operator=(const EmbeddedControl&) = delete;
    EmbeddedControl(EmbeddedControl&& o) noexcept;
    EmbeddedControl& operator=(EmbeddedControl&& o) noexcept;
    ~EmbeddedControl() { close(); }

    explicit operator bool() const { return site_ != nullptr; }
    // The control's own object; the caller asks it for the interface it needs.
    IUnknown* object() const;
    void fit(const RECT& client);
    // Gives the control the keyboard focus, as a click into it would.
    void activate_ui();
    // Offers a key message to the control's own accelerators; true when it took it.
    bool translate_key(MSG& m);
    // Deactivates and closes the control, in the reverse order of its creation.
    void close();

private:
    explicit EmbeddedControl(Site* s) : site_(s) {}
    Site* site_ = nullptr;
};

}  // namespace platform::win32
