#include "platform/win32/ole_site.h"

#include <mshtmhst.h>

#include <new>
#include <utility>

#include "platform/win32/com_ptr.h"

namespace platform::win32 {

// Each interface part forwards its identity and lifetime to the site; their other methods follow.
#define KEYLOOKUP_SITE_PART(Interface)                                                                            \
    explicit Interface##Part(Site& s) : site(s) {}                                                               \
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;                                                \
    STDMETHODIMP_(ULONG) AddRef() override;                                                                      \
    STDMETHODIMP_(ULONG) Release() override;                                                                     \
    Site& site;

namespace {

struct ClientSitePart final : IOleClientSite {
    KEYLOOKUP_SITE_PART(ClientSite)
    STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** m) override { return *m = nullptr, E_NOTIMPL; }
    STDMETHODIMP GetContainer(IOleContainer** c) override { return *c = nullptr, E_NOINTERFACE; }
    STDMETHODIMP ShowObject() override { return S_OK; }
    STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
    STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }
};

struct InPlaceSitePart final : IOleInPlaceSite {
    KEYLOOKUP_SITE_PART(InPlaceSite)
    STDMETHODIMP GetWindow(HWND* w) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnUIActivate() override { return S_OK; }
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, RECT* pos, RECT* clip,
                                  OLEINPLACEFRAMEINFO* info) override;
    STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
    STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
    STDMETHODIMP DiscardUndoState() override { return S_OK; }
    STDMETHODIMP DeactivateAndUndo() override { return S_OK; }
    STDMETHODIMP OnPosRectChange(const RECT* r) override;
};

// The frame is the main window. It has no menus, tool space or status line to share.
struct InPlaceFramePart final : IOleInPlaceFrame {
    KEYLOOKUP_SITE_PART(InPlaceFrame)
    STDMETHODIMP GetWindow(HWND* w) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP GetBorder(RECT*) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }
    STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
    STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    STDMETHODIMP RemoveMenus(HMENU) override { return E_NOTIMPL; }
    STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
    STDMETHODIMP TranslateAccelerator(MSG*, WORD) override { return S_FALSE; }
};

// What the browser engine asks of its host. The program is DPI-aware, so the engine must scale
// pages itself; everything else keeps the engine's own behaviour (S_FALSE: do the default).
struct DocHostPart final : IDocHostUIHandler {
    KEYLOOKUP_SITE_PART(DocHost)
    STDMETHODIMP ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) override { return S_FALSE; }
    STDMETHODIMP GetHostInfo(DOCHOSTUIINFO* info) override;
    STDMETHODIMP ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                        IOleInPlaceUIWindow*) override { return S_FALSE; }
    STDMETHODIMP HideUI() override { return S_OK; }
    STDMETHODIMP UpdateUI() override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
    STDMETHODIMP OnDocWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnFrameWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
    STDMETHODIMP TranslateAccelerator(LPMSG, const GUID*, DWORD) override { return S_FALSE; }
    STDMETHODIMP GetOptionKeyPath(LPOLESTR* key, DWORD) override { return nothing(key, S_FALSE); }
    STDMETHODIMP GetDropTarget(IDropTarget*, IDropTarget** out) override { return nothing(out, E_NOTIMPL); }
    STDMETHODIMP GetExternal(IDispatch** out) override { return nothing(out, S_FALSE); }
    STDMETHODIMP TranslateUrl(DWORD, LPWSTR, LPWSTR* out) override { return nothing(out, S_FALSE); }
    STDMETHODIMP FilterDataObject(IDataObject*, IDataObject** out) override { return nothing(out, S_FALSE); }

    // An out parameter answered with nothing, as COM wants it set even then.
    template <typename T>
    static HRESULT nothing(T** out, HRESULT result) {
        if (!out) return E_POINTER;
        *out = nullptr;
        return result;
    }
};

}  // namespace

class Site {
public:
    Site(HWND host, HWND frame) : host_(host), frame_(frame) {}

    HRESULT query(REFIID iid, void** out) {
        if (!out) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IOleClientSite) *out = static_cast<IOleClientSite*>(&client_);
        else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite) *out = static_cast<IOleInPlaceSite*>(&in_place_);
        else if (iid == IID_IOleInPlaceUIWindow || iid == IID_IOleInPlaceFrame)
            *out = static_cast<IOleInPlaceFrame*>(&frame_part_);
        else if (iid == IID_IDocHostUIHandler) *out = static_cast<IDocHostUIHandler*>(&doc_host_);
        else return *out = nullptr, E_NOINTERFACE;
        add_ref();
        return S_OK;
    }
    ULONG add_ref() { return ++refs_; }
    ULONG release() {
        const ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }

    bool embed(REFCLSID clsid) {
        if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject, object_.put_void())))
            return false;
        if (FAILED(object_->SetClientSite(&client_))) return false;
        OleSetContainedObject(object_.get(), TRUE);
        RECT area;
        GetClientRect(host_, &area);
        if (FAILED(object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &client_, 0, host_, &area))) return false;
        in_place_object_ = object_.query<IOleInPlaceObject>(IID_IOleInPlaceObject);
        active_object_ = object_.query<IOleInPlaceActiveObject>(IID_IOleInPlaceActiveObject);
        return true;
    }

    void close() {
        active_object_.reset();
        if (in_place_object_) in_place_object_->InPlaceDeactivate();
        in_place_object_.reset();
        if (object_) {
            object_->Close(OLECLOSE_NOSAVE);
            object_->SetClientSite(nullptr);
        }
        object_.reset();
    }

    IUnknown* object() const { return object_.get(); }
    HWND host() const { return host_; }
    HWND frame() const { return frame_; }

    void fit(const RECT& client) {
        if (in_place_object_) in_place_object_->SetObjectRects(&client, &client);
    }
    void activate_ui() {
        if (!object_) return;
        RECT area;
        GetClientRect(host_, &area);
        object_->DoVerb(OLEIVERB_UIACTIVATE, nullptr, &client_, 0, host_, &area);
    }
    bool translate_key(MSG& m) { return active_object_ && active_object_->TranslateAccelerator(&m) == S_OK; }

