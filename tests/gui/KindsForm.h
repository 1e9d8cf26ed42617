// A form for the control-kind tests: built from description text, with
// handlers that record which control raised which event.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "gui/Buttons.h"
#include "gui/ComCtrls.h"
#include "gui/ExtCtrls.h"
#include "gui/Forms.h"
#include "gui/StdCtrls.h"
#include "gui/TabCtrls.h"
#include "gui/ToolBars.h"
#include "tests/support/Pump.h"

class TKindsForm : public TForm {
  TW_DECLARE_CLASS(TKindsForm, TForm)
 public:
  explicit TKindsForm(TComponent* owner) : TForm(owner) {}
  // "name:event" for each event, in order.
  std::vector<std::wstring> events;
  bool allowChange = true;
  int scrollOverride = -1;
  void Clicked(TObject* s) { Log(s, L"click"); }
  void Changed(TObject* s) { Log(s, L"change"); }
  void Changing(TObject* s, bool& allow) {
    Log(s, L"changing");
    allow = allowChange;
  }
  void Scrolled(TObject* s, TScrollCode code, int& pos) {
    Log(s, L"scroll:" + IntToStr(static_cast<int>(code)) + L":" + IntToStr(pos));
    if (scrollOverride >= 0) pos = scrollOverride;
  }
  void UpDownClick(TObject* s, TUDBtnType b) { Log(s, b == btNext ? L"next" : L"prev"); }
  RECT drawnRect{};
  void DrawPanel(TStatusBar* bar, TStatusPanel* panel, const RECT& r) {
    Log(bar, L"draw:" + IntToStr(panel->Index()));
    drawnRect = r;
    bar->Canvas()->Brush()->SetColor(clRed);
    bar->Canvas()->FillRect(r);
  }
  void SectionClick(THeaderControl* h, THeaderSection* s) { Log(h, L"section:" + s->Text()); }
  int Count(const std::wstring& entry) const {
    int n = 0;
    for (auto& e : events) n += e == entry;
    return n;
  }

 private:
  void Log(TObject* s, const std::wstring& what) {
    auto* c = dynamic_cast<TComponent*>(s);
    events.push_back((c ? c->Name() : L"?") + L":" + what);
  }
};

// Builds a form from "TKindsForm F { <body> }", shows it and waits until it has painted.
TKindsForm* MakeKindsForm(const std::wstring& body);
// Finds a component of the form by name, typed (fails the test when missing).
template <class T>
T* Part(TKindsForm* f, const wchar_t* name) {
  T* c = dynamic_cast<T*>(f->FindComponent(name));
  EXPECT_NE(c, nullptr) << "no " << WideToUtf8(name);
  return c;
}
// Clicks a point of a window as the mouse would (down, up), and lets everything settle.
void ClickAt(HWND window, int x, int y);
std::string Narrow(const std::wstring& s);
// A property's text by name ("<missing>" when the class has none).
inline std::wstring PropText(TObject* o, const wchar_t* name) {
  std::wstring text;
  return GetPropText(o, name, text) ? text : L"<missing>";
}
