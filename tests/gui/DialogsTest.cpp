// The file-open dialog and the folder browser, driven as a user would from
// a helper thread while the GUI thread runs the dialog.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <functional>
#include <thread>

#include "gui/Dialogs.h"
#include "gui/Forms.h"

namespace {

struct FoundDialog {
  HWND dialog = nullptr;
};

BOOL CALLBACK FindDialog(HWND h, LPARAM p) {
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  wchar_t cls[64] = {};
  GetClassNameW(h, cls, 64);
  if (pid == GetCurrentProcessId() && std::wstring(cls) == L"#32770" && IsWindowVisible(h)) {
    reinterpret_cast<FoundDialog*>(p)->dialog = h;
    return FALSE;
  }
  return TRUE;
}

// Waits for this process's dialog, then acts on it from this thread.
class DialogDriver {
 public:
  explicit DialogDriver(std::function<void(HWND)> act) : FThread([this, act] {
    for (int i = 0; i < 300 && !FStop; ++i) {
      FoundDialog f;
      EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&f));
      if (f.dialog) {
        Sleep(500);
        act(f.dialog);
        FActed = true;
        return;
      }
      Sleep(50);
    }
  }) {}
  ~DialogDriver() {
    FStop = true;
    FThread.join();
  }
  bool acted() const { return FActed; }

 private:
  std::atomic<bool> FStop{false};
  std::atomic<bool> FActed{false};
  std::thread FThread;
};

BOOL CALLBACK FindEdit(HWND h, LPARAM p) {
  wchar_t cls[32] = {};
  GetClassNameW(h, cls, 32);
  if (std::wstring(cls) == L"Edit") {
    *reinterpret_cast<HWND*>(p) = h;
    return FALSE;
  }
  return TRUE;
}

class DialogTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { Application->Initialize(); }
};

}  // namespace

TEST_F(DialogTest, OpenDialogReturnsTheChosenFileAndKeepsTheNameOnCancel) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::wstring file = std::wstring(temp) + L"歌曲 one.wma";
  HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  CloseHandle(h);

  TOpenDialog dialog(nullptr);
  SetPropText(&dialog, L"Filter", L"WMA|*.wma");
  EXPECT_EQ(TOpenDialog::FilterPairs(dialog.FFilter), std::wstring(L"WMA\0*.wma\0\0", 11));
  {
    DialogDriver driver([&](HWND dlg) {
      // The file-name field: the edit inside the combo box 0x47C.
      HWND combo = GetDlgItem(dlg, 0x47C);
      HWND edit = nullptr;
      EnumChildWindows(combo ? combo : dlg, FindEdit, reinterpret_cast<LPARAM>(&edit));
      if (!edit) edit = GetDlgItem(dlg, 0x480);
      SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(file.c_str()));
      PostMessageW(dlg, WM_COMMAND, IDOK, 0);
    });
    EXPECT_TRUE(dialog.Execute());
    EXPECT_TRUE(driver.acted());
  }
  EXPECT_TRUE(SameText(dialog.FileName(), file)) << WideToUtf8(dialog.FileName());
  {
    DialogDriver driver([](HWND dlg) { PostMessageW(dlg, WM_COMMAND, IDCANCEL, 0); });
    EXPECT_FALSE(dialog.Execute());
  }
  EXPECT_TRUE(SameText(dialog.FileName(), file));
  DeleteFileW(file.c_str());
}

TEST_F(DialogTest, FolderBrowserReturnsItsSelectionOrNothingOnCancel) {
  std::wstring chosen = L"unchanged";
  {
    DialogDriver driver([](HWND dlg) {
      Sleep(1500);  // the tree fills its initial selection first
      PostMessageW(dlg, WM_COMMAND, IDOK, 0);
    });
    EXPECT_TRUE(SelectDirectory(L"选择输出目录", chosen));
  }
  EXPECT_NE(chosen, L"unchanged");
  EXPECT_EQ(GetFileAttributesW(chosen.c_str()) & FILE_ATTRIBUTE_DIRECTORY, static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY))
      << WideToUtf8(chosen);
  std::wstring before = chosen;
  {
    DialogDriver driver([](HWND dlg) { PostMessageW(dlg, WM_COMMAND, IDCANCEL, 0); });
    EXPECT_FALSE(SelectDirectory(L"选择输出目录", chosen));
  }
  EXPECT_EQ(chosen, before);
}
