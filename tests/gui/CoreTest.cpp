// Object model: ownership, free-notification, the class registry, published
// properties by name, delegates.
#include <gtest/gtest.h>

#include "gui/Classes.h"
#include "gui/Colours.h"
#include "gui/Core.h"

namespace {

enum TShape { shNone, shSquare, shCircle };
const TEnumInfo kShapeInfo{L"TShape", {L"shNone", L"shSquare", L"shCircle"}};
const TEnumInfo kFlagInfo{L"TFlag", {L"fA", L"fB", L"fC", L"fD"}};

std::vector<std::wstring>* gLog = nullptr;

class TProbe : public TComponent {
  TW_DECLARE_CLASS(TProbe, TComponent)
 public:
  explicit TProbe(TComponent* owner) : TComponent(owner) {}
  ~TProbe() override {
    if (gLog) gLog->push_back(L"free " + Name());
  }
  int Count() const { return FCount; }
  void SetCount(int v) { FCount = v; }
  std::wstring Title() const { return FTitle; }
  void SetTitle(const std::wstring& t) { FTitle = t; }
  TStringList* Lines() { return &FLines; }
  TProbe* Partner = nullptr;
  int FCount = 0;
  bool FFlag = false;
  TShape FShape = shNone;
  int FFlags = 0;
  int FColour = 0;
  std::wstring FTitle;
  TStringList FLines;
  TNotifyEvent OnPing;

 protected:
  void Notification(TComponent* c, TOperation op) override {
    TComponent::Notification(c, op);
    if (op == opRemove && c == Partner) Partner = nullptr;
  }
};

TW_IMPLEMENT_CLASS(TProbe, [](TClassBuilder<TProbe>& c) {
  c.Int(L"Count", &TProbe::Count, &TProbe::SetCount);
  c.Field(L"Flag", &TProbe::FFlag);
  c.Field(L"Shape", &TProbe::FShape, &kShapeInfo);
  c.Field(L"Flags", &TProbe::FFlags, &kFlagInfo, true);
  c.ColourField(L"Color", &TProbe::FColour);
  c.Str(L"Title", &TProbe::Title, &TProbe::SetTitle);
  c.Sub(L"Lines", TPropKind::StringList, &TProbe::Lines);
  c.Ref(L"Partner", &TProbe::Partner);
  c.Event(L"OnPing", &TProbe::OnPing);
})

// A subclass sees its parent's properties.
class TProbeChild : public TProbe {
  TW_DECLARE_CLASS(TProbeChild, TProbe)
 public:
  using TProbe::TProbe;
  int FExtra = 7;
};
TW_IMPLEMENT_CLASS(TProbeChild, [](TClassBuilder<TProbeChild>& c) { c.Field(L"Extra", &TProbeChild::FExtra); })

struct Listener {
  int calls = 0;
  TObject* last = nullptr;
  void Ping(TObject* s) {
    ++calls;
    last = s;
  }
  void Other(TObject*) {}
};

}  // namespace

TEST(Ownership, OwnerFreesOwnedNewestFirstAndClearsReferences) {
  std::vector<std::wstring> log;
  gLog = &log;
  auto* root = new TProbe(nullptr);
  root->SetName(L"root");
  auto* a = new TProbe(root);
  a->SetName(L"a");
  auto* b = new TProbe(root);
  b->SetName(L"b");
  auto* c = new TProbe(a);
  c->SetName(L"c");
  auto* d = new TProbe(root);
  d->SetName(L"d");
  EXPECT_EQ(root->ComponentCount(), 3);
  EXPECT_EQ(root->FindComponent(L"B"), b);
  EXPECT_EQ(b->ComponentIndex(), 1);

  // An outside object holding a reference learns when its target goes.
  TProbe outside(nullptr);
  outside.Partner = b;
  outside.FreeNotification(b);
  delete b;
  EXPECT_EQ(outside.Partner, nullptr);
  EXPECT_EQ(root->ComponentCount(), 2);

  // A grandchild freed through its owner's owner also clears the reference.
  outside.Partner = c;
  outside.FreeNotification(c);
  delete root;
  EXPECT_EQ(outside.Partner, nullptr);
  gLog = nullptr;
  // Each object logs before its owned ones go; siblings go newest first.
  std::vector<std::wstring> expected{L"free b", L"free root", L"free d", L"free a", L"free c"};
  EXPECT_EQ(log, expected);
}

TEST(Ownership, DuplicateSiblingNameIsRefusedAndChangeOwnerMoves) {
  TProbe root(nullptr);
  auto* a = new TProbe(&root);
  a->SetName(L"one");
  auto* b = new TProbe(&root);
  EXPECT_THROW(b->SetName(L"ONE"), EComponentError);
  EXPECT_EQ(b->Name(), L"");
  b->SetName(L"two");
  TProbe other(nullptr);
  b->ChangeOwner(&other);
  EXPECT_EQ(root.ComponentCount(), 1);
  EXPECT_EQ(other.FindComponent(L"two"), b);
}

