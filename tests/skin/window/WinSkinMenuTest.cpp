// The skinned menu bar on a real framed form (Wine): the band's pixels, the
// client size kept and given back with the native menu, and the menu-bar
// loop as message sequences (which clicks the bar posts, which commands,
// which drop-downs open) while a driver plays the user inside each
// drop-down's modal loop.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <vector>

#include "gui/Forms.h"
#include "gui/Menus.h"
#include "gui/Subclass.h"
#include "skin/data/SkinData.h"
#include "skin/window/SkinManage.h"
#include "skin/window/WinSkinForm.h"
#include "skin/window/WinSkinMenu.h"
#include "tests/skin/data/model/SkinTestPackage.h"
#include "tests/support/Pump.h"
#include "tests/support/WindowCapture.h"

namespace {

constexpr int kLeft = 5, kRight = 5, kCaption = 26, kBottom = 4;
// Pixels (0xRRGGBB) of the bar's two frames, its text and the hot frame.
constexpr uint32_t kBarActive = 0x2050A0, kBarInactive = 0x602010;
constexpr uint32_t kBarText = 0xF0F0F0, kHilight = 0xFFE000;
// Drop-down items: MenuItem frame 1 (normal) and frame 4 (selected).
constexpr uint32_t kItemNormal = 0x30A030, kItemSelected = 0x3030A0;

Image Strip(int w, int h, bool sideBySide, uint32_t first, uint32_t second) {
  Image img(sideBySide ? 2 * w : w, sideBySide ? h : 2 * h, 0);
  img.SetBitCount(24);
  img.FillRect(ImgRect{0, 0, w, h}, first);
  img.FillRect(sideBySide ? ImgRect{w, 0, 2 * w, h} : ImgRect{0, h, w, 2 * h}, second);
  return img;
}

std::vector<uint8_t> MenuSkinPackage() {
  SkinTestPackage p(R"([TitlebarSkin]
SkinName=Menu Test
[Personality]
Left=left.bmp
LeftFrame=2
Right=right.bmp
RightFrame=2
Top=top.bmp
TopFrame=2
Bottom=bottom.bmp
BottomFrame=2
menuBar=menubar.bmp
TileMenu=1
TileLeftMenu=2
TileRightMenu=2
[MenuItem]
Image=menuitem.bmp
[MenuBackground]
Image=menubg.bmp
[Colours]
ButtonFace=200 200 200
MenuBarText=240 240 240
ButtonHilight=255 224 0
)");
  p.Add("left.bmp", Strip(kLeft, 40, true, 0x404040, 0x202020));
  p.Add("right.bmp", Strip(kRight, 40, true, 0x404040, 0x202020));
  p.Add("top.bmp", Strip(60, kCaption, false, 0x303030, 0x101010));
  p.Add("bottom.bmp", Strip(60, kBottom, false, 0x404040, 0x202020));
  p.Add("menubar.bmp", Strip(24, 20, false, kBarActive, kBarInactive));
  Image item(5 * 30, 20, 0x909090);
  item.SetBitCount(24);
  item.FillRect(ImgRect{0, 0, 30, 20}, kItemNormal);
  item.FillRect(ImgRect{90, 0, 120, 20}, kItemSelected);
  p.Add("menuitem.bmp", item).Add("menubg.bmp", 12, 12, 0xA05020);
  return p.Package();
}

SIZE ClientSize(HWND w) {
  RECT r{};
  GetClientRect(w, &r);
  return {r.right, r.bottom};
}

uint32_t Rgb(const Image& img, int x, int y) { return img.Pixel(x, y) & 0xFFFFFF; }

int CountPixels(const Image& img, uint32_t rgb) {
  int n = 0;
  for (int y = 0; y < img.Height(); ++y)
    for (int x = 0; x < img.Width(); ++x) n += Rgb(img, x, y) == rgb;
  return n;
}

LRESULT CALLBACK PlainProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcW(w, m, wp, lp); }

