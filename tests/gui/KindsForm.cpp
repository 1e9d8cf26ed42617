#include "tests/gui/KindsForm.h"

TW_IMPLEMENT_CLASS(TKindsForm, [](TClassBuilder<TKindsForm>& c) {
  c.Handler<TNotifyEvent>(L"Clicked", &TKindsForm::Clicked);
  c.Handler<TNotifyEvent>(L"Changed", &TKindsForm::Changed);
  c.Handler<TTabChangingEvent>(L"Changing", &TKindsForm::Changing);
  c.Handler<TScrollEvent>(L"Scrolled", &TKindsForm::Scrolled);
  c.Handler<TUDClickEvent>(L"UpDownClick", &TKindsForm::UpDownClick);
  c.Handler<TDrawPanelEvent>(L"DrawPanel", &TKindsForm::DrawPanel);
  c.Handler<TSectionNotifyEvent>(L"SectionClick", &TKindsForm::SectionClick);
})

namespace {
class GuiEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { Application->Initialize(); }
};
const auto* const kEnv = ::testing::AddGlobalTestEnvironment(new GuiEnvironment);
}  // namespace

TKindsForm* MakeKindsForm(const std::wstring& body) {
  auto* f = new TKindsForm(Application);
  try {
    LoadFormFromText(f, L"TKindsForm F {\n Left = 10 Top = 10 ClientWidth = 420 ClientHeight = 320\n" + body + L"\n}");
  } catch (...) {
    delete f;
    throw;
  }
  f->Show();
  SetForegroundWindow(f->Handle());
  twtest::PumpUntilIdle();
  return f;
}

void ClickAt(HWND window, int x, int y) {
  SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  twtest::PumpPending();
}

std::string Narrow(const std::wstring& s) { return WideToUtf8(s); }
