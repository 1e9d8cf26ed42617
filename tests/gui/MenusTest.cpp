// Menus under Wine: a main menu and a popup menu from a stored description,
// the native menus built from them, command, owner-draw and access-key
// routing to the item objects, shortcuts through the message loop, and a
// real popup menu shown, drawn by its items and chosen from.
#include <gtest/gtest.h>
#include <windows.h>

#include "gui/Forms.h"
#include "gui/Menus.h"
#include "gui/StdCtrls.h"
#include "tests/support/AppLoop.h"
#include "tests/support/MsgSequence.h"
#include "tests/support/Pump.h"
#include "tests/support/WindowCapture.h"
#include "skin/data/Bmp.h"

#include <cstdio>
#include <cstdlib>

using namespace twtest;

namespace {

// Keys go through the application's handling, as in the program.
const auto* const kEnv = ::testing::AddGlobalTestEnvironment(new TApplicationEnvironment);

class TMenuForm : public TForm {
  TW_DECLARE_CLASS(TMenuForm, TForm)
 public:
  using TForm::TForm;
  TMainMenu* MainMenu1 = nullptr;
  TPopupMenu* PopupMenu1 = nullptr;
  TMenuItem *mnuFile = nullptr, *mnuOpen = nullptr, *mnuSave = nullptr, *mnuHidden = nullptr, *mnuQuit = nullptr;
  TMenuItem *mnuView = nullptr, *mnuSmall = nullptr, *mnuLarge = nullptr;
  TMenuItem *popCopy = nullptr, *popPaste = nullptr;
  TButton* Button1 = nullptr;
  std::vector<std::wstring> clicks;
  int measured = 0, drawn = 0;
  void ItemClick(TObject* sender) { clicks.push_back(static_cast<TMenuItem*>(sender)->Name()); }
  void ItemMeasure(TObject* sender, TCanvas*, int& w, int& h) {
    ++measured;
    w = 150;
    h = 25;
  }
  void ItemDraw(TObject* sender, TCanvas* canvas, const RECT& r, bool selected) {
    ++drawn;
    HBRUSH b = CreateSolidBrush(selected ? RGB(200, 0, 0) : RGB(0, 0, 200));
    FillRect(canvas->Handle(), &r, b);
    DeleteObject(b);
  }
};

TW_IMPLEMENT_CLASS(TMenuForm, [](TClassBuilder<TMenuForm>& c) {
  c.Component(L"MainMenu1", &TMenuForm::MainMenu1);
  c.Component(L"PopupMenu1", &TMenuForm::PopupMenu1);
  c.Component(L"mnuFile", &TMenuForm::mnuFile);
  c.Component(L"mnuOpen", &TMenuForm::mnuOpen);
  c.Component(L"mnuSave", &TMenuForm::mnuSave);
  c.Component(L"mnuHidden", &TMenuForm::mnuHidden);
  c.Component(L"mnuQuit", &TMenuForm::mnuQuit);
  c.Component(L"mnuView", &TMenuForm::mnuView);
  c.Component(L"mnuSmall", &TMenuForm::mnuSmall);
  c.Component(L"mnuLarge", &TMenuForm::mnuLarge);
  c.Component(L"popCopy", &TMenuForm::popCopy);
  c.Component(L"popPaste", &TMenuForm::popPaste);
  c.Component(L"Button1", &TMenuForm::Button1);
  c.Handler<TNotifyEvent>(L"ItemClick", &TMenuForm::ItemClick);
  c.Handler<TMenuMeasureItemEvent>(L"ItemMeasure", &TMenuForm::ItemMeasure);
  c.Handler<TMenuDrawItemEvent>(L"ItemDraw", &TMenuForm::ItemDraw);
})

// Ctrl+O = 0x4000 | 'O' = 16463; Alt+X = 0x8000 | 'X' = 32856.
const wchar_t kForm[] =
    LR"(TMenuForm MenuForm {
  ClientWidth = 320 ClientHeight = 200 Caption = "menus"
  Menu = MainMenu1
  TButton Button1 { Left = 8 Top = 8 Width = 80 Height = 24 Caption = "b" PopupMenu = PopupMenu1 }
  TMainMenu MainMenu1 {
    TMenuItem mnuFile { Caption = "&File"
      TMenuItem mnuOpen { Caption = "&Open..." ShortCut = 16463 Default = True OnClick = ItemClick }
      TMenuItem mnuSave { Caption = "&Save" Enabled = False OnClick = ItemClick }
      TMenuItem mnuHidden { Caption = "Hidden" Visible = False }
      TMenuItem N1 { Caption = "-" }
      TMenuItem mnuQuit { Caption = "E&xit" ShortCut = 32856 OnClick = ItemClick }
    }
    TMenuItem mnuView { Caption = "&View"
      TMenuItem mnuSmall { Caption = "&Small" RadioItem = True GroupIndex = 1 Checked = True AutoCheck = True OnClick = ItemClick }
      TMenuItem mnuLarge { Caption = "&Large" RadioItem = True GroupIndex = 1 AutoCheck = True OnClick = ItemClick }
    }
  }
  TPopupMenu PopupMenu1 { OwnerDraw = True
    TMenuItem popCopy { Caption = "&Copy" OnClick = ItemClick OnMeasureItem = ItemMeasure OnDrawItem = ItemDraw }
    TMenuItem popPaste { Caption = "&Paste" OnClick = ItemClick OnMeasureItem = ItemMeasure OnDrawItem = ItemDraw }
  }
})";