// Records what reaches the window from the menu bar (the clicks it posts,
// the commands, the drop-downs shown) and plays one step of a script each
// time a drop-down's loop goes idle (or, after ActAgain, the next time the
// same loop goes idle); with the script used up it closes the menu.
class TMenuDriver : public TSubclass {
 public:
  struct TEvent {
    UINT Msg;
    WPARAM WParam;
    bool operator==(const TEvent&) const = default;
  };
  explicit TMenuDriver(HWND w) { Attach(w); }
  std::vector<TEvent> Events;
  std::vector<std::function<void()>> Script;
  int DropDowns = 0;
  void ActAgain() { acted_ = false; }

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
    switch (msg) {
      case WM_NCLBUTTONDOWN:
        Events.push_back({msg, wParam});
        break;
      case WM_COMMAND:
        Events.push_back({msg, LOWORD(wParam)});
        break;
      case WM_INITMENUPOPUP:
        Events.push_back({msg, wParam});
        ++DropDowns;
        acted_ = false;
        break;
      case WM_ENTERIDLE:
        if (wParam == MSGF_MENU && !acted_) {
          acted_ = true;
          if (step_ < Script.size())
            Script[step_++]();
          else
            EndMenu();
        }
        break;
      default:
        break;
    }
    return CallPrevious(msg, wParam, lParam);
  }

 private:
  bool acted_ = true;
  size_t step_ = 0;
};

class WinSkinMenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static const bool initialized = (Application->Initialize(), true);
    (void)initialized;
    SetCursorPos(1000, 700);  // far from the bar: the menu loop follows the mouse
    twtest::SetPumpDispatcher([](MSG& msg) { Application->Dispatch(msg); });
    skin = new TSkinData(nullptr);
    ASSERT_TRUE(skin->LoadFromBytes(MenuSkinPackage()));
    skin->Loaded();

    form = new TForm(nullptr);
    form->SetCaption(L"Menu bar test");
    form->SetBounds(80, 80, 380, 260);
    auto* menu = new TMainMenu(form);
    auto add = [&](TMenuItem* parent, const wchar_t* caption) {
      auto* item = new TMenuItem(form);
      item->SetCaption(caption);
      parent->Add(item);
      return item;
    };
    file = add(menu->Items(), L"&File");
    add(file, L"&Open");
    add(file, L"E&xit");
    add(add(menu->Items(), L"&Edit"), L"&Copy");
    run = add(menu->Items(), L"&Run");
    locked = add(menu->Items(), L"&Locked");
    add(locked, L"&Inside");
    locked->SetEnabled(false);
    help = add(menu->Items(), L"&Help");
    add(help, L"&About");
    form->SetMenu(menu);
    form->SetClientWidth(360);
    form->SetClientHeight(200);
    form->HandleNeeded();
    window = form->Handle();
    plainClient = ClientSize(window);

    skin->SetActive(true);
    form->Show();
    SetForegroundWindow(window);
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ASSERT_TRUE(twtest::PumpUntil([&] {
      frame = SkinManager()->FindSkinForm(window);
      return frame && frame->LifeState() == kFrameSkinned && frame->SkinMessageSeen();
    }));
    ASSERT_NE(frame->MenuBar(), nullptr);
    twtest::PumpUntilIdle();
  }
  void TearDown() override {
    driver.reset();
    TComponent::Free(form);
    delete skin;
    DestroySkinManager();
    twtest::PumpPending();
    twtest::SetPumpDispatcher(nullptr);
  }

  TMenuBtn* Button(size_t i) const { return frame->MenuBar()->Button(i); }
  POINT ScreenPointIn(size_t i) const {
    RECT wr{};
    GetWindowRect(window, &wr);
    const ImgRect& r = Button(i)->HitRect;
    return POINT{wr.left + r.Left + 3, wr.top + r.Top + 3};
  }
  // A click on a button arrives at the window as the platform sends it.
  void Click(size_t i) {
    const POINT p = ScreenPointIn(i);
    PostMessageW(window, WM_NCLBUTTONDOWN, HTMENU, MAKELPARAM(p.x, p.y));
  }
  // Runs messages until `expected` events were recorded and no drop-down is
  // open any more.
  bool RunUntil(size_t expected) {
    return twtest::PumpUntil([&] { return driver->Events.size() >= expected && TWinSkinMenu::OpenIndex() < 0; }) &&
           twtest::PumpUntilIdle();
  }
  // A window of ours (no library form) with a native menu, shown on top and
  // skinned by the manager's hook; `made` is its frame, null on failure.
  HWND SkinnedPlainWindow(HMENU menu, DWORD exStyle, TWinSkinForm*& made) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = PlainProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"MenuBarPlainWindow";
    RegisterClassW(&wc);
    HWND plain = CreateWindowExW(exStyle, wc.lpszClassName, L"plain", WS_OVERLAPPEDWINDOW, 480, 140, 300, 220,
                                 nullptr, menu, wc.hInstance, nullptr);
    ShowWindow(plain, SW_SHOW);
    SetForegroundWindow(plain);
    SetWindowPos(plain, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    made = nullptr;
    twtest::PumpUntil([&] {
      made = SkinManager()->FindSkinForm(plain);
      return made && made->LifeState() == kFrameSkinned && made->SkinMessageSeen();
    });
    twtest::PumpUntilIdle();
    return plain;
  }
  static void PostKey(UINT vk) {
    if (HWND popup = FindWindowW(L"#32768", nullptr)) PostMessageW(popup, WM_KEYDOWN, vk, 1);
  }

  TSkinData* skin = nullptr;
  TForm* form = nullptr;
  HWND window = nullptr;
  TWinSkinForm* frame = nullptr;
  TMenuItem *file = nullptr, *run = nullptr, *locked = nullptr, *help = nullptr;
  SIZE plainClient{};
  std::unique_ptr<TMenuDriver> driver;
};

