// The banner follows the browser control's navigation events: it listens on
// the control's connection point while it holds the control, a failed
// navigation stays failed (an error page that completes does not count), a
// page counts only once a navigation was started, and the listener leaves
// with the control.
#include <gtest/gtest.h>

#include <windows.h>
#include <exdisp.h>
#include <exdispid.h>
#include <olectl.h>
#include <ocidl.h>

#include <vector>

#include "app/WebBanner.h"

namespace {

HWND MakeHost() {
  static const ATOM atom = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"BannerEventsHost";
    return RegisterClassW(&wc);
  }();
  (void)atom;
  return CreateWindowExW(0, L"BannerEventsHost", L"", WS_POPUP, 0, 0, 533, 161, nullptr, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

// A control that activates, offers DWebBrowserEvents2 and keeps the one
// listener it is given (no IWebBrowser2: its navigations fail).
class EventfulControl final : public IOleObject, public IConnectionPointContainer, public IConnectionPoint {
 public:
  IDispatch* sink = nullptr;
  DWORD unadvised = 0;

  // Tells the listener what the control would: an event without arguments.
  void Fire(DISPID id) {
    if (!sink) return;
    DISPPARAMS none{};
    sink->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr);
  }

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IOleObject)
      *out = static_cast<IOleObject*>(this);
    else if (iid == IID_IConnectionPointContainer)
      *out = static_cast<IConnectionPointContainer*>(this);
    else
      return E_NOINTERFACE;
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }  // a stack object
  STDMETHODIMP_(ULONG) Release() override { return 1; }

  // IConnectionPointContainer
  STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints**) override { return E_NOTIMPL; }
  STDMETHODIMP FindConnectionPoint(REFIID iid, IConnectionPoint** point) override {
    *point = iid == DIID_DWebBrowserEvents2 ? static_cast<IConnectionPoint*>(this) : nullptr;
    return *point ? S_OK : CONNECT_E_NOCONNECTION;
  }
  // IConnectionPoint
  STDMETHODIMP GetConnectionInterface(IID*) override { return E_NOTIMPL; }
  STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer**) override { return E_NOTIMPL; }
  STDMETHODIMP Advise(IUnknown* listener, DWORD* cookie) override {
    if (sink || FAILED(listener->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&sink)))) return E_FAIL;
    *cookie = 7;
    return S_OK;
  }
  STDMETHODIMP Unadvise(DWORD cookie) override {
    unadvised = cookie;
    if (sink) sink->Release();
    sink = nullptr;
    return S_OK;
  }
  STDMETHODIMP EnumConnections(IEnumConnections**) override { return E_NOTIMPL; }
  // IOleObject
  STDMETHODIMP SetClientSite(IOleClientSite*) override { return S_OK; }
  STDMETHODIMP GetClientSite(IOleClientSite**) override { return E_NOTIMPL; }
  STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
  STDMETHODIMP Close(DWORD) override { return S_OK; }
  STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
  STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
  STDMETHODIMP DoVerb(LONG, LPMSG, IOleClientSite*, LONG, HWND, LPCRECT) override { return S_OK; }
  STDMETHODIMP EnumVerbs(IEnumOLEVERB**) override { return E_NOTIMPL; }
  STDMETHODIMP Update() override { return S_OK; }
  STDMETHODIMP IsUpToDate() override { return S_OK; }
  STDMETHODIMP GetUserClassID(CLSID*) override { return E_NOTIMPL; }
  STDMETHODIMP GetUserType(DWORD, LPOLESTR*) override { return E_NOTIMPL; }
  STDMETHODIMP SetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
  STDMETHODIMP GetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
  STDMETHODIMP Advise(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
  STDMETHODIMP EnumAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
  STDMETHODIMP GetMiscStatus(DWORD, DWORD*) override { return E_NOTIMPL; }
  STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }
};

TEST(BannerEvents, TheControlsEventsDriveTheStateAndTheListenerLeavesWithIt) {
  HWND host = MakeHost();
  ASSERT_TRUE(host);
  EventfulControl control;
  std::vector<TBannerState> seen;
  {
    TWebBanner banner([&](IOleObject** out) {
      *out = &control;
      return S_OK;
    });
    banner.SetOnStateChanged([&](TBannerState s) { seen.push_back(s); });
    ASSERT_EQ(banner.Create(host), S_OK);
    ASSERT_NE(control.sink, nullptr) << "the banner listens to the control";
    // A document before any navigation is not the banner page.
    control.Fire(DISPID_DOCUMENTCOMPLETE);
    EXPECT_EQ(banner.State(), TBannerState::Idle);
    // This control cannot navigate: failed, and the error page that
    // completes afterwards changes nothing.
    EXPECT_TRUE(FAILED(banner.Navigate(BannerUrl())));
    EXPECT_EQ(banner.State(), TBannerState::Failed);
    control.Fire(DISPID_DOCUMENTCOMPLETE);
    EXPECT_EQ(banner.State(), TBannerState::Failed);
    banner.Destroy();
    EXPECT_EQ(control.unadvised, 7u) << "the listener left with the control";
    EXPECT_EQ(control.sink, nullptr);
  }
  EXPECT_EQ(seen, (std::vector<TBannerState>{TBannerState::Loading, TBannerState::Failed}));
  DestroyWindow(host);
}

// The platform's control, navigating (under Wine it never loads): the
// events it would send decide between the page and the stand-in.
TEST(BannerEvents, APageCountsOnlyWhenNoErrorCameBeforeIt) {
  HWND host = MakeHost();
  ASSERT_TRUE(host);
  for (const bool errorFirst : {false, true}) {
    TWebBanner banner;
    ASSERT_EQ(banner.Create(host), S_OK);
    ASSERT_EQ(banner.Navigate(BannerUrl()), S_OK);
    EXPECT_EQ(banner.State(), TBannerState::Loading);
    if (errorFirst) banner.NavigationFailed();
    banner.DocumentComplete();
    EXPECT_EQ(banner.State(), errorFirst ? TBannerState::Failed : TBannerState::Loaded);
  }
  DestroyWindow(host);
}

}  // namespace