class Menus : public ::testing::Test {
 protected:
  void SetUp() override {
    form = new TMenuForm(Application);
    LoadFormFromText(form, kForm);
    form->Show();
    ASSERT_TRUE(PumpUntilIdle());
  }
  void TearDown() override {
    TComponent::Free(form);
    PumpUntilIdle();
  }
  TMenuForm* form = nullptr;

 public:
  int Drawn() const { return form->drawn; }
};

std::wstring ItemText(HMENU menu, int pos) {
  wchar_t buf[128] = {};
  GetMenuStringW(menu, static_cast<UINT>(pos), buf, 128, MF_BYPOSITION);
  return buf;
}

UINT ItemState(HMENU menu, int pos) { return GetMenuState(menu, static_cast<UINT>(pos), MF_BYPOSITION); }

}  // namespace

TEST_F(Menus, StoredDescriptionBuildsTheNativeMenuBarWithTheItemsState) {
  HMENU bar = GetMenu(form->Handle());
  ASSERT_TRUE(bar);
  EXPECT_EQ(bar, form->MenuHandle());
  ASSERT_EQ(GetMenuItemCount(bar), 2);
  EXPECT_EQ(ItemText(bar, 0), L"&File");
  HMENU file = GetSubMenu(bar, 0);
  ASSERT_EQ(file, form->mnuFile->Handle());
  ASSERT_EQ(GetMenuItemCount(file), 4) << "the invisible item is left out";
  EXPECT_EQ(ItemText(file, 0), L"&Open...\tCtrl+O");
  EXPECT_TRUE(ItemState(file, 0) & MFS_DEFAULT);
  EXPECT_TRUE(ItemState(file, 1) & MFS_GRAYED);
  EXPECT_TRUE(ItemState(file, 2) & MF_SEPARATOR);
  EXPECT_EQ(ItemText(file, 3), L"E&xit\tAlt+X");
  HMENU view = GetSubMenu(bar, 1);
  EXPECT_TRUE(ItemState(view, 0) & MFS_CHECKED);
  MENUITEMINFOW mii = {sizeof mii, MIIM_FTYPE | MIIM_DATA | MIIM_ID};
  GetMenuItemInfoW(view, 1, TRUE, &mii);
  EXPECT_TRUE(mii.fType & MFT_RADIOCHECK);
  EXPECT_EQ(FindMenuItem(mii.dwItemData), form->mnuLarge);
  EXPECT_EQ(mii.wID, form->mnuLarge->Command());
  // Items by name; a change rebuilds the native menu.
  SetPropText(form->mnuHidden, L"Visible", L"True");
  SetPropText(form->mnuOpen, L"Caption", L"&Open file");
  EXPECT_EQ(GetMenuItemCount(file), 5);
  EXPECT_EQ(ItemText(GetSubMenu(bar, 0), 0), L"&Open file\tCtrl+O");
  std::wstring text;
  EXPECT_TRUE(GetPropText(form->mnuQuit, L"ShortCut", text));
  EXPECT_EQ(TextToShortCut(ShortCutToText(static_cast<TShortCut>(std::stoi(text)))), form->mnuQuit->ShortCut());
  EXPECT_EQ(form->mnuOpen->GetParentMenu(), form->MainMenu1);
  EXPECT_EQ(form->popCopy->GetParentMenu(), form->PopupMenu1);
}

