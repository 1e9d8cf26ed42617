#include "skin/window/WinSkinForm.h"

#include <algorithm>

#include "gui/Forms.h"
#include "gui/Timer.h"
#include "skin/controls/SkinMessages.h"
#include "skin/controls/WinSubClass.h"
#include "skin/data/ImgUtilWin.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinModel.h"
#include "skin/window/SkinManage.h"
#ifdef TW_HAVE_CONTROL_DISPATCH
#include "skin/window/ControlDispatch.h"
#endif
#ifdef TW_HAVE_MENU_BAR
#include "gui/Menus.h"
#include "skin/window/WinSkinMenu.h"
#endif

TW_IMPLEMENT_CLASS(TWinSkinForm, [](TClassBuilder<TWinSkinForm>&) {})

// Routes the window's messages to the frame (a subclass of the window chain).
class TWinSkinForm::TFrameSubclass : public TSubclass {
 public:
  explicit TFrameSubclass(TWinSkinForm& frame) : frame_(frame) {}
  LRESULT Previous(UINT msg, WPARAM wParam, LPARAM lParam) { return CallPrevious(msg, wParam, lParam); }

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
    return frame_.FrameProc(msg, wParam, lParam);
  }
  void WindowDestroyed() override { frame_.FLifeState = kFrameWindowDestroyed; }

 private:
  TWinSkinForm& frame_;
};

namespace {

constexpr UINT kNoMoveSize = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;

SIZE WindowSize(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return {r.right - r.left, r.bottom - r.top};
}

SIZE ClientSize(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  return {r.right, r.bottom};
}

FrameMargins MarginsOf(const TDataSkinObject& e) {
  return {e.LeftWidth, e.TopHeight, e.RightWidth, e.BottomHeight};
}

// One border piece rendered at its size (frames side by side for the left
// and right pieces, stacked for the top and bottom ones).
Image RenderPiece(const TDataSkinObject& e, int width, int height, bool vertical, bool active) {
  if (width <= 0 || height <= 0 || e.Bitmap.Empty()) return Image();
  const int frames = e.FrameCount > 0 ? e.FrameCount : 1;
  return BuildFrameBitmap(ImgRect{0, 0, width, height}, e.Bitmap, MarginsOf(e), vertical, e.Tile != 1,
                          frames, PickBorderFrame(active, frames));
}

void BlitImage(HDC dc, const Image& img, int x, int y) {
  if (!img.Empty()) DrawImage(dc, x, y, img);
}

COLORREF ToColorRef(TColour c) { return static_cast<COLORREF>(ResolveColour(c)); }

}  // namespace

TWinSkinForm::TWinSkinForm(TComponent* owner, TSkinManage* manager, HWND window, HINSTANCE module,
                           const std::wstring& className)
    : TComponent(owner), FManager(manager), FWindow(window), FModule(module), FClassName(className) {}

TWinSkinForm::~TWinSkinForm() {
  if (FSubclass && FSubclass->Attached()) DetachQuick();
  ReleaseSkinnedControls();
  FreeMenuBar(false);
  FreeButtons();
  delete FHoverTimer;
  FHoverTimer = nullptr;
  if (FRegion && FLifeState != kFrameWindowDestroyed && IsWindow(FWindow)) SetWindowRgn(FWindow, nullptr, FALSE);
  if (FRegion) DeleteObject(FRegion);
  FRegion = nullptr;
  if (TSkinManage* m = SkinManager()) m->RemoveSkinForm(this);
}

void TWinSkinForm::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == FForm) FForm = nullptr;
#ifdef TW_HAVE_MENU_BAR
  if (operation == opRemove && FMenuBar && component == FMenuBar->LibraryMenu()) FMenuBar->SetLibraryMenu(nullptr);
#endif
}

// ---------------------------------------------------------------------------
// Attaching

void TWinSkinForm::AttachForm(TSkinData* skin, TCustomForm* form) {
  FForm = form;
  if (skin->OnBeforeSkinForm.Assigned()) skin->OnBeforeSkinForm(form, FWindow, FClassName);
  CommonAttach(skin);
  if (FFrameSkinned) FFormHook.Hook(form, TWndMethod::Bind(this, &TWinSkinForm::FormHook));
  FSavedColour = form->Color();
  FColourSaved = true;
  form->SetColor(static_cast<TColor>(skin->Model().ButtonFaceColour));
  FFormText.Take(form, ColorToRGB(static_cast<TColor>(skin->Model().ButtonTextColour)));
}

void TWinSkinForm::AttachWindow(TSkinData* skin) { CommonAttach(skin); }

