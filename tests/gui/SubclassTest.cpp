// Hooks on a control's WindowProc and subclasses of native windows: taken
// out in any order, windows destroyed while hooked, objects deleted inside
// their own message. Message-sequence tables show what reached whom.
#include <gtest/gtest.h>
#include <windows.h>

#include "gui/Forms.h"
#include "gui/StdCtrls.h"
#include "gui/Subclass.h"
#include "tests/support/MsgSequence.h"
#include "tests/support/Pump.h"

using namespace twtest;

namespace {

constexpr UINT WM_PROBE = WM_USER + 7;
// Ids the hooks log under (outside the ids the log ignores).
constexpr UINT kA = WM_APP + 0xA, kB = WM_APP + 0xB, kC = WM_APP + 0xC, kD = WM_APP + 0xD, kE = WM_APP + 0xE,
               kOwn = WM_APP + 0xC0DE;

class GuiEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { Application->Initialize(); }
};
const auto* const kEnv = ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

// A hook that logs under its own id and passes every message on.
struct TTaggedHook {
  TMsgLog& log;
  UINT tag;
  TWindowHook hook;
  bool deleteSelfOnProbe = false;
  void Message(TMessage& m) {
    if (m.Msg == WM_PROBE) log.Add(TMsgEntry{tag, kControl, m.WParam, 0});
    hook.CallPrevious(m);
    if (m.Msg == WM_PROBE && deleteSelfOnProbe) delete this;
  }
  void Attach(TControl* c) { hook.Hook(c, TWndMethod::Bind(this, &TTaggedHook::Message)); }
};

// The control's own handling, seen as the innermost entry.
class TProbePanel : public TPanel {
  TW_DECLARE_CLASS(TProbePanel, TPanel)
 public:
  using TPanel::TPanel;
  TMsgLog* log = nullptr;
  void WndProc(TMessage& m) override {
    if (m.Msg == WM_PROBE && log) {
      log->Add(TMsgEntry{kOwn, kControl, m.WParam, 0});
      m.Result = 42;
      return;
    }
    TPanel::WndProc(m);
  }
};
TW_IMPLEMENT_CLASS(TProbePanel, [](TClassBuilder<TProbePanel>&) {})

}  // namespace

TEST(WindowHook, HooksTakenOutInAnyOrderKeepTheRestOfTheChain) {
  TMsgLog log;
  TProbePanel panel(nullptr);
  panel.log = &log;
  const TWndMethod original = panel.WindowProc;
  auto* a = new TTaggedHook{log, kA};
  auto* b = new TTaggedHook{log, kB};
  auto* c = new TTaggedHook{log, kC};
  a->Attach(&panel);
  b->Attach(&panel);
  c->Attach(&panel);
  EXPECT_EQ(panel.Perform(WM_PROBE, 1, 0), 42);
  EXPECT_TRUE(ExpectSequence(log, {{kC, kControl}, {kB, kControl}, {kA, kControl}, {kOwn, kControl}}, "three"));

  // The middle one goes first, then the bottom one: the top one still
  // reaches the control, and nothing calls a hook that is gone.
  delete b;
  log.Clear();
  panel.Perform(WM_PROBE, 2, 0);
  EXPECT_TRUE(ExpectSequence(log, {{kC, kControl}, {kA, kControl}, {kOwn, kControl}}, "middle out"));
  delete a;
  log.Clear();
  panel.Perform(WM_PROBE, 3, 0);
  EXPECT_TRUE(ExpectSequence(log, {{kC, kControl}, {kOwn, kControl}}, "bottom out"));
  delete c;
  EXPECT_TRUE(panel.WindowProc == original) << "the last hook out puts the control's own procedure back";

  // Under a hook saved in a plain variable (not a TWindowHook) a hook taken
  // out turns into a pass-through: the plain hook still works.
  auto* d = new TTaggedHook{log, kD};
  d->Attach(&panel);
  TWndMethod savedByPlainHook = panel.WindowProc;
  struct Plain {
    TWndMethod saved;
    TMsgLog* log;
    void Message(TMessage& m) {
      if (m.Msg == WM_PROBE) log->Add(TMsgEntry{kE, kControl});
      saved(m);
    }
  } plain{savedByPlainHook, &log};
  panel.WindowProc = TWndMethod::Bind(&plain, &Plain::Message);
  delete d;
  log.Clear();
  EXPECT_EQ(panel.Perform(WM_PROBE, 4, 0), 42);
  EXPECT_TRUE(ExpectSequence(log, {{kE, kControl}, {kOwn, kControl}}, "pass-through"));
  panel.WindowProc = plain.saved;
}

TEST(WindowHook, AHookDeletedInsideItsOwnMessageAndAControlDestroyedUnderItsHook) {
  TMsgLog log;
  auto* panel = new TProbePanel(nullptr);
  panel->log = &log;
  auto* self = new TTaggedHook{log, kA};
  self->deleteSelfOnProbe = true;
  self->Attach(panel);
  EXPECT_EQ(panel->Perform(WM_PROBE, 1, 0), 42);
  log.Clear();
  EXPECT_EQ(panel->Perform(WM_PROBE, 2, 0), 42);
  EXPECT_TRUE(ExpectSequence(log, {{kOwn, kControl}}, "hook gone"));

  TTaggedHook survivor{log, kB};
  survivor.Attach(panel);
  delete panel;
  EXPECT_FALSE(survivor.hook.Hooked());
  EXPECT_EQ(survivor.hook.Control(), nullptr);
  survivor.hook.Unhook();  // harmless once the control is gone
}

