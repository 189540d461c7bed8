// What the embedded browser engine learns from its host. A stand-in control, registered for this
// process only, asks the site what the real engine asks when it loads a page.
#include <windows.h>
#include <mshtmhst.h>

#include <gtest/gtest.h>

#include "platform/win32/ole_site.h"

namespace {

using platform::win32::EmbeddedControl;

// {6B1E0D5C-2F4A-4C7E-9D1B-8A3C5E7F9012}: no class of anyone else's.
constexpr CLSID stand_in_clsid = {0x6b1e0d5c, 0x2f4a, 0x4c7e, {0x9d, 0x1b, 0x8a, 0x3c, 0x5e, 0x7f, 0x90, 0x12}};

// What the stand-in found out when it was given its site.
struct Seen {
    bool handler = false;
    HRESULT host_info = E_FAIL;
    DWORD flags = 0;
};

// An object of one interface that lives on the test's stack: its reference count only has to be
// answered.
template <typename Interface>
struct OnStack : Interface {
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (iid != IID_IUnknown && iid != __uuidof(Interface)) return *out = nullptr, E_NOINTERFACE;
        *out = static_cast<Interface*>(this);
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
};

struct StandInControl final : OnStack<IOleObject> {
    Seen& seen;
    explicit StandInControl(Seen& s) : seen(s) {}

    STDMETHODIMP SetClientSite(IOleClientSite* site) override {
        if (!site) return S_OK;
        IDocHostUIHandler* handler = nullptr;
        if (SUCCEEDED(site->QueryInterface(IID_IDocHostUIHandler, reinterpret_cast<void**>(&handler))) && handler) {
            seen.handler = true;
            DOCHOSTUIINFO info{};
            info.cbSize = sizeof(info);
            seen.host_info = handler->GetHostInfo(&info);
            seen.flags = info.dwFlags;
            handler->Release();
        }
        return S_OK;
    }
    STDMETHODIMP GetClientSite(IOleClientSite** s) override { return *s = nullptr, E_NOTIMPL; }
    STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    STDMETHODIMP Close(DWORD) override { return S_OK; }
    STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** m) override { return *m = nullptr, E_NOTIMPL; }
    STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetClipboardData(DWORD, IDataObject** d) override { return *d = nullptr, E_NOTIMPL; }
    STDMETHODIMP DoVerb(LONG, LPMSG, IOleClientSite*, LONG, HWND, LPCRECT) override { return S_OK; }
    STDMETHODIMP EnumVerbs(IEnumOLEVERB** e) override { return *e = nullptr, E_NOTIMPL; }
    STDMETHODIMP Update() override { return S_OK; }
    STDMETHODIMP IsUpToDate() override { return S_OK; }
    STDMETHODIMP GetUserClassID(CLSID* c) override { return *c = stand_in_clsid, S_OK; }
    STDMETHODIMP GetUserType(DWORD, LPOLESTR* t) override { return *t = nullptr, E_NOTIMPL; }
    STDMETHODIMP SetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
    STDMETHODIMP GetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
    STDMETHODIMP Advise(IAdviseSink*, DWORD* c) override { return *c = 0, E_NOTIMPL; }
    STDMETHODIMP Unadvise(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP EnumAdvise(IEnumSTATDATA** e) override { return *e = nullptr, E_NOTIMPL; }
    STDMETHODIMP GetMiscStatus(DWORD, DWORD* s) override { return *s = 0, S_OK; }
    STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }
};

struct StandInFactory final : OnStack<IClassFactory> {
    StandInControl& control;
    explicit StandInFactory(StandInControl& c) : control(c) {}
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        if (outer) return *out = nullptr, CLASS_E_NOAGGREGATION;
        return control.QueryInterface(iid, out);
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }
};

TEST(OleSite, TheEngineIsToldItsHostScalesWithTheDisplay) {
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    Seen seen;
    StandInControl control(seen);
    StandInFactory factory(control);
    DWORD cookie = 0;
    ASSERT_EQ(CoRegisterClassObject(stand_in_clsid, &factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie),
              S_OK);
    HWND host = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(host, nullptr);
    {
        EmbeddedControl embedded = EmbeddedControl::create(host, host, stand_in_clsid);
        EXPECT_TRUE(embedded);
    }
    EXPECT_TRUE(seen.handler) << "the site offers no IDocHostUIHandler";
    EXPECT_EQ(seen.host_info, S_OK);
    // Without the flag the engine draws pages at 96 dpi in a window that is scaled: small text.
    EXPECT_TRUE(seen.flags & DOCHOSTUIFLAG_DPI_AWARE) << std::hex << seen.flags;
    DestroyWindow(host);
    CoRevokeClassObject(cookie);
    OleUninitialize();
}

}  // namespace
