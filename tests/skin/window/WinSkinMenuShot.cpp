// Shows a small form with a main menu under one skin package, opens a
// drop-down of its skinned menu bar and saves a picture of the window with
// the drop-down open (24-bit BMP) for people to look at.
//
// Usage: WinSkinMenuShot.exe SKIN.skn OUT.bmp [BUTTON]
// Exit code 0 when the picture was written, 1 otherwise.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "gui/Forms.h"
#include "gui/Menus.h"
#include "gui/StdCtrls.h"
#include "gui/Subclass.h"
#include "skin/data/Bmp.h"
#include "skin/data/SkinData.h"
#include "skin/window/SkinManage.h"
#include "skin/window/WinSkinForm.h"
#include "skin/window/WinSkinMenu.h"
#include "tests/support/Pump.h"
#include "tests/support/WindowCapture.h"

namespace {

// Selects an item once the drop-down's loop idles, then takes the picture
// (window and drop-down) and closes the menu.
class TShot : public TSubclass {
 public:
  TShot(HWND window, const char* out) : out_(out) { Attach(window); }
  bool Done = false;
  bool Written = false;

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
    if (msg == WM_ENTERIDLE && wParam == MSGF_MENU && !Done) {
      HWND popup = FindWindowW(L"#32768", nullptr);
      if (++idle_ == 1 && popup) {
        PostMessageW(popup, WM_KEYDOWN, VK_DOWN, 1);
      } else {
        RECT r{}, p{};
        GetWindowRect(Window(), &r);
        if (popup && GetWindowRect(popup, &p)) UnionRect(&r, &r, &p);
        InflateRect(&r, 8, 8);
        const std::vector<uint8_t> bmp = EncodeBmp(twtest::CaptureScreenRect(r), 24);
        std::ofstream f(out_, std::ios::binary);
        f.write(reinterpret_cast<const char*>(bmp.data()), static_cast<std::streamsize>(bmp.size()));
        Written = f.good();
        Done = true;
        EndMenu();
      }
    }
    return CallPrevious(msg, wParam, lParam);
  }

 private:
  const char* out_;
  int idle_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: WinSkinMenuShot SKIN.skn OUT.bmp [BUTTON]\n");
    return 1;
  }
  const size_t button = argc > 3 ? static_cast<size_t>(std::atoi(argv[3])) : 0;
  std::ifstream in(argv[1], std::ios::binary);
  const std::vector<uint8_t> package{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  Application->Initialize();
  twtest::SetPumpDispatcher([](MSG& msg) { Application->Dispatch(msg); });
  auto* skin = new TSkinData(nullptr);
  if (!skin->LoadFromBytes(package)) {
    std::fprintf(stderr, "cannot load %s\n", argv[1]);
    return 1;
  }
  skin->Loaded();

  auto* form = new TForm(nullptr);
  form->SetCaption(L"菜单 menu bar");
  form->SetBounds(60, 60, 420, 300);
  auto* menu = new TMainMenu(form);
  auto add = [&](TMenuItem* parent, const wchar_t* caption) {
    auto* item = new TMenuItem(form);
    item->SetCaption(caption);
    parent->Add(item);
    return item;
  };
  TMenuItem* file = add(menu->Items(), L"&File");
  add(file, L"&Open...")->SetShortCut(16463);
  TMenuItem* recent = add(file, L"&Recent");
  add(recent, L"曲目1.wma");
  add(file, L"-");
  add(file, L"&Disabled")->SetEnabled(false);
  add(file, L"E&xit")->SetShortCut(32883);
  TMenuItem* view = add(menu->Items(), L"&View");
  add(view, L"&Tool bar")->SetChecked(true);
  add(view, L"&Status bar");
  add(menu->Items(), L"转换(&C)");
  add(add(menu->Items(), L"&Help"), L"&About");
  form->SetMenu(menu);
  auto* edit = new TEdit(form);
  edit->SetParent(form);
  edit->SetBounds(16, 16, 260, 24);
  auto* ok = new TButton(form);
  ok->SetParent(form);
  ok->SetCaption(L"立即转换");
  ok->SetBounds(290, 14, 100, 28);
  form->HandleNeeded();
  HWND window = form->Handle();

  skin->SetActive(true);
  form->Show();
  SetForegroundWindow(window);
  SetCursorPos(1000, 700);
  TWinSkinForm* frame = nullptr;
  if (!twtest::PumpUntil([&] {
        frame = SkinManager()->FindSkinForm(window);
        return frame && frame->LifeState() == kFrameSkinned && frame->SkinMessageSeen() && frame->MenuBar();
      })) {
    std::fprintf(stderr, "the window was not skinned with a menu bar\n");
    return 1;
  }
  twtest::PumpUntilIdle();
  if (button >= frame->MenuBar()->Count()) return 1;
  TShot shot(window, argv[2]);
  RECT wr{};
  GetWindowRect(window, &wr);
  const ImgRect& r = frame->MenuBar()->Button(button)->HitRect;
  PostMessageW(window, WM_NCLBUTTONDOWN, HTMENU, MAKELPARAM(wr.left + r.Left + 3, wr.top + r.Top + 3));
  twtest::PumpUntil([&] { return shot.Done && TWinSkinMenu::OpenIndex() < 0; });
  twtest::PumpUntilIdle();
  const bool written = shot.Written;
  shot.Detach();
  TComponent::Free(form);
  delete skin;
  DestroySkinManager();
  return written ? 0 : 1;
}
