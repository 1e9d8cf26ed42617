// Keyboard of forms under Wine, through the application's message handling:
// Enter presses the default button (or the focused one), Escape the cancel
// button, unless the focused control takes the key itself; a label's access
// key moves the focus to its FocusControl.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "gui/Forms.h"
#include "gui/StdCtrls.h"
#include "tests/support/AppLoop.h"
#include "tests/support/Pump.h"

using namespace twtest;

namespace {

const auto* const kEnv = ::testing::AddGlobalTestEnvironment(new TApplicationEnvironment);

class TKeysForm : public TForm {
  TW_DECLARE_CLASS(TKeysForm, TForm)
 public:
  using TForm::TForm;
  TButton *btnOk = nullptr, *btnCancel = nullptr, *btnOther = nullptr;
  TEdit* edtName = nullptr;
  TMemo* memNotes = nullptr;
  TComboBox* cboKind = nullptr;
  TLabel *lblName = nullptr, *lblPlain = nullptr;
  std::vector<std::wstring> clicks;
  void ButtonClick(TObject* sender) { clicks.push_back(static_cast<TComponent*>(sender)->Name()); }
};

TW_IMPLEMENT_CLASS(TKeysForm, [](TClassBuilder<TKeysForm>& c) {
  c.Component(L"btnOk", &TKeysForm::btnOk);
  c.Component(L"btnCancel", &TKeysForm::btnCancel);
  c.Component(L"btnOther", &TKeysForm::btnOther);
  c.Component(L"edtName", &TKeysForm::edtName);
  c.Component(L"memNotes", &TKeysForm::memNotes);
  c.Component(L"cboKind", &TKeysForm::cboKind);
  c.Component(L"lblName", &TKeysForm::lblName);
  c.Component(L"lblPlain", &TKeysForm::lblPlain);
  c.Handler<TNotifyEvent>(L"ButtonClick", &TKeysForm::ButtonClick);
})

const wchar_t kForm[] = LR"(TKeysForm KeysForm {
  ClientWidth = 360 ClientHeight = 220 Caption = "keys"
  TLabel lblName { Left = 8 Top = 12 Caption = "&Name" FocusControl = edtName }
  TEdit edtName { Left = 80 Top = 8 Width = 160 Height = 21 }
  TMemo memNotes { Left = 80 Top = 36 Width = 160 Height = 60 }
  TComboBox cboKind { Left = 80 Top = 104 Width = 160 Height = 120 Style = csDropDownList }
  TLabel lblPlain { Left = 8 Top = 140 Caption = "A&&B" ShowAccelChar = False }
  TButton btnOk { Left = 8 Top = 180 Caption = "OK" Default = True OnClick = ButtonClick }
  TButton btnCancel { Left = 96 Top = 180 Caption = "Cancel" Cancel = True OnClick = ButtonClick }
  TButton btnOther { Left = 184 Top = 180 Caption = "&Other" OnClick = ButtonClick }
})";

class DialogKeys : public ::testing::Test {
 protected:
  void SetUp() override {
    form = new TKeysForm(Application);
    LoadFormFromText(form, kForm);
    form->cboKind->Items()->Add(L"one");
    form->cboKind->Items()->Add(L"two");
    form->Show();
    SetForegroundWindow(form->Handle());
    ASSERT_TRUE(PumpUntilIdle());
  }
  void TearDown() override {
    TComponent::Free(form);
    PumpUntilIdle();
  }
  // A key as the message loop gets it from the keyboard, on the focused window.
  void Press(WPARAM key) {
    HWND focus = GetFocus();
    ASSERT_TRUE(focus);
    PostMessageW(focus, WM_KEYDOWN, key, 1);
    PostMessageW(focus, WM_KEYUP, key, 0xC0000001);
    ASSERT_TRUE(PumpUntilIdle());
  }
  void Focus(TWinControl* c) {
    c->SetFocus();
    ASSERT_EQ(GetFocus(), c->Handle());
  }
  TKeysForm* form = nullptr;
};

