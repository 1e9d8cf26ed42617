// The web banner at the top of the main window: the platform's web browser
// control hosted as an OLE control (plain COM, no framework), navigated once.
//
// Classes in this file:
//   TBrowserFactory - how the banner obtains the browser object (injectable so
//                     tests can make creation fail)
//   TBannerState    - where the one navigation stands
//   TWebBanner      - owns the control's container site, in-place activates
//                     the control inside a host window, starts navigation
//                     and follows the control's navigation events
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
class TBrowserEvents;

// Idle: nothing started. Loading: started, no answer yet (a control that
// never loads stays here). Loaded: the page arrived. Failed: creation,
// navigation or the page itself failed.
enum class TBannerState { Idle, Loading, Loaded, Failed };

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
  // Called on the GUI thread whenever State() changes.
  void SetOnStateChanged(std::function<void(TBannerState)> handler) { onState_ = std::move(handler); }
  // Moves the control to the host's new client rectangle.
  void Resize();
  // Deactivates and releases the control; safe to call more than once.
  void Destroy();

  // Attributes
  bool IsCreated() const { return object_ != nullptr; }
  HWND Host() const { return host_; }
  // The navigation target the control reports (empty when it has none).
  std::wstring LocationUrl() const;
  TBannerState State() const { return state_; }

  // The control's navigation events (its event sink calls these).
  void NavigationFailed();
  void DocumentComplete();

 private:
  HRESULT StartNavigation(const std::wstring& url);
  void SetState(TBannerState state);
  void ConnectEvents();
  void DisconnectEvents();

  TBrowserFactory factory_;
  HWND host_ = nullptr;
  IOleObject* object_ = nullptr;
  TBrowserSite* site_ = nullptr;
  bool comInitialised_ = false;
  TBrowserEvents* events_ = nullptr;
  DWORD eventsCookie_ = 0;
  TBannerState state_ = TBannerState::Idle;
  std::function<void(TBannerState)> onState_;
};
