// Form descriptions: text, compiled bytes, and building components by name.
#include <gtest/gtest.h>

#include "gui/Classes.h"
#include "gui/FormData.h"

namespace {

enum TMode { mdOff, mdOn, mdAuto };
const TEnumInfo kModeInfo{L"TMode", {L"mdOff", L"mdOn", L"mdAuto"}};

class TWidget : public TComponent {
  TW_DECLARE_CLASS(TWidget, TComponent)
 public:
  explicit TWidget(TComponent* owner) : TComponent(owner) {}
  void SetParentComponent(TComponent* p) override { FParent = p; }
  TComponent* GetParentComponent() const override { return FParent; }
  void Loaded() override {
    TComponent::Loaded();
    ++loadedCalls;
  }
  void ReadBlob(const std::vector<uint8_t>& b) { blob = b; }
  std::vector<uint8_t> WriteBlob() { return blob; }
  TStringList* Lines() { return &FLines; }
  TComponent* FParent = nullptr;
  int FWidth = 0;
  bool FOn = false;
  TMode FMode{};
  int FSet = 0;
  int FColour = 0;
  std::wstring FCaption;
  TStringList FLines;
  TWidget* Buddy = nullptr;
  TNotifyEvent OnClick;
  TDelegate<void(TObject*, int)> OnCount;
  std::vector<uint8_t> blob;
  int loadedCalls = 0;
};
TW_IMPLEMENT_CLASS(TWidget, [](TClassBuilder<TWidget>& c) {
  c.Field(L"Width", &TWidget::FWidth);
  c.Field(L"On", &TWidget::FOn);
  c.Field(L"Mode", &TWidget::FMode, &kModeInfo);
  c.Field(L"Modes", &TWidget::FSet, &kModeInfo, true);
  c.ColourField(L"Color", &TWidget::FColour);
  c.Field(L"Caption", &TWidget::FCaption);
  c.Sub(L"Lines", TPropKind::StringList, &TWidget::Lines);
  c.Ref(L"Buddy", &TWidget::Buddy);
  c.Event(L"OnClick", &TWidget::OnClick);
  c.Event(L"OnCount", &TWidget::OnCount);
  c.Binary(L"Blob", &TWidget::ReadBlob, &TWidget::WriteBlob);
})

class TEntry : public TCollectionItem {
  TW_DECLARE_CLASS(TEntry, TCollectionItem)
 public:
  explicit TEntry(TCollection* c) : TCollectionItem(c) {}
  void ReadData(const std::vector<uint8_t>& b) { data = b; }
  std::vector<uint8_t> WriteData() { return data; }
  std::wstring FName;
  std::vector<uint8_t> data;
};
TW_IMPLEMENT_CLASS(TEntry, [](TClassBuilder<TEntry>& c) {
  c.Field(L"Name", &TEntry::FName);
  c.Binary(L"DataStream", &TEntry::ReadData, &TEntry::WriteData);
})

class TShelf : public TComponent {
  TW_DECLARE_CLASS(TShelf, TComponent)
 public:
  explicit TShelf(TComponent* owner)
      : TComponent(owner), FItems(this, [](TCollection* c) { return new TEntry(c); }) {}
  TCollection* Items() { return &FItems; }
  TCollection FItems;
};
TW_IMPLEMENT_CLASS(TShelf, [](TClassBuilder<TShelf>& c) { c.Sub(L"Items", TPropKind::Collection, &TShelf::Items); })

class TTestForm : public TComponent {
  TW_DECLARE_CLASS(TTestForm, TComponent)
 public:
  explicit TTestForm(TComponent* owner) : TComponent(owner) {}
  void WidgetClick(TObject* s) { clicked = s; }
  void Counted(TObject*, int n) { count = n; }
  TWidget* btnOne = nullptr;
  TShelf* Shelf1 = nullptr;
  TObject* clicked = nullptr;
  int count = 0;
  int FTop = 0;
};
TW_IMPLEMENT_CLASS(TTestForm, [](TClassBuilder<TTestForm>& c) {
  c.Field(L"Top", &TTestForm::FTop);
  c.Handler<TNotifyEvent>(L"WidgetClick", &TTestForm::WidgetClick);
  c.Handler<TDelegate<void(TObject*, int)>>(L"Counted", &TTestForm::Counted);
  c.Component(L"btnOne", &TTestForm::btnOne);
  c.Component(L"Shelf1", &TTestForm::Shelf1);
})

const wchar_t kForm[] = LR"(# a test form
TTestForm Form1 {
  Top = 12
  TWidget btnOne {
    Width = -5     // comment
    On = True
    Mode = mdAuto
    Modes = [mdOff, mdAuto]
    Color = clBtnFace
    Caption = "新增 \"quoted\"\t" "joined"
    Lines = ("one", "two",)
    Buddy = btnTwo
    OnClick = WidgetClick
    OnCount = Counted
    Blob = @hex "00 01 ff"
    TWidget inner { Width = 0x10 }
  }
  TWidget btnTwo { Buddy = Form1.x }
  TShelf Shelf1 {
    Items = {
      { Name = "SkinItem0" DataStream = @file "pkg0" }
      { Name = "SkinItem1" DataStream = @hex "" }
    }
  }
}
)";

