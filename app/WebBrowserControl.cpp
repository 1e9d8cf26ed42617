#include "app/WebBrowserControl.h"

namespace {

TBrowserFactory& Factory() {
  static TBrowserFactory factory = CreatePlatformBrowser;
  return factory;
}

}  // namespace

void TWebBrowser::SetFactory(TBrowserFactory factory) {
  Factory() = factory ? std::move(factory) : TBrowserFactory(CreatePlatformBrowser);
}

TWebBrowser::TWebBrowser(TComponent* owner) : TWinControl(owner) { FTabStop = true; }

TWebBrowser::~TWebBrowser() { FBanner.reset(); }

HRESULT TWebBrowser::EnsureBrowser() {
  if (BrowserCreated()) return S_OK;
  HWND host = nullptr;
  try {
    host = Handle();
  } catch (...) {
    return E_FAIL;
  }
  if (!host) return E_FAIL;
  FBanner = std::make_unique<TWebBanner>(Factory());
  const HRESULT hr = FBanner->Create(host);
  if (FAILED(hr)) FBanner.reset();
  return hr;
}

HRESULT TWebBrowser::Navigate(const std::wstring& url) {
  HRESULT hr = EnsureBrowser();
  if (SUCCEEDED(hr)) hr = FBanner->Navigate(url);
  FLastResult = hr;
  return hr;
}

// The control lives inside our window: it goes before the window does.
void TWebBrowser::DestroyWnd() {
  FBanner.reset();
  TWinControl::DestroyWnd();
}

void TWebBrowser::BoundsChanged() {
  TWinControl::BoundsChanged();
  if (FBanner) FBanner->Resize();
}

TW_IMPLEMENT_CLASS(TWebBrowser, [](TClassBuilder<TWebBrowser>&) {})
