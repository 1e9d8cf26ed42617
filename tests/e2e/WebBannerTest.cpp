// The banner host against the real browser control and against factories
// that fail, throw or hand back an object that refuses activation.
#include <gtest/gtest.h>

#include "app/WebBanner.h"
#include "tests/support/Pump.h"

#include <string>

namespace {

HWND MakeHost() {
  static ATOM atom = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"BannerTestHost";
    return RegisterClassW(&wc);
  }();
  (void)atom;
  HWND top = CreateWindowExW(0, L"BannerTestHost", L"banner test", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                             10, 10, 600, 300, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  return CreateWindowExW(0, L"BannerTestHost", L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 533,
                         161, top, nullptr, GetModuleHandleW(nullptr), nullptr);
}

BOOL CALLBACK CountOne(HWND, LPARAM p) {
  ++*reinterpret_cast<int*>(p);
  return TRUE;
}

int CountChildren(HWND parent) {
  int n = 0;
  EnumChildWindows(parent, CountOne, reinterpret_cast<LPARAM>(&n));
  return n;
}

// An OLE object that accepts a client site and then refuses to activate,
// counting its references and remembering the site it holds.
class RefusingObject final : public IOleObject {
 public:
  LONG refs = 1;
  IOleClientSite* site = nullptr;
  int setSiteCalls = 0;

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IOleObject) {
      *out = this;
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
  STDMETHODIMP_(ULONG) Release() override { return --refs; }  // stack object: only counts
  STDMETHODIMP SetClientSite(IOleClientSite* s) override {
    ++setSiteCalls;
    if (s) s->AddRef();
    if (site) site->Release();
    site = s;
    return S_OK;
  }
  STDMETHODIMP GetClientSite(IOleClientSite** s) override { *s = nullptr; return E_NOTIMPL; }
  STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
  STDMETHODIMP Close(DWORD) override { return S_OK; }
  STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
  STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
  STDMETHODIMP DoVerb(LONG, LPMSG, IOleClientSite*, LONG, HWND, LPCRECT) override {
    return OLEOBJ_E_NOVERBS;
  }
  STDMETHODIMP EnumVerbs(IEnumOLEVERB**) override { return E_NOTIMPL; }
  STDMETHODIMP Update() override { return S_OK; }
  STDMETHODIMP IsUpToDate() override { return S_OK; }
  STDMETHODIMP GetUserClassID(CLSID*) override { return E_NOTIMPL; }
  STDMETHODIMP GetUserType(DWORD, LPOLESTR*) override { return E_NOTIMPL; }
  STDMETHODIMP SetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
  STDMETHODIMP GetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
  STDMETHODIMP Advise(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
  STDMETHODIMP Unadvise(DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP EnumAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
  STDMETHODIMP GetMiscStatus(DWORD, DWORD*) override { return E_NOTIMPL; }
  STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }
};

TEST(WebBanner, PlatformControlActivatesInPlaceNavigatesAndGoes) {
  HWND host = MakeHost();
  ASSERT_TRUE(host);
  {
    TWebBanner banner;
    ASSERT_EQ(banner.Create(host), S_OK);
    EXPECT_TRUE(banner.IsCreated());
    // In-place activation puts the control's own window inside the host.
    EXPECT_TRUE(twtest::PumpUntil([&] { return CountChildren(host) >= 1; }));
    // Navigation only starts the load (the host never resolves); it returns
    // without waiting for the network.
    EXPECT_EQ(banner.Navigate(BannerUrl()), S_OK);
    EXPECT_EQ(BannerUrl(), L"http://banner.tonewell.invalid/ubs10-11.html");
    banner.Destroy();
    EXPECT_FALSE(banner.IsCreated());
    banner.Destroy();  // twice is harmless
  }
  twtest::PumpPending();
  DestroyWindow(GetParent(host));
}

TEST(WebBanner, FailedCreationLeavesNothingAndLaterCallsAreHarmless) {
  HWND host = MakeHost();
  ASSERT_TRUE(host);

  TWebBanner failing([](IOleObject** out) { *out = nullptr; return REGDB_E_CLASSNOTREG; });
  EXPECT_EQ(failing.Create(host), REGDB_E_CLASSNOTREG);
  EXPECT_FALSE(failing.IsCreated());
  EXPECT_EQ(failing.Navigate(BannerUrl()), E_UNEXPECTED);
  failing.Resize();
  EXPECT_EQ(failing.LocationUrl(), L"");
  EXPECT_EQ(CountChildren(host), 0);

  TWebBanner throwing([](IOleObject**) -> HRESULT { throw 42; });
  EXPECT_EQ(throwing.Create(host), E_UNEXPECTED);
  EXPECT_FALSE(throwing.IsCreated());

  TWebBanner nothing([](IOleObject** out) { *out = nullptr; return S_OK; });
  EXPECT_EQ(nothing.Create(host), E_POINTER);
  EXPECT_FALSE(nothing.IsCreated());

  TWebBanner noHost;
  EXPECT_EQ(noHost.Create(nullptr), E_INVALIDARG);
  DestroyWindow(GetParent(host));
}

TEST(WebBanner, RefusedActivationReleasesObjectAndDetachesSite) {
  HWND host = MakeHost();
  ASSERT_TRUE(host);
  RefusingObject object;
  {
    TWebBanner banner([&](IOleObject** out) { *out = &object; return S_OK; });
    EXPECT_EQ(banner.Create(host), OLEOBJ_E_NOVERBS);
    EXPECT_FALSE(banner.IsCreated());
    // The banner gave back its reference and took its site away again, so
    // neither side keeps the other alive.
    EXPECT_EQ(object.refs, 0);
    EXPECT_EQ(object.site, nullptr);
    EXPECT_EQ(object.setSiteCalls, 2);
  }
  DestroyWindow(GetParent(host));
}

}  // namespace
