// The web banner at the top of the main window: the platform's web browser
// control hosted as an OLE control (plain COM, no framework), navigated once.
//
// Classes in this file:
//   TBrowserFactory - how the banner obtains the browser object (injectable so
//                     tests can make creation fail)
//   TWebBanner      - owns the control's container site, in-place activates
//                     the control inside a host window and starts navigation
//
// The banner never throws: every step answers an HRESULT, and a failed step
// leaves the banner empty (no control, nothing to release) so the caller can
// simply carry on.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <functional>
#include <string>

// The banner host. `.invalid` never resolves, so a user's machine never sends
// anything to a third party; the path is the banner page's own.
inline constexpr wchar_t kBannerHost[] = L"banner.tonewell.invalid";
inline constexpr wchar_t kBannerPath[] = L"/ubs10-11.html";

// "http://" + kBannerHost + kBannerPath.
std::wstring BannerUrl();

// Creates the browser object and answers its IOleObject (one reference).
using TBrowserFactory = std::function<HRESULT(IOleObject** object)>;

// The platform's control: CoCreateInstance(CLSID_WebBrowser).
HRESULT CreatePlatformBrowser(IOleObject** object);

class TBrowserSite;

class TWebBanner {
 public:
  // Construction
  explicit TWebBanner(TBrowserFactory factory = CreatePlatformBrowser);
  ~TWebBanner();
  TWebBanner(const TWebBanner&) = delete;
  TWebBanner& operator=(const TWebBanner&) = delete;

  // Operations
  // Creates the control and activates it in place, filling host's client
  // area. Initialises COM for the calling thread if needed (kept until
  // Destroy). On failure nothing is left behind.
  HRESULT Create(HWND host);
  // Starts one navigation: no flags, no target frame, no post data, no extra
  // headers. Returns at once; the page loads in the background.
  HRESULT Navigate(const std::wstring& url);
  // Moves the control to the host's new client rectangle.
  void Resize();
  // Deactivates and releases the control; safe to call more than once.
  void Destroy();

  // Attributes
  bool IsCreated() const { return object_ != nullptr; }
  HWND Host() const { return host_; }
  // The navigation target the control reports (empty when it has none).
  std::wstring LocationUrl() const;

 private:
  TBrowserFactory factory_;
  HWND host_ = nullptr;
  IOleObject* object_ = nullptr;
  TBrowserSite* site_ = nullptr;
  bool comInitialised_ = false;
};
