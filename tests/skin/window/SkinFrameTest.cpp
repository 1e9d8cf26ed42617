// The skin manager and the skinned frame on real windows (Wine): activation
// through the hook and through the action timer, the gates of SkinWindow,
// detach restoring every window, painted borders and caption band, the
// window region of keyed border pixels, hit codes, a skin that cannot be
// built, and skin changes that keep handle counts flat.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include "gui/Forms.h"
#include "gui/Subclass.h"
#include "skin/controls/SkinMessages.h"
#include "skin/data/SkinData.h"
#include "skin/window/SkinManage.h"
#include "skin/window/WinSkinForm.h"
#include "tests/skin/data/model/SkinTestPackage.h"
#include "tests/support/Pump.h"
#include "tests/support/WindowCapture.h"

namespace {

// Border colours: frame 1 (active) and frame 2 (inactive) of each strip.
constexpr uint32_t kLeftActive = 0xA00000, kLeftInactive = 0x500000;
constexpr uint32_t kRightActive = 0x00A000, kRightInactive = 0x005000;
constexpr uint32_t kTopActive = 0x0000A0, kTopInactive = 0x000050;
constexpr uint32_t kBottomActive = 0xA0A000, kBottomInactive = 0x505000;
constexpr int kLeft = 6, kRight = 5, kCaption = 28, kBottom = 4, kKeyed = 3;

// Two frames side by side (w each) or stacked (h each), keyed top-left
// corner of kKeyed x kKeyed in every frame when asked.
Image Strip(int w, int h, bool sideBySide, uint32_t active, uint32_t inactive, bool keyedCorner) {
  Image img(sideBySide ? 2 * w : w, sideBySide ? h : 2 * h, 0);
  img.SetBitCount(24);
  for (int k = 0; k < 2; ++k) {
    const int x = sideBySide ? k * w : 0, y = sideBySide ? 0 : k * h;
    img.FillRect(ImgRect{x, y, x + w, y + h}, k == 0 ? active : inactive);
    if (keyedCorner) img.FillRect(ImgRect{x, y, x + kKeyed, y + kKeyed}, 0xFF00FF);
  }
  return img;
}

std::vector<uint8_t> FrameSkinPackage() {
  SkinTestPackage p(R"([TitlebarSkin]
SkinName=Frame Test
[Personality]
Left=left.bmp
LeftFrame=2
LeftTopHeight=4
LeftBotHeight=4
Right=right.bmp
RightFrame=2
Top=top.bmp
TopFrame=2
Bottom=bottom.bmp
BottomFrame=2
TextShift=40
[Colours]
ButtonFace=200 200 200
)");
  p.Add("left.bmp", Strip(kLeft, 40, true, kLeftActive, kLeftInactive, true));
  p.Add("right.bmp", Strip(kRight, 40, true, kRightActive, kRightInactive, false));
  p.Add("top.bmp", Strip(60, kCaption, false, kTopActive, kTopInactive, false));
  p.Add("bottom.bmp", Strip(60, kBottom, false, kBottomActive, kBottomInactive, false));
  return p.Package();
}

SIZE ClientSize(HWND w) {
  RECT r{};
  GetClientRect(w, &r);
  return {r.right, r.bottom};
}

// Counts WM_SKINFORM taken out of the thread's queue for one window (the
// frame handles the message itself, so a window subclass never sees it).
class TSkinFormCounter {
 public:
  explicit TSkinFormCounter(HWND window) {
    target_ = window;
    count_ = 0;
    hook_ = SetWindowsHookExW(WH_GETMESSAGE, &Proc, nullptr, GetCurrentThreadId());
  }
  ~TSkinFormCounter() { UnhookWindowsHookEx(hook_); }
  int Count() const { return count_; }