using E = TMenuDriver::TEvent;

// ---------------------------------------------------------------------------
// The band

TEST_F(WinSkinMenuTest, BandIsPaintedFromTheMenuBarFramesAndTheClientSizeIsKeptAndGivenBack) {
  const int band = GetSystemMetrics(SM_CYMENU);
  EXPECT_EQ(frame->Sizes().MenuBarHeight, band);
  EXPECT_EQ(GetMenu(window), nullptr) << "the native menu is off the window";
  SIZE client = ClientSize(window);
  EXPECT_EQ(client.cx, plainClient.cx);
  EXPECT_EQ(client.cy, plainClient.cy);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  RECT wr{};
  GetWindowRect(window, &wr);
  EXPECT_EQ(origin.y - wr.top, kCaption + band) << "the client starts below the band";

  const int w = wr.right - wr.left, mid = kCaption + band / 2;
  const ImgRect first = Button(0)->HitRect, second = Button(1)->HitRect;
  ASSERT_GT(first.Width(), 10);
  EXPECT_EQ(first.Left, kLeft + 2 + 4) << "left margin + 4";
  EXPECT_EQ(second.Left, first.Right);
  auto textIn = [&](const Image& img, const ImgRect& r) {
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x)
        if (Rgb(img, x, y) == kBarText) return true;
    return false;
  };
  ASSERT_TRUE(twtest::PumpUntil([&] {
    const Image img = twtest::CaptureWindow(window);
    return Rgb(img, w - kRight - 3, mid) == kBarActive && textIn(img, first);
  })) << "active frame and captions";

  // The mouse over the second button frames it in the highlight colour (and
  // the hover timer keeps it while the cursor stays).
  const POINT over = ScreenPointIn(1);
  SetCursorPos(over.x, over.y);
  SendMessageW(window, WM_NCMOUSEMOVE, HTMENU, MAKELPARAM(over.x, over.y));
  ASSERT_TRUE(twtest::PumpUntil([&] {
    const Image img = twtest::CaptureWindow(window);
    return Rgb(img, second.Left, mid) == kHilight && Rgb(img, second.Left + second.Width() / 2, second.Top) == kHilight;
  })) << "hot frame";
  EXPECT_EQ(Rgb(twtest::CaptureWindow(window), first.Left, mid), kBarActive) << "only the hot button is framed";
  SetCursorPos(1000, 700);

  SendMessageW(window, WM_NCACTIVATE, FALSE, 0);
  EXPECT_TRUE(twtest::PumpUntil(
      [&] { return Rgb(twtest::CaptureWindow(window), w - kRight - 3, mid) == kBarInactive; }))
      << "inactive frame";

  // Switching the skin off gives the window its menu and its client size back.
  HMENU native = frame->MenuBar()->NativeMenu();
  skin->SetActive(false);
  ASSERT_TRUE(twtest::PumpUntil([&] { return SkinManager()->Forms().empty(); }));
  EXPECT_EQ(GetMenu(window), native);
  client = ClientSize(window);
  EXPECT_EQ(client.cx, plainClient.cx);
  EXPECT_EQ(client.cy, plainClient.cy);
}

