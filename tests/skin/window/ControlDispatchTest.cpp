// The child-control dispatch under Wine: a library form's controls get their
// kinds once, gated by DisableTag, OnSkinControl, Skin3rd and the switches; a
// dialog's child windows are classified by class and style.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>

#include "gui/Buttons.h"
#include "gui/ComCtrls.h"
#include "gui/Forms.h"
#include "gui/StdCtrls.h"
#include "skin/controls/SkinBox.h"
#include "skin/controls/SkinBoxH.h"
#include "skin/controls/SkinBitButton.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinCheckBox.h"
#include "skin/controls/SkinGroupBox.h"
#include "skin/controls/SkinProgress.h"
#include "skin/controls/SkinSizer.h"
#include "skin/window/ControlDispatch.h"
#include "tests/skin/controls/support/TestFrame.h"
#include "tests/support/Pump.h"

using namespace skintest;

// A radio group of a foreign kind: only its class name matters here.
class TTestRadioGroup : public TCustomGroupBox {
  TW_DECLARE_CLASS(TTestRadioGroup, TCustomGroupBox)
 public:
  using TCustomGroupBox::TCustomGroupBox;
};
TW_IMPLEMENT_CLASS(TTestRadioGroup, [](TClassBuilder<TTestRadioGroup>&) {})

namespace {

class ControlDispatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static const bool initialized = (Application->Initialize(), true);
    (void)initialized;
    form = new TForm(Application);
    form->SetBounds(40, 40, 520, 360);
    button = Add<TButton>(form, 10, 10, 80, 25);
    tagged = Add<TButton>(form, 100, 10, 80, 25);
    tagged->SetTag(99);
    group = Add<TGroupBox>(form, 10, 50, 200, 100);
    inGroup = Add<TButton>(group, 10, 20, 80, 25);
    auto* label = Add<TLabel>(group, 10, 60, 80, 16);
    label->SetCaption(L"label");
    panel = Add<TPanel>(form, 220, 50, 200, 100);
    inPanel = Add<TButton>(panel, 10, 20, 80, 25);
    progress = Add<TProgressBar>(form, 10, 170, 300, 20);
    form->Show();
    frame = std::make_unique<TTestFrame>(form->Handle());
    twtest::PumpUntilIdle();
  }
  void TearDown() override {
    frame.reset();
    TComponent::Free(form);
    twtest::PumpPending();
  }
  template <class T>
  T* Add(TWinControl* parent, int x, int y, int w, int h) {
    auto* c = new T(form);
    c->SetParent(parent);
    c->SetBounds(x, y, w, h);
    return c;
  }
  template <class T>
  T* SkinOf(TWinControl* c) {
    return dynamic_cast<T*>(frame->Find(c->Handle()));
  }
  static bool Skinned(TWinControl* c) { return SendMessageW(c->Handle(), WM_SKINQUERY, 0, 0) == 1; }

  TForm* form = nullptr;
  TButton *button = nullptr, *tagged = nullptr, *inGroup = nullptr, *inPanel = nullptr;
  TGroupBox* group = nullptr;
  TPanel* panel = nullptr;
  TProgressBar* progress = nullptr;
  std::unique_ptr<TTestFrame> frame;
};

TEST_F(ControlDispatchTest, EveryBuiltKindOnceAndNothingForTheDisableTag) {
  SkinChildControls(*frame, form);
  EXPECT_NE(SkinOf<TSkinButton>(button), nullptr);
  EXPECT_NE(SkinOf<TSkinButton>(inGroup), nullptr);
  EXPECT_NE(SkinOf<TSkinButton>(inPanel), nullptr);
  EXPECT_NE(SkinOf<TSkinGroupBox>(group), nullptr);
  EXPECT_NE(SkinOf<TSkinBox>(panel), nullptr);
  EXPECT_EQ(panel->Color(), TColor(RGB(200, 200, 200))) << "panels take the skin's face colour";
  EXPECT_NE(SkinOf<TSkinProgress>(progress), nullptr);
  for (TWinControl* c : std::initializer_list<TWinControl*>{button, inGroup, inPanel, group, panel, progress})
    EXPECT_TRUE(Skinned(c)) << "answers the skin query: " << ::testing::PrintToString(c->ClassName());
  EXPECT_FALSE(Skinned(tagged));
  EXPECT_EQ(frame->Find(tagged->Handle()), nullptr);

  const size_t count = frame->List().size();
  SkinChildControls(*frame, form);
  EXPECT_EQ(frame->List().size(), count) << "a second dispatch skins nothing twice";
}