TEST(Registry, ClassesAreFoundByNameAndCreateInstances) {
  const TClassInfo* info = FindClassInfo(L"tprobechild");
  ASSERT_NE(info, nullptr);
  EXPECT_TRUE(info->InheritsFrom(TProbe::StaticClass()));
  EXPECT_TRUE(info->InheritsFrom(TComponent::StaticClass()));
  EXPECT_FALSE(TProbe::StaticClass().InheritsFrom(*info));
  TProbe owner(nullptr);
  TComponent* made = info->create(&owner);
  EXPECT_EQ(made->ClassName(), L"TProbeChild");
  EXPECT_EQ(made->Owner(), &owner);
  EXPECT_TRUE(made->Is<TProbe>());
  EXPECT_EQ(FindClassInfo(L"TNoSuchClass"), nullptr);
}

TEST(Properties, EveryKindRoundTripsAsText) {
  TProbe root(nullptr);
  auto* p = new TProbeChild(&root);
  auto* q = new TProbe(&root);
  q->SetName(L"other");
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {L"Count", L"-42"},          {L"Flag", L"True"},          {L"Shape", L"shCircle"},
      {L"Flags", L"[fA,fC]"},      {L"Color", L"clBtnFace"},    {L"Title", L"设置 \"x\""},
      {L"Partner", L"other"},      {L"Extra", L"9"},            {L"Tag", L"99"},
      {L"Name", L"probe"},         {L"Lines.Text", L"a\r\nb\r\n"},
  };
  for (auto [name, value] : cases) {
    SetPropText(p, name, value);
    std::wstring back;
    ASSERT_TRUE(GetPropText(p, name, back)) << WideToUtf8(name);
    EXPECT_EQ(back, value) << WideToUtf8(name);
  }
  EXPECT_EQ(p->FShape, shCircle);
  EXPECT_EQ(p->FFlags, 5);
  EXPECT_EQ(p->FColour, clBtnFace);
  EXPECT_EQ(p->Partner, q);
  EXPECT_EQ(p->Lines()->Count(), 2);
  // Typed readers used by the skin engine.
  EXPECT_EQ(GetIntProp(p, L"Count"), -42);
  EXPECT_EQ(GetIntProp(p, L"Color"), static_cast<int>(0xFF00000F));
  EXPECT_EQ(GetEnumProp(p, L"Shape"), L"shCircle");
  EXPECT_EQ(GetEnumProp(p, L"Flag"), L"True");
  EXPECT_EQ(GetStrProp(p, L"Title"), L"设置 \"x\"");
  EXPECT_EQ(GetObjectProp(p, L"Lines", &TStrings::StaticClass()), p->Lines());
  EXPECT_EQ(GetObjectProp(p, L"Lines", &TComponent::StaticClass()), nullptr);
  // Colours as numbers: decimal, 0x and $ hex; written back as hex when not named.
  SetPropText(p, L"Color", L"$00123456");
  EXPECT_EQ(p->FColour, 0x123456);
  std::wstring text;
  GetPropText(p, L"Color", text);
  EXPECT_EQ(text, L"$00123456");
  SetPropText(p, L"Color", L"255");
  EXPECT_EQ(p->FColour, clRed);
}

TEST(Properties, MissingNamesAndBadValuesAnswerClearly) {
  TProbe p(nullptr);
  std::wstring text = L"unchanged";
  EXPECT_FALSE(GetPropText(&p, L"Caption", text));
  EXPECT_EQ(text, L"unchanged");
  EXPECT_EQ(GetIntProp(&p, L"Caption"), -1);
  EXPECT_EQ(GetIntProp(&p, L"Title"), -1);  // not ordinal
  EXPECT_EQ(GetStrProp(&p, L"Count"), L"");
  EXPECT_EQ(GetEnumProp(&p, L"Count"), L"");
  EXPECT_EQ(GetObjectProp(&p, L"Nothing"), nullptr);
  EXPECT_FALSE(HasProperty(&p, L"Lines.Nothing"));
  EXPECT_FALSE(HasProperty(&p, L"Count.Sub"));
  EXPECT_FALSE(HasProperty(nullptr, L"Count"));
  EXPECT_THROW(SetPropText(&p, L"Caption", L"x"), EPropertyError);
  EXPECT_THROW(SetPropText(&p, L"Count", L"12a"), EPropertyError);
  EXPECT_THROW(SetPropText(&p, L"Count", L"99999999999"), EPropertyError);
  EXPECT_THROW(SetPropText(&p, L"Flag", L"yes"), EPropertyError);
  EXPECT_THROW(SetPropText(&p, L"Shape", L"shTriangle"), EPropertyError);
  EXPECT_THROW(SetPropText(&p, L"Flags", L"[fA,fZ]"), EPropertyError);
  EXPECT_THROW(SetPropText(&p, L"Flags", L"fA"), EPropertyError);
  EXPECT_THROW(SetPropText(&p, L"Color", L"clNoSuch"), EPropertyError);
  EXPECT_THROW(SetPropText(&p, L"Partner", L"nobody"), EPropertyError);
  EXPECT_THROW(SetPropText(&p, L"Lines.Count", L"3"), EPropertyError);  // read-only
  EXPECT_EQ(p.FCount, 0);
  EXPECT_EQ(p.FFlags, 0);
}