void TWinSkinForm::CommonAttach(TSkinData* skin) {
  if (FSubclass) return;
  FManager->SetState(kManagerInUse);
  FSkin = skin;
  FHoverTimer = new TTimer(nullptr);
  FHoverTimer->SetEnabled(false);
  FHoverTimer->SetInterval(250);
  FHoverTimer->OnTimer = MakeDelegate<TNotifyEvent>(this, &TWinSkinForm::HoverTick);

  FFrameSkinned = skin->HasControl(xcMainMenu);
  const LONG style = GetWindowLongW(FWindow, GWL_STYLE);
  const LONG exStyle = GetWindowLongW(FWindow, GWL_EXSTYLE);
  FSavedStyle = style;
  FChild = (style & WS_CHILD) != 0;
  FSizeable = (style & WS_THICKFRAME) != 0;
  FCapabilities = 0;
  if (style & WS_SYSMENU) FCapabilities |= kCapSystemMenu;
  if (style & WS_MINIMIZEBOX) FCapabilities |= kCapMinimizeBox;
  if (style & WS_MAXIMIZEBOX) FCapabilities |= kCapMaximizeBox;
  // The frame always takes the caption bits off while it paints the frame:
  // with them on, the system paints its own caption over the skin whenever
  // the text or the activation changes.
  FCapabilities |= kCapCaptionStyle;
  ReadShowState();
  if (exStyle & WS_EX_MDICHILD) {
    FMDIRole = 2;
    if (skin->HasOption(xoMDIChildBorder)) FFrameSkinned = false;
  }
  FDialog = FClassName == L"#32770" || FClassName == L"TMessageForm";
  FBorderKind = BorderKindOf(static_cast<uint32_t>(style), static_cast<uint32_t>(exStyle), FDialog);
  FUnicode = IsWindowUnicode(FWindow) != FALSE;
  // The native frame, measured before anything changes, gives the window
  // its client size back on detach.
  const SIZE ws = WindowSize(FWindow), cs = ClientSize(FWindow);
  FNativeFrame = {ws.cx - cs.cx, ws.cy - cs.cy};
  FNativeFrameKnown = true;

  FSubclass = std::make_unique<TFrameSubclass>(*this);
  if (!FSubclass->Attach(FWindow)) {
    FSubclass.reset();
    FFrameSkinned = false;
    FLifeState = kFrameSkinned;
    return;
  }
  if (FFrameSkinned) {
    RecalcGeometry();
    CreateMenuBar();
    if (!(IsMDIChild() && FManager->MDIMaximized()) && FShowState != TShowState::Minimized) SetCaptionStyle(false);
  } else {
    FLifeState = kFrameSkinned;
  }
  FCommonAttachDone = true;
}

void TWinSkinForm::RecalcGeometry() {
  if (!FSkin || FSkin->SkinEmpty()) return;
  const TSkinModel& m = FSkin->Model();
  const int band = FSizes.MenuBarHeight;
  FSizes = FrameSizesOf(m.FrameLeft.get(), m.FrameTop.get(), m.FrameRight.get(), m.FrameBottom.get(), FBorderKind);
  FSizes.MenuBarHeight = band;
#ifdef TW_HAVE_CAPTION_BUTTONS
  if (!FButtons) FButtons = new TCaptionButtons(*this);
  FButtons->Rebuild(m);
#endif
}

void TWinSkinForm::DropCaptionButtons() {
#ifdef TW_HAVE_CAPTION_BUTTONS
  if (FButtons) FButtons->Drop();
#endif
}

void TWinSkinForm::FreeButtons() {
#ifdef TW_HAVE_CAPTION_BUTTONS
  delete FButtons;
#endif
  FButtons = nullptr;
}

void TWinSkinForm::ClearHotObject() {
  if (FButtons) FButtons->SetHotObject(nullptr);
}

int TWinSkinForm::LayoutButtons() {
#ifdef TW_HAVE_CAPTION_BUTTONS
  if (FButtons) return FButtons->Layout();
#endif
  return 0;
}

// The menu bar takes the window's native menu off (the client grows by the
// native bar, which the skin's band replaces).
void TWinSkinForm::CreateMenuBar() {
#ifdef TW_HAVE_MENU_BAR
  if (FMenuBar || !FButtons || IsMDIChild() || !GetMenu(FWindow)) return;
  const SIZE before = ClientSize(FWindow);
  FMenuBar = new TWinSkinMenu(*this);
  FSizes.MenuBarHeight = GetSystemMetrics(SM_CYMENU);
  if (FForm && FForm->Menu()) {
    FMenuBar->SetLibraryMenu(FForm->Menu());
    FreeNotification(FForm->Menu());
  }
  if (!FMenuBar->Build()) {
    FreeMenuBar(false);
    return;
  }
  FNativeMenuHeight = std::max<int>(ClientSize(FWindow).cy - before.cy, 0);
  FNativeFrame.cy -= FNativeMenuHeight;
#endif
}

void TWinSkinForm::FreeMenuBar(bool giveMenuBack) {
#ifdef TW_HAVE_MENU_BAR
  if (!FMenuBar) return;
  if (giveMenuBack) FMenuBar->RestoreNativeMenu();
  if (TMainMenu* menu = FMenuBar->LibraryMenu()) RemoveFreeNotification(menu);
  delete FMenuBar;
#endif
  (void)giveMenuBack;
  FMenuBar = nullptr;
  FMenuOpen = false;
  FSizes.MenuBarHeight = 0;
}

bool TWinSkinForm::MenuBarHandle(TMessage& m) {
#ifdef TW_HAVE_MENU_BAR
  if (FMenuBar) return FMenuBar->HandleMessage(m);
#endif
  (void)m;
  return false;
}

// The library's menu-changed notification: the bar follows the form's menu
// (set anew or changed in place) while the skin's MenuUpdate is on.
void TWinSkinForm::MenuChanged(TMessage& m) {
  const bool paint = FSkin && FSkin->FramePaintEnabled();
  if (FSkin) FSkin->SetFramePaintEnabled(false);
  FFormHook.CallPrevious(m);
  if (FSkin) FSkin->SetFramePaintEnabled(paint);
#ifdef TW_HAVE_MENU_BAR
  if (!FMenuBar) return;
  if (FSkin && FSkin->MenuUpdate()) {
    TMainMenu* menu = FForm ? FForm->Menu() : nullptr;
    if (menu != FMenuBar->LibraryMenu()) {
      if (FMenuBar->LibraryMenu()) RemoveFreeNotification(FMenuBar->LibraryMenu());
      if (menu) FreeNotification(menu);
      FMenuBar->SetLibraryMenu(menu);
    }
    FMenuBar->Build();
    if (FLifeState == kFrameSkinned && IsWindowVisible(FWindow)) PaintFrame(nullptr);
  }
#endif
  if (GetMenu(FWindow)) SetMenu(FWindow, nullptr);
}

bool TWinSkinForm::ButtonsHandle(TMessage& m) {
#ifdef TW_HAVE_CAPTION_BUTTONS
  if (FButtons) return FButtons->HandleMessage(m);
#endif
  (void)m;
  return false;
}

