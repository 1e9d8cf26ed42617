// The window-binding core under Wine: Free inside a control's own message,
// window recreation through grandchildren, mouse events and window-less
// children (enter/leave, capture), focus changes reaching every control.
#include <gtest/gtest.h>
#include <windows.h>

#include "gui/Forms.h"
#include "gui/StdCtrls.h"
#include "tests/support/MsgSequence.h"
#include "tests/support/Pump.h"

using namespace twtest;

namespace {

class GuiEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { Application->Initialize(); }
};
const auto* const kEnv = ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

class TCoreForm : public TForm {
  TW_DECLARE_CLASS(TCoreForm, TForm)
 public:
  using TForm::TForm;
  TButton* btnFree = nullptr;
  TPanel* Outer = nullptr;
  TEdit* Inner = nullptr;
  TLabel* Hot = nullptr;
  TButton* btnOther = nullptr;
  int clicks = 0;
  bool freeOnClick = false;
  bool aliveAfterFree = false;
  void btnFreeClick(TObject*) {
    ++clicks;
    if (!freeOnClick) return;
    Free(btnFree);
    // Still whole until its message returns: handlers may go on using it.
    aliveAfterFree = btnFree->HandleAllocated() && IsWindow(btnFree->Handle()) && btnFree->Caption() == L"Free me";
  }
  std::vector<std::string> mouse;
  void HotDown(TObject*, TMouseButton b, TShiftState s, int x, int y) {
    mouse.push_back("down " + std::to_string(b) + " " + std::to_string(x) + "," + std::to_string(y));
  }
  void HotUp(TObject*, TMouseButton b, TShiftState s, int x, int y) {
    mouse.push_back("up " + std::to_string(b) + " " + std::to_string(x) + "," + std::to_string(y));
  }
  void HotMove(TObject*, TShiftState s, int x, int y) {
    mouse.push_back("move " + std::to_string(x) + "," + std::to_string(y));
  }
  void HotClick(TObject*) { mouse.push_back("click"); }
};

TW_IMPLEMENT_CLASS(TCoreForm, [](TClassBuilder<TCoreForm>& c) {
  c.Component(L"btnFree", &TCoreForm::btnFree);
  c.Component(L"Outer", &TCoreForm::Outer);
  c.Component(L"Inner", &TCoreForm::Inner);
  c.Component(L"Hot", &TCoreForm::Hot);
  c.Component(L"btnOther", &TCoreForm::btnOther);
  c.Handler<TNotifyEvent>(L"btnFreeClick", &TCoreForm::btnFreeClick);
  c.Handler<TMouseEvent>(L"HotDown", &TCoreForm::HotDown);
  c.Handler<TMouseEvent>(L"HotUp", &TCoreForm::HotUp);
  c.Handler<TMouseMoveEvent>(L"HotMove", &TCoreForm::HotMove);
  c.Handler<TNotifyEvent>(L"HotClick", &TCoreForm::HotClick);
})

const wchar_t kForm[] =
    LR"(TCoreForm CoreForm {
  ClientWidth = 300 ClientHeight = 200 Caption = "core"
  TButton btnFree { Left = 8 Top = 8 Width = 80 Height = 24 Caption = "Free me" OnClick = btnFreeClick TabStop = True }
  TButton btnOther { Left = 100 Top = 8 Width = 80 Height = 24 Caption = "Other" TabStop = True }
  TPanel Outer {
    Left = 8 Top = 40 Width = 200 Height = 60
    TEdit Inner { Left = 4 Top = 4 Width = 120 Height = 21 }
  }
  TLabel Hot {
    Left = 20 Top = 120 Width = 60 Height = 20 Caption = "hot"
    OnMouseDown = HotDown OnMouseUp = HotUp OnMouseMove = HotMove OnClick = HotClick
  }
})";

class WindowCore : public ::testing::Test {
 protected:
  void SetUp() override {
    form = new TCoreForm(Application);
    LoadFormFromText(form, kForm);
    form->Show();
    ASSERT_TRUE(PumpUntilIdle());
  }
  void TearDown() override {
    TComponent::Free(form);
    PumpUntilIdle();
  }
  TCoreForm* form = nullptr;
};

