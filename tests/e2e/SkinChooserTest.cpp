// The main window in-process: its system menu chooses among the embedded
// skins (the check follows, the banner takes each skin's colours), a package
// that cannot be loaded keeps the skin in use, and the banner of our own
// stands in for a page that never arrives.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/Main.h"
#include "app/WebBrowserControl.h"
#include "skin/data/ImgUtil.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinModel.h"
#include "skin/data/WinSkinStore.h"
#include "skin/window/SkinManage.h"
#include "tests/support/MessageBoxCloser.h"
#include "tests/support/Pump.h"
#include "tests/support/WindowCapture.h"

namespace {

UINT SkinCommand(int index) { return kSkinCommandFirst + kSkinCommandStep * UINT(index); }

// Chooses a skin as the menu does and waits until the manager has applied it.
void Choose(HWND window, WPARAM command) {
  SendMessageW(window, WM_SYSCOMMAND, command, 0);
  TSkinManage* manager = SkinManager();
  ASSERT_TRUE(manager);
  ASSERT_TRUE(twtest::PumpUntil([&] { return !manager->ActionPending() && !manager->PendingSkin(); }));
}

TFrmMain* MakeShownForm() {
  Application->Initialize();
  TFrmMain* form = TCustomForm::Create<TFrmMain>(Application);
  form->Show();
  twtest::PumpUntilIdle();
  return form;
}

// The store items whose system-menu entries are checked.
std::vector<int> CheckedSkins(HWND window) {
  std::vector<int> checked;
  HMENU menu = GetSystemMenu(window, FALSE);
  for (int i = 0; i < kSkinCommandCount; ++i) {
    const UINT state = GetMenuState(menu, SkinCommand(i), MF_BYCOMMAND);
    if (state != UINT(-1) && (state & MF_CHECKED)) checked.push_back(i);
  }
  return checked;
}

// Pixels of the banner's client area drawn exactly in `colour`.
int PixelsOf(HWND banner, COLORREF colour) {
  const Image shot = twtest::CaptureClient(banner);
  const uint32_t* p = shot.Pixels();
  return int(std::count_if(p, p + size_t(shot.Width()) * size_t(shot.Height()),
                           [&](uint32_t px) { return PixelRGB(px) == PixelRGB(PixelFromColour(colour)); }));
}

TEST(SkinChooser, TheSystemMenuListsTheStoreAndEachChoiceSwitchesSkinCheckAndBanner) {
  TWebBrowser::SetFactory([](IOleObject** object) {
    *object = nullptr;
    return REGDB_E_CLASSNOTREG;
  });
  TFrmMain* form = MakeShownForm();
  ASSERT_NE(form, nullptr);
  const HWND window = form->Handle();
  HMENU menu = GetSystemMenu(window, FALSE);
  const int count = form->SkinStore1->Store()->Count();
  ASSERT_EQ(count, 5);

  // A separator, then one item per store item, named as the item is, below
  // everything the system put there.
  const int items = GetMenuItemCount(menu);
  ASSERT_GE(items, count + 1);
  EXPECT_EQ(GetMenuState(menu, UINT(items - count - 1), MF_BYPOSITION) & MF_SEPARATOR, UINT(MF_SEPARATOR));
  for (int i = 0; i < count; ++i) {
    EXPECT_EQ(GetMenuItemID(menu, items - count + i), SkinCommand(i));
    wchar_t text[64] = {};
    GetMenuStringW(menu, SkinCommand(i), text, 64, MF_BYCOMMAND);
    EXPECT_EQ(std::wstring(text), form->SkinStore1->Store()->Items(i)->Name());
    EXPECT_LT(SkinCommand(i), 0xF000u);
  }
  EXPECT_EQ(CheckedSkins(window), std::vector<int>{2});
  EXPECT_EQ(form->SkinIndex(), 2);

  std::vector<COLORREF> backs;
  for (int i : {0, 1, 3, 4, 2}) {
    SCOPED_TRACE(i);
    // The low four bits of a system command belong to the system.
    const COLORREF before = form->WebBrowser1->Look().Back;
    SendMessageW(window, WM_SYSCOMMAND, SkinCommand(i) | 0x3, 0);
    // The banner follows the frames, on the manager's timer.
    EXPECT_EQ(form->WebBrowser1->Look().Back, before);
    TSkinManage* manager = SkinManager();
    ASSERT_TRUE(twtest::PumpUntil([&] { return !manager->ActionPending() && !manager->PendingSkin(); }));
    EXPECT_EQ(form->SkinIndex(), i);
    EXPECT_TRUE(form->SkinData1->Package() == *form->SkinStore1->Package(i));
    EXPECT_FALSE(form->SkinData1->SkinEmpty());
    EXPECT_TRUE(form->SkinData1->Active());
    EXPECT_EQ(CheckedSkins(window), std::vector<int>{i});
    const TBannerLook look = form->WebBrowser1->Look();
    EXPECT_EQ(look.Back, ResolveColour(form->SkinData1->Model().FrameColour));
    EXPECT_EQ(look.Text, ResolveColour(form->SkinData1->Model().TitleTextActiveColour));
    backs.push_back(look.Back);
    // On screen: the top row of the band in the back colour, the name and
    // its line in the text colour.
    HWND banner = form->WebBrowser1->Handle();
    EXPECT_TRUE(twtest::PumpUntil([&] { return twtest::ScreenPixel(banner, 2, 0) == look.Back; }));
    EXPECT_GT(PixelsOf(banner, look.Text), 200);
  }
  std::sort(backs.begin(), backs.end());
  EXPECT_GT(std::unique(backs.begin(), backs.end()) - backs.begin(), 2) << "the banner follows the skins";
  // System commands still reach the system.
  SendMessageW(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(twtest::PumpUntil([&] { return IsIconic(window) || !IsWindowVisible(window); }));
  TComponent::Free(form);
  TWebBrowser::SetFactory(nullptr);
}

TEST(SkinChooser, APackageThatCannotBeLoadedKeepsTheSkinInUseAndSaysWhich) {
  TWebBrowser::SetFactory([](IOleObject** object) {
    *object = nullptr;
    return REGDB_E_CLASSNOTREG;
  });
  TFrmMain* form = MakeShownForm();
  ASSERT_NE(form, nullptr);
  const HWND window = form->Handle();
  const std::vector<uint8_t> shown = form->SkinData1->Package();
  const COLORREF back = form->WebBrowser1->Look().Back;
  // Item 3 lost its package.
  form->SkinStore1->Store()->Items(3)->ReadData({});
  {
    twtest::TMessageBoxCloser closer;
    Choose(window, SkinCommand(3));
    ASSERT_TRUE(closer.WaitForClosed(1));
    EXPECT_NE(closer.Last().text.find(L"SkinItem3"), std::wstring::npos) << "the message names the skin";
  }
  EXPECT_EQ(form->SkinIndex(), 2);
  EXPECT_TRUE(form->SkinData1->Package() == shown) << "the package in use is back";
  EXPECT_FALSE(form->SkinData1->SkinEmpty()) << "the skin in use is whole again";
  EXPECT_EQ(CheckedSkins(window), std::vector<int>{2});
  EXPECT_EQ(form->WebBrowser1->Look().Back, back);
  // The refresh the failed load asked for runs on the skin in use, and
  // choosing still works afterwards.
  Choose(window, SkinCommand(0));
  EXPECT_EQ(form->SkinIndex(), 0);
  EXPECT_EQ(CheckedSkins(window), std::vector<int>{0});
  TComponent::Free(form);
  TWebBrowser::SetFactory(nullptr);
}

// Live GDI objects of the process. Wine answers 0 to GetGuiResources but
// still finds an object by the 16-bit index of its handle.
DWORD GdiObjects() {
  if (const DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return n;
  DWORD live = 0;
  for (ULONG_PTR index = 1; index < 0x10000; ++index)
    if (GetObjectType(reinterpret_cast<HGDIOBJ>(index))) ++live;
  return live;
}

BOOL CALLBACK CountWindow(HWND w, LPARAM p) {
  ++*reinterpret_cast<DWORD*>(p);
  EnumChildWindows(w, CountWindow, p);
  return TRUE;
}

TEST(SkinChooser, AHundredChoicesKeepGdiObjectsAndWindowsFlat) {
  TWebBrowser::SetFactory(nullptr);
  TFrmMain* form = MakeShownForm();
  ASSERT_NE(form, nullptr);
  auto choose = [&](int i) {
    ASSERT_NO_FATAL_FAILURE(Choose(form->Handle(), SkinCommand(i % 5)));
    ASSERT_EQ(form->SkinIndex(), i % 5);
    twtest::PumpUntilIdle();  // painted
  };
  auto windows = [] {
    DWORD n = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&n));
    return n;
  };
  for (int i = 0; i < 5; ++i) choose(i);  // every skin's caches warmed once
  const DWORD gdi = GdiObjects(), user = windows();
  for (int i = 0; i < 100; ++i) choose(i);
  const DWORD gdiAfter = GdiObjects(), userAfter = windows();
  std::printf("GDI objects %lu -> %lu, windows %lu -> %lu over 100 skin choices\n", gdi, gdiAfter, user, userAfter);
  ASSERT_GT(gdi, 0u);
  EXPECT_LE(gdiAfter, gdi + 4);
  EXPECT_EQ(userAfter, user);
  TComponent::Free(form);
}

// Under Wine the platform's control is made and navigates, but no page ever
// arrives: our own banner shows, the control's window stays hidden.
TEST(SkinChooser, TheOwnBannerStandsInWhileNoPageHasArrived) {
  TWebBrowser::SetFactory(nullptr);
  TFrmMain* form = MakeShownForm();
  ASSERT_NE(form, nullptr);
  TWebBrowser* browser = form->WebBrowser1;
  EXPECT_TRUE(browser->BrowserCreated());
  EXPECT_EQ(browser->LastResult(), S_OK);
  EXPECT_TRUE(browser->ShowsOwnBanner());
  ASSERT_NE(browser->PageWindow(), nullptr);
  EXPECT_FALSE(IsWindowVisible(browser->PageWindow()));
  const HWND banner = browser->Handle();
  EXPECT_TRUE(twtest::PumpUntil([&] { return twtest::ScreenPixel(banner, 2, 0) == browser->Look().Back; }));
  EXPECT_GT(PixelsOf(banner, browser->Look().Text), 200);
  TComponent::Free(form);
}

}  // namespace
