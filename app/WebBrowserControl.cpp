#include "app/WebBrowserControl.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr wchar_t kPageClass[] = L"TwBannerPage";

TBrowserFactory& Factory() {
  static TBrowserFactory factory = CreatePlatformBrowser;
  return factory;
}

// `a` weighted by percent against `b`, channel by channel.
COLORREF Mix(COLORREF a, COLORREF b, int percent) {
  auto channel = [&](int shift) {
    const int x = int((a >> shift) & 0xFF), y = int((b >> shift) & 0xFF);
    return COLORREF((x * percent + y * (100 - percent) + 50) / 100) << shift;
  };
  return channel(0) | channel(8) | channel(16);
}

void Fill(HDC dc, const RECT& r, COLORREF colour) {
  SetBkColor(dc, colour);
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

HWND MakePage(HWND parent) {
  static const ATOM atom = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kPageClass;
    return RegisterClassW(&wc);
  }();
  if (!atom) return nullptr;
  RECT r{};
  GetClientRect(parent, &r);
  // Hidden until its page has arrived; the own banner shows meanwhile.
  return CreateWindowExW(0, kPageClass, L"", WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0, r.right,
                         r.bottom, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

TBannerLook PlainBannerLook() {
  TBannerLook look;
  look.Back = GetSysColor(COLOR_ACTIVECAPTION);
  look.Face = GetSysColor(COLOR_BTNFACE);
  look.Text = GetSysColor(COLOR_CAPTIONTEXT);
  look.Edge = GetSysColor(COLOR_BTNSHADOW);
  return look;
}

void TWebBrowser::SetFactory(TBrowserFactory factory) {
  Factory() = factory ? std::move(factory) : TBrowserFactory(CreatePlatformBrowser);
}

TWebBrowser::TWebBrowser(TComponent* owner) : TWinControl(owner) { FTabStop = true; }

TWebBrowser::~TWebBrowser() {
  FBanner.reset();
  if (FTitleFont) DeleteObject(FTitleFont);
  if (FLineFont) DeleteObject(FLineFont);
}

HRESULT TWebBrowser::EnsureBrowser() {
  if (BrowserCreated()) return S_OK;
  HWND host = nullptr;
  try {
    host = Handle();
  } catch (...) {
    return E_FAIL;
  }
  if (!host) return E_FAIL;
  if (!FPage) FPage = MakePage(host);
  if (!FPage) {
    const DWORD error = GetLastError();
    return error ? HRESULT_FROM_WIN32(error) : E_FAIL;
  }
  FBanner = std::make_unique<TWebBanner>(Factory());
  FBanner->SetOnStateChanged([this](TBannerState state) { BannerStateChanged(state); });
  const HRESULT hr = FBanner->Create(FPage);
  if (FAILED(hr)) FBanner.reset();
  return hr;
}

HRESULT TWebBrowser::Navigate(const std::wstring& url) {
  HRESULT hr = EnsureBrowser();
  if (SUCCEEDED(hr)) hr = FBanner->Navigate(url);
  FLastResult = hr;
  return hr;
}

// The page window shows only while a page is there; any other state shows
// the own banner.
void TWebBrowser::BannerStateChanged(TBannerState state) {
  const bool show = state == TBannerState::Loaded;
  if (show == FPageShown) return;
  FPageShown = show;
  if (FPage) ShowWindow(FPage, show ? SW_SHOWNA : SW_HIDE);
  if (HandleAllocated()) InvalidateRect(FHandle, nullptr, TRUE);
}

void TWebBrowser::SetLook(const TBannerLook& look) {
  if (look == FLook) return;
  FLook = look;
  if (HandleAllocated()) InvalidateRect(FHandle, nullptr, TRUE);
}

// The control lives inside our window: it goes before the window does.
void TWebBrowser::DestroyWnd() {
  FBanner.reset();
  if (FPage) DestroyWindow(FPage);
  FPage = nullptr;
  FPageShown = false;
  TWinControl::DestroyWnd();
}

void TWebBrowser::BoundsChanged() {
  TWinControl::BoundsChanged();
  if (FPage && HandleAllocated()) {
    RECT r{};
    GetClientRect(FHandle, &r);
    MoveWindow(FPage, 0, 0, r.right, r.bottom, TRUE);
  }
  if (FBanner) FBanner->Resize();
}

bool TWebBrowser::EraseBackground(HDC) { return true; }  // PaintWindow covers every pixel

void TWebBrowser::PaintWindow(HDC dc) {
  RECT r{};
  GetClientRect(FHandle, &r);
  if (r.right <= 0 || r.bottom <= 0 || FPageShown) return;
  // Composed off-screen, copied in one transfer.
  HDC memory = CreateCompatibleDC(dc);
  HBITMAP bitmap = memory ? CreateCompatibleBitmap(dc, r.right, r.bottom) : nullptr;
  if (!bitmap) {
    if (memory) DeleteDC(memory);
    PaintOwnBanner(dc, r);
    return;
  }
  HGDIOBJ old = SelectObject(memory, bitmap);
  PaintOwnBanner(memory, r);
  BitBlt(dc, 0, 0, r.right, r.bottom, memory, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
}

// A band fading from the back colour to the face colour, a wave of bars at
// the right, the program's name and one line at the left, a rule below.
void TWebBrowser::PaintOwnBanner(HDC dc, const RECT& r) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  for (int y = 0; y < h; ++y) {
    const RECT line{r.left, r.top + y, r.right, r.top + y + 1};
    Fill(dc, line, Mix(FLook.Face, FLook.Back, h > 1 ? y * 60 / (h - 1) : 0));
  }

  // The wave: bars under a sine envelope, in the text colour half faded.
  const int bar = 4, gap = 3, bars = std::max(0, std::min(24, (w / 2 - 16) / (bar + gap)));
  const int baseX = r.right - 16 - bars * (bar + gap), midY = r.top + h / 2;
  for (int i = 0; i < bars; ++i) {
    const double phase = double(i) / std::max(1, bars - 1);
    const int half = int((h * 0.32) * (0.25 + 0.75 * std::fabs(std::sin(phase * 3.14159 * 2.5))) *
                         std::sin(phase * 3.14159));
    const RECT b{baseX + i * (bar + gap), midY - half - 1, baseX + i * (bar + gap) + bar, midY + half + 1};
    Fill(dc, b, Mix(FLook.Text, Mix(FLook.Face, FLook.Back, 50), 45));
  }

  if (!FTitleFont)
    FTitleFont = CreateFontW(-std::max(12, h * 28 / 100), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"宋体");
  if (!FLineFont)
    FLineFont = CreateFontW(-std::max(12, h * 10 / 100), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET,
                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"宋体");
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, FLook.Text);
  HGDIOBJ oldFont = SelectObject(dc, FTitleFont ? FTitleFont : GetStockObject(DEFAULT_GUI_FONT));
  RECT title{r.left + 24, r.top + h * 22 / 100, baseX - 8, r.top + h * 60 / 100};
  DrawTextW(dc, kOwnBannerTitle, -1, &title, DT_LEFT | DT_BOTTOM | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, FLineFont ? FLineFont : GetStockObject(DEFAULT_GUI_FONT));
  RECT text{r.left + 26, r.top + h * 64 / 100, baseX - 8, r.bottom - 4};
  DrawTextW(dc, kOwnBannerLine, -1, &text, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  SelectObject(dc, oldFont);

  Fill(dc, RECT{r.left, r.bottom - 1, r.right, r.bottom}, FLook.Edge);
}

TW_IMPLEMENT_CLASS(TWebBrowser, [](TClassBuilder<TWebBrowser>&) {})
