// The file-open dialog and the folder browser, driven as a user would from
// a helper thread while the GUI thread runs the dialog.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "gui/Dialogs.h"
#include "gui/Forms.h"
#include "tests/support/MessageBoxCloser.h"
#include "tests/support/Pump.h"

using twtest::TMessageBoxCloser;

namespace {

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
    TMessageBoxCloser driver([&](HWND dlg) {
      // The file-name field: the edit inside the combo box 0x47C.
      HWND combo = GetDlgItem(dlg, 0x47C);
      HWND edit = nullptr;
      EnumChildWindows(combo ? combo : dlg, FindEdit, reinterpret_cast<LPARAM>(&edit));
      if (!edit) edit = GetDlgItem(dlg, 0x480);
      SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(file.c_str()));
      PostMessageW(dlg, WM_COMMAND, IDOK, 0);
    });
    EXPECT_TRUE(dialog.Execute());
    EXPECT_TRUE(driver.WaitForClosed(1));
  }
  EXPECT_TRUE(SameText(dialog.FileName(), file)) << WideToUtf8(dialog.FileName());
  {
    TMessageBoxCloser driver(IDCANCEL);
    EXPECT_FALSE(dialog.Execute());
  }
  EXPECT_TRUE(SameText(dialog.FileName(), file));
  DeleteFileW(file.c_str());
}

TEST_F(DialogTest, FolderBrowserReturnsItsSelectionOrNothingOnCancel) {
  std::wstring chosen = L"unchanged";
  {
    TMessageBoxCloser driver([](HWND dlg) {
      // OK answers the folder the tree starts from (the desktop; the tree
      // selects none): wait until the tree holds its folders.
      HWND tree = GetDlgItem(dlg, 0x3741);
      twtest::PollUntil([&] { return tree && SendMessageW(tree, TVM_GETCOUNT, 0, 0) > 0; });
      PostMessageW(dlg, WM_COMMAND, IDOK, 0);
    });
    EXPECT_TRUE(SelectDirectory(L"选择输出目录", chosen));
  }
  EXPECT_NE(chosen, L"unchanged");
  EXPECT_EQ(GetFileAttributesW(chosen.c_str()) & FILE_ATTRIBUTE_DIRECTORY, static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY))
      << WideToUtf8(chosen);
  std::wstring before = chosen;
  {
    TMessageBoxCloser driver(IDCANCEL);
    EXPECT_FALSE(SelectDirectory(L"选择输出目录", chosen));
  }
  EXPECT_EQ(chosen, before);
}