// ---------------------------------------------------------------------------
// The menu-bar loop

TEST_F(WinSkinMenuTest, LeftOnTheFirstItemOpensTheLastAndRightOnTheLastOpensTheFirst) {
  driver = std::make_unique<TMenuDriver>(window);
  driver->Script = {[] { PostKey(VK_LEFT); }, [] { PostKey(VK_RIGHT); }};
  Click(0);
  ASSERT_TRUE(RunUntil(9));
  // The command posted before the drop-down opens arrives through the menu
  // loop, after the drop-down was set up.
  const std::vector<E> expected = {
      {WM_NCLBUTTONDOWN, HTMENU}, {WM_INITMENUPOPUP, WPARAM(file->Handle())}, {WM_COMMAND, file->Command()},
      {WM_NCLBUTTONDOWN, HTMENU}, {WM_INITMENUPOPUP, WPARAM(help->Handle())}, {WM_COMMAND, help->Command()},
      {WM_NCLBUTTONDOWN, HTMENU}, {WM_INITMENUPOPUP, WPARAM(file->Handle())}, {WM_COMMAND, file->Command()}};
  EXPECT_EQ(driver->Events, expected);
}

TEST_F(WinSkinMenuTest, TheMouseOntoANeighbourOpensItAndAClickOnTheOpenButtonClosesIt) {
  driver = std::make_unique<TMenuDriver>(window);
  auto mouse = [this](UINT msg, size_t button) {
    const POINT p = ScreenPointIn(button);
    SetCursorPos(p.x, p.y);
    ASSERT_TRUE(twtest::PumpUntil([&] {
      POINT now{};
      return GetCursorPos(&now) && now.x == p.x && now.y == p.y;
    }));
    if (HWND popup = FindWindowW(L"#32768", nullptr)) PostMessageW(popup, msg, 0, 0);
  };
  driver->Script = {[&] { mouse(WM_MOUSEMOVE, 1); }, [&] { mouse(WM_LBUTTONDOWN, 1); }};
  Click(0);
  ASSERT_TRUE(RunUntil(6));
  const std::vector<E> expected = {
      {WM_NCLBUTTONDOWN, HTMENU}, {WM_INITMENUPOPUP, WPARAM(file->Handle())}, {WM_COMMAND, file->Command()},
      {WM_NCLBUTTONDOWN, HTMENU}, {WM_INITMENUPOPUP, WPARAM(Button(1)->Submenu)}, {WM_COMMAND, Button(1)->Command}};
  EXPECT_EQ(driver->Events, expected) << "the click closed the drop-down and opened nothing again";
}