TEST_F(ControlDispatchTest, GlyphButtonsAndCheckBoxesGetTheirOwnKinds) {
  auto* glyph = Add<TBitBtn>(form, 320, 170, 80, 25);
  auto* check = Add<TCheckBox>(form, 320, 200, 80, 20);
  SkinChildControls(*frame, form);
  EXPECT_NE(SkinOf<TSkinBitButton>(glyph), nullptr) << "a glyph button is not painted as a plain push button";
  EXPECT_NE(SkinOf<TSkinCheckBox>(check), nullptr);
  EXPECT_TRUE(Skinned(button));
}

TEST_F(ControlDispatchTest, SwitchedOffKindsStayNative) {
  frame->Controls &= ~((1u << xcButton) | (1u << xcPanel));
  SkinChildControls(*frame, form);
  EXPECT_FALSE(Skinned(button));
  EXPECT_FALSE(Skinned(inPanel));
  EXPECT_FALSE(Skinned(group)) << "group boxes of the class table need xcPanel";
  EXPECT_FALSE(Skinned(panel));
  EXPECT_TRUE(Skinned(progress));
}

TEST_F(ControlDispatchTest, Skin3rdDecidesBeforeTheClassTable) {
  frame->Third.Add(L"TButtonX=progress");
  frame->Third.Add(L"tbutton=NIL");
  frame->Third.Add(L"TButton=button");
  frame->Third.Add(L"TProgressBar=Button");
  SkinChildControls(*frame, form);
  EXPECT_FALSE(Skinned(button)) << "the first matching line, nil, keeps push buttons native";
  EXPECT_FALSE(Skinned(inPanel));
  EXPECT_NE(SkinOf<TSkinButton>(progress), nullptr) << "the map's kind, not the class table's";
}

TEST_F(ControlDispatchTest, OnSkinControlMakesTheObject) {
  frame->OnSkinControl = [&](TWinControl* parent, TControl* control, const std::wstring& cls) -> TSkinControl* {
    if (control != button) return nullptr;
    EXPECT_EQ(cls, L"TBUTTON");
    EXPECT_EQ(parent, form);
    auto* made = new TSkinGroupBox(control);
    made->SetManageColor(true);
    return made;
  };
  const TColor before = button->Color();
  SkinChildControls(*frame, form);
  EXPECT_NE(SkinOf<TSkinGroupBox>(button), nullptr);
  EXPECT_EQ(button->Color(), TColor(RGB(200, 200, 200))) << "attached with the object's own manage-colour flag";
  frame->ReleaseAll();
  EXPECT_EQ(button->Color(), before);
}

TEST_F(ControlDispatchTest, DisableTagOnARadioGroupTagsItsButtons) {
  auto* radios = Add<TTestRadioGroup>(form, 220, 170, 200, 80);
  auto* a = Add<TButton>(radios, 10, 20, 80, 25);
  radios->SetTag(99);
  SkinChildControl(*frame, radios, form);
  EXPECT_EQ(a->Tag(), 99);
  SkinChildControls(*frame, form);
  EXPECT_FALSE(Skinned(radios));
  EXPECT_FALSE(Skinned(a));
}

