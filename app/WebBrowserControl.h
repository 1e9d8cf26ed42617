// The form's browser component: a windowed control at WebBrowser1's place
// that hosts the platform's web browser control (app/WebBanner.h).
//
// Classes in this file:
//   TWebBrowser - creates the OLE control with its window, keeps it fitted
//                 to the window and starts navigations; never throws
#pragma once

#include <memory>
#include <string>

#include "app/WebBanner.h"
#include "gui/Controls.h"

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

  // Attributes
  bool BrowserCreated() const { return FBanner && FBanner->IsCreated(); }
  HRESULT LastResult() const { return FLastResult; }

  // How every TWebBrowser obtains its browser object from now on (tests
  // make creation fail with it); an empty factory restores the platform's.
  static void SetFactory(TBrowserFactory factory);

 protected:
  void DestroyWnd() override;
  void BoundsChanged() override;

 private:
  HRESULT EnsureBrowser();

  std::unique_ptr<TWebBanner> FBanner;
  HRESULT FLastResult = S_FALSE;
};
