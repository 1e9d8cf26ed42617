// The browser control's container: one site object answers the client site,
// the in-place site and the in-place frame, all on the host window.
#include "app/WebBanner.h"

#include <exdisp.h>
#include <exdispid.h>
#include <ocidl.h>
#include <oleidl.h>

#include <new>

std::wstring BannerUrl() { return std::wstring(L"http://") + kBannerHost + kBannerPath; }

HRESULT CreatePlatformBrowser(IOleObject** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  return CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                          reinterpret_cast<void**>(object));
}

// The container side of the OLE conversation. Reference counted; the banner
// holds one reference, the control holds the others while it is attached.
class TBrowserSite final : public IOleClientSite, public IOleInPlaceSite, public IOleInPlaceFrame {
 public:
  explicit TBrowserSite(HWND host) : host_(host) {}

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IOleClientSite)
      *out = static_cast<IOleClientSite*>(this);
    else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite)
      *out = static_cast<IOleInPlaceSite*>(this);
    else if (iid == IID_IOleInPlaceUIWindow || iid == IID_IOleInPlaceFrame)
      *out = static_cast<IOleInPlaceFrame*>(this);
    else
      return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
  STDMETHODIMP_(ULONG) Release() override {
    const LONG left = InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

  // IOleClientSite
  STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** mk) override {
    if (mk) *mk = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP GetContainer(IOleContainer** c) override {
    if (c) *c = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP ShowObject() override { return S_OK; }
  STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
  STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

  // IOleWindow (shared by the in-place site and the frame)
  STDMETHODIMP GetWindow(HWND* wnd) override {
    if (!wnd) return E_POINTER;
    *wnd = host_;
    return host_ ? S_OK : E_FAIL;
  }
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  // IOleInPlaceSite
  STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
  STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
  STDMETHODIMP OnUIActivate() override { return S_OK; }
  STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT pos,
                                LPRECT clip, LPOLEINPLACEFRAMEINFO info) override {
    if (frame) {
      *frame = static_cast<IOleInPlaceFrame*>(this);
      AddRef();
    }
    if (doc) *doc = nullptr;
    RECT rc{};
    GetClientRect(host_, &rc);
    if (pos) *pos = rc;
    if (clip) *clip = rc;
    if (info) {
      info->fMDIApp = FALSE;
      info->hwndFrame = GetAncestor(host_, GA_ROOT);
      info->haccel = nullptr;
      info->cAccelEntries = 0;
    }
    return S_OK;
  }
  STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
  STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
  STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
  STDMETHODIMP DiscardUndoState() override { return E_NOTIMPL; }
  STDMETHODIMP DeactivateAndUndo() override { return E_NOTIMPL; }
  STDMETHODIMP OnPosRectChange(LPCRECT) override { return S_OK; }

  // IOleInPlaceUIWindow
  STDMETHODIMP GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
  STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
  STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
  STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }

  // IOleInPlaceFrame
  STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
  STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
  STDMETHODIMP RemoveMenus(HMENU) override { return E_NOTIMPL; }
  STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
  STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
  STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

 private:
  ~TBrowserSite() = default;
  LONG refs_ = 1;
  HWND host_;
};

// The control's navigation events (DWebBrowserEvents2), handed to the
// banner. The banner detaches it before it goes.
class TBrowserEvents final : public IDispatch {
 public:
  explicit TBrowserEvents(TWebBanner* banner) : banner_(banner) {}
  void Detach() { banner_ = nullptr; }

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid != IID_IUnknown && iid != IID_IDispatch && iid != DIID_DWebBrowserEvents2) return E_NOINTERFACE;
    *out = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
  STDMETHODIMP_(ULONG) Release() override {
    const LONG left = InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }
  STDMETHODIMP GetTypeInfoCount(UINT* n) override {
    if (n) *n = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info) *info = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    if (!banner_) return S_OK;
    if (id == DISPID_NAVIGATEERROR) banner_->NavigationFailed();
    if (id == DISPID_DOCUMENTCOMPLETE) banner_->DocumentComplete();
    return S_OK;
  }

 private:
  ~TBrowserEvents() = default;
  LONG refs_ = 1;
  TWebBanner* banner_;
};

TWebBanner::TWebBanner(TBrowserFactory factory) : factory_(std::move(factory)) {}

TWebBanner::~TWebBanner() { Destroy(); }

