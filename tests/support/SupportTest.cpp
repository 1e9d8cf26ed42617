// The test support itself: a sequence comparison that can fail, posted and
// sent messages told apart, the CBT stream, the message-box closer and a
// window's pixels read back.
#include <gtest/gtest.h>
#include <windows.h>

#include "tests/support/MessageBoxCloser.h"
#include "tests/support/MsgSequence.h"
#include "tests/support/Pump.h"

using namespace twtest;

namespace {

constexpr COLORREF kFill = RGB(0x20, 0x90, 0xD0);

LRESULT CALLBACK PaintProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    HBRUSH brush = CreateSolidBrush(kFill);
    RECT rc;
    GetClientRect(hwnd, &rc);
    FillRect(dc, &rc, brush);
    DeleteObject(brush);
    EndPaint(hwnd, &ps);
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

HWND MakeWindow(const wchar_t* title, DWORD style = WS_OVERLAPPEDWINDOW) {
  static ATOM cls = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = PaintProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"SupportTestWindow";
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    return RegisterClassW(&wc);
  }();
  (void)cls;
  return CreateWindowExW(0, L"SupportTestWindow", title, style, 100, 100, 300, 200, nullptr, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

TEST(MsgSequence, ComparisonReportsMissingExtraAndMisorderedMessagesAndSkipsOptionalOnes) {
  TMsgLog log;
  log.Add({WM_SETFOCUS, kSent});
  log.Add({WM_COMMAND, kSent | kParent, 5});
  log.Add({WM_PAINT, kPosted});

  EXPECT_TRUE(ExpectSequence(
      log, {{WM_SETFOCUS, kSent}, {WM_KILLFOCUS, kSent | kOptional}, {WM_COMMAND, kParent | kWParam, 5}, {WM_PAINT}}));
  // Each of these must fail.
  auto missing = ExpectSequence(log, {{WM_SETFOCUS}, {WM_KILLFOCUS}, {WM_COMMAND, kParent}, {WM_PAINT}});
  EXPECT_FALSE(missing);
  EXPECT_NE(std::string(missing.message()).find("expected WM_KILLFOCUS"), std::string::npos) << missing.message();
  EXPECT_NE(std::string(missing.message()).find("actual:"), std::string::npos);
  EXPECT_FALSE(ExpectSequence(log, {{WM_SETFOCUS}, {WM_COMMAND, kParent}}));              // extra WM_PAINT
  EXPECT_FALSE(ExpectSequence(log, {{WM_COMMAND, kParent}, {WM_SETFOCUS}, {WM_PAINT}}));  // order
  EXPECT_FALSE(ExpectSequence(log, {{WM_SETFOCUS}, {WM_COMMAND}, {WM_PAINT}}));           // not the parent's
  EXPECT_FALSE(ExpectSequence(log, {{WM_SETFOCUS}, {WM_COMMAND, kParent | kWParam, 6}, {WM_PAINT}}));
  EXPECT_FALSE(ExpectSequence(log, {{WM_SETFOCUS}, {WM_COMMAND, kParent}, {WM_PAINT, kSent}}));
}

TEST(MsgSequence, RecorderTellsPostedFromSentAndTheCbtStreamSeesCreation) {
  TMsgLog log;
  HWND w = MakeWindow(L"recorded");
  ASSERT_TRUE(w);
  {
    TWindowRecorder rec(log, w);
    SendMessageW(w, WM_USER + 1, 1, 2);
    PostMessageW(w, WM_USER + 2, 3, 4);
    ASSERT_TRUE(PumpUntil([&] { return log.Contains(WM_USER + 2); }));
    EXPECT_TRUE(ExpectSequence(
        log, {{WM_USER + 1, kSent | kWParam | kLParam, 1, 2}, {WM_USER + 2, kPosted | kWParam | kLParam, 3, 4}},
        "send then post"));
  }
  EXPECT_EQ(TSubclass::CountOn(w), 0);
  log.Clear();
  {
    TCbtRecorder cbt(log, {L"SupportTestWindow"});
    DestroyWindow(w);
    HWND w2 = MakeWindow(L"second");
    DestroyWindow(w2);
  }
  EXPECT_TRUE(
      ExpectSequence(log, {{HCBT_DESTROYWND, kHook}, {HCBT_CREATEWND, kHook}, {HCBT_DESTROYWND, kHook}}, "cbt"));
}

TEST(MessageBoxCloser, ClosesABoxShownOnThisThreadAndReportsItsText) {
  TMessageBoxCloser closer(IDCANCEL);
  int answer = MessageBoxW(nullptr, L"转换完成", L"Support", MB_OKCANCEL);
  EXPECT_EQ(answer, IDCANCEL);
  EXPECT_EQ(closer.Closed(), 1);
  EXPECT_EQ(closer.Last().text, L"转换完成");
  EXPECT_EQ(closer.Last().caption, L"Support");
}