namespace {

// A native window we did not create through the library.
HWND MakeNativeEdit() {
  return CreateWindowExW(0, L"EDIT", L"native", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, GetModuleHandleW(nullptr),
                         nullptr);
}

class TTaggedSubclass : public TSubclass {
 public:
  TTaggedSubclass(TMsgLog& log, UINT tag) : FLog(log), FTag(tag) {}
  int destroyedCalls = 0;
  bool deleteOnProbe = false;
  bool deleteWhenDestroyed = false;
  static inline int deleted = 0;
  ~TTaggedSubclass() override { ++deleted; }

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
    if (msg == WM_PROBE || msg == WM_DESTROY || msg == WM_NCDESTROY) FLog.Add(TMsgEntry{msg, kSent, FTag, 0});
    LRESULT r = CallPrevious(msg, wParam, lParam);
    if (msg == WM_PROBE && deleteOnProbe) delete this;
    return r;
  }
  void WindowDestroyed() override {
    ++destroyedCalls;
    if (deleteWhenDestroyed) delete this;
  }

 private:
  TMsgLog& FLog;
  UINT FTag;
};

WNDPROC gForeignPrevious = nullptr;
int gForeignCalls = 0;
LRESULT CALLBACK ForeignProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_PROBE) ++gForeignCalls;
  return CallWindowProcW(gForeignPrevious, h, msg, w, l);
}

}  // namespace

TEST(Subclass, ChainOnANativeWindowLeavesInAnyOrderAndRestoresOnlyItsOwnProcedure) {
  TMsgLog log;
  HWND edit = MakeNativeEdit();
  ASSERT_TRUE(edit);
  auto original = GetWindowLongPtrW(edit, GWLP_WNDPROC);
  TTaggedSubclass a(log, 1), b(log, 2);
  ASSERT_TRUE(a.Attach(edit));
  ASSERT_TRUE(b.Attach(edit));
  EXPECT_FALSE(a.Attach(edit)) << "attached once only";
  EXPECT_EQ(TSubclass::CountOn(edit), 2);
  SendMessageW(edit, WM_PROBE, 0, 0);
  EXPECT_TRUE(ExpectSequence(log, {{WM_PROBE, kWParam, 2}, {WM_PROBE, kWParam, 1}}, "newest first"));
  // The window's own procedure still runs underneath.
  SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"typed"));
  wchar_t text[32] = {};
  GetWindowTextW(edit, text, 32);
  EXPECT_STREQ(text, L"typed");

  a.Detach();  // the older one first
  log.Clear();
  SendMessageW(edit, WM_PROBE, 0, 0);
  EXPECT_TRUE(ExpectSequence(log, {{WM_PROBE, kWParam, 2}}, "older out"));
  b.Detach();
  EXPECT_EQ(GetWindowLongPtrW(edit, GWLP_WNDPROC), original);

  // Someone subclasses over ours: leaving must not undo their procedure.
  ASSERT_TRUE(a.Attach(edit));
  gForeignPrevious =
      reinterpret_cast<WNDPROC>(SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ForeignProc)));
  a.Detach();
  EXPECT_EQ(GetWindowLongPtrW(edit, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(ForeignProc));
  gForeignCalls = 0;
  log.Clear();
  SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"still"));
  SendMessageW(edit, WM_PROBE, 0, 0);
  GetWindowTextW(edit, text, 32);
  EXPECT_STREQ(text, L"still") << "our pass-through reaches the original";
  EXPECT_EQ(gForeignCalls, 1);
  EXPECT_TRUE(log.Entries().empty());
  DestroyWindow(edit);
}

TEST(Subclass, WindowDestroyedWhileSubclassedDetachesEveryObjectOnceAfterTheLastMessage) {
  TMsgLog log;
  HWND edit = MakeNativeEdit();
  TTaggedSubclass::deleted = 0;
  auto* heap = new TTaggedSubclass(log, 1);
  heap->deleteWhenDestroyed = true;
  TTaggedSubclass local(log, 2);
  ASSERT_TRUE(heap->Attach(edit));
  ASSERT_TRUE(local.Attach(edit));
  DestroyWindow(edit);
  EXPECT_TRUE(ExpectSequence(
      log, {{WM_DESTROY, kWParam, 2}, {WM_DESTROY, kWParam, 1}, {WM_NCDESTROY, kWParam, 2}, {WM_NCDESTROY, kWParam, 1}},
      "destroy"));
  EXPECT_EQ(TTaggedSubclass::deleted, 1) << "the heap object deleted itself in WindowDestroyed";
  EXPECT_EQ(local.destroyedCalls, 1);
  EXPECT_FALSE(local.Attached());
  EXPECT_EQ(local.Window(), nullptr);
  local.Detach();  // harmless
}

TEST(Subclass, ObjectDeletedInsideItsOwnMessageLetsTheMessageFinishAndTheNextOnesPass) {
  TMsgLog log;
  HWND edit = MakeNativeEdit();
  TTaggedSubclass::deleted = 0;
  TTaggedSubclass outer(log, 2);
  auto* inner = new TTaggedSubclass(log, 1);
  inner->deleteOnProbe = true;
  ASSERT_TRUE(inner->Attach(edit));
  ASSERT_TRUE(outer.Attach(edit));
  SendMessageW(edit, WM_PROBE, 0, 0);
  EXPECT_EQ(TTaggedSubclass::deleted, 1);
  EXPECT_EQ(TSubclass::CountOn(edit), 1);
  log.Clear();
  SendMessageW(edit, WM_PROBE, 0, 0);
  SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"after"));
  wchar_t text[32] = {};
  GetWindowTextW(edit, text, 32);
  EXPECT_STREQ(text, L"after");
  EXPECT_TRUE(ExpectSequence(log, {{WM_PROBE, kWParam, 2}}, "after delete"));
  DestroyWindow(edit);
  EXPECT_EQ(outer.destroyedCalls, 1);
}