HRESULT TWebBanner::Create(HWND host) {
  if (object_) return S_FALSE;
  if (!host || !IsWindow(host)) return E_INVALIDARG;
  if (!factory_) return E_NOTIMPL;
  const HRESULT init = OleInitialize(nullptr);
  // S_FALSE: already initialised on this thread; it still needs its matching
  // OleUninitialize. RPC_E_CHANGED_MODE: a multithreaded apartment we must
  // not tear down.
  comInitialised_ = SUCCEEDED(init);
  host_ = host;

  HRESULT hr = E_FAIL;
  IOleObject* created = nullptr;
  try {
    hr = factory_(&created);
  } catch (...) {
    hr = E_UNEXPECTED;
  }
  // A failing factory owns whatever it may have left in `created`.
  if (SUCCEEDED(hr)) object_ = created;
  if (SUCCEEDED(hr) && !object_) hr = E_POINTER;
  if (SUCCEEDED(hr)) {
    site_ = new (std::nothrow) TBrowserSite(host);
    hr = site_ ? object_->SetClientSite(static_cast<IOleClientSite*>(site_)) : E_OUTOFMEMORY;
  }
  if (SUCCEEDED(hr)) {
    RECT rc{};
    GetClientRect(host, &rc);
    hr = object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, static_cast<IOleClientSite*>(site_), 0,
                         host, &rc);
  }
  if (FAILED(hr)) {
    Destroy();
    SetState(TBannerState::Failed);
    return hr;
  }
  Resize();
  ConnectEvents();
  return S_OK;
}

// Without the events the banner only never hears of a loaded page.
void TWebBanner::ConnectEvents() {
  IConnectionPointContainer* container = nullptr;
  if (FAILED(object_->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container))) ||
      !container)
    return;
  IConnectionPoint* point = nullptr;
  if (SUCCEEDED(container->FindConnectionPoint(DIID_DWebBrowserEvents2, &point)) && point) {
    events_ = new (std::nothrow) TBrowserEvents(this);
    if (events_ && FAILED(point->Advise(static_cast<IDispatch*>(events_), &eventsCookie_))) {
      events_->Detach();
      events_->Release();
      events_ = nullptr;
      eventsCookie_ = 0;
    }
    point->Release();
  }
  container->Release();
}

void TWebBanner::DisconnectEvents() {
  if (!events_) return;
  IConnectionPointContainer* container = nullptr;
  if (object_ &&
      SUCCEEDED(object_->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container))) &&
      container) {
    IConnectionPoint* point = nullptr;
    if (SUCCEEDED(container->FindConnectionPoint(DIID_DWebBrowserEvents2, &point)) && point) {
      point->Unadvise(eventsCookie_);
      point->Release();
    }
    container->Release();
  }
  events_->Detach();
  events_->Release();
  events_ = nullptr;
  eventsCookie_ = 0;
}

void TWebBanner::SetState(TBannerState state) {
  if (state == state_) return;
  state_ = state;
  if (onState_) onState_(state);
}

// An error page may follow a failed navigation as a "complete" document:
// once failed, the banner stays failed.
void TWebBanner::NavigationFailed() { SetState(TBannerState::Failed); }

void TWebBanner::DocumentComplete() {
  if (state_ == TBannerState::Loading) SetState(TBannerState::Loaded);
}

HRESULT TWebBanner::Navigate(const std::wstring& url) {
  if (!object_) return E_UNEXPECTED;
  // Loading first: the control may tell the outcome during the call.
  SetState(TBannerState::Loading);
  const HRESULT hr = StartNavigation(url);
  if (FAILED(hr)) SetState(TBannerState::Failed);
  return hr;
}

HRESULT TWebBanner::StartNavigation(const std::wstring& url) {
  IWebBrowser2* browser = nullptr;
  HRESULT hr = object_->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&browser));
  if (FAILED(hr) || !browser) return FAILED(hr) ? hr : E_NOINTERFACE;
  BSTR target = SysAllocString(url.c_str());
  if (!target) {
    browser->Release();
    return E_OUTOFMEMORY;
  }
  VARIANT none;
  VariantInit(&none);  // VT_EMPTY: no flags, frame, post data or headers
  hr = browser->Navigate(target, &none, &none, &none, &none);
  SysFreeString(target);
  browser->Release();
  return hr;
}

void TWebBanner::Resize() {
  if (!object_) return;
  IOleInPlaceObject* inplace = nullptr;
  if (SUCCEEDED(object_->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&inplace))) &&
      inplace) {
    RECT rc{};
    GetClientRect(host_, &rc);
    inplace->SetObjectRects(&rc, &rc);
    inplace->Release();
  }
}

std::wstring TWebBanner::LocationUrl() const {
  std::wstring url;
  if (!object_) return url;
  IWebBrowser2* browser = nullptr;
  if (SUCCEEDED(object_->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&browser))) &&
      browser) {
    BSTR location = nullptr;
    if (SUCCEEDED(browser->get_LocationURL(&location)) && location) {
      url.assign(location, SysStringLen(location));
      SysFreeString(location);
    }
    browser->Release();
  }
  return url;
}

void TWebBanner::Destroy() {
  DisconnectEvents();
  if (object_) {
    // Deactivate before detaching the site, then drop our reference.
    IOleInPlaceObject* inplace = nullptr;
    if (SUCCEEDED(object_->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&inplace))) &&
        inplace) {
      inplace->InPlaceDeactivate();
      inplace->Release();
    }
    object_->Close(OLECLOSE_NOSAVE);
    object_->SetClientSite(nullptr);
    object_->Release();
    object_ = nullptr;
  }
  if (site_) {
    site_->Release();
    site_ = nullptr;
  }
  if (comInitialised_) {
    OleUninitialize();
    comInitialised_ = false;
  }
}
