// The Windows side of the reader's version message: a real message box,
// read back and closed from another thread.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

#include "skin/data/SkinRead.h"
#include "skin/data/SkinReadMessage.h"

namespace {

struct Seen {
  std::wstring title;
  std::wstring text;
};

struct Search {
  HWND box = nullptr;
};

BOOL CALLBACK FindDialog(HWND hwnd, LPARAM lParam) {
  wchar_t cls[64] = {};
  GetClassNameW(hwnd, cls, 64);
  if (std::wstring(cls) == L"#32770" && IsWindowVisible(hwnd)) {
    reinterpret_cast<Search*>(lParam)->box = hwnd;
    return FALSE;
  }
  return TRUE;
}

std::wstring Text(HWND hwnd) {
  wchar_t buf[512] = {};
  GetWindowTextW(hwnd, buf, 512);
  return buf;
}

// Waits up to 15 s for a dialog of `thread`, records it and presses OK.
void CloseBoxOf(DWORD thread, Seen& seen, std::atomic<bool>& found) {
  for (int i = 0; i < 300; ++i) {
    Search s;
    EnumThreadWindows(thread, FindDialog, reinterpret_cast<LPARAM>(&s));
    if (s.box) {
      seen.title = Text(s.box);
      seen.text = Text(GetDlgItem(s.box, 0xFFFF));  // the message box's text control
      found = true;
      PostMessageW(s.box, WM_COMMAND, IDOK, 0);
      return;
    }
    Sleep(50);
  }
}

std::vector<uint8_t> ArchiveOfVersion(uint32_t version) {
  std::vector<uint8_t> a(16, 0);
  for (int i = 0; i < 4; ++i) a[static_cast<size_t>(i)] = static_cast<uint8_t>(version >> (8 * i));
  return a;
}

}  // namespace

TEST(SkinReadMessage, OlderPackageShowsTheMessageBoxUntilClosed) {
  InstallSkinReaderMessageBox();
  ASSERT_TRUE(TSkinReader::HasMessageHook());
  Seen seen;
  std::atomic<bool> found{false};
  std::thread closer(CloseBoxOf, GetCurrentThreadId(), std::ref(seen), std::ref(found));
  TSkinReader reader;
  const bool opened = reader.OpenArchive(ArchiveOfVersion(10000));
  closer.join();
  EXPECT_FALSE(opened);
  ASSERT_TRUE(found) << "no message box appeared";
  EXPECT_EQ(seen.text, L"This is Older Skin File\rPlease update to new version !");
  EXPECT_EQ(seen.title, L"SkinReadMessageTest");

  // A package of the right version shows nothing and opens.
  EXPECT_TRUE(reader.OpenArchive(ArchiveOfVersion(20000)));
  TSkinReader::SetMessageHook(nullptr);
}
