// Skinned popup-menu windows under Wine: the attach gate, finding a menu's
// window, and a real context menu painted and printed from the skin.
#include "skin/window/PopupMenu.h"

#include <gtest/gtest.h>

#include "skin/controls/SkinMessages.h"
#include "skin/controls/SkinSwitches.h"
#include "skin/data/SkinModel.h"
#include "tests/skin/data/model/SkinTestPackage.h"
#include "tests/support/Pump.h"

namespace {

constexpr uint32_t kMenuBack = 0x805030, kItemNormal = 0x30A060, kItemSelected = 0x2040B0;

const TSkinModel& MenuSkinModel() {
  static TSkinModel model = [] {
    TSkinModel m;
    Image item(5 * 20, 18, kMagenta);
    item.FillRect(MakeRect(0, 0, 20, 18), kItemNormal);
    item.FillRect(MakeRect(60, 0, 80, 18), kItemSelected);
    SkinTestPackage p("[MenuItem]\nImage=menuitem.bmp\n[MenuBackground]\nImage=menubg.bmp\n");
    p.Add("menuitem.bmp", item).Add("menubg.bmp", 9, 9, kMenuBack);
    EXPECT_TRUE(p.BuildInto(m));
    return m;
  }();
  return model;
}

TMenuSkin Skin(uint32_t controls) {
  TMenuSkin s;
  s.Model = &MenuSkinModel();
  s.SkinControls = controls;
  return s;
}

uint32_t Bit(int ordinal) { return 1u << ordinal; }

HWND StandIn(DWORD style = WS_POPUP, HWND parent = nullptr) {
  return CreateWindowExW(0, L"STATIC", L"", style, 0, 0, 40, 30, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
}

TEST(PopupMenu, GateFollowsTheMenuKindAndTheSkin) {
  TSkinPopups popups;
  HWND a = StandIn(), b = StandIn(), parent = StandIn();
  HWND child = StandIn(WS_CHILD, parent);
  // Free popups need xcPopupMenu, menu-bar drop-downs xcMainMenu or
  // xcMenuItem, the system menu xcSystemMenu.
  EXPECT_EQ(popups.AttachPopup(a, Skin(Bit(xcSystemMenu) | Bit(xcMainMenu))), nullptr);
  popups.SetMenuKind(TMenuKind::MenuBar);
  EXPECT_EQ(popups.AttachPopup(a, Skin(Bit(xcPopupMenu) | Bit(xcSystemMenu))), nullptr);
  EXPECT_TRUE(PopupKindAllowed(TMenuKind::MenuBar, Bit(xcMenuItem)));
  popups.SetMenuKind(TMenuKind::SystemMenu);
  TMenuSkin empty = Skin(Bit(xcSystemMenu));
  empty.Model = nullptr;  // no skin loaded
  EXPECT_EQ(popups.AttachPopup(a, empty), nullptr);
  EXPECT_EQ(popups.AttachPopup(child, Skin(Bit(xcSystemMenu))), nullptr);
  ASSERT_NE(popups.AttachPopup(a, Skin(Bit(xcSystemMenu))), nullptr);
  EXPECT_EQ(SendMessageW(a, WM_SKINQUERY, 0, 0), 1);
  EXPECT_EQ(popups.AttachPopup(a, Skin(Bit(xcSystemMenu))), nullptr);  // listed already
  ASSERT_NE(popups.AttachPopup(b, Skin(Bit(xcSystemMenu))), nullptr);
  EXPECT_EQ(popups.Count(), 2u);
  // Leaving: the kind stays while a menu window is open, and returns to Free
  // with the last one; the window procedure is the window's own again.
  EXPECT_FALSE(popups.DetachPopup(parent));
  EXPECT_TRUE(popups.DetachPopup(a));
  EXPECT_EQ(SendMessageW(a, WM_SKINQUERY, 0, 0), 0);
  EXPECT_EQ(popups.MenuKind(), TMenuKind::SystemMenu);
  DestroyWindow(b);  // gone without a detach: the list forgets it
  EXPECT_EQ(popups.Count(), 0u);
  EXPECT_EQ(popups.MenuKind(), TMenuKind::Free);
  DestroyWindow(a);
  DestroyWindow(parent);
}

TEST(PopupMenu, MenusFindTheirOwnWindowEvenWhenAnOlderMenuRepaints) {
  TSkinPopups popups;
  HWND first = StandIn(), second = StandIn();
  ASSERT_NE(popups.AttachPopup(first, Skin(Bit(xcPopupMenu))), nullptr);
  ASSERT_NE(popups.AttachPopup(second, Skin(Bit(xcPopupMenu))), nullptr);
  HMENU parentMenu = CreatePopupMenu(), subMenu = CreatePopupMenu();
  popups.TagNewPopup(parentMenu);  // newest untagged window
  EXPECT_EQ(popups.PopupFor(parentMenu)->MenuWindow(), second);
  // The parent's items repaint while another window is still untagged: the
  // parent keeps its window and the other stays free for its own menu.
  popups.TagNewPopup(parentMenu);
  EXPECT_EQ(popups.PopupFor(parentMenu)->MenuWindow(), second);
  popups.TagNewPopup(subMenu);
  EXPECT_EQ(popups.PopupFor(subMenu)->MenuWindow(), first);
  EXPECT_EQ(popups.PopupFor(nullptr), nullptr);
  popups.DetachAll();
  EXPECT_EQ(popups.PopupBitmapFor(subMenu), nullptr);
  DestroyMenu(parentMenu);
  DestroyMenu(subMenu);
  DestroyWindow(first);
  DestroyWindow(second);
}

// A context menu with owner-drawn items, shown for real: the CBT hook hands
// its window to the popup list (as the manager does); a timer of the owner
// checks the screen and the printed picture, then closes the menu.
struct ContextMenuRun {
  HWND owner = nullptr;
  HMENU menu = nullptr;
  HWND menuWindow = nullptr;
  bool screenOk = false, printedOk = false;
  uint32_t printedBorder = 0, printedItem = 0;
  DWORD start = 0;
};
ContextMenuRun* run = nullptr;

LRESULT CALLBACK OwnerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_MEASUREITEM) {
    auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    mi->itemWidth = 120;
    mi->itemHeight = 22;
    return TRUE;
  }
  if (msg == WM_DRAWITEM) {
    auto* di = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
    TMenuItemData item;
    item.Caption = di->itemID == 1 ? L"Open" : L"Close";
    item.Menu = reinterpret_cast<HMENU>(di->hwndItem);
    PaintMenuItem(di->hDC, di->rcItem, (di->itemState & ODS_SELECTED) != 0, item, Skin(Bit(xcPopupMenu)));
    return TRUE;
  }
  if (msg == WM_TIMER && run) {
    HWND m = run->menuWindow;
    RECT wr{};
    if (m && IsWindowVisible(m) && GetWindowRect(m, &wr)) {
      RECT item{};
      GetMenuItemRect(nullptr, run->menu, 0, &item);
      HDC screen = GetDC(nullptr);
      run->screenOk = PixelFromColour(GetPixel(screen, wr.left + 1, wr.top + 1)) == kMenuBack &&
                      PixelFromColour(GetPixel(screen, item.left + 3, item.top + 3)) == kItemNormal;
      ReleaseDC(nullptr, screen);
      DibSurface printed;
      if (run->screenOk && printed.Resize(wr.right - wr.left, wr.bottom - wr.top)) {
        SendMessageW(m, WM_PRINT, reinterpret_cast<WPARAM>(printed.DC()), PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
        GdiFlush();
        run->printedBorder = PixelRGB(printed.Bits()[1 * printed.Width() + 1]);
        run->printedItem = PixelRGB(printed.Bits()[(item.top - wr.top + 3) * printed.Width() + (item.left - wr.left + 3)]);
        run->printedOk = true;
      }
    }
    if (run->printedOk || GetTickCount() - run->start > twtest::kWaitLimitMs) EndMenu();
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

HHOOK hook = nullptr;
LRESULT CALLBACK Cbt(int code, WPARAM wParam, LPARAM lParam) {
  HWND w = reinterpret_cast<HWND>(wParam);
  wchar_t cls[16] = {};
  if (code == HCBT_CREATEWND && GetClassNameW(w, cls, 16) && lstrcmpW(cls, L"#32768") == 0 &&
      SkinPopups().AttachPopup(w, Skin(Bit(xcPopupMenu))) && run)
    run->menuWindow = w;
  if (code == HCBT_DESTROYWND) SkinPopups().DetachPopup(w);
  return CallNextHookEx(hook, code, wParam, lParam);
}

TEST(PopupMenu, ContextMenuIsPaintedAndPrintedFromTheSkin) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = OwnerProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"PopupTestOwner";
  RegisterClassW(&wc);
  ContextMenuRun r;
  run = &r;
  r.owner = CreateWindowW(L"PopupTestOwner", L"popup test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 60, 200, 150,
                          nullptr, nullptr, wc.hInstance, nullptr);
  r.menu = CreatePopupMenu();
  AppendMenuW(r.menu, MF_OWNERDRAW, 1, nullptr);
  AppendMenuW(r.menu, MF_OWNERDRAW, 2, nullptr);
  hook = SetWindowsHookExW(WH_CBT, Cbt, nullptr, GetCurrentThreadId());
  SetForegroundWindow(r.owner);
  r.start = GetTickCount();
  SetTimer(r.owner, 1, 50, nullptr);
  TrackPopupMenu(r.menu, TPM_RETURNCMD, 300, 300, 0, r.owner, nullptr);
  UnhookWindowsHookEx(hook);
  run = nullptr;
  EXPECT_TRUE(r.screenOk);
  EXPECT_TRUE(r.printedOk);
  EXPECT_EQ(r.printedBorder, kMenuBack);
  EXPECT_EQ(r.printedItem, kItemNormal);
  EXPECT_EQ(SkinPopups().Count(), 0u);
  DestroyMenu(r.menu);
  DestroyWindow(r.owner);
}

}  // namespace