using Clicks = std::vector<std::wstring>;

}  // namespace

TEST_F(DialogKeys, EnterPressesTheDefaultOrFocusedButtonAndEscapeTheCancelButton) {
  Focus(form->edtName);
  Press(VK_RETURN);
  EXPECT_EQ(form->clicks, Clicks{L"btnOk"});
  EXPECT_EQ(GetFocus(), form->edtName->Handle()) << "pressing by key leaves the focus where it was";
  Press(VK_ESCAPE);
  EXPECT_EQ(form->clicks, (Clicks{L"btnOk", L"btnCancel"}));

  // A focused push button takes Enter in place of the default one.
  form->clicks.clear();
  Focus(form->btnOther);
  Press(VK_RETURN);
  EXPECT_EQ(form->clicks, Clicks{L"btnOther"});

  // Disabled or hidden, neither button is pressed.
  form->clicks.clear();
  Focus(form->edtName);
  form->btnOk->SetEnabled(false);
  form->btnCancel->SetVisible(false);
  Press(VK_RETURN);
  Press(VK_ESCAPE);
  EXPECT_TRUE(form->clicks.empty());
}

TEST_F(DialogKeys, ControlsThatTakeEnterOrEscapeKeepThem) {
  // A multi-line edit takes Enter as a new line.
  Focus(form->memNotes);
  Press(VK_RETURN);
  EXPECT_TRUE(form->clicks.empty());
  wchar_t typed[8] = {};
  GetWindowTextW(form->memNotes->Handle(), typed, 8);
  EXPECT_STREQ(typed, L"\r\n");

  // Escape closes an open drop-down list, not the form's dialog.
  Focus(form->cboKind);
  SendMessageW(form->cboKind->Handle(), CB_SHOWDROPDOWN, TRUE, 0);
  ASSERT_TRUE(SendMessageW(form->cboKind->Handle(), CB_GETDROPPEDSTATE, 0, 0));
  Press(VK_ESCAPE);
  EXPECT_TRUE(form->clicks.empty());
  EXPECT_FALSE(SendMessageW(form->cboKind->Handle(), CB_GETDROPPEDSTATE, 0, 0));
  // Closed, the list no longer keeps it.
  Press(VK_ESCAPE);
  EXPECT_EQ(form->clicks, Clicks{L"btnCancel"});
}

TEST_F(DialogKeys, LabelAccessKeyFocusesItsControlAndForgetsAFreedOne) {
  Focus(form->btnOther);
  // Alt+N as the message loop gets it.
  PostMessageW(GetFocus(), WM_SYSCHAR, L'n', 1 << 29);
  ASSERT_TRUE(PumpUntilIdle());
  EXPECT_EQ(GetFocus(), form->edtName->Handle());
  EXPECT_TRUE(form->clicks.empty());

  // "&&" shows one ampersand; without ShowAccelChar the text stands as it is.
  TLabel* shown = form->lblPlain;
  const int literal = shown->Width();
  shown->SetShowAccelChar(true);
  const int oneAmpersand = shown->Width();
  EXPECT_LT(oneAmpersand, literal);
  shown->SetCaption(L"A&B");
  shown->SetShowAccelChar(false);
  EXPECT_EQ(shown->Width(), oneAmpersand);

  // A disabled target does not take the focus; the key goes on.
  form->edtName->SetEnabled(false);
  Focus(form->btnOther);
  EXPECT_EQ(form->Perform(CM_DIALOGCHAR, L'n', 1 << 29), 0);
  EXPECT_EQ(GetFocus(), form->btnOther->Handle());

  // Freeing the target clears the label's reference.
  TComponent::Free(form->edtName);
  form->edtName = nullptr;
  EXPECT_EQ(form->lblName->FocusControl(), nullptr);
  EXPECT_EQ(form->Perform(CM_DIALOGCHAR, L'n', 1 << 29), 0);
}
