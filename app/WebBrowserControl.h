// The form's browser component: a windowed control at WebBrowser1's place
// that hosts the platform's web browser control (app/WebBanner.h) and shows
// a banner of its own until a page has arrived.
//
// Classes in this file:
//   TBannerLook - the colours of the own banner
//   TWebBrowser - creates the OLE control in a hidden page window, keeps it
//                 fitted to the control and starts navigations; paints the
//                 own banner while the page is not there (no control, a
//                 failed navigation, a page that never comes); never throws
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "app/WebBanner.h"
#include "gui/Controls.h"

// What the own banner says.
inline constexpr wchar_t kOwnBannerTitle[] = L"Tonewell";
inline constexpr wchar_t kOwnBannerLine[] = L"WMA 转 MP3 批量转换";

struct TBannerLook {
  COLORREF Back = 0;  // top of the band
  COLORREF Face = 0;  // the band fades towards it at the bottom
  COLORREF Text = 0;  // name, line and the wave
  COLORREF Edge = 0;  // the rule along the bottom
  bool operator==(const TBannerLook&) const = default;
};

// The platform's caption colours (no skin in use).
TBannerLook PlainBannerLook();

class TWebBrowser : public TWinControl {
  TW_DECLARE_CLASS(TWebBrowser, TWinControl)
 public:
  // Construction
  explicit TWebBrowser(TComponent* owner);
  ~TWebBrowser() override;

  // Operations
  // Creates the browser control if needed and starts one navigation; the
  // answer is the first failure (creation or navigation) or S_OK.
  HRESULT Navigate(const std::wstring& url);
  // New colours for the own banner (repainted when they differ).
  void SetLook(const TBannerLook& look);

  // Attributes
  bool BrowserCreated() const { return FBanner && FBanner->IsCreated(); }
  HRESULT LastResult() const { return FLastResult; }
  const TBannerLook& Look() const { return FLook; }
  // The own banner is shown: no page has arrived.
  bool ShowsOwnBanner() const { return !FPageShown; }
  // The window that holds the browser control (hidden until its page came).
  HWND PageWindow() const { return FPage; }

  // How every TWebBrowser obtains its browser object from now on (tests
  // make creation fail with it); an empty factory restores the platform's.
  static void SetFactory(TBrowserFactory factory);

 protected:
  void DestroyWnd() override;
  void BoundsChanged() override;
  void PaintWindow(HDC dc) override;
  bool EraseBackground(HDC dc) override;

 private:
  HRESULT EnsureBrowser();
  void BannerStateChanged(TBannerState state);
  void PaintOwnBanner(HDC dc, const RECT& r);

  std::unique_ptr<TWebBanner> FBanner;
  HRESULT FLastResult = S_FALSE;
  HWND FPage = nullptr;
  bool FPageShown = false;
  TBannerLook FLook = PlainBannerLook();
  HFONT FTitleFont = nullptr;
  HFONT FLineFont = nullptr;
};