TEST_F(WinSkinMenuTest, AnItemWithoutSubItemsPostsItsCommandAndADisabledOneOpensNothing) {
  driver = std::make_unique<TMenuDriver>(window);
  Click(2);
  ASSERT_TRUE(RunUntil(2));
  Click(3);
  ASSERT_TRUE(RunUntil(4));
  const std::vector<E> expected = {{WM_NCLBUTTONDOWN, HTMENU},
                                   {WM_COMMAND, run->Command()},
                                   {WM_NCLBUTTONDOWN, HTMENU},
                                   {WM_COMMAND, locked->Command()}};
  EXPECT_EQ(driver->Events, expected);
  EXPECT_EQ(driver->DropDowns, 0);
}

TEST_F(WinSkinMenuTest, AltAndF10OpenTheFirstButtonAndAltLetterTheMatchingOne) {
  driver = std::make_unique<TMenuDriver>(window);
  PostMessageW(window, WM_SYSKEYDOWN, VK_MENU, 0x20380001);
  PostMessageW(window, WM_SYSKEYUP, VK_MENU, 0xC0380001);
  ASSERT_TRUE(RunUntil(2));
  PostMessageW(window, WM_SYSKEYDOWN, VK_F10, 0x00440001);
  PostMessageW(window, WM_SYSKEYUP, VK_F10, 0xC0440001);
  ASSERT_TRUE(RunUntil(4));
  PostMessageW(window, WM_SYSCHAR, L'h', 0x20230001);
  ASSERT_TRUE(RunUntil(7));
  const std::vector<E> expected = {{WM_INITMENUPOPUP, WPARAM(file->Handle())},
                                   {WM_COMMAND, file->Command()},
                                   {WM_INITMENUPOPUP, WPARAM(file->Handle())},
                                   {WM_COMMAND, file->Command()},
                                   {WM_NCLBUTTONDOWN, HTMENU},
                                   {WM_INITMENUPOPUP, WPARAM(help->Handle())},
                                   {WM_COMMAND, help->Command()}};
  EXPECT_EQ(driver->Events, expected);
}

// A window of ours without the library: the bar shows its native menu, a
// drop-down item posts no command of its own, the drop-down's items are
// painted from the skin's MenuItem element, and a plain item posts its id.
TEST_F(WinSkinMenuTest, ANativeMenuGetsTheBarAndSkinnedDropDownItems) {
  HMENU bar = CreateMenu(), tools = CreatePopupMenu();
  AppendMenuW(tools, MF_STRING, 501, L"&Play\tCtrl+P");
  AppendMenuW(tools, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(tools, MF_STRING, 502, L"&Stop");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(tools), L"&Tools");
  AppendMenuW(bar, MF_STRING, 503, L"&Go");
  TWinSkinForm* pf = nullptr;
  HWND plain = SkinnedPlainWindow(bar, 0, pf);
  ASSERT_NE(pf, nullptr);
  TWinSkinMenu* mb = pf->MenuBar();
  ASSERT_NE(mb, nullptr);
  ASSERT_EQ(mb->Count(), 2u);
  EXPECT_EQ(mb->Button(0)->Caption, L"&Tools");
  EXPECT_EQ(mb->Button(0)->Submenu, tools);
  EXPECT_EQ(mb->Button(1)->Command, 503u);
  EXPECT_EQ(GetMenu(plain), nullptr);

  driver = std::make_unique<TMenuDriver>(plain);
  int normal = 0, selected = 0;
  auto popupPixels = [](uint32_t rgb) {
    HWND popup = FindWindowW(L"#32768", nullptr);
    return popup ? CountPixels(twtest::CaptureWindow(popup), rgb) : -1;
  };
  driver->Script = {[&] {
                      normal = popupPixels(kItemNormal);
                      PostKey(VK_DOWN);
                      driver->ActAgain();
                    },
                    [&] {
                      selected = popupPixels(kItemSelected);
                      EndMenu();
                    }};
  RECT wr{};
  GetWindowRect(plain, &wr);
  for (size_t i : {size_t(0), size_t(1)}) {
    const ImgRect& r = mb->Button(i)->HitRect;
    PostMessageW(plain, WM_NCLBUTTONDOWN, HTMENU, MAKELPARAM(wr.left + r.Left + 3, wr.top + r.Top + 3));
    ASSERT_TRUE(RunUntil(i == 0 ? 2 : 4));
  }
  const std::vector<E> expected = {
      {WM_NCLBUTTONDOWN, HTMENU}, {WM_INITMENUPOPUP, WPARAM(tools)}, {WM_NCLBUTTONDOWN, HTMENU}, {WM_COMMAND, 503}};
  EXPECT_EQ(driver->Events, expected);
  EXPECT_GT(normal, 100) << "items drawn with the MenuItem element";
  EXPECT_GT(selected, 100) << "the selected item drawn with its selected frame";
  driver.reset();
  DestroyWindow(plain);
}