TEST_F(Menus, CommandsReachTheirItemOnceAndChangesNotifyTheForm) {
  TMsgLog log;
  TControlRecorder rec(log, form);
  HWND h = form->Handle();
  SendMessageW(h, WM_COMMAND, MAKEWPARAM(form->mnuOpen->Command(), 0), 0);
  SendMessageW(h, WM_COMMAND, MAKEWPARAM(form->mnuSave->Command(), 0), 0);   // disabled: nothing
  SendMessageW(h, WM_COMMAND, MAKEWPARAM(form->mnuLarge->Command(), 1), 0);  // as from an accelerator
  EXPECT_EQ(form->clicks, (std::vector<std::wstring>{L"mnuOpen", L"mnuLarge"}));
  EXPECT_TRUE(form->mnuLarge->Checked());
  EXPECT_FALSE(form->mnuSmall->Checked()) << "radio group";
  EXPECT_TRUE(log.Contains(CM_MENUCHANGED)) << "the check changed the menu";
  log.Clear();
  form->SetMenu(nullptr);
  EXPECT_EQ(GetMenu(h), nullptr);
  EXPECT_EQ(log.Count(CM_MENUCHANGED), 1);
  form->SetMenu(form->MainMenu1);
  EXPECT_EQ(GetMenu(h), form->MainMenu1->Handle());
  // Freeing the menu takes it off the window and tells the form.
  log.Clear();
  TComponent::Free(form->MainMenu1);
  form->MainMenu1 = nullptr;
  EXPECT_EQ(form->Menu(), nullptr);
  EXPECT_EQ(GetMenu(h), nullptr);
  EXPECT_TRUE(log.Contains(CM_MENUCHANGED));
}

TEST_F(Menus, OwnerDrawMessagesOfMenusReachTheItemAndThoseOfControlsStillReachTheControl) {
  TMsgLog log;
  TControlRecorder button(log, form->Button1);
  HWND h = form->Handle();
  MEASUREITEMSTRUCT mis = {ODT_MENU, 0, form->popCopy->Command(), 0, 0, reinterpret_cast<ULONG_PTR>(form->popCopy)};
  EXPECT_EQ(SendMessageW(h, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis)), TRUE);
  EXPECT_EQ(form->measured, 1);
  EXPECT_EQ(mis.itemWidth, 150u);
  EXPECT_EQ(mis.itemHeight, 25u);
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bmp = CreateCompatibleBitmap(GetDC(nullptr), 40, 20);
  HGDIOBJ old = SelectObject(dc, bmp);
  DRAWITEMSTRUCT dis = {ODT_MENU,
                        0,
                        form->popPaste->Command(),
                        ODA_DRAWENTIRE,
                        ODS_SELECTED,
                        nullptr,
                        dc,
                        RECT{0, 0, 40, 20},
                        reinterpret_cast<ULONG_PTR>(form->popPaste)};
  EXPECT_EQ(SendMessageW(h, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis)), TRUE);
  EXPECT_EQ(form->drawn, 1);
  EXPECT_EQ(GetPixel(dc, 10, 10), RGB(200, 0, 0)) << "drawn selected by the handler";
  // Item data that is not a live item of ours is left alone.
  dis.itemData = 12345;
  EXPECT_EQ(SendMessageW(h, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis)), 0);
  EXPECT_EQ(form->drawn, 1);
  // A button's owner-draw message is reflected to the button, not a menu item.
  DRAWITEMSTRUCT bd = {ODT_BUTTON, 0, 0, ODA_DRAWENTIRE, 0, form->Button1->Handle(), dc, RECT{0, 0, 40, 20}, 0};
  log.Clear();
  SendMessageW(h, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&bd));
  EXPECT_TRUE(ExpectSequence(log, {{CN_DRAWITEM, kControl | kLParam, 0, reinterpret_cast<LPARAM>(&bd)}}, "button"));
  EXPECT_EQ(form->drawn, 1);
  SelectObject(dc, old);
  DeleteObject(bmp);
  DeleteDC(dc);
  // Default look of an owner-drawn item with an image list: measured by the library.
  form->PopupMenu1->Items()->Items(0)->OnMeasureItem.Clear();
  mis.itemWidth = mis.itemHeight = 0;
  SendMessageW(h, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
  EXPECT_GT(mis.itemWidth, 20u);
  EXPECT_GT(mis.itemHeight, 10u);
}

