// The main window in-process, built from the same stored description as the
// program: the start-up survives a banner that cannot be created, the
// stored layout matches the window's design, and progress set from a
// runner's worker reaches the bar while the GUI thread waits.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <thread>

#include "app/Main.h"
#include "skin/data/SkinData.h"
#include "app/WebBrowserControl.h"
#include "gui/Threads.h"
#include "skin/data/WinSkinStore.h"
#include "tests/e2e/Driver.h"

namespace {

std::wstring ExeFolder() {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path = self;
  return path.substr(0, path.find_last_of(L"\\") + 1);
}

// One runner handler call, made on a thread of its own.
struct Call {
  TFrmMain* form;
  std::string line;
  bool end;
};

DWORD WINAPI RunCall(void* p) {
  auto* c = static_cast<Call*>(p);
  if (c->end)
    c->form->DosCommand1Terminated(DosCommand1);
  else
    c->form->DosCommand1NewLine(DosCommand1, c->line, otEntireLine);
  return 0;
}

TFrmMain* MakeForm() {
  Application->Initialize();
  return TCustomForm::Create<TFrmMain>(Application);
}

void CheckStartedUp(TFrmMain* form) {
  // Everything FormCreate does after the banner is in place.
  EXPECT_EQ(form->AppPath(), ExeFolder());
  EXPECT_EQ(form->FileCount(), 0);
  ASSERT_TRUE(form->SkinData1 && form->SkinStore1);
  EXPECT_TRUE(form->SkinData1->Active());
  ASSERT_NE(form->SkinStore1->Package(2), nullptr);
  EXPECT_EQ(form->SkinData1->Package(), *form->SkinStore1->Package(2));
  EXPECT_NE(DosCommand1, nullptr);
  EXPECT_NE(DosCommand2, nullptr);
  EXPECT_TRUE(DosCommand1->OnNewLine.Assigned());
  EXPECT_TRUE(DosCommand1->OnTerminated.Assigned());
  EXPECT_TRUE(DosCommand2->OnTerminated.Assigned());
  EXPECT_FALSE(DosCommand2->OnNewLine.Assigned());
}

TEST(FrmMain, StartUpCompletesWhetherOrNotTheBannerCanBeCreated) {
  TWebBrowser::SetFactory([](IOleObject** object) {
    *object = nullptr;
    return REGDB_E_CLASSNOTREG;
  });
  TFrmMain* form = MakeForm();
  ASSERT_NE(form, nullptr);
  ASSERT_NE(form->WebBrowser1, nullptr);
  EXPECT_FALSE(form->WebBrowser1->BrowserCreated());
  EXPECT_EQ(form->WebBrowser1->LastResult(), REGDB_E_CLASSNOTREG);
  CheckStartedUp(form);
  TComponent::Free(form);

  TWebBrowser::SetFactory(nullptr);  // the platform's control again
  form = MakeForm();
  ASSERT_NE(form, nullptr);
  EXPECT_TRUE(form->WebBrowser1->BrowserCreated());
  EXPECT_EQ(form->WebBrowser1->LastResult(), S_OK);
  CheckStartedUp(form);
  TComponent::Free(form);
}

TEST(FrmMain, StoredLayoutMatchesTheDesign) {
  TFrmMain* form = MakeForm();
  ASSERT_NE(form, nullptr);
  form->Show();
  struct Row {
    TControl* control;
    int left, top, width, height;
    const wchar_t* caption;
    int tabOrder;  // -1: window-less
  };
  const Row rows[] = {
      {form->WebBrowser1, 0, 0, 533, 161, nullptr, 4},
      {form->GroupBox3, 0, 161, 533, 136, L"设置", 1},
      {form->lvwFiles, 0, 0, 529, 94, nullptr, 0},
      {form->Panel2, 0, 94, 529, 26, nullptr, 1},
      {form->btnAdd, 16, 1, 75, 25, L"新增", 0},
      {form->btnDelete, 115, 1, 75, 25, L"删除", 1},
      {form->btnClear, 214, 1, 75, 25, L"清空", 2},
      {form->GroupBox6, 0, 297, 533, 48, L"输出", 2},
      {form->Label10, 16, 20, 48, 12, L"输出目录", -1},
      {form->edtSaveDir, 72, 16, 353, 20, L"", 1},
      {form->Button8, 440, 16, 85, 25, L"设置输出目录", 0},
      {form->GroupBox2, 0, 345, 533, 64, L"进度", 0},
      {form->Label1, 16, 16, 72, 12, L"当前操作描述", -1},
      {form->Label2, 16, 40, 72, 12, L"当前文件进度", -1},
      {form->lblInfo, 112, 16, 48, 12, L"准备就绪", -1},
      {form->ProgressBar1, 112, 35, 409, 18, nullptr, 0},
      {form->btnConvert, 218, 416, 97, 33, L"立即转换", 3},
  };
  for (const Row& r : rows) {
    ASSERT_NE(r.control, nullptr);
    SCOPED_TRACE(r.control->Name());
    EXPECT_EQ(r.control->Left(), r.left);
    EXPECT_EQ(r.control->Top(), r.top);
    EXPECT_EQ(r.control->Width(), r.width);
    EXPECT_EQ(r.control->Height(), r.height);
    if (r.caption) {
      EXPECT_EQ(r.control->Caption(), r.caption);
    }
    if (r.tabOrder >= 0) {
      EXPECT_EQ(static_cast<TWinControl*>(r.control)->TabOrder(), r.tabOrder);
    }
  }
  EXPECT_EQ(form->ClientWidth(), 533);
  EXPECT_EQ(form->ClientHeight(), 456);
  EXPECT_EQ(form->Caption(), L"Tonewell 2.2");
  EXPECT_EQ(form->Font()->Name(), L"宋体");
  EXPECT_EQ(form->Font()->Charset(), GB2312_CHARSET);
  EXPECT_TRUE(form->edtSaveDir->ReadOnly());
  EXPECT_EQ(form->lvwFiles->Columns()->Count(), 2);
  EXPECT_EQ(form->lvwFiles->Columns()->Items(0)->Caption(), L"文件路径");
  EXPECT_EQ(form->lvwFiles->Columns()->Items(0)->Width(), 350);
  EXPECT_EQ(form->lvwFiles->Columns()->Items(1)->Caption(), L"状态");
  EXPECT_EQ(form->lvwFiles->Columns()->Items(1)->Width(), 80);
  EXPECT_TRUE(form->lvwFiles->OwnerData());
  EXPECT_EQ(form->ProgressBar1->Min(), 0);
  EXPECT_EQ(form->ProgressBar1->Max(), 100);
  EXPECT_EQ(form->SkinStore1->Store()->Count(), 5);
  EXPECT_EQ(form->SkinStore1->Store()->Items(2)->Name(), L"SkinItem2");
  TComponent::Free(form);
}

TEST(FrmMain, ProgressMarkersFromTheWorkerReachTheBar) {
  TFrmMain* form = MakeForm();
  ASSERT_NE(form, nullptr);
  form->Show();
  form->ProgressBar1->SetMax(100);
  // The conversion runner calls its handlers on its worker thread; the GUI
  // thread meanwhile waits handling sent messages, as the run does.
  auto onWorker = [&](const std::string& line, bool end) {
    Call call{form, line, end};
    HANDLE worker = CreateThread(nullptr, 0, RunCall, &call, 0, nullptr);
    ASSERT_TRUE(worker);
    EXPECT_EQ(WaitForWithMessages(worker, 10000, TWaitMessages::SentOnly), WAIT_OBJECT_0);
    CloseHandle(worker);
  };
  auto fromWorker = [&](const std::string& line) { onWorker(line, false); };
  fromWorker("ffmpeg_release_time=61.5=ffmpeg_release_time");
  EXPECT_EQ(form->ProgressBar1->Position(), 62);
  fromWorker("size=  1kB time=00:00:01 ffmpeg_release_time=60.5=ffmpeg_release_time");
  EXPECT_EQ(form->ProgressBar1->Position(), 60);
  fromWorker("ffmpeg_release_time=abc=ffmpeg_release_time");  // not a number: ignored
  EXPECT_EQ(form->ProgressBar1->Position(), 60);
  onWorker("", true);
  EXPECT_EQ(form->ProgressBar1->Position(), 0);
  TComponent::Free(form);
}

// The runners start their tools in the program's folder, go with the
// window, and the module variables never point at freed runners.
TEST(FrmMain, RunnersWorkInTheProgramFolderAndGoWithTheWindow) {
  TFrmMain* form = MakeForm();
  ASSERT_NE(form, nullptr);
  ASSERT_NE(DosCommand1, nullptr);
  EXPECT_EQ(DosCommand1->WorkFolder(), form->AppPath());
  EXPECT_EQ(DosCommand2->WorkFolder(), form->AppPath());
  EXPECT_FALSE(form->RefuseInput());
  TComponent::Free(form);
  EXPECT_EQ(DosCommand1, nullptr);
  EXPECT_EQ(DosCommand2, nullptr);
}

// The open dialog may move the current folder to the chosen file's; adding
// a file puts it back.
TEST(FrmMain, AddingAFileLeavesTheCurrentFolder) {
  TFrmMain* form = MakeForm();
  ASSERT_NE(form, nullptr);
  const std::wstring picked = ExeFolder() + L"picked\\";
  CreateDirectoryW(picked.c_str(), nullptr);
  const std::wstring file = picked + L"song.wma";
  CloseHandle(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  wchar_t before[MAX_PATH] = {}, after[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, before);
  std::thread chooser([&] {
    if (HWND dialog = e2e::WaitForTopWindow(GetCurrentProcessId(), L"#32770", 20000))
      e2e::FillOpenDialog(dialog, file);
  });
  form->btnAddClick(nullptr);
  chooser.join();
  GetCurrentDirectoryW(MAX_PATH, after);
  EXPECT_EQ(form->FileCount(), 1) << "the dialog did not add the file";
  EXPECT_EQ(std::wstring(after), std::wstring(before));
  TComponent::Free(form);
}

}  // namespace