private:
    ~Site() = default;

    ULONG refs_ = 1;  // the EmbeddedControl's
    HWND host_, frame_;
    ClientSitePart client_{*this};
    InPlaceSitePart in_place_{*this};
    InPlaceFramePart frame_part_{*this};
    DocHostPart doc_host_{*this};
    ComPtr<IOleObject> object_;
    ComPtr<IOleInPlaceObject> in_place_object_;
    ComPtr<IOleInPlaceActiveObject> active_object_;
};

#define KEYLOOKUP_SITE_PART_IDENTITY(Interface)                                                                   \
    STDMETHODIMP Interface##Part::QueryInterface(REFIID iid, void** out) { return site.query(iid, out); }       \
    STDMETHODIMP_(ULONG) Interface##Part::AddRef() { return site.add_ref(); }                                   \
    STDMETHODIMP_(ULONG) Interface##Part::Release() { return site.release(); }

KEYLOOKUP_SITE_PART_IDENTITY(ClientSite)
KEYLOOKUP_SITE_PART_IDENTITY(InPlaceSite)
KEYLOOKUP_SITE_PART_IDENTITY(InPlaceFrame)
KEYLOOKUP_SITE_PART_IDENTITY(DocHost)

STDMETHODIMP InPlaceSitePart::GetWindow(HWND* w) {
    if (!w) return E_POINTER;
    *w = site.host();
    return S_OK;
}

STDMETHODIMP InPlaceSitePart::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, RECT* pos,
                                               RECT* clip, OLEINPLACEFRAMEINFO* info) {
    if (!frame || !doc || !pos || !clip || !info) return E_POINTER;
    site.query(IID_IOleInPlaceFrame, reinterpret_cast<void**>(frame));
    *doc = nullptr;  // no document window between the frame and the control
    GetClientRect(site.host(), pos);
    *clip = *pos;
    info->fMDIApp = FALSE;
    info->hwndFrame = site.frame();
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
}

STDMETHODIMP InPlaceSitePart::OnPosRectChange(const RECT* r) {
    // The control does not get to move itself: it always fills the host.
    if (!r) return E_POINTER;
    RECT area;
    GetClientRect(site.host(), &area);
    site.fit(area);
    return S_OK;
}

STDMETHODIMP DocHostPart::GetHostInfo(DOCHOSTUIINFO* info) {
    if (!info || info->cbSize < sizeof(DOCHOSTUIINFO)) return E_INVALIDARG;
    info->dwFlags = DOCHOSTUIFLAG_DPI_AWARE;
    info->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
    info->pchHostCss = nullptr;
    info->pchHostNS = nullptr;
    return S_OK;
}

STDMETHODIMP InPlaceFramePart::GetWindow(HWND* w) {
    if (!w) return E_POINTER;
    *w = site.frame();
    return S_OK;
}

EmbeddedControl EmbeddedControl::create(HWND host, HWND frame, REFCLSID clsid) {
    auto* site = new (std::nothrow) Site(host, frame);
    if (!site) return {};
    EmbeddedControl control(site);
    if (!site->embed(clsid)) control.close();
    return control;
}

EmbeddedControl::EmbeddedControl(EmbeddedControl&& o) noexcept : site_(std::exchange(o.site_, nullptr)) {}

EmbeddedControl& EmbeddedControl::operator=(EmbeddedControl&& o) noexcept {
    if (this != &o) {
        close();
        site_ = std::exchange(o.site_, nullptr);
    }
    return *this;
}

IUnknown* EmbeddedControl::object() const { return site_ ? site_->object() : nullptr; }

void EmbeddedControl::fit(const RECT& client) {
    if (site_) site_->fit(client);
}

void EmbeddedControl::activate_ui() {
    if (site_) site_->activate_ui();
}

bool EmbeddedControl::translate_key(MSG& m) { return site_ && site_->translate_key(m); }

void EmbeddedControl::close() {
    if (!site_) return;
    Site* s = std::exchange(site_, nullptr);
    s->close();
    s->release();
}

}  // namespace platform::win32