TEST_F(Menus, AccessKeysOfOwnerDrawnItemsAndShortcutsThroughTheMessageLoop) {
  HWND h = form->Handle();
  // The access key typed in an open menu whose items have no text for the system.
  LRESULT r =
      SendMessageW(h, WM_MENUCHAR, MAKEWPARAM(L'x', MF_POPUP), reinterpret_cast<LPARAM>(form->mnuFile->Handle()));
  EXPECT_EQ(r, MAKELRESULT(3, MNC_EXECUTE));
  EXPECT_EQ(SendMessageW(h, WM_MENUCHAR, MAKEWPARAM(L'q', MF_POPUP), reinterpret_cast<LPARAM>(form->mnuFile->Handle())),
            0);
  // Alt+X as the message loop sees it (Alt down: context bit of WM_SYSKEYDOWN).
  form->Button1->SetFocus();
  PostMessageW(form->Button1->Handle(), WM_SYSKEYDOWN, 'X', 1 << 29);
  ASSERT_TRUE(PumpUntil([&] { return !form->clicks.empty(); }));
  EXPECT_EQ(form->clicks, (std::vector<std::wstring>{L"mnuQuit"}));
  // Alt+letter of a button's caption presses it; a letter no control has
  // goes on (to the menu bar).
  form->Button1->SetCaption(L"&Go");
  int clicked = 0;
  struct Counter {
    int* n;
    void Click(TObject*) { ++*n; }
  } counter{&clicked};
  form->Button1->OnClick = MakeDelegate<TNotifyEvent>(&counter, &Counter::Click);
  EXPECT_EQ(form->Perform(CM_DIALOGCHAR, L'g', 1 << 29), 1);
  EXPECT_EQ(clicked, 1);
  EXPECT_EQ(form->Perform(CM_DIALOGCHAR, L'z', 1 << 29), 0);
  EXPECT_EQ(clicked, 1);
  form->Button1->OnClick.Clear();
  // Shortcuts of popup menus the form owns work too; disabled items do not run.
  form->popPaste->SetShortCut(ShortCut('V', ShiftBit(ssCtrl)));
  EXPECT_TRUE(form->IsShortCut('V', ShiftBit(ssCtrl)));
  EXPECT_FALSE(form->IsShortCut('V', 0));
  form->mnuOpen->SetEnabled(false);
  EXPECT_FALSE(form->IsShortCut('O', ShiftBit(ssCtrl)));
  EXPECT_EQ(form->clicks, (std::vector<std::wstring>{L"mnuQuit", L"popPaste"}));
}

namespace {
Menus* gFixture = nullptr;
int gTicks = 0;
Image gShot;
// Runs inside the popup menu's own loop: once the items were drawn, choose
// the second one with the keyboard.
void CALLBACK DriveMenu(HWND, UINT, UINT_PTR id, DWORD) {
  ++gTicks;
  if (gTicks > 500) {  // give up: close the menu so the test can report
    EndMenu();
    return;
  }
  if (gFixture == nullptr) return;
  HWND shown = FindWindowW(L"#32768", nullptr);
  if (!shown || !IsWindowVisible(shown) || gFixture->Drawn() == 0) return;
  UpdateWindow(shown);
  gShot = CaptureWindow(shown);
  HWND owner = PopupList()->Handle();
  PostMessageW(owner, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageW(owner, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageW(owner, WM_KEYDOWN, VK_RETURN, 0);
  gFixture = nullptr;
}
}  // namespace

TEST_F(Menus, RealPopupMenuIsMeasuredAndDrawnByItsItemsAndRunsTheChosenOne) {
  TMsgLog log;
  TCbtRecorder cbt(log, {L"#32768"});
  TControlRecorder owner(log, PopupList(), kParent);
  // The first item in the library's own look (checked, with a shortcut),
  // the second by its handlers.
  form->popCopy->OnDrawItem.Clear();
  form->popCopy->OnMeasureItem.Clear();
  form->popCopy->SetChecked(true);
  form->popCopy->SetShortCut(ShortCut('C', ShiftBit(ssCtrl)));
  gFixture = this;
  gTicks = 0;
  gShot = Image();
  UINT_PTR timer = SetTimer(nullptr, 0, 50, DriveMenu);
  form->PopupMenu1->Popup(100, 100);
  KillTimer(nullptr, timer);
  EXPECT_EQ(form->measured, 1) << "only the second item has a measure handler";
  EXPECT_GT(form->drawn, 0);
  ASSERT_FALSE(gShot.Empty());
  // Rows of the handler's blue, and above them the library's text.
  int firstBlue = -1, inked = 0;
  const uint32_t text = MakePixel(GetRValue(GetSysColor(COLOR_MENUTEXT)), GetGValue(GetSysColor(COLOR_MENUTEXT)),
                                  GetBValue(GetSysColor(COLOR_MENUTEXT)));
  for (int y = 0; y < gShot.Height() && firstBlue < 0; ++y)
    for (int x = 0; x < gShot.Width(); ++x) {
      if (gShot.Pixel(x, y) == MakePixel(0, 0, 200)) firstBlue = y;
      if (gShot.Pixel(x, y) == text) ++inked;
    }
  EXPECT_GT(firstBlue, 10);
  EXPECT_GT(inked, 20) << "caption, check and shortcut of the library-drawn item";
  if (const char* path = std::getenv("TW_MENU_SCREENSHOT")) {
    std::vector<uint8_t> bmp = EncodeBmp(gShot, 24);
    if (FILE* f = std::fopen(path, "wb")) {
      std::fwrite(bmp.data(), 1, bmp.size(), f);
      std::fclose(f);
    }
  }
  EXPECT_EQ(form->clicks, (std::vector<std::wstring>{L"popPaste"}));
  EXPECT_TRUE(log.Contains(HCBT_CREATEWND, kHook)) << "the menu window was made";
  EXPECT_TRUE(log.Contains(WM_MEASUREITEM, kControl | kParent));
  EXPECT_TRUE(log.Contains(WM_DRAWITEM, kControl | kParent));
}