// Whoever asks whether the window is skinned (another process too) sees it
// whole: frame, size and region, even before the posted WM_SKINFORM arrives.
void TWinSkinForm::FinishAttachBeforeAnswering() {
  if (FCommonAttachDone && !FSkinMessageSeen) FinishAttach();
}

// WM_SKINFORM: the window finishes attaching.
void TWinSkinForm::FinishAttach() {
  FSkinMessageSeen = true;
  FIcon = reinterpret_cast<HICON>(SendMessageW(FWindow, WM_GETICON, ICON_SMALL, 0));
  if (!FIcon) FIcon = reinterpret_cast<HICON>(SendMessageW(FWindow, WM_GETICON, ICON_BIG, 0));
  FSavedClientSize = ClientSize(FWindow);
  FSavedClientSize.cy -= FNativeMenuHeight;
  FNativeMenuHeight = 0;
  if (FDialog) {
    const int n = GetWindowTextLengthW(FWindow);
    FWindowText.assign(static_cast<size_t>(n) + 1, L'\0');
    GetWindowTextW(FWindow, FWindowText.data(), n + 1);
    FWindowText.resize(static_cast<size_t>(n));
  }
#ifdef TW_HAVE_CONTROL_DISPATCH
  if (FForm)
    SkinChildControls(*this, FForm);
  else
    SkinChildWindows(*this, FWindow);
#endif
  if (FLifeState == kFrameCreated) {
    if (!FChild && FBorderKind != TBorderKind::None && FShowState != TShowState::Minimized) {
      FLifeState = kFrameApplying;
      ApplyFrameKeepingClient();
      FLifeState = kFrameSkinned;
      if (FShowState == TShowState::Maximized)
        FrameChanged();
      else
        BuildRegion();
    }
  }
  SendMessageW(FWindow, WM_SKINNEDNOTIFY, 0, kSkinMarker);
  if (FSkin && FSkin->OnAfterSkinForm.Assigned()) FSkin->OnAfterSkinForm(FForm, FWindow, FClassName);
  FLifeState = kFrameSkinned;
  if (FHoverTimer) FHoverTimer->SetEnabled(true);
  RedrawWindow(FWindow, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
}

void TWinSkinForm::FrameChanged() { SetWindowPos(FWindow, nullptr, 0, 0, 0, 0, kNoMoveSize); }

void TWinSkinForm::ApplyFrameKeepingClient() {
  if (FShowState == TShowState::Maximized) {
    FrameChanged();
    return;
  }
  SIZE client = FSavedClientSize;
  TSize2 outer = SkinnedWindowSize(client.cx, client.cy, FSizes);
  if (FDialog && FSkin && !FSkin->SkinEmpty()) {
    // A title wider than the window widens it; the controls move to the
    // middle of the new width.
    const TDataSkinTitle& t = *FSkin->Model().Title;
    HDC dc = GetDC(FWindow);
    HGDIOBJ old = SelectObject(dc, FSkin->CaptionFont()->Handle());
    SIZE text{};
    GetTextExtentPoint32W(dc, FWindowText.c_str(), static_cast<int>(FWindowText.size()), &text);
    SelectObject(dc, old);
    ReleaseDC(FWindow, dc);
    const int needed = t.LeftWidth + text.cx + t.RightWidth;
    if (needed > outer.Width) {
      const int shift = (needed - outer.Width) / 2;
      for (HWND c = GetWindow(FWindow, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        RECT r{};
        GetWindowRect(c, &r);
        MapWindowPoints(nullptr, FWindow, reinterpret_cast<POINT*>(&r), 2);
        SetWindowPos(c, nullptr, r.left + shift, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      }
      outer.Width = needed;
    }
  }
  ResizeKeepingCentre(outer.Width, outer.Height);
}

// A window centred on the screen or its owner stays centred when the frame
// changes its outer size.
void TWinSkinForm::ResizeKeepingCentre(int width, int height) {
  RECT r{};
  GetWindowRect(FWindow, &r);
  const POINT pos{r.left + ((r.right - r.left) - width) / 2, r.top + ((r.bottom - r.top) - height) / 2};
  if (!FPlaced) FOriginalPos = {r.left, r.top};
  SetWindowPos(FWindow, nullptr, pos.x, pos.y, width, height, SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  GetWindowRect(FWindow, &r);
  FPlacedPos = {r.left, r.top};
  FPlaced = true;
}

void TWinSkinForm::Reapply() {
  if (!FSkin || FSkin->SkinEmpty()) return;
  if (FForm) {
    FForm->SetColor(static_cast<TColor>(FSkin->Model().ButtonFaceColour));
    FFormText.Take(FForm, ColorToRGB(static_cast<TColor>(FSkin->Model().ButtonTextColour)));
  }
  for (TSkinControl* c : FSkinnedControls) c->SkinChanged();
  FLifeState = kFrameReapplying;
  if (FFrameSkinned && FBorderKind != TBorderKind::None && FShowState == TShowState::Normal && !FChild) {
    FSavedClientSize = ClientSize(FWindow);
    ApplyFrameKeepingClient();
    BuildRegion();
  }
  RedrawWindow(FWindow, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  SendMessageW(FWindow, WM_SKINNEDNOTIFY, 0, kSkinMarker);
  if (FSkin->OnAfterSkinForm.Assigned()) FSkin->OnAfterSkinForm(FForm, FWindow, FClassName);
  FLifeState = kFrameSkinned;
}

void TWinSkinForm::SetCaptionStyle(bool on) {
  if (!(FCapabilities & kCapCaptionStyle) || !IsWindow(FWindow)) return;
  const LONG style = GetWindowLongW(FWindow, GWL_STYLE);
  const LONG caption = FSavedStyle & WS_CAPTION;
  const LONG next = on ? (style | caption) : (style & ~WS_CAPTION);
  if (next != style) SetWindowLongW(FWindow, GWL_STYLE, next);
}

void TWinSkinForm::ReadShowState() {
  WINDOWPLACEMENT wp{sizeof(wp)};
  GetWindowPlacement(FWindow, &wp);
  if (IsIconic(FWindow) || wp.showCmd == SW_SHOWMINIMIZED || wp.showCmd == SW_MINIMIZE ||
      wp.showCmd == SW_SHOWMINNOACTIVE)
    FShowState = TShowState::Minimized;
  else if (IsZoomed(FWindow) || wp.showCmd == SW_SHOWMAXIMIZED)
    FShowState = TShowState::Maximized;
  else
    FShowState = TShowState::Normal;
}

// ---------------------------------------------------------------------------
// Detaching

void TWinSkinForm::ReleaseSkinnedControls() {
  while (!FSkinnedControls.empty()) {
    TSkinControl* c = FSkinnedControls.front();
    FSkinnedControls.erase(FSkinnedControls.begin());
    if (c == FHoveredControl) FHoveredControl = nullptr;
#ifdef TW_HAVE_SKIN_CONTROLS
    if (c->LifeState() != kSkinWindowDestroyed) c->Unskin();
    TComponent::Free(c);
#endif
  }
}

void TWinSkinForm::RestoreForm() {
  if (FForm && FColourSaved && FLifeState != kFrameDetachingOnDestroy) {
    FFormText.Give();
    FForm->SetColor(FSavedColour);
  }
  FColourSaved = false;
}

void TWinSkinForm::DetachQuick() {
  if (FHoverTimer) FHoverTimer->SetEnabled(false);
  FFormHook.Unhook();
  if (FSubclass) FSubclass->Detach();
  ReleaseSkinnedControls();
  FreeMenuBar(false);
}

void TWinSkinForm::Detach() {
  if (FHoverTimer) FHoverTimer->SetEnabled(false);
  const bool wasSubclassed = FSubclass && FSubclass->Attached();
  FFormHook.Unhook();
  if (FSubclass) FSubclass->Detach();
  ReleaseSkinnedControls();
  RestoreForm();
  // The native menu comes back before the size that keeps the client area.
  FreeMenuBar(wasSubclassed && IsWindow(FWindow) && FLifeState != kFrameWindowDestroyed);
  FreeButtons();
  if (!wasSubclassed || !IsWindow(FWindow) || FLifeState == kFrameWindowDestroyed) return;
  if (FFrameSkinned) {
    // Style bits back as they were, then the size that keeps the client area.
    const LONG style = GetWindowLongW(FWindow, GWL_STYLE);
    const LONG restored = (style & ~(WS_CAPTION | WS_SYSMENU)) | (FSavedStyle & (WS_CAPTION | WS_SYSMENU));
    if (restored != style) SetWindowLongW(FWindow, GWL_STYLE, restored);
    if (FLifeState != kFrameDetachingOnDestroy && !(FChild && !IsMDIChild()) && FNativeFrameKnown &&
        FSkinMessageSeen && FShowState == TShowState::Normal) {
      const SIZE ws = WindowSize(FWindow);
      const TSize2 size = NativeWindowSize(ws.cx, ws.cy, FNativeFrame.cx, FNativeFrame.cy, FSizes);
      RECT r{};
      GetWindowRect(FWindow, &r);
      if (FPlaced && r.left == FPlacedPos.x && r.top == FPlacedPos.y)
        SetWindowPos(FWindow, nullptr, FOriginalPos.x, FOriginalPos.y, size.Width, size.Height,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
      else
        ResizeKeepingCentre(size.Width, size.Height);
    } else {
      FrameChanged();
    }
  }
  if (FRegion) {
    SetWindowRgn(FWindow, nullptr, TRUE);
    DeleteObject(FRegion);
    FRegion = nullptr;
  }
  FRegionWidth = FRegionHeight = -1;
}

// ---------------------------------------------------------------------------
// Region

void TWinSkinForm::BuildRegion() {
  if (FLifeState == kFrameWindowDestroyed || !FFrameSkinned || !FSkin) return;
  if (IsMDIChild() && FShowState != TShowState::Normal) return;
  const SIZE ws = WindowSize(FWindow);
  if (ws.cx <= 0 || ws.cy <= 0) return;
  if (FRegion && ws.cx == FRegionWidth && ws.cy == FRegionHeight && !IsMDIChild() &&
      FLifeState != kFrameReapplying)
    return;
  const TSkinModel& m = FSkin->Model();
  const int w = ws.cx, h = ws.cy;
  HRGN region;
  if (!m.FrameLeft->Trans && !m.FrameRight->Trans && !m.FrameTop->Trans) {
    region = CreateRectRgn(0, 0, w, h);
  } else {
    const TFramePieces p = FramePiecesOf(w, h, FSizes);
    region = CreateRectRgn(p.Client.Left, p.Client.Top, p.Client.Right, p.Client.Bottom);
    if (FBorderKind != TBorderKind::None) {
      auto addPiece = [&](const TDataSkinObject& e, ImgRect r, bool vertical, bool useBitmap) {
        if (r.Empty()) return;
        HRGN piece = nullptr;
        if (e.Trans == 1 && useBitmap) {
          const Image img = RenderPiece(e, r.Width(), r.Height(), vertical, true);
          if (!img.Empty()) piece = RegionFromBitmap(img, r.Left, r.Top, 1, 1, 1, kMagenta);
        }
        if (!piece) piece = CreateRectRgn(r.Left, r.Top, r.Right, r.Bottom);
        CombineRgn(region, region, piece, RGN_OR);
        DeleteObject(piece);
      };
      addPiece(*m.FrameLeft, p.Left, false, h > 1);
      addPiece(*m.FrameRight, p.Right, false, h > 1);
      addPiece(*m.FrameTop, p.Top, true, FSizes.CaptionHeight > 1);
      addPiece(*m.FrameBottom, p.Bottom, true, FSizes.BorderBottom >= 2);
      // The menu band is part of the window.
      if (!p.MenuBand.Empty()) {
        HRGN band = CreateRectRgn(p.MenuBand.Left, p.MenuBand.Top, p.MenuBand.Right, p.MenuBand.Bottom);
        CombineRgn(region, region, band, RGN_OR);
        DeleteObject(band);
      }
    }
  }
  // The system owns the region once set; keep a copy to know we set one.
  HRGN copy = CreateRectRgn(0, 0, 0, 0);
  CombineRgn(copy, region, nullptr, RGN_COPY);
  if (SetWindowRgn(FWindow, region, TRUE)) {
    if (FRegion) DeleteObject(FRegion);
    FRegion = copy;
    FRegionWidth = w;
    FRegionHeight = h;
  } else {
    DeleteObject(region);
    DeleteObject(copy);
  }
}

void TWinSkinForm::ReleaseRegion() {
  if (!FRegion) return;
  DeleteObject(FRegion);
  FRegion = nullptr;
  FRegionWidth = FRegionHeight = -1;
  if (IsWindow(FWindow)) SetWindowRgn(FWindow, nullptr, IsMDIChild());
}

// ---------------------------------------------------------------------------
// Painting

void TWinSkinForm::PaintFrame(HDC given) {
  if (!ScratchBitmap()) return;
  if (FLifeState != kFrameSkinned && FLifeState != kFrameReapplying) return;
  // A failed reload leaves the last model intact: the frame keeps painting it.
  if (FBorderKind == TBorderKind::None || !FSkin) return;
  if (IsMDIChild() && FShowState == TShowState::Maximized) return;
  HDC dc = given ? given : GetWindowDC(FWindow);
  if (!dc) return;
  try {
    const SIZE ws = WindowSize(FWindow);
    const int w = ws.cx, h = ws.cy;
    if (FShowState == TShowState::Minimized) {
      PaintCaptionBand(dc, w, h);
    } else {
      const TSkinModel& m = FSkin->Model();
      const TFramePieces p = FramePiecesOf(w, h, FSizes);
      BlitImage(dc, RenderPiece(*m.FrameLeft, p.Left.Width(), p.Left.Height(), false, FActive), p.Left.Left, p.Left.Top);
      BlitImage(dc, RenderPiece(*m.FrameRight, p.Right.Width(), p.Right.Height(), false, FActive), p.Right.Left,
                p.Right.Top);
      BlitImage(dc, RenderPiece(*m.FrameBottom, p.Bottom.Width(), p.Bottom.Height(), true, FActive), p.Bottom.Left,
                p.Bottom.Top);
      PaintCaptionBand(dc, w, h);
#ifdef TW_HAVE_MENU_BAR
      if (FMenuBar && !p.MenuBand.Empty()) FMenuBar->Paint(dc, p.MenuBand);
      else
#endif
      if (!p.MenuBand.Empty()) {
        RECT band{p.MenuBand.Left, p.MenuBand.Top, p.MenuBand.Right, p.MenuBand.Bottom};
        FillRect(dc, &band, FSkin->FaceBrush());
      }
    }
  } catch (...) {
    // A frame that cannot be painted this time is simply not drawn.
  }
  ClearHotObject();
  if (!given) ReleaseDC(FWindow, dc);
}

void TWinSkinForm::PaintCaptionBand(HDC dc, int w, int h) {
  const TSkinModel& m = FSkin->Model();
  const bool minimized = FShowState == TShowState::Minimized;
  const int bandHeight = minimized ? h : FSizes.CaptionHeight;
  if (w <= 0 || bandHeight <= 0) return;
  DibSurface band;
  if (!band.Resize(w, bandHeight)) return;
  Image top;
  int topLeft = 0;
  if (minimized) {
    RECT all{0, 0, w, h};
    HBRUSH face = CreateSolidBrush(ToColorRef(m.ButtonFaceColour));
    FillRect(band.DC(), &all, face);
    DeleteObject(face);
    top = RenderPiece(*m.FrameTop, w, FSizes.CaptionHeight, true, FActive);
  } else {
    // What the window shows there (the side borders' tops), then the top piece.
    BitBlt(band.DC(), 0, 0, w, bandHeight, dc, 0, 0, SRCCOPY);
    topLeft = FSizes.BorderLeft;
    top = RenderPiece(*m.FrameTop, w - FSizes.BorderLeft - FSizes.BorderRight, FSizes.CaptionHeight, true, FActive);
  }
  GdiFlush();
  BlitImage(band.DC(), top, topLeft, 0);
  DrawTitle(band.DC(), w);
#ifdef TW_HAVE_CAPTION_BUTTONS
  if (FButtons) FButtons->PaintCaptionBand(band.DC());
#endif
  GdiFlush();
  band.DrawTo(dc, 0, 0);
  SetBkMode(dc, OPAQUE);
}

// The title between the caption buttons, from the skin's Title settings.
void TWinSkinForm::DrawTitle(HDC band, int w) {
  const TSkinModel& m = FSkin->Model();
  const TDataSkinTitle& t = *m.Title;
  const int n = GetWindowTextLengthW(FWindow);
  std::wstring text(static_cast<size_t>(n) + 1, L'\0');
  GetWindowTextW(FWindow, text.data(), n + 1);
  text.resize(static_cast<size_t>(n));
  if (text.empty()) return;

  int left = FSizes.BorderLeft + std::max(t.LeftWidth, 0);
  int right = w - FSizes.BorderRight - std::max(t.RightWidth, 0);
  if (FButtons) {
    const int edge = LayoutButtons();
    for (size_t i = 0; i < FButtons->Count(); ++i) {
      const TWinSysButton* b = FButtons->Button(i);
      if (!b->Visible || b->HitRect.Empty()) continue;
      // Buttons in the left half push the text right; the others clip it.
      if (b->HitRect.Left < w / 2)
        left = std::max(left, b->HitRect.Right + 4);
      else
        right = std::min(right, b->HitRect.Left - 4);
    }
    if (edge > 0) right = std::min(right, edge - 4);
  }
  if (right <= left) return;

  TColour colour = FActive ? t.ActiveTextColour : t.InactiveTextColour;
  if (colour == kColourNotSet) colour = FActive ? m.TitleTextActiveColour : m.TitleTextNoActiveColour;
  LOGFONTW lf{};
  GetObjectW(FSkin->CaptionFont()->Handle(), sizeof(lf), &lf);
  if (t.FontHeight > 0) lf.lfHeight = -t.FontHeight;
  HFONT font = CreateFontIndirectW(&lf);
  HGDIOBJ old = SelectObject(band, font);
  SetBkMode(band, TRANSPARENT);
  SetTextColor(band, ToColorRef(colour));
  RECT r{left, t.TopHeight, right, FSizes.CaptionHeight};
  UINT align = DT_LEFT;
  if (t.TextAlignment == 1) align = DT_RIGHT;
  if (t.TextAlignment == 2) align = DT_CENTER;
  DrawTextW(band, text.c_str(), static_cast<int>(text.size()), &r,
            align | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
  SelectObject(band, old);
  DeleteObject(font);
}

// ---------------------------------------------------------------------------
// The window procedure

LRESULT TWinSkinForm::CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam) {
  return FSubclass ? FSubclass->Previous(msg, wParam, lParam) : DefWindowProcW(FWindow, msg, wParam, lParam);
}

LRESULT TWinSkinForm::FrameProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  try {
    // Stage 1: handled whatever the frame kind.
    switch (msg) {
      case WM_NCPAINT:
        if (FLifeState == kFrameCreated && FFrameSkinned) return 0;
        break;
      case WM_ERASEBKGND:
        if (!FForm && FSkin && !FSkin->SkinEmpty()) {
          CallPrevious(msg, wParam, lParam);
          RECT r{};
          GetClientRect(FWindow, &r);
          FillRect(reinterpret_cast<HDC>(wParam), &r, FSkin->FaceBrush());
          return 1;
        }
        return CallPrevious(msg, wParam, lParam);
      case WM_NCDESTROY: {
        FLifeState = kFrameDetachingOnDestroy;
        if (FHoverTimer) FHoverTimer->SetEnabled(false);
        FFormHook.Unhook();
        ReleaseSkinnedControls();
        const LRESULT r = CallPrevious(msg, wParam, lParam);
        FLifeState = kFrameWindowDestroyed;
        return r;
      }
      case WM_NCACTIVATE:
        if (FLifeState == kFrameCreated && FFrameSkinned && !IsMDIChild()) {
          FActive = wParam != 0;
          return TRUE;
        }
        break;
      case 0xAE:  // undocumented caption repaint of themed windows
        return 0;
      case WM_CTLCOLORBTN:
      case WM_CTLCOLORSTATIC:
        if (!FForm && FSkin && !FSkin->SkinEmpty()) {
          const LRESULT r = CallPrevious(msg, wParam, lParam);
          SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
          return msg == WM_CTLCOLORSTATIC ? reinterpret_cast<LRESULT>(FSkin->FaceBrush()) : r;
        }
        return CallPrevious(msg, wParam, lParam);
      case WM_SKINFORM:
        if (!FSkinMessageSeen) FinishAttach();
        return 0;
      case WM_SKINQUERY:
        FinishAttachBeforeAnswering();
        return 1;
      case WM_SKINQUERYMARKER:
        FinishAttachBeforeAnswering();
        return lParam == kSkinMarker ? kSkinMarker : 1;
      case WM_SKINPAINTINTO:
        if (lParam == kSkinMarker) {
          PaintFrame(reinterpret_cast<HDC>(wParam));
          return kSkinMarker;
        }
        break;
      default:
        break;
    }
    if (!FFrameSkinned) return CallPrevious(msg, wParam, lParam);

    LRESULT result = 0;
    bool handled = false;
    if (IsMDIChild() || !FChild) handled = Stage2(msg, wParam, lParam, result);
    else return CallPrevious(msg, wParam, lParam);
    if (!(IsMDIChild() && FShowState == TShowState::Maximized) && FLifeState != kFrameCreated) {
      LRESULT r3 = 0;
      if (Stage3(msg, wParam, lParam, r3)) return r3;
    }
    return handled ? result : CallPrevious(msg, wParam, lParam);
  } catch (...) {
    HandleCallbackException(std::current_exception());
    return 0;
  }
}

// Show state, system commands and activation records.
bool TWinSkinForm::Stage2(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (msg) {
    case WM_GETMINMAXINFO:
      result = CallPrevious(msg, wParam, lParam);
      ReadShowState();
      SetCaptionStyle(FShowState == TShowState::Minimized);
      return true;
    case WM_WINDOWPOSCHANGED:
      ReadShowState();
      // A window that comes back from minimized or hidden by a path that
      // sent no restoring WM_SIZE gets the skin's caption again.
      if (FLifeState == kFrameSkinned && FShowState != TShowState::Minimized &&
          (GetWindowLongW(FWindow, GWL_STYLE) & WS_CAPTION)) {
        SetCaptionStyle(false);
        FrameChanged();
      }
      return false;
    case WM_SETTEXT: {
      // The caption is ours: let the text change, then repaint the band.
      result = CallPrevious(msg, wParam, lParam);
      if (FLifeState == kFrameSkinned && IsWindowVisible(FWindow)) PaintFrame(nullptr);
      return true;
    }
    case WM_COMMAND: {
      const UINT id = LOWORD(wParam) & 0xFFF0;
      if (lParam == 0 && HIWORD(wParam) == 0 &&
          (id == SC_SIZE || id == SC_MOVE || id == SC_MINIMIZE || id == SC_MAXIMIZE || id == SC_NEXTWINDOW ||
           id == SC_PREVWINDOW || id == SC_CLOSE || id == SC_RESTORE)) {
        PostMessageW(FWindow, WM_SYSCOMMAND, LOWORD(wParam), 0);
        result = 0;
        return true;
      }
      return false;
    }
    case WM_SKINMENUBUTTON:
    case WM_MENUSELECT: {
      TMessage m{msg, wParam, lParam, 0};
      if (MenuBarHandle(m)) {
        result = m.Result;
        return true;
      }
      return false;
    }
    case WM_SYSCOMMAND: {
      if (FLifeState != kFrameCreated) {
        TMessage m{msg, wParam, lParam, 0};
        if (MenuBarHandle(m) || ButtonsHandle(m)) {
          result = m.Result;
          return true;
        }
      }
      switch (wParam & 0xFFF0) {
        case SC_MINIMIZE:
          FShowState = TShowState::Minimized;
          if (IsMDIChild()) SetCaptionStyle(true);
          break;
        case SC_MAXIMIZE:
          FShowState = TShowState::Maximized;
          break;
        case SC_RESTORE:
          FShowState = TShowState::Normal;
          break;
        default:
          break;
      }
      return false;
    }
    case WM_ACTIVATE:
      FActive = LOWORD(wParam) != WA_INACTIVE;
      return false;
    case WM_NCACTIVATE:
      FActive = wParam != 0;
      return false;
    default:
      return false;
  }
}

// The non-client takeover, once skinned.
bool TWinSkinForm::Stage3(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (msg) {
    case WM_SIZE: {
      result = CallPrevious(msg, wParam, lParam);
      if (wParam == SIZE_MINIMIZED) {
        FShowState = TShowState::Minimized;
        SetCaptionStyle(true);
      } else {
        const bool wasMinimized = FShowState == TShowState::Minimized;
        FShowState = wParam == SIZE_MAXIMIZED ? TShowState::Maximized : TShowState::Normal;
        if (wasMinimized) {
          SetCaptionStyle(false);
          FrameChanged();
        }
        if (FLifeState == kFrameSkinned || FLifeState == kFrameReapplying) BuildRegion();
      }
      return true;
    }
    case WM_WINDOWPOSCHANGING:
      result = CallPrevious(msg, wParam, lParam);
      return true;
    case WM_NCCALCSIZE: {
      result = CallPrevious(msg, wParam, lParam);
      if (!wParam) {
        result = 0;
        return true;
      }
      auto* p = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
      if ((IsMDIChild() && FShowState != TShowState::Normal) || FBorderKind == TBorderKind::None ||
          FShowState == TShowState::Minimized) {
        p->rgrc[1] = p->rgrc[0];
        result = WVR_VALIDRECTS;
        return true;
      }
      const WINDOWPOS* pos = p->lppos;
      const ImgRect window{pos->x, pos->y, pos->x + pos->cx, pos->y + pos->cy};
      const ImgRect c = SkinClientRect(window, FSizes);
      p->rgrc[0] = RECT{c.Left, c.Top, c.Right, c.Bottom};
      p->rgrc[1] = p->rgrc[0];
      result = WVR_VALIDRECTS;
      return true;
    }
    case WM_NCHITTEST: {
      const LRESULT previous = CallPrevious(msg, wParam, lParam);
      RECT r{};
      GetWindowRect(FWindow, &r);
      const int x = static_cast<short>(LOWORD(lParam)) - r.left;
      const int y = static_cast<short>(HIWORD(lParam)) - r.top;
      result = SkinHitTest(static_cast<int>(previous), x, y, FSizes);
      return true;
    }
    case WM_NCPAINT: {
      if (FBorderKind == TBorderKind::None || (IsMDIChild() && FShowState == TShowState::Maximized)) {
        result = CallPrevious(msg, wParam, lParam);
        return true;
      }
      if (FSkin && FSkin->FramePaintEnabled()) PaintFrame(nullptr);
      result = 0;
      return true;
    }
    case WM_NCACTIVATE: {
      FActive = wParam != 0;
      if (FHoverTimer) FHoverTimer->SetEnabled(FActive);
      if (!FActive && FHoveredControl) {
#ifdef TW_HAVE_SKIN_CONTROLS
        FHoveredControl->EndHover();
#endif
        FHoveredControl = nullptr;
      }
      if (IsMDIChild()) CallPrevious(msg, wParam, lParam);
      PaintFrame(nullptr);
      result = TRUE;
      return true;
    }
    case WM_NCMOUSEMOVE:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN: {
      TMessage m{msg, wParam, lParam, 0};
      if (MenuBarHandle(m) || ButtonsHandle(m)) {
        result = m.Result;
        return true;
      }
      return false;
    }
    case WM_SKINNCPAINT:
      PaintFrame(nullptr);
      result = 0;
      return true;
    case WM_MEASUREITEM:
    case WM_DRAWITEM: {
      TMessage m{msg, wParam, lParam, 0};
      if (MenuBarHandle(m)) {
        result = m.Result;
        return true;
      }
      return false;
    }
    default:
      return false;
  }
}

// The library form's message hook: re-apply and the marker messages arriving
// through Perform.
void TWinSkinForm::FormHook(TMessage& m) {
  switch (m.Msg) {
    case WM_SKINREAPPLY:
      Reapply();
      return;
    case CM_MENUCHANGED:
      MenuChanged(m);
      return;
    case CM_DIALOGCHAR:
      FFormHook.CallPrevious(m);
#ifdef TW_HAVE_MENU_BAR
      if (!m.Result && FMenuBar) FMenuBar->DialogChar(m);
#endif
      // Unhandled, Alt+letter goes on to the main form's menu bar (not while
      // that form is disabled behind a modal one).
      if (!m.Result && Application && Application->MainForm() && Application->MainForm() != FForm &&
          Application->MainForm()->HandleAllocated() && IsWindowEnabled(Application->MainForm()->Handle()))
        m.Result = Application->MainForm()->Perform(CM_DIALOGCHAR, m.WParam, m.LParam);
      return;
    case WM_SKINQUERYMARKER:
      m.Result = m.LParam == kSkinMarker ? kSkinMarker : 1;
      return;
    case WM_SKINPAINTINTO:
      if (m.LParam == kSkinMarker) {
        PaintFrame(reinterpret_cast<HDC>(m.WParam));
        m.Result = kSkinMarker;
        return;
      }
      break;
    default:
      break;
  }
  FFormHook.CallPrevious(m);
}

// ---------------------------------------------------------------------------
// Hover tracking

void TWinSkinForm::HoverTick(TObject*) {
  if (FMenuOpen) return;
#ifdef TW_HAVE_MENU_BAR
  // A menu-bar button still under the cursor keeps its hover.
  const bool menuBarHot = FMenuBar && FMenuBar->HoverTick();
#else
  const bool menuBarHot = false;
#endif
#ifdef TW_HAVE_CAPTION_BUTTONS
  if (FButtons && !menuBarHot) FButtons->HoverTick();
#endif
  (void)menuBarHot;
  if (!FForm && FHoveredControl) {
    POINT p{};
    GetCursorPos(&p);
    RECT r{};
    GetWindowRect(FHoveredControl->Handle(), &r);
    if (!PtInRect(&r, p)) {
#ifdef TW_HAVE_SKIN_CONTROLS
      FHoveredControl->EndHover();
#endif
      FHoveredControl = nullptr;
    }
  }
}

void TWinSkinForm::StopHoverTimer() {
  if (FHoverTimer) FHoverTimer->SetEnabled(false);
}

void TWinSkinForm::ShowStateChanging(TShowState next) { FShowState = next; }

// ---------------------------------------------------------------------------
// What the buttons and the skinned controls read

TCaptionFacts TWinSkinForm::CaptionFacts() const {
  TCaptionFacts f;
  f.ShowState = FShowState;
  f.Active = FActive;
  f.Capabilities = FCapabilities;
  f.BorderKind = FBorderKind;
  f.Dialog = FDialog;
  return f;
}

TCaptionMetrics TWinSkinForm::CaptionMetrics() const {
  TCaptionMetrics m;
  m.WindowWidth = WindowSize(FWindow).cx;
  m.BorderLeft = FSizes.BorderLeft;
  m.BorderRight = FSizes.BorderRight;
  m.CaptionHeight = FSizes.CaptionHeight;
  m.MenuBarHeight = FSizes.MenuBarHeight;
  if (FSkin && !FSkin->SkinEmpty())
    if (const TDataSkinObject* bar = FSkin->Model().MenuBar()) m.MenuBarLeftMargin = bar->LeftWidth;
  m.RightToLeft = (GetWindowLongW(FWindow, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
  return m;
}

TMenuSkin TWinSkinForm::CaptionMenuSkin() const {
  TMenuSkin s;
  if (!FSkin || FSkin->SkinEmpty()) return s;
  s.Model = &FSkin->Model();
  s.SkinControls = FSkin->SkinControls();
  s.Options = FSkin->Options();
  s.DisableTag = FSkin->DisableTag();
  s.MenuImages = FSkin->MenuImages();
  return s;
}

const TSkinModel* TWinSkinForm::SkinModel() const {
  return FSkin && !FSkin->SkinEmpty() ? &FSkin->Model() : nullptr;
}
uint32_t TWinSkinForm::SkinControls() const { return FSkin ? FSkin->SkinControls() : 0; }
uint32_t TWinSkinForm::SkinOptions() const { return FSkin ? FSkin->Options() : 0; }
int TWinSkinForm::DisableTag() const { return FSkin ? FSkin->DisableTag() : 99; }
const TStringList* TWinSkinForm::Skin3rd() const { return FSkin ? FSkin->Skin3rd() : nullptr; }
HBRUSH TWinSkinForm::FaceBrush() const { return FSkin ? FSkin->FaceBrush() : nullptr; }

TSkinControl* TWinSkinForm::QuerySkinControl(TWinControl* parent, TControl* control,
                                               const std::wstring& upperClassName) {
  if (!FSkin || !FSkin->OnSkinControl.Assigned()) return nullptr;
  TComponent* made = nullptr;
  FSkin->OnSkinControl(this, FSkin, parent, control, upperClassName, made);
#ifdef TW_HAVE_SKIN_CONTROLS
  return dynamic_cast<TSkinControl*>(made);
#else
  return nullptr;
#endif
}

bool TWinSkinForm::IsListed(HWND window) const {
  return std::any_of(FSkinnedControls.begin(), FSkinnedControls.end(),
                     [window](const TSkinControl* c) { return c->Handle() == window; });
}

bool TWinSkinForm::IsListed(const TSkinControl* object) const {
  return std::find(FSkinnedControls.begin(), FSkinnedControls.end(), object) != FSkinnedControls.end();
}

void TWinSkinForm::AddSkinnedControl(TSkinControl* object) {
  if (object && !IsListed(object)) FSkinnedControls.push_back(object);
}

void TWinSkinForm::RemoveSkinnedControl(TSkinControl* object) {
  FSkinnedControls.erase(std::remove(FSkinnedControls.begin(), FSkinnedControls.end(), object),
                         FSkinnedControls.end());
  if (FHoveredControl == object) FHoveredControl = nullptr;
}

void TWinSkinForm::SetHoveredControl(TSkinControl* object) {
#ifdef TW_HAVE_SKIN_CONTROLS
  if (FHoveredControl && FHoveredControl != object) FHoveredControl->EndHover();
#endif
  FHoveredControl = object;
}

void TWinSkinForm::SkinSizeGrip(HWND grip) {
#ifdef TW_HAVE_CONTROL_DISPATCH
  SkinChildWindow(*this, grip);
#else
  (void)grip;
#endif
}

bool TWinSkinForm::Unsubclassed() const { return !FSubclass || !FSubclass->Attached(); }