// Free of a control inside its own click: the button's WM_LBUTTONUP is still
// running in the native button procedure when the handler frees it.
TEST_F(WindowCore, ControlFreedInsideItsOwnClickGoesAfterTheMessageReturns) {
  form->freeOnClick = true;
  HWND button = form->btnFree->Handle();
  struct Watch : TComponent {
    using TComponent::TComponent;
    bool gone = false;
    void Notification(TComponent* c, TOperation op) override {
      if (op == opRemove) gone = true;
    }
  } watch(nullptr);
  watch.FreeNotification(form->btnFree);
  SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(form->clicks, 1);
  EXPECT_TRUE(form->aliveAfterFree);
  EXPECT_TRUE(watch.gone) << "freed once the button's message returned";
  EXPECT_FALSE(IsWindow(button));
  EXPECT_EQ(form->FindComponent(L"btnFree"), nullptr);
  form->btnFree = nullptr;
}

TEST_F(WindowCore, FormReleasedFromItsOwnHandlerIsFreedByTheMessageLoop) {
  HWND h = form->Handle();
  TCoreForm* f = form;
  form = nullptr;
  f->Release();
  f->Release();  // twice: still one free
  EXPECT_TRUE(IsWindow(h));
  ASSERT_TRUE(PumpUntil([&] { return !IsWindow(h); }));
  for (int i = 0; i < Screen->FormCount(); ++i) EXPECT_NE(Screen->Forms(i), f);
}

TEST_F(WindowCore, RecreatingTheFormKeepsWhatLivesOnlyInGrandchildWindows) {
  HWND edit = form->Inner->Handle();
  // Typed by the user: the text lives only in the window.
  SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"用户输入"));
  form->SetBorderStyle(fbsDialog);  // recreates the form's window
  EXPECT_FALSE(IsWindow(edit));
  ASSERT_TRUE(form->Inner->HandleAllocated());
  EXPECT_NE(form->Inner->Handle(), edit);
  EXPECT_EQ(GetParent(form->Inner->Handle()), form->Outer->Handle());
  EXPECT_EQ(form->Inner->Text(), L"用户输入");
}

TEST_F(WindowCore, WindowLessChildGetsMouseEventsEnterLeaveAndKeepsTheCaptureWhilePressed) {
  TMsgLog log;
  TControlRecorder rec(log, form->Hot);
  HWND h = form->Handle();
  auto at = [](int x, int y) { return MAKELPARAM(x, y); };
  SendMessageW(h, WM_MOUSEMOVE, 0, at(10, 10));   // form only
  SendMessageW(h, WM_MOUSEMOVE, 0, at(25, 125));  // onto the label
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, at(30, 126));
  EXPECT_EQ(GetCapture(), h);
  SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, at(150, 170));  // dragged off: still the label's
  SendMessageW(h, WM_LBUTTONUP, 0, at(150, 170));
  EXPECT_NE(GetCapture(), h);
  SendMessageW(h, WM_MOUSEMOVE, 0, at(150, 171));  // now the form's again
  EXPECT_EQ(form->mouse, (std::vector<std::string>{"move 5,5", "down 0 10,6", "move 130,50", "up 0 130,50"}))
      << "no click: released outside";
  EXPECT_TRUE(ExpectSequence(log,
                             {{CM_MOUSEENTER, kControl},
                              {WM_MOUSEMOVE, kControl | kLParam, 0, at(5, 5)},
                              {WM_LBUTTONDOWN, kControl | kLParam, 0, at(10, 6)},
                              {CM_MOUSELEAVE, kControl},
                              {WM_MOUSEMOVE, kControl | kLParam, 0, at(130, 50)},
                              {WM_LBUTTONUP, kControl},
                              {CM_MOUSEENTER, kControl | kOptional}},
                             "label"));
  // A press and release inside is one click.
  form->mouse.clear();
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, at(30, 126));
  SendMessageW(h, WM_LBUTTONUP, 0, at(31, 127));
  EXPECT_EQ(form->mouse, (std::vector<std::string>{"down 0 10,6", "up 0 11,7", "click"}));
}

TEST_F(WindowCore, FocusChangesReachEveryControlOfTheForm) {
  TMsgLog log;
  TControlRecorder other(log, form->btnOther);
  TControlRecorder label(log, form->Hot, kParent);
  form->btnFree->SetFocus();
  ASSERT_TRUE(PumpUntil([&] { return log.Count(CM_FOCUSCHANGED) >= 2; }));
  EXPECT_TRUE(log.Contains(CM_FOCUSCHANGED, kControl));
  EXPECT_TRUE(log.Contains(CM_FOCUSCHANGED, kControl | kParent));
  for (const auto& e : log.Entries())
    if (e.Msg == CM_FOCUSCHANGED) EXPECT_EQ(e.LParam, reinterpret_cast<LPARAM>(form->btnFree));
  EXPECT_EQ(form->ActiveControl(), form->btnFree);
}

}  // namespace