TEST(Skin3rdLookup, WholeClassNameFirstLineLowerCaseKindAtMostFifty) {
  TStringList lines;
  lines.Add(L"TEditX=combobox");
  lines.Add(L"TEdit=Edit");
  lines.Add(L"tedit=panel");
  lines.Add(L"TLong=" + std::wstring(60, L'K'));
  std::wstring kind;
  ASSERT_TRUE(LookupSkin3rd(&lines, L"TEDIT", kind));
  EXPECT_EQ(kind, L"edit");
  ASSERT_TRUE(LookupSkin3rd(&lines, L"TLong", kind));
  EXPECT_EQ(kind, std::wstring(50, L'k'));
  EXPECT_FALSE(LookupSkin3rd(&lines, L"TEdi", kind));
  EXPECT_FALSE(LookupSkin3rd(nullptr, L"TEdit", kind));
}

TEST(ButtonStyles, PushCheckRadioAndTheUnskinnedKinds) {
  EXPECT_EQ(ButtonStyleKind(BS_PUSHBUTTON), TSkinKind::Button);
  EXPECT_EQ(ButtonStyleKind(BS_DEFPUSHBUTTON | WS_TABSTOP), TSkinKind::Button);
  EXPECT_EQ(ButtonStyleKind(BS_AUTOCHECKBOX), TSkinKind::CheckBox);
  EXPECT_EQ(ButtonStyleKind(BS_AUTO3STATE), TSkinKind::CheckBox);
  EXPECT_EQ(ButtonStyleKind(BS_RADIOBUTTON), TSkinKind::RadioButton);
  EXPECT_EQ(ButtonStyleKind(BS_AUTORADIOBUTTON), TSkinKind::RadioButton);
  EXPECT_EQ(ButtonStyleKind(BS_GROUPBOX), TSkinKind::None);
  EXPECT_EQ(ButtonStyleKind(BS_OWNERDRAW), TSkinKind::None);
  EXPECT_EQ(ButtonStyleKind(BS_PUSHBUTTON | BS_BITMAP), TSkinKind::None);
  EXPECT_EQ(ButtonStyleKind(0x0C), TSkinKind::None) << "split button";
  EXPECT_EQ(ButtonStyleKind(0x0D), TSkinKind::None) << "default split button";
}

TEST_F(ControlDispatchTest, DialogChildWindowsByClassAndStyle) {
  HWND dialog = CreateWindowW(L"#32770", L"", WS_CHILD | WS_VISIBLE, 0, 0, 500, 300, form->Handle(), nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  auto child = [&](const wchar_t* cls, DWORD style, HWND parent) {
    return CreateWindowW(cls, L"x", WS_CHILD | WS_VISIBLE | style, 0, 0, 60, 20, parent, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
  };
  HWND push = child(L"BUTTON", BS_PUSHBUTTON, dialog);
  HWND def = child(L"BUTTON", BS_DEFPUSHBUTTON, dialog);
  HWND groupBox = child(L"BUTTON", BS_GROUPBOX, dialog);
  HWND owner = child(L"BUTTON", BS_OWNERDRAW, dialog);
  HWND grip = child(L"SCROLLBAR", SBS_SIZEGRIP, dialog);
  HWND bar = child(L"SCROLLBAR", SBS_VERT, dialog);
  HWND text = child(L"STATIC", 0, dialog);
  HWND nested = child(L"#32770", 0, dialog);
  HWND nestedPush = child(L"BUTTON", BS_PUSHBUTTON, nested);

  SkinChildWindows(*frame, dialog);
  EXPECT_NE(dynamic_cast<TSkinButton*>(frame->Find(push)), nullptr);
  EXPECT_NE(dynamic_cast<TSkinButton*>(frame->Find(def)), nullptr);
  EXPECT_NE(dynamic_cast<TSkinSizer*>(frame->Find(grip)), nullptr);
  EXPECT_NE(dynamic_cast<TSkinBoxH*>(frame->Find(nested)), nullptr);
  EXPECT_NE(dynamic_cast<TSkinButton*>(frame->Find(nestedPush)), nullptr);
  for (HWND w : {groupBox, owner, bar, text}) EXPECT_EQ(frame->Find(w), nullptr);
  EXPECT_EQ(frame->List().size(), 5u);
  SkinChildWindows(*frame, dialog);
  EXPECT_EQ(frame->List().size(), 5u) << "listed windows are not skinned again";
  frame->ReleaseAll();
  DestroyWindow(dialog);
}

}  // namespace