 private:
  static LRESULT CALLBACK Proc(int code, WPARAM wParam, LPARAM lParam) {
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && msg->message == WM_SKINFORM && msg->hwnd == target_) ++count_;
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  static inline HWND target_ = nullptr;
  static inline int count_ = 0;
  HHOOK hook_ = nullptr;
};

// Live GDI objects of the process. Wine answers 0 to GetGuiResources but
// still finds an object by the 16-bit index of its handle.
DWORD GdiObjects() {
  const DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  if (n) return n;
  DWORD live = 0;
  for (ULONG_PTR index = 1; index < 0x10000; ++index)
    if (GetObjectType(reinterpret_cast<HGDIOBJ>(index))) ++live;
  return live;
}

// Windows of this thread: top-level, children and message-only ones.
DWORD ThreadWindows() {
  struct Walk {
    static BOOL CALLBACK Count(HWND w, LPARAM p) {
      ++*reinterpret_cast<DWORD*>(p);
      EnumChildWindows(w, &Child, p);
      return TRUE;
    }
    static BOOL CALLBACK Child(HWND, LPARAM p) {
      ++*reinterpret_cast<DWORD*>(p);
      return TRUE;
    }
  };
  DWORD n = 0;
  EnumThreadWindows(GetCurrentThreadId(), &Walk::Count, reinterpret_cast<LPARAM>(&n));
  for (HWND w = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); w;
       w = FindWindowExW(HWND_MESSAGE, w, nullptr, nullptr))
    if (GetWindowThreadProcessId(w, nullptr) == GetCurrentThreadId()) ++n;
  return n;
}

bool Skinned(HWND w) { return SendMessageW(w, WM_SKINQUERY, 0, 0) == 1; }

uint32_t Rgb(const Image& img, int x, int y) { return img.Pixel(x, y) & 0xFFFFFF; }

// Records which windows had their style changed, in order (a detach puts
// the caption bits back first).
class TStyleOrder : public TSubclass {
 public:
  TStyleOrder(std::vector<HWND>& order, HWND window) : order_(order) { Attach(window); }

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
    if (msg == WM_STYLECHANGED && wParam == static_cast<WPARAM>(GWL_STYLE)) order_.push_back(Window());
    return CallPrevious(msg, wParam, lParam);
  }

 private:
  std::vector<HWND>& order_;
};

class SkinFrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static const bool initialized = (Application->Initialize(), true);
    (void)initialized;
    skin = new TSkinData(nullptr);
    ASSERT_TRUE(skin->LoadFromBytes(FrameSkinPackage()));
    skin->Loaded();
    ASSERT_NE(SkinManager(), nullptr);
  }
  void TearDown() override {
    for (TForm* f : forms) TComponent::Free(f);
    forms.clear();
    delete skin;
    DestroySkinManager();
    twtest::PumpPending();
  }

  // A sizeable form of client size 300 x 200, its window made (not shown).
  TForm* MakeForm(int x = 60, int y = 60) {
    auto* f = new TForm(nullptr);
    f->SetCaption(L"Frame test");
    f->SetBounds(x, y, 320, 240);
    f->SetClientWidth(300);
    f->SetClientHeight(200);
    f->HandleNeeded();
    forms.push_back(f);
    return f;
  }
  void ShowOnTop(TForm* f) {
    f->Show();
    SetForegroundWindow(f->Handle());
  }
  // The skin is switched on and a first window was activated (State 1).
  void SwitchOnThroughTheHook(TForm* f) {
    skin->SetActive(true);
    ShowOnTop(f);
    ASSERT_TRUE(twtest::PumpUntil([&] {
      TWinSkinForm* frame = SkinManager()->FindSkinForm(f->Handle());
      return frame && frame->LifeState() == kFrameSkinned && frame->SkinMessageSeen();
    }));
  }

  TSkinData* skin = nullptr;
  std::vector<TForm*> forms;
};

// ---------------------------------------------------------------------------
// Switching on and off