std::vector<uint8_t> Resolve(const std::wstring& path) {
  if (path == L"pkg0") return {1, 2, 3, 4, 5};
  throw EFormError(L"file not found: " + path);
}

TFormNode ParseOk(const std::wstring& text) { return ParseFormText(text, Resolve, L"test.form"); }

std::wstring ErrorOf(const std::wstring& text) {
  try {
    TFormNode n = ParseOk(text);
    TTestForm f(nullptr);
    ReadComponentTree(&f, n, L"test.form");
  } catch (const EFormError& e) {
    return e.Message();
  }
  return L"(no error)";
}

}  // namespace

TEST(FormText, ParsesEveryValueKind) {
  std::wstring text = kForm;
  // btnTwo's reference to a dotted name is kept as an identifier.
  TFormNode root = ParseOk(text);
  EXPECT_EQ(root.className, L"TTestForm");
  EXPECT_EQ(root.name, L"Form1");
  ASSERT_EQ(root.children.size(), 3u);
  const TFormNode& one = root.children[0];
  EXPECT_EQ(one.line, 4u);
  ASSERT_EQ(one.props.size(), 11u);
  EXPECT_EQ(one.props[0].value.number, -5);
  EXPECT_EQ(one.props[3].value.items, (std::vector<std::wstring>{L"mdOff", L"mdAuto"}));
  EXPECT_EQ(one.props[5].value.text, L"新增 \"quoted\"\tjoined");
  EXPECT_EQ(one.props[6].value.items, (std::vector<std::wstring>{L"one", L"two"}));
  EXPECT_EQ(one.props[10].value.bytes, (std::vector<uint8_t>{0, 1, 0xFF}));
  EXPECT_EQ(one.children[0].props[0].value.number, 16);
  const TFormValue& items = root.children[2].props[0].value;
  ASSERT_EQ(items.collection.size(), 2u);
  EXPECT_EQ(items.collection[0][1].value.bytes, (std::vector<uint8_t>{1, 2, 3, 4, 5}));
  EXPECT_TRUE(items.collection[1][1].value.bytes.empty());
}

TEST(FormText, SyntaxErrorsNameTheLine) {
  struct Case {
    const wchar_t* text;
    const wchar_t* expected;
  } cases[] = {
      {L"TTestForm F {\n  Top = \n}", L"test.form line 3: expected a value"},
      {L"TTestForm F {\n Caption = \"open\n}", L"line 2: unterminated string"},
      {L"TTestForm F {\n Top = 12x\n}", L"line 2: bad number"},
      {L"TTestForm F {\n X = @hex \"123\"\n}", L"line 2: odd number of hex digits"},
      {L"TTestForm F {\n X = @file \"missing\"\n}", L"line 2: file not found: missing"},
      {L"TTestForm F {\n X = @zip \"a\"\n}", L"line 2: expected file or hex"},
      {L"TTestForm F {\n Top = 1\n", L"missing '}'"},
      {L"TTestForm F { } extra", L"text after the end"},
      {L"TTestForm F {\n X = [a b]\n}", L"expected ','"},
      {L"TTestForm F {\n X = { { TWidget w { } } }\n}", L"objects cannot be nested in a collection item"},
      {L"TTestForm F {\n Caption = \"\\q\"\n}", L"unknown escape"},
      {L"TTestForm F {\n Top = 1 ~\n}", L"unexpected character '~'"},
  };
  for (const auto& c : cases) {
    std::wstring message;
    try {
      ParseOk(c.text);
    } catch (const EFormError& e) {
      message = e.Message();
    }
    EXPECT_NE(message.find(c.expected), std::wstring::npos)
        << "got: " << WideToUtf8(message) << "\nwanted: " << WideToUtf8(c.expected);
  }
  // Deep nesting is refused, not a stack overflow.
  std::wstring deep;
  for (int i = 0; i < 200; ++i) deep += L"TWidget w {\n";
  EXPECT_NE(ErrorOf(deep).find(L"nested too deeply"), std::wstring::npos);
}

TEST(FormBinary, RoundTripsAndRejectsEveryTruncation) {
  TFormNode root = ParseOk(kForm);
  std::vector<uint8_t> bytes = WriteFormBinary(root);
  TFormNode back = ReadFormBinary(bytes.data(), bytes.size());
  EXPECT_EQ(WriteFormBinary(back), bytes);
  EXPECT_EQ(back.children[0].props[5].value.text, L"新增 \"quoted\"\tjoined");
  for (size_t n = 0; n < bytes.size(); ++n)
    EXPECT_THROW(ReadFormBinary(bytes.data(), n), EFormError) << "length " << n;
  std::vector<uint8_t> longer = bytes;
  longer.push_back(0);
  EXPECT_THROW(ReadFormBinary(longer.data(), longer.size()), EFormError);
  // A huge count must not allocate: it is checked against what is left.
  std::vector<uint8_t> bogus = {'T', 'W', 'F', '1', 0xFF, 0xFF, 0xFF, 0x7F};
  EXPECT_THROW(ReadFormBinary(bogus.data(), bogus.size()), EFormError);
  EXPECT_THROW(ReadFormBinary(nullptr, 0), EFormError);
}