// Painters write properties by name on classes that may not have them.
TEST(Properties, TryWriteAnswersNotFoundWithoutRaisingAndWritesWhatExists) {
  TProbe p(nullptr);
  EXPECT_EQ(TrySetPropText(&p, L"Transparent", L"True"), TPropWrite::NotFound);
  EXPECT_EQ(TrySetPropText(&p, L"Lines.Nothing", L"1"), TPropWrite::NotFound);
  EXPECT_EQ(TrySetPropText(nullptr, L"Count", L"1"), TPropWrite::NotFound);
  EXPECT_EQ(TrySetPropText(&p, L"Lines.Count", L"3"), TPropWrite::ReadOnly);
  EXPECT_EQ(TrySetPropText(&p, L"Count", L"x"), TPropWrite::BadValue);
  EXPECT_EQ(p.FCount, 0);
  EXPECT_EQ(TrySetPropText(&p, L"Count", L"7"), TPropWrite::Written);
  EXPECT_EQ(p.FCount, 7);
  EXPECT_EQ(TrySetPropText(&p, L"Flag", L"True"), TPropWrite::Written);
  EXPECT_TRUE(p.FFlag);
}

TEST(Properties, EventsAreSetOnlyFromDelegatesOfTheirType) {
  TProbe p(nullptr);
  Listener l;
  SetEventProp(&p, L"OnPing", MakeDelegate<TNotifyEvent>(&l, &Listener::Ping));
  p.OnPing(&p);
  EXPECT_EQ(l.calls, 1);
  EXPECT_EQ(l.last, &p);
  using TOtherEvent = TDelegate<void(int)>;
  EXPECT_THROW(SetEventProp(&p, L"OnPing", TOtherEvent()), EPropertyError);
  EXPECT_THROW(SetEventProp(&p, L"OnPong", TNotifyEvent()), EPropertyError);
}

TEST(Delegates, CompareByObjectAndMember) {
  Listener a, b;
  auto d1 = TNotifyEvent::Bind(&a, &Listener::Ping);
  auto d2 = TNotifyEvent::Bind(&a, &Listener::Ping);
  auto d3 = TNotifyEvent::Bind(&b, &Listener::Ping);
  auto d4 = TNotifyEvent::Bind(&a, &Listener::Other);
  TNotifyEvent empty;
  EXPECT_TRUE(d1 == d2);
  EXPECT_FALSE(d1 == d3);
  EXPECT_FALSE(d1 == d4);
  EXPECT_FALSE(empty.Assigned());
  EXPECT_TRUE(d1.Assigned());
  EXPECT_TRUE(empty == TNotifyEvent());
  empty(nullptr);  // no target: nothing happens
  TNotifyEvent copy = d3;
  copy(nullptr);
  EXPECT_EQ(b.calls, 1);
  copy.Clear();
  EXPECT_FALSE(copy.Assigned());
  // Result-returning delegates answer R{} when unassigned.
  struct Calc {
    int Twice(int x) { return 2 * x; }
  } calc;
  auto twice = TDelegate<int(int)>::Bind(&calc, &Calc::Twice);
  EXPECT_EQ(twice(21), 42);
  EXPECT_EQ(TDelegate<int(int)>()(21), 0);
}

TEST(Errors, ExceptionTextOfEveryKind) {
  EXPECT_EQ(ExceptionText(std::make_exception_ptr(Exception(L"文件"))), L"文件");
  EXPECT_EQ(ExceptionText(std::make_exception_ptr(std::runtime_error("plain"))), L"plain");
  EXPECT_EQ(ExceptionText(std::make_exception_ptr(42)), L"Unknown error");
  EXPECT_EQ(ExceptionText(nullptr), L"");
  std::wstring seen;
  SetExceptionHandler([&](const std::exception_ptr& e) { seen = ExceptionText(e); });
  HandleCallbackException(std::make_exception_ptr(Exception(L"shown")));
  EXPECT_EQ(seen, L"shown");
  // A handler that throws does not let it escape.
  SetExceptionHandler([](const std::exception_ptr&) { throw 1; });
  EXPECT_NO_THROW(HandleCallbackException(std::make_exception_ptr(Exception(L"x"))));
  SetExceptionHandler(nullptr);
}