TEST_F(SkinFrameTest, BeforeAnyActivationSwitchingOnOnlyRecordsItAndTheFirstActivationAttaches) {
  TSkinManage* m = SkinManager();
  ASSERT_EQ(m->State(), kManagerCreated);
  TForm* f = MakeForm();
  TSkinFormCounter skinForms(f->Handle());
  const SIZE before = ClientSize(f->Handle());
  RECT plain{};
  GetWindowRect(f->Handle(), &plain);

  skin->SetActive(true);
  EXPECT_TRUE(m->Active());
  EXPECT_FALSE(m->ActionPending()) << "no timer before a skin is in use";
  EXPECT_FALSE(Skinned(f->Handle()));

  ShowOnTop(f);
  // The hook's activation made the frame inside Show, before any timer ran.
  TWinSkinForm* frame = m->FindSkinForm(f->Handle());
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(m->State(), kManagerInUse);
  // Asked while WM_SKINFORM still waits in the queue, the frame finishes
  // first: whoever is told "skinned" sees the whole frame and its region.
  ASSERT_FALSE(frame->SkinMessageSeen());
  EXPECT_TRUE(Skinned(f->Handle()));
  HRGN early = CreateRectRgn(0, 0, 0, 0);
  EXPECT_NE(GetWindowRgn(f->Handle(), early), ERROR);
  DeleteObject(early);
  RECT earlyRect{};
  GetWindowRect(f->Handle(), &earlyRect);
  EXPECT_EQ(earlyRect.bottom - earlyRect.top, before.cy + kCaption + kBottom);
  ASSERT_TRUE(twtest::PumpUntil([&] { return frame->SkinMessageSeen() && frame->LifeState() == kFrameSkinned; }));
  twtest::PumpUntilIdle();
  EXPECT_EQ(skinForms.Count(), 1);
  EXPECT_TRUE(Skinned(f->Handle()));
  const SIZE after = ClientSize(f->Handle());
  EXPECT_EQ(after.cx, before.cx);
  EXPECT_EQ(after.cy, before.cy);
  RECT wr{};
  GetWindowRect(f->Handle(), &wr);
  EXPECT_EQ(wr.right - wr.left, before.cx + kLeft + kRight);
  EXPECT_EQ(wr.bottom - wr.top, before.cy + kCaption + kBottom);
  // The window keeps its centre: a centred window stays centred.
  EXPECT_NEAR(wr.left + wr.right, plain.left + plain.right, 1);
  EXPECT_NEAR(wr.top + wr.bottom, plain.top + plain.bottom, 1);
}

TEST_F(SkinFrameTest, SwitchingOnWhileASkinIsInUseRunsOnTheActionTimer) {
  TSkinManage* m = SkinManager();
  TForm* f = MakeForm();
  ShowOnTop(f);  // the first activation puts the manager in use
  ASSERT_TRUE(twtest::PumpUntil([&] { return m->State() == kManagerInUse; }));
  TSkinFormCounter skinForms(f->Handle());
  const SIZE before = ClientSize(f->Handle());

  const auto start = std::chrono::steady_clock::now();
  skin->SetActive(true);
  EXPECT_TRUE(m->ActionPending());
  EXPECT_EQ(m->ActionInterval(), 250u);
  EXPECT_EQ(m->FindSkinForm(f->Handle()), nullptr) << "nothing happens inside SetActive";
  ASSERT_TRUE(twtest::PumpUntil([&] {
    TWinSkinForm* frame = m->FindSkinForm(f->Handle());
    return frame && frame->SkinMessageSeen();
  }));
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
  std::printf("skinned %lld ms after Active := true\n", static_cast<long long>(ms.count()));
  twtest::PumpUntilIdle();
  EXPECT_EQ(skinForms.Count(), 1);
  EXPECT_EQ(m->PendingSkin(), nullptr);
  const SIZE after = ClientSize(f->Handle());
  EXPECT_EQ(after.cx, before.cx);
  EXPECT_EQ(after.cy, before.cy);
}

