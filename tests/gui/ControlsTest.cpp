// Controls and forms under Wine: a form built from its stored description,
// the control lookup, the message hook, reflected notifications, error
// reporting, the virtual list view, cross-thread progress and painting.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <thread>

#include "gui/ComCtrls.h"
#include "gui/Dialogs.h"
#include "gui/Forms.h"
#include "gui/StdCtrls.h"
#include "gui/Threads.h"
#include "gui/Timer.h"
#include "skin/data/Bmp.h"
#include "tests/support/AppLoop.h"
#include "tests/support/MessageBoxCloser.h"
#include "tests/support/Pump.h"
#include "tests/support/WindowCapture.h"

using twtest::PumpUntil;
using twtest::PumpUntilIdle;
using twtest::ScreenPixel;

namespace {

class TTestForm : public TForm {
  TW_DECLARE_CLASS(TTestForm, TForm)
 public:
  explicit TTestForm(TComponent* owner) : TForm(owner) {}
  TPanel* Banner = nullptr;
  TGroupBox* GroupBox3 = nullptr;
  TPanel* Panel1 = nullptr;
  TListView* lvwFiles = nullptr;
  TPanel* Panel2 = nullptr;
  TButton* btnAdd = nullptr;
  TButton* btnDelete = nullptr;
  TGroupBox* GroupBox6 = nullptr;
  TLabel* Label10 = nullptr;
  TEdit* edtSaveDir = nullptr;
  TButton* Button8 = nullptr;
  TGroupBox* GroupBox2 = nullptr;
  TLabel* lblInfo = nullptr;
  TProgressBar* ProgressBar1 = nullptr;
  TButton* btnConvert = nullptr;
  TOpenDialog* OpenDialog1 = nullptr;
  TTimer* Timer1 = nullptr;

  int created = 0, addClicks = 0, closes = 0;
  std::vector<int> dataRows;
  void FormCreate(TObject*) { ++created; }
  void FormClose(TObject*, TCloseAction& action) {
    ++closes;
    action = caHide;
  }
  void btnAddClick(TObject*) { ++addClicks; }
  // Runs before anything of the form is gone: windows and fields intact.
  static inline int destroyedIntact = 0;
  void FormDestroy(TObject*) {
    if (btnAdd && btnAdd->HandleAllocated() && IsWindow(btnAdd->Handle()) && addClicks >= 0) ++destroyedIntact;
  }
  void btnFailClick(TObject*) { throw Exception(L"删除失败: the file is gone"); }
  void Timer1Timer(TObject*) {}
  void lvwFilesData(TObject*, TListItem* item) {
    dataRows.push_back(item->Index());
    item->Caption = L"C:\\music\\track" + IntToStr(item->Index()) + L".wma";
    item->SubItems.Add(L"等待");
  }
};

TW_IMPLEMENT_CLASS(TTestForm, [](TClassBuilder<TTestForm>& c) {
  c.Component(L"Banner", &TTestForm::Banner);
  c.Component(L"GroupBox3", &TTestForm::GroupBox3);
  c.Component(L"Panel1", &TTestForm::Panel1);
  c.Component(L"lvwFiles", &TTestForm::lvwFiles);
  c.Component(L"Panel2", &TTestForm::Panel2);
  c.Component(L"btnAdd", &TTestForm::btnAdd);
  c.Component(L"btnDelete", &TTestForm::btnDelete);
  c.Component(L"GroupBox6", &TTestForm::GroupBox6);
  c.Component(L"Label10", &TTestForm::Label10);
  c.Component(L"edtSaveDir", &TTestForm::edtSaveDir);
  c.Component(L"Button8", &TTestForm::Button8);
  c.Component(L"GroupBox2", &TTestForm::GroupBox2);
  c.Component(L"lblInfo", &TTestForm::lblInfo);
  c.Component(L"ProgressBar1", &TTestForm::ProgressBar1);
  c.Component(L"btnConvert", &TTestForm::btnConvert);
  c.Component(L"OpenDialog1", &TTestForm::OpenDialog1);
  c.Component(L"Timer1", &TTestForm::Timer1);
  c.Handler<TNotifyEvent>(L"FormCreate", &TTestForm::FormCreate);
  c.Handler<TCloseEvent>(L"FormClose", &TTestForm::FormClose);
  c.Handler<TNotifyEvent>(L"btnAddClick", &TTestForm::btnAddClick);
  c.Handler<TNotifyEvent>(L"FormDestroy", &TTestForm::FormDestroy);
  c.Handler<TNotifyEvent>(L"btnFailClick", &TTestForm::btnFailClick);
  c.Handler<TNotifyEvent>(L"Timer1Timer", &TTestForm::Timer1Timer);
  c.Handler<TLVOwnerDataEvent>(L"lvwFilesData", &TTestForm::lvwFilesData);
})

class GuiEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    twtest::UseApplicationLoop();
    Application->SetTitle(L"Library test 2.1");
  }
};
const auto* const kEnv = ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

class FormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = TCustomForm::Create<TTestForm>(Application);
    form->Show();
    ASSERT_TRUE(PumpUntilIdle());
  }
  void TearDown() override {
    TComponent::Free(form);
    PumpUntilIdle();
  }
  TTestForm* form = nullptr;
};

RECT Bounds(TControl* c) { return c->BoundsRect(); }
std::string Str(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right - r.left) + "x" +
         std::to_string(r.bottom - r.top);
}
RECT Rect(int l, int t, int w, int h) { return RECT{l, t, l + w, t + h}; }

std::wstring WindowText(HWND h) {
  wchar_t buf[512] = {};
  GetWindowTextW(h, buf, 512);
  return buf;
}

}  // namespace

TEST_F(FormTest, DescriptionBuildsEveryControlWithItsBoundsAndTexts) {
  EXPECT_EQ(form->created, 1);
  EXPECT_EQ(form->Name(), L"TestForm");
  EXPECT_EQ(form->ClientWidthValue(), 533);
  EXPECT_EQ(form->ClientHeightValue(), 456);
  RECT client;
  GetClientRect(form->Handle(), &client);
  EXPECT_EQ(client.right, 533);
  EXPECT_EQ(client.bottom, 456);
  LONG style = GetWindowLongW(form->Handle(), GWL_STYLE);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  // Centred on the screen.
  RECT wr;
  GetWindowRect(form->Handle(), &wr);
  EXPECT_NEAR((wr.left + wr.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
  EXPECT_NEAR((wr.top + wr.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
  EXPECT_EQ(WindowText(form->Handle()), L"Library test 2.2");
  EXPECT_EQ(WindowText(Application->Handle()), L"Library test 2.1");

  // Docking: four blocks stacked from the top, the group box's panel below its caption.
  const std::pair<TControl*, RECT> expected[] = {
      {form->Banner, Rect(0, 0, 533, 161)},        {form->GroupBox3, Rect(0, 161, 533, 136)},
      {form->Panel1, Rect(2, 14, 529, 120)},       {form->lvwFiles, Rect(0, 0, 529, 94)},
      {form->Panel2, Rect(0, 94, 529, 26)},        {form->btnAdd, Rect(16, 1, 75, 25)},
      {form->GroupBox6, Rect(0, 297, 533, 48)},    {form->edtSaveDir, Rect(72, 16, 353, 20)},
      {form->Button8, Rect(440, 16, 85, 25)},      {form->GroupBox2, Rect(0, 345, 533, 64)},
      {form->ProgressBar1, Rect(112, 35, 409, 18)}, {form->btnConvert, Rect(218, 416, 97, 33)},
      {form->Label10, Rect(16, 20, 48, 12)},
  };
  for (const auto& [control, rect] : expected) {
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(Str(Bounds(control)), Str(rect)) << WideToUtf8(control->Name());
    if (auto* w = dynamic_cast<TWinControl*>(control)) {
      RECT real;
      GetWindowRect(w->Handle(), &real);
      MapWindowPoints(HWND_DESKTOP, GetParent(w->Handle()), reinterpret_cast<POINT*>(&real), 2);
      EXPECT_EQ(Str(real), Str(rect)) << "window of " << WideToUtf8(control->Name());
    }
  }
  EXPECT_EQ(form->btnAdd->Parent(), form->Panel2);
  EXPECT_EQ(form->lvwFiles->Parent(), form->Panel1);
  EXPECT_EQ(form->btnAdd->Owner(), form);
  // Texts, in the controls and in their windows.
  EXPECT_EQ(WindowText(form->btnAdd->Handle()), L"新增");
  EXPECT_EQ(WindowText(form->GroupBox3->Handle()), L"设置");
  EXPECT_EQ(WindowText(form->btnConvert->Handle()), L"立即转换");
  EXPECT_EQ(form->lblInfo->Caption(), L"准备就绪");
  EXPECT_EQ(form->edtSaveDir->Text(), L"");
  EXPECT_TRUE(GetWindowLongW(form->edtSaveDir->Handle(), GWL_STYLE) & ES_READONLY);
  // The label sizes itself to its text; its height follows the 12-pixel font.
  EXPECT_EQ(form->lblInfo->Height(), 12);
  EXPECT_GT(form->lblInfo->Width(), 0);
  // Fonts come down from the form.
  EXPECT_EQ(form->btnAdd->Font()->Name(), L"宋体");
  EXPECT_EQ(form->btnAdd->Font()->Charset(), 134);
  EXPECT_TRUE(form->btnAdd->ParentFont());
  LOGFONTW lf = {};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(form->btnAdd->Handle(), WM_GETFONT, 0, 0)), sizeof lf, &lf);
  EXPECT_EQ(lf.lfHeight, -12);
  EXPECT_EQ(lf.lfCharSet, GB2312_CHARSET);
  // List view: report view with its two columns, grid lines, row select.
  HWND lv = form->lvwFiles->Handle();
  EXPECT_EQ(GetWindowLongW(lv, GWL_STYLE) & LVS_TYPEMASK, LVS_REPORT);
  EXPECT_TRUE(GetWindowLongW(lv, GWL_STYLE) & LVS_OWNERDATA);
  EXPECT_FALSE(GetWindowLongW(lv, GWL_STYLE) & LVS_EDITLABELS);
  EXPECT_EQ(SendMessageW(lv, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & (LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT),
            LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  EXPECT_EQ(SendMessageW(lv, LVM_GETCOLUMNWIDTH, 0, 0), 350);
  EXPECT_EQ(SendMessageW(lv, LVM_GETCOLUMNWIDTH, 1, 0), 80);
  wchar_t col[64] = {};
  LVCOLUMNW lc = {};
  lc.mask = LVCF_TEXT;
  lc.pszText = col;
  lc.cchTextMax = 64;
  SendMessageW(lv, LVM_GETCOLUMNW, 0, reinterpret_cast<LPARAM>(&lc));
  EXPECT_STREQ(col, L"文件路径");
  EXPECT_EQ(SendMessageW(form->ProgressBar1->Handle(), PBM_GETRANGE, FALSE, 0), 100);
  EXPECT_EQ(form->OpenDialog1->FFilter, L"WMA|*.wma");
  // Published properties by name on real controls.
  EXPECT_EQ(GetIntProp(form->Panel1, L"Color"), static_cast<int>(clBtnFace));
  EXPECT_EQ(GetEnumProp(form->Panel1, L"BevelOuter"), L"bvNone");
  EXPECT_EQ(GetEnumProp(form->lvwFiles, L"ViewStyle"), L"vsReport");
  EXPECT_EQ(GetStrProp(form->GroupBox2, L"Caption"), L"进度");
  EXPECT_EQ(GetIntProp(form->GroupBox2, L"ParentBackground"), -1);
  EXPECT_EQ(GetIntProp(form->Panel1, L"ParentBackground"), 0);
  EXPECT_EQ(GetIntProp(form, L"Font.Height"), -12);
  EXPECT_EQ(Screen->FormCount(), 1);
  EXPECT_EQ(Screen->Forms(0), form);
}

TEST_F(FormTest, EveryDescriptionInTheProgramBuilds) {
  std::vector<std::wstring> errors = VerifyFormResources();
  for (const auto& e : errors) ADD_FAILURE() << WideToUtf8(e);
}

TEST_F(FormTest, FindControlMapsEveryWindowBackThroughTheNamedProperty) {
  std::wstring name = FormatW(L"ControlOfs%.8X%.8X", static_cast<unsigned>(reinterpret_cast<uintptr_t>(GetModuleHandleW(nullptr))),
                              static_cast<unsigned>(GetCurrentThreadId()));
  ATOM atom = GlobalFindAtomW(name.c_str());
  ASSERT_NE(atom, 0);
  EXPECT_EQ(atom, ControlAtom());
  int windows = 0;
  for (int i = 0; i < form->ComponentCount(); ++i) {
    auto* w = dynamic_cast<TWinControl*>(form->Components(i));
    if (!w) continue;
    ++windows;
    HWND h = w->Handle();
    EXPECT_EQ(FindControl(h), w) << WideToUtf8(w->Name());
    EXPECT_EQ(GetPropW(h, MAKEINTATOM(atom)), static_cast<HANDLE>(w)) << WideToUtf8(w->Name());
  }
  EXPECT_EQ(windows, 14);
  EXPECT_EQ(FindControl(form->Handle()), form);
  // Windows that are not ours map to nothing.
  EXPECT_EQ(FindControl(GetDesktopWindow()), nullptr);
  HWND header = reinterpret_cast<HWND>(SendMessageW(form->lvwFiles->Handle(), LVM_GETHEADER, 0, 0));
  EXPECT_EQ(FindControl(header), nullptr);
  EXPECT_EQ(FindControl(nullptr), nullptr);
  // A window made again after a style change is found again, and its
  // control is told before the old one goes.
  HWND before = form->edtSaveDir->Handle();
  form->edtSaveDir->SetBorderStyle(bsNone);
  HWND after = form->edtSaveDir->Handle();
  EXPECT_FALSE(IsWindow(before));
  EXPECT_EQ(FindControl(after), form->edtSaveDir);
  EXPECT_FALSE(GetWindowLongW(after, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
}

namespace {
// Replaces a control's message hook; sees each message first.
struct Hook {
  TControl* control;
  TWndMethod saved;
  std::vector<UINT> seen;
  bool swallowSetText = false;
  explicit Hook(TControl* c) : control(c) {
    saved = c->WindowProc;
    c->WindowProc = TWndMethod::Bind(this, &Hook::Handle);
  }
  void Restore() { control->WindowProc = saved; }
  void Handle(TMessage& m) {
    seen.push_back(m.Msg);
    if (swallowSetText && m.Msg == WM_SETTEXT) {
      m.Result = TRUE;
      return;
    }
    saved(m);
  }
  bool Saw(UINT msg) const { return std::find(seen.begin(), seen.end(), msg) != seen.end(); }
};
}  // namespace

TEST_F(FormTest, ReplacedWindowProcSeesMessagesFirstAndCanConsumeThem) {
  TButton* b = form->btnAdd;
  TWndMethod original = b->WindowProc;
  Hook hook(b);
  hook.swallowSetText = true;
  SendMessageW(b->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"changed"));
  EXPECT_TRUE(hook.Saw(WM_SETTEXT));
  EXPECT_EQ(WindowText(b->Handle()), L"新增");  // consumed: the button never saw it
  hook.swallowSetText = false;
  SendMessageW(b->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"passed"));
  EXPECT_EQ(WindowText(b->Handle()), L"passed");
  // Library notifications pass through the hook too.
  hook.seen.clear();
  b->SetEnabled(false);
  EXPECT_TRUE(hook.Saw(CM_ENABLEDCHANGED));
  EXPECT_FALSE(IsWindowEnabled(b->Handle()));
  b->SetEnabled(true);
  b->SetCaption(L"新增");
  EXPECT_TRUE(hook.Saw(CM_TEXTCHANGED));
  // Reflected click: the parent's WM_COMMAND reaches the button as CN_COMMAND.
  hook.seen.clear();
  SendMessageW(b->Handle(), BM_CLICK, 0, 0);
  EXPECT_TRUE(hook.Saw(CN_COMMAND));
  EXPECT_EQ(form->addClicks, 1);
  // Putting the saved hook back is exact.
  hook.Restore();
  EXPECT_TRUE(b->WindowProc == original);
  hook.seen.clear();
  SendMessageW(b->Handle(), WM_NULL, 0, 0);
  b->Perform(WM_NULL, 0, 0);
  EXPECT_TRUE(hook.seen.empty());
  // A window-less control has the same hook.
  Hook labelHook(form->lblInfo);
  form->lblInfo->SetCaption(L"转换中");
  EXPECT_TRUE(labelHook.Saw(CM_TEXTCHANGED));
  labelHook.Restore();
}


TEST_F(FormTest, ExceptionInClickHandlerShowsItsTextAndTheProgramGoesOn) {
  twtest::TMessageBoxCloser closer;
  // The click runs inside the window procedures of the button and its
  // parent; the exception must stop there, shown in a message box.
  SendMessageW(form->btnDelete->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(closer.Closed(), 1);
  EXPECT_EQ(closer.Last().text, L"删除失败: the file is gone");
  EXPECT_EQ(closer.Last().caption, L"Library test 2.1");
  // Still running: other handlers work, the form is intact.
  SendMessageW(form->btnAdd->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(form->addClicks, 1);
  EXPECT_TRUE(IsWindowVisible(form->Handle()));
  // The same through the message loop (a posted click).
  PostMessageW(form->btnDelete->Handle(), BM_CLICK, 0, 0);
  EXPECT_TRUE(closer.WaitForClosed(2));
}

TEST_F(FormTest, VirtualListViewAsksExactlyForThePaintedRows) {
  TListView* lv = form->lvwFiles;
  lv->Items()->SetCount(100);
  HWND h = lv->Handle();
  EXPECT_EQ(SendMessageW(h, LVM_GETITEMCOUNT, 0, 0), 100);
  PumpUntilIdle();
  form->dataRows.clear();
  lv->UpdateItems();
  UpdateWindow(h);
  int perPage = static_cast<int>(SendMessageW(h, LVM_GETCOUNTPERPAGE, 0, 0));
  ASSERT_GT(perPage, 0);
  std::set<int> rows(form->dataRows.begin(), form->dataRows.end());
  EXPECT_EQ(rows.size(), form->dataRows.size()) << "a row was asked for twice in one paint";
  ASSERT_FALSE(rows.empty());
  EXPECT_EQ(*rows.begin(), 0);
  // The rows that show (a last, partly visible row counts).
  EXPECT_GE(static_cast<int>(rows.size()), perPage);
  EXPECT_LE(static_cast<int>(rows.size()), perPage + 1);
  EXPECT_EQ(*rows.rbegin(), static_cast<int>(rows.size()) - 1);
  // The texts reach the control.
  wchar_t buf[MAX_PATH] = {};
  LVITEMW it = {};
  it.iSubItem = 1;
  it.pszText = buf;
  it.cchTextMax = MAX_PATH;
  SendMessageW(h, LVM_GETITEMTEXTW, 7, reinterpret_cast<LPARAM>(&it));
  EXPECT_STREQ(buf, L"等待");
  it.iSubItem = 0;
  SendMessageW(h, LVM_GETITEMTEXTW, 42, reinterpret_cast<LPARAM>(&it));
  EXPECT_STREQ(buf, L"C:\\music\\track42.wma");
  // Selection and clearing.
  lv->SetItemIndex(3);
  EXPECT_EQ(lv->ItemIndex(), 3);
  lv->Clear();
  EXPECT_EQ(SendMessageW(h, LVM_GETITEMCOUNT, 0, 0), 0);
  EXPECT_EQ(lv->ItemIndex(), -1);
  form->dataRows.clear();
  lv->Repaint();
  EXPECT_TRUE(form->dataRows.empty());
}

namespace {
class TProgressWorker : public TThread {
 public:
  TProgressWorker(TProgressBar* bar) : TThread(false), FBar(bar) {}
  ~TProgressWorker() override {
    Terminate();
    WaitFor();
  }

 protected:
  void Execute() override {
    for (int i = 1; i <= 37; ++i) FBar->SetPosition(i);
  }

 private:
  TProgressBar* FBar;
};
}  // namespace

TEST_F(FormTest, ProgressFromAWorkerWhileTheGuiThreadWaitsNeitherBlocksNorLoses) {
  TProgressBar* bar = form->ProgressBar1;
  HWND h = bar->Handle();
  TProgressWorker worker(bar);
  // The runner's stop operation waits like this.
  DWORD r = WaitForWithMessages(worker.Handle(), twtest::kWaitLimitMs);
  EXPECT_EQ(r, WAIT_OBJECT_0);
  EXPECT_EQ(SendMessageW(h, PBM_GETPOS, 0, 0), 37);
  EXPECT_EQ(bar->Position(), 37);
  // A worker whose GUI thread is not handling messages does not hang on it:
  // the value arrives with the next messages.
  HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread blind([bar, done] {
    bar->SetPosition(5);
    SetEvent(done);
  });
  // This thread handles nothing meanwhile.
  EXPECT_EQ(WaitForSingleObject(done, twtest::kWaitLimitMs), WAIT_OBJECT_0);
  blind.join();
  CloseHandle(done);
  EXPECT_EQ(bar->Position(), 5);
  EXPECT_TRUE(PumpUntil([&] { return SendMessageW(h, PBM_GETPOS, 0, 0) == 5; }));
}

TEST_F(FormTest, FreeingTheFormFreesItsControlsAndWindows) {
  std::vector<HWND> windows;
  for (int i = 0; i < form->ComponentCount(); ++i)
    if (auto* w = dynamic_cast<TWinControl*>(form->Components(i))) windows.push_back(w->Handle());
  // Freeing one control takes its window and its place in the parent.
  HWND edit = form->edtSaveDir->Handle();
  int children = form->GroupBox6->ControlCount();
  TComponent::Free(form->edtSaveDir);
  form->edtSaveDir = nullptr;
  EXPECT_FALSE(IsWindow(edit));
  EXPECT_EQ(form->GroupBox6->ControlCount(), children - 1);
  EXPECT_EQ(form->FindComponent(L"edtSaveDir"), nullptr);
  int intact = TTestForm::destroyedIntact;
  TComponent::Free(form);
  form = nullptr;
  EXPECT_EQ(TTestForm::destroyedIntact, intact + 1);
  for (HWND h : windows) EXPECT_FALSE(IsWindow(h));
  EXPECT_EQ(Screen->FormCount(), 0);
}

TEST_F(FormTest, ClosingHidesThroughTheCloseHandler) {
  // Not the main form: the close handler's action applies.
  SendMessageW(form->Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(form->closes, 1);
  EXPECT_FALSE(IsWindowVisible(form->Handle()));
  EXPECT_TRUE(IsWindow(form->Handle()));
}

TEST_F(FormTest, TabMovesFocusInTabOrder) {
  form->GroupBox2->SetEnabled(true);
  form->btnConvert->SetFocus();
  EXPECT_TRUE(form->btnConvert->Focused());
  // Tab order at the top: GroupBox2 (0: progress bar, not a stop), GroupBox3 (1), GroupBox6 (2), btnConvert (3).
  form->SelectNext(form->btnConvert, true);
  EXPECT_TRUE(form->lvwFiles->Focused());
  form->Perform(CM_DIALOGKEY, VK_TAB, 0);
  EXPECT_TRUE(form->btnAdd->Focused());
  EXPECT_EQ(form->ActiveControl(), form->btnAdd);
}

TEST_F(FormTest, ControlsPaintIncludingWindowLessLabelsInsideGroupBoxes) {
  form->lvwFiles->Items()->SetCount(3);
  RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  ASSERT_TRUE(PumpUntilIdle());
  COLORREF face = GetSysColor(COLOR_BTNFACE);
  // The banner panel paints its own colour.
  EXPECT_EQ(ScreenPixel(form->Banner->Handle(), 20, 20), RGB(255, 255, 255));
  // Inside a group box, away from any text: the face colour.
  EXPECT_EQ(ScreenPixel(form->GroupBox2->Handle(), 300, 25), face);
  // The window-less label's text is drawn by its (system) group box.
  HWND g = form->GroupBox2->Handle();
  int inked = 0;
  for (int y = 16; y < 28; ++y)
    for (int x = 112; x < 112 + form->lblInfo->Width(); ++x)
      if (ScreenPixel(g, x, y) != face) ++inked;
  EXPECT_GT(inked, 10);
  // Painting a parent's window-less children onto any DC (the skin does this).
  TBitmap b(form->GroupBox2->Width(), form->GroupBox2->Height());
  RECT all{0, 0, b.Width(), b.Height()};
  HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
  FillRect(b.DC(), &all, white);
  DeleteObject(white);
  form->GroupBox2->PaintControls(b.DC());
  GdiFlush();
  int dark = 0;
  for (int y = 16; y < 28; ++y)
    for (int x = 16; x < 88; ++x)
      if ((b.ScanLine(y)[x] & 0xFFFFFF) != 0xFFFFFF && (b.ScanLine(y)[x] & 0xFFFFFF) != (face & 0xFFFFFF)) ++dark;
  EXPECT_GT(dark, 10) << "Label1's text";
  EXPECT_EQ(b.ScanLine(5)[300] & 0xFFFFFF, 0xFFFFFFu) << "nothing outside the labels";

  // Screenshot of the whole form for the record.
  if (const char* path = std::getenv("TW_GUI_SCREENSHOT")) {
    std::vector<uint8_t> bmp = EncodeBmp(twtest::CaptureWindow(form->Handle()), 24);
    if (FILE* f = std::fopen(path, "wb")) {
      std::fwrite(bmp.data(), 1, bmp.size(), f);
      std::fclose(f);
    }
  }
}

TEST(FormErrors, ABrokenDescriptionIsReportedAndLeavesNothingBehind) {
  int before = Screen->FormCount();
  TTestForm* f = new TTestForm(Application);
  EXPECT_THROW(LoadFormFromText(f, L"TTestForm X {\n TButton b { OnClick = NoSuchHandler }\n}"), EFormError);
  delete f;
  EXPECT_EQ(Screen->FormCount(), before);
  TTestForm* g = new TTestForm(Application);
  try {
    LoadFormFromText(g, L"TTestForm X {\n TFancyButton b { }\n}", nullptr, L"broken.form");
    ADD_FAILURE() << "no error";
  } catch (const EFormError& e) {
    EXPECT_EQ(e.Message(), L"broken.form line 2: b: unknown class TFancyButton");
  }
  delete g;
}

// Docked children described in any order stack by their stored positions:
// aligning while the description is still being read would place each one
// at the top as it arrives and lose the stored order.
TEST(FormLayout, TopDockedChildrenStackByStoredTopWhateverTheirOrderInTheDescription) {
  TTestForm* f = new TTestForm(Application);
  LoadFormFromText(f, L"TTestForm X {\n ClientWidth = 200\n ClientHeight = 200\n"
                      L" TPanel low { Align = alTop Top = 100 Height = 30 }\n"
                      L" TPanel high { Align = alTop Top = 10 Height = 20 }\n}");
  auto* high = static_cast<TControl*>(f->FindComponent(L"high"));
  auto* low = static_cast<TControl*>(f->FindComponent(L"low"));
  ASSERT_TRUE(high && low);
  EXPECT_EQ(high->Top(), 0);
  EXPECT_EQ(low->Top(), 20);
  EXPECT_EQ(low->Height(), 30);
  TComponent::Free(f);
}

namespace {
// Messages in the order a hooked control saw them, matched as a
// subsequence of the expected table (other messages may come between).
struct Recorder {
  TControl* control;
  TWndMethod saved;
  std::vector<TMessage> seen;
  explicit Recorder(TControl* c) : control(c), saved(c->WindowProc) {
    c->WindowProc = TWndMethod::Bind(this, &Recorder::Handle);
  }
  ~Recorder() { control->WindowProc = saved; }
  void Handle(TMessage& m) {
    seen.push_back(m);
    saved(m);
  }
  std::string Check(const std::vector<UINT>& expected) const {
    size_t i = 0;
    for (const auto& m : seen)
      if (i < expected.size() && m.Msg == expected[i]) ++i;
    if (i == expected.size()) return "";
    std::string out = "missing 0x" + ToHex(expected[i]) + "; saw:";
    for (const auto& m : seen) out += " " + ToHex(m.Msg);
    return out;
  }
  static std::string ToHex(UINT v) {
    char b[16];
    std::snprintf(b, sizeof b, "%X", v);
    return b;
  }
};
}  // namespace

TEST_F(FormTest, NotificationsArriveAtTheMomentsTheirNamesSay) {
  TEdit* edit = form->edtSaveDir;
  TButton* other = form->Button8;
  {
    Recorder r(edit);
    edit->SetEnabled(false);
    edit->SetEnabled(true);
    EXPECT_EQ(r.Check({WM_ENABLE, CM_ENABLEDCHANGED, WM_ENABLE, CM_ENABLEDCHANGED}), "");
  }
  {
    Recorder r(edit);
    Recorder f(form);
    edit->SetFocus();
    other->SetFocus();
    EXPECT_EQ(r.Check({WM_SETFOCUS, CM_ENTER, WM_KILLFOCUS, CM_EXIT}), "");
    EXPECT_EQ(f.Check({CM_FOCUSCHANGED, CM_FOCUSCHANGED}), "");
    std::vector<LPARAM> focused;
    for (const auto& m : f.seen)
      if (m.Msg == CM_FOCUSCHANGED) focused.push_back(m.LParam);
    ASSERT_EQ(focused.size(), 2u);
    EXPECT_EQ(focused[0], reinterpret_cast<LPARAM>(edit));
    EXPECT_EQ(focused[1], reinterpret_cast<LPARAM>(other));
  }
  {
    Recorder r(edit);
    edit->SetText(L"D:\\输出");
    edit->SetVisible(false);
    edit->SetVisible(true);
    EXPECT_EQ(r.Check({WM_SETTEXT, CM_TEXTCHANGED, WM_SHOWWINDOW, CM_VISIBLECHANGED, WM_SHOWWINDOW, CM_VISIBLECHANGED}), "");
    EXPECT_EQ(edit->Text(), L"D:\\输出");
  }
  {
    Recorder r(edit);
    edit->SetBorderStyle(bsNone);  // a style change: the window is made again
    EXPECT_EQ(r.Check({CM_RECREATEWND, WM_DESTROY, WM_NCDESTROY, WM_NCCREATE, WM_CREATE}), "");
    // What lived only in the old window survives.
    EXPECT_EQ(edit->Text(), L"D:\\输出");
    EXPECT_TRUE(GetWindowLongW(edit->Handle(), GWL_STYLE) & ES_READONLY);
  }
  {
    form->lvwFiles->Items()->SetCount(1);
    UpdateWindow(form->lvwFiles->Handle());
    Recorder l(form->lvwFiles);
    InvalidateRect(form->lvwFiles->Handle(), nullptr, TRUE);
    UpdateWindow(form->lvwFiles->Handle());
    EXPECT_EQ(l.Check({WM_PAINT, CN_NOTIFY}), "");  // its own notifications come back reflected
  }
}