TEST(FormReader, BuildsComponentsSetsPropertiesAndWiresHandlers) {
  TFormNode root = ParseOk(kForm);
  // Fix the dotted reference that the syntax test kept.
  root.children[1].props[0].value.text = L"btnOne";
  TTestForm form(nullptr);
  ReadComponentTree(&form, root, L"test.form");
  EXPECT_EQ(form.Name(), L"Form1");
  EXPECT_EQ(form.FTop, 12);
  ASSERT_NE(form.btnOne, nullptr);
  TWidget* one = form.btnOne;
  EXPECT_EQ(one->Owner(), &form);
  EXPECT_EQ(one->FParent, &form);
  EXPECT_EQ(one->FWidth, -5);
  EXPECT_TRUE(one->FOn);
  EXPECT_EQ(GetEnumProp(one, L"Mode"), L"mdAuto");
  EXPECT_EQ(one->FSet, 5);
  EXPECT_EQ(GetIntProp(one, L"Color"), static_cast<int>(0xFF00000F));
  EXPECT_EQ(one->FLines.Lines(), (std::vector<std::wstring>{L"one", L"two"}));
  EXPECT_EQ(one->blob, (std::vector<uint8_t>{0, 1, 0xFF}));
  auto* two = dynamic_cast<TWidget*>(form.FindComponent(L"btnTwo"));
  ASSERT_NE(two, nullptr);
  EXPECT_EQ(one->Buddy, two);  // forward reference resolved at the end
  EXPECT_EQ(two->Buddy, one);
  auto* inner = dynamic_cast<TWidget*>(form.FindComponent(L"inner"));
  ASSERT_NE(inner, nullptr);
  EXPECT_EQ(inner->FParent, one);
  EXPECT_EQ(inner->FWidth, 16);
  EXPECT_EQ(one->loadedCalls, 1);
  EXPECT_EQ(inner->loadedCalls, 1);
  EXPECT_FALSE(one->Loading());
  // Events reach the form's handlers.
  one->OnClick(one);
  EXPECT_EQ(form.clicked, one);
  one->OnCount(one, 9);
  EXPECT_EQ(form.count, 9);
  // Collections with binary item properties.
  ASSERT_NE(form.Shelf1, nullptr);
  ASSERT_EQ(form.Shelf1->FItems.Count(), 2);
  auto* e0 = form.Shelf1->FItems.ItemAs<TEntry>(0);
  EXPECT_EQ(e0->FName, L"SkinItem0");
  EXPECT_EQ(e0->data, (std::vector<uint8_t>{1, 2, 3, 4, 5}));
  EXPECT_TRUE(form.Shelf1->FItems.ItemAs<TEntry>(1)->data.empty());
}

TEST(FormReader, UnknownNamesAndMisfitsAreErrorsWithTheirPlace) {
  struct Case {
    const wchar_t* text;
    const wchar_t* expected;
  } cases[] = {
      {L"TTestForm F {\n TNoSuch x { }\n}", L"line 2: x: unknown class TNoSuch"},
      {L"TTestForm F {\n TWidget w {\n  Height = 3\n }\n}", L"line 3: w.Height: unknown property"},
      {L"TTestForm F {\n TWidget w { OnClick = NoHandler }\n}", L"w.OnClick: unknown handler NoHandler"},
      {L"TTestForm F {\n TWidget w { OnClick = Counted }\n}", L"handler Counted has another signature"},
      {L"TTestForm F {\n TWidget w { Mode = mdMaybe }\n}", L"w.Mode: Invalid value \"mdMaybe\""},
      {L"TTestForm F {\n TWidget w { Width = \"12\" }\n}", L"a quoted text for a property that is not a string"},
      {L"TTestForm F {\n TWidget w { Buddy = nobody }\n}", L"w.Buddy: no component named nobody"},
      {L"TTestForm F {\n TWidget w { Nope = @hex \"00\" }\n}", L"w.Nope: unknown binary property"},
      {L"TTestForm F {\n TShelf s { Items = { { Size = 1 } } }\n}", L"s.Items[0].Size: unknown property"},
      {L"TTestForm F {\n TShelf btnOne { }\n}", L"field btnOne does not hold a TShelf"},
      {L"TTestForm F {\n TWidget w { }\n TWidget w { }\n}", L"line 3: w: A component named w already exists"},
      {L"TWidget F { }", L"the root object is a TTestForm, not a TWidget"},
      {L"TTestForm F {\n TComponent c { }\n}", L"(no error)"},
  };
  for (const auto& c : cases) {
    std::wstring message = ErrorOf(c.text);
    EXPECT_NE(message.find(c.expected), std::wstring::npos)
        << "got: " << WideToUtf8(message) << "\nwanted: " << WideToUtf8(c.expected);
  }
}