TEST_F(SkinFrameTest, SwitchingOffRestoresEveryWindowInListOrderWithItsClientSize) {
  TForm* a = MakeForm(40, 40);
  TForm* b = MakeForm(420, 80);
  b->SetClientWidth(260);
  const LONG styleA = GetWindowLongW(a->Handle(), GWL_STYLE);
  const SIZE sizeA = ClientSize(a->Handle()), sizeB = ClientSize(b->Handle());
  RECT outerA{};
  GetWindowRect(a->Handle(), &outerA);
  ShowOnTop(b);
  SwitchOnThroughTheHook(a);
  ASSERT_TRUE(twtest::PumpUntil([&] {
    TWinSkinForm* fb = SkinManager()->FindSkinForm(b->Handle());
    return fb || (SetForegroundWindow(b->Handle()), false);
  }));
  ASSERT_TRUE(twtest::PumpUntil([&] { return SkinManager()->FindSkinForm(b->Handle())->SkinMessageSeen(); }));
  ASSERT_EQ(SkinManager()->Forms().size(), 2u);
  std::vector<HWND> listOrder;
  for (TWinSkinForm* frame : SkinManager()->Forms()) listOrder.push_back(frame->Window());
  EXPECT_FALSE(GetWindowLongW(a->Handle(), GWL_STYLE) & WS_CAPTION) << "the frame owns the caption";

  std::vector<HWND> restored;
  TStyleOrder watchA(restored, a->Handle()), watchB(restored, b->Handle());
  skin->SetActive(false);
  ASSERT_TRUE(twtest::PumpUntil([&] { return SkinManager()->Forms().empty(); }));
  EXPECT_EQ(restored, listOrder);
  for (auto [form, size] : {std::pair{a, sizeA}, std::pair{b, sizeB}}) {
    const SIZE now = ClientSize(form->Handle());
    EXPECT_EQ(now.cx, size.cx);
    EXPECT_EQ(now.cy, size.cy);
    EXPECT_FALSE(Skinned(form->Handle()));
    HRGN probe = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(form->Handle(), probe), ERROR) << "no window region is left";
    DeleteObject(probe);
  }
  EXPECT_EQ(GetWindowLongW(a->Handle(), GWL_STYLE) & ~WS_VISIBLE, styleA & ~WS_VISIBLE);
  RECT outer{};
  GetWindowRect(a->Handle(), &outer);
  EXPECT_EQ(outer.right - outer.left, outerA.right - outerA.left);
  EXPECT_EQ(outer.bottom - outer.top, outerA.bottom - outerA.top);
  EXPECT_EQ(outer.left, outerA.left) << "an unmoved window goes back to where it was";
  EXPECT_EQ(outer.top, outerA.top);
}

// ---------------------------------------------------------------------------
// Which windows get a frame

LRESULT CALLBACK PlainProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcW(w, m, wp, lp); }

HWND PlainWindow(const wchar_t* className, HINSTANCE instance) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = PlainProc;
  wc.hInstance = instance;
  wc.lpszClassName = className;
  RegisterClassW(&wc);
  return CreateWindowExW(0, className, L"plain", WS_OVERLAPPEDWINDOW, 10, 10, 200, 150, nullptr, nullptr, instance,
                         nullptr);
}