// Right to left: the buttons run from the band's right edge and the arrow
// keys swap, so Left leads to the next item.
TEST_F(WinSkinMenuTest, RightToLeftButtonsRunFromTheRightEdgeAndTheArrowKeysSwap) {
  HMENU bar = CreateMenu();
  std::vector<HMENU> subs;
  for (const wchar_t* caption : {L"&One", L"&Two", L"T&hree"}) {
    subs.push_back(CreatePopupMenu());
    AppendMenuW(subs.back(), MF_STRING, 600 + subs.size(), L"&Item");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(subs.back()), caption);
  }
  TWinSkinForm* pf = nullptr;
  HWND plain = SkinnedPlainWindow(bar, WS_EX_LEFTSCROLLBAR, pf);
  ASSERT_NE(pf, nullptr);
  TWinSkinMenu* mb = pf->MenuBar();
  ASSERT_NE(mb, nullptr);
  ASSERT_EQ(mb->Count(), 3u);
  RECT wr{};
  GetWindowRect(plain, &wr);
  // The band ends at the right border; the first button ends the right
  // margin + 8 before it, the others follow to its left.
  EXPECT_EQ(mb->Button(0)->HitRect.Right, (wr.right - wr.left) - kRight - (2 + 8));
  EXPECT_EQ(mb->Button(1)->HitRect.Right, mb->Button(0)->HitRect.Left);

  driver = std::make_unique<TMenuDriver>(plain);
  driver->Script = {[] { PostKey(VK_LEFT); }, [] { PostKey(VK_RIGHT); }};
  const ImgRect& r = mb->Button(0)->HitRect;
  PostMessageW(plain, WM_NCLBUTTONDOWN, HTMENU, MAKELPARAM(wr.left + r.Left + 3, wr.top + r.Top + 3));
  ASSERT_TRUE(RunUntil(6));
  const std::vector<E> expected = {{WM_NCLBUTTONDOWN, HTMENU}, {WM_INITMENUPOPUP, WPARAM(subs[0])},
                                   {WM_NCLBUTTONDOWN, HTMENU}, {WM_INITMENUPOPUP, WPARAM(subs[1])},
                                   {WM_NCLBUTTONDOWN, HTMENU}, {WM_INITMENUPOPUP, WPARAM(subs[0])}};
  EXPECT_EQ(driver->Events, expected);
  driver.reset();
  DestroyWindow(plain);
}

// The library rebuilds its menu in place when an item changes: the bar
// follows without the window getting its native menu back.
TEST_F(WinSkinMenuTest, ChangingTheFormsMenuRebuildsTheBarInPlace) {
  file->SetCaption(L"&Fichier");
  run->SetEnabled(false);
  ASSERT_EQ(frame->MenuBar()->Count(), 5u);
  EXPECT_EQ(Button(0)->Caption, L"&Fichier");
  EXPECT_FALSE(Button(2)->Enabled);
  EXPECT_TRUE(Button(1)->Enabled);
  EXPECT_EQ(GetMenu(window), nullptr);
  EXPECT_EQ(ClientSize(window).cy, plainClient.cy) << "no native bar came back";
  EXPECT_EQ(frame->MenuBar()->ButtonByAccelerator(L'f'), Button(0));
}

}  // namespace