TEST_F(SkinFrameTest, SkinWindowGatesTagNinetyNineForeignModulesAndPreviewClasses) {
  TForm* first = MakeForm();
  SwitchOnThroughTheHook(first);
  TSkinManage* m = SkinManager();

  TForm* tagged = MakeForm();
  tagged->SetTag(99);
  EXPECT_FALSE(m->SkinWindow(tagged->Handle())) << "a form tagged 99 is never framed";

  const HINSTANCE foreign = GetModuleHandleW(L"kernel32.dll");
  HWND other = PlainWindow(L"TwForeignPlain", foreign);
  ASSERT_TRUE(other);
  EXPECT_FALSE(m->SkinWindow(other)) << "a window of another module";
  HWND dialog = CreateWindowExW(0, L"#32770", L"dialog", WS_POPUP | WS_CAPTION | WS_SYSMENU, 10, 10, 200, 150,
                                nullptr, nullptr, foreign, nullptr);
  ASSERT_TRUE(dialog);
  EXPECT_TRUE(m->SkinWindow(dialog)) << "a standard dialog box of any module";
  EXPECT_FALSE(m->SkinWindow(dialog)) << "never twice";

  const HINSTANCE self = GetModuleHandleW(nullptr);
  HWND preview = PlainWindow(L"TwPrintPreviewWnd", self);
  skin->SetOptions(skin->Options() & ~(1u << xoPreview));
  EXPECT_FALSE(m->SkinWindow(preview)) << "a preview class without xoPreview";
  skin->SetOptions(skin->Options() | (1u << xoPreview));
  EXPECT_TRUE(m->SkinWindow(preview));

  HWND calendar = PlainWindow(L"SysMonthCal32", self);
  EXPECT_FALSE(m->SkinWindow(calendar)) << "refused by the skin's query";

  twtest::PumpUntilIdle();
  for (HWND w : {other, dialog, preview, calendar}) DestroyWindow(w);
  twtest::PumpPending();
  m->PurgeDeadFrames();
  EXPECT_EQ(m->Forms().size(), 1u) << "frames of destroyed windows are purged";
}

// ---------------------------------------------------------------------------
// Painting, region and hit codes

TEST_F(SkinFrameTest, BordersAndCaptionBandArePaintedFromTheActiveOrInactiveFrame) {
  TForm* f = MakeForm();
  SwitchOnThroughTheHook(f);
  HWND w = f->Handle();
  SetWindowPos(w, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  twtest::PumpUntilIdle();
  RECT r{};
  GetWindowRect(w, &r);
  const int width = r.right - r.left, height = r.bottom - r.top;
  auto pixelsAre = [&](uint32_t left, uint32_t right, uint32_t top, uint32_t bottom) {
    const Image img = twtest::CaptureWindow(w);
    return Rgb(img, 2, height / 2) == left && Rgb(img, width - 2, height / 2) == right &&
           Rgb(img, width - 20, kCaption / 2) == top && Rgb(img, width / 2, height - 2) == bottom;
  };
  ASSERT_TRUE(twtest::PumpUntil([&] { return pixelsAre(kLeftActive, kRightActive, kTopActive, kBottomActive); }))
      << "active frame";

  TForm* other = MakeForm(500, 400);
  ShowOnTop(other);
  SetWindowPos(other->Handle(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_TRUE(twtest::PumpUntil(
      [&] { return pixelsAre(kLeftInactive, kRightInactive, kTopInactive, kBottomInactive); }))
      << "inactive frame";

  // The keyed corner of the left border lies outside the window region; the
  // border below it is inside.
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(w, region), ERROR);
  EXPECT_FALSE(PtInRegion(region, 1, 1));
  EXPECT_FALSE(PtInRegion(region, kKeyed - 1, kKeyed - 1));
  EXPECT_TRUE(PtInRegion(region, 1, kKeyed));
  EXPECT_TRUE(PtInRegion(region, width - 1, 0)) << "the right border has no key";
  EXPECT_TRUE(PtInRegion(region, width / 2, height / 2));
  DeleteObject(region);
}

TEST_F(SkinFrameTest, HitCodesOfCaptionBordersAndClient) {
  TForm* f = MakeForm();
  SwitchOnThroughTheHook(f);
  HWND w = f->Handle();
  RECT r{};
  GetWindowRect(w, &r);
  auto hit = [&](int x, int y) { return SendMessageW(w, WM_NCHITTEST, 0, MAKELPARAM(r.left + x, r.top + y)); };
  EXPECT_EQ(hit(100, kCaption / 2), HTCAPTION);
  EXPECT_EQ(hit(100, kCaption + 20), HTCLIENT);
  EXPECT_EQ(hit(1, 100), HTLEFT);
  EXPECT_EQ(hit(r.right - r.left - 1, 100), HTRIGHT);
}

// ---------------------------------------------------------------------------
// Bad skins and skin changes

TEST_F(SkinFrameTest, ASkinThatCannotBeBuiltKeepsThePlainLookAndRequestsNothing) {
  TSkinData broken(nullptr);
  EXPECT_FALSE(broken.LoadFromBytes({1, 2, 3, 4, 5}));
  EXPECT_TRUE(broken.SkinEmpty());
  EXPECT_FALSE(broken.LoadError().empty());
  // The earlier definition's model is untouched by the failed load of another.
  EXPECT_FALSE(skin->SkinEmpty());

  TForm* f = MakeForm();
  ShowOnTop(f);
  ASSERT_TRUE(twtest::PumpUntil([] { return SkinManager()->State() == kManagerInUse; }));
  broken.SetActive(true);
  EXPECT_FALSE(SkinManager()->ActionPending());
  twtest::PumpUntilIdle();
  EXPECT_FALSE(Skinned(f->Handle()));

  // A failed reload of the working definition leaves it empty: nothing is
  // attached with it afterwards.
  EXPECT_FALSE(skin->LoadFromBytes({}));
  EXPECT_TRUE(skin->SkinEmpty());
  skin->SetActive(true);
  twtest::PumpUntilIdle();
  EXPECT_FALSE(Skinned(f->Handle()));
}

std::vector<std::vector<uint8_t>> EmbeddedPackages() {
  std::vector<std::vector<uint8_t>> out;
  for (int i = 0; i < 5; ++i) {
    std::ifstream in(std::filesystem::path(TW_SKINS_DIR) / ("SkinItem" + std::to_string(i) + ".skn"),
                     std::ios::binary);
    out.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  return out;
}

TEST_F(SkinFrameTest, CyclingTheFiveSkinsKeepsHandleCountsFlatAndUnskinningGivesTheClientSizeBack) {
  const auto packages = EmbeddedPackages();
  for (const auto& p : packages) ASSERT_FALSE(p.empty()) << "the skins build makes five packages";
  TForm* f = MakeForm();
  const SIZE client = ClientSize(f->Handle());
  SwitchOnThroughTheHook(f);
  TSkinManage* m = SkinManager();
  auto change = [&](size_t i) {
    ASSERT_TRUE(skin->LoadFromBytes(packages[i % packages.size()]));
    ASSERT_TRUE(twtest::PumpUntil([&] { return !m->ActionPending() && m->PendingSkin() == nullptr; }));
    const SIZE now = ClientSize(f->Handle());
    ASSERT_EQ(now.cx, client.cx) << "after skin " << i;
    ASSERT_EQ(now.cy, client.cy) << "after skin " << i;
  };
  for (size_t i = 0; i < 5; ++i) change(i);  // every cache warmed once
  twtest::PumpUntilIdle();
  const DWORD gdi = GdiObjects(), user = ThreadWindows();
  for (size_t i = 0; i < 100; ++i) change(i);
  twtest::PumpUntilIdle();
  const DWORD gdiAfter = GdiObjects(), userAfter = ThreadWindows();
  std::printf("GDI objects %lu -> %lu, windows %lu -> %lu over 100 skin changes\n", gdi, gdiAfter, user,
              userAfter);
  ASSERT_GT(gdi, 0u) << "the count must see the frame's objects";
  EXPECT_LE(gdiAfter, gdi + 4);
  EXPECT_LE(userAfter, user + 4);

  // Off and on again, ten times: the exact client size each time.
  for (int i = 0; i < 10; ++i) {
    skin->SetActive(false);
    ASSERT_TRUE(twtest::PumpUntil([&] { return m->Forms().empty(); }));
    SIZE now = ClientSize(f->Handle());
    ASSERT_EQ(now.cx, client.cx);
    ASSERT_EQ(now.cy, client.cy);
    skin->SetActive(true);
    ASSERT_TRUE(twtest::PumpUntil([&] {
      TWinSkinForm* frame = m->FindSkinForm(f->Handle());
      return frame && frame->SkinMessageSeen();
    }));
    now = ClientSize(f->Handle());
    ASSERT_EQ(now.cx, client.cx);
    ASSERT_EQ(now.cy, client.cy);
  }
}

}  // namespace
