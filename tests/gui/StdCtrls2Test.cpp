// Check boxes, radio buttons and groups, combo and list boxes, memos,
// scroll bars and scroll boxes under Wine: built from descriptions, read and
// written by property name, driven through their windows.
#include <gtest/gtest.h>

#include "tests/gui/KindsForm.h"

namespace {

LRESULT Send(TWinControl* c, UINT msg, WPARAM w = 0, LPARAM l = 0) { return SendMessageW(c->Handle(), msg, w, l); }

TEST(CheckBox, StateCyclesThroughGrayedAndEachChangeClicksOnce) {
  TKindsForm* f = MakeKindsForm(
      L"TCheckBox cb { Left = 8 Top = 8 Caption = \"选中\" AllowGrayed = True State = cbGrayed OnClick = Clicked }");
  auto* cb = Part<TCheckBox>(f, L"cb");
  EXPECT_TRUE(f->events.empty()) << "reading the description clicked";
  EXPECT_EQ(GetEnumProp(cb, L"State"), L"cbGrayed");
  EXPECT_EQ(Send(cb, BM_GETCHECK), BST_INDETERMINATE);
  Send(cb, BM_CLICK);  // grayed -> checked
  EXPECT_EQ(PropText(cb, L"Checked"), L"True");
  EXPECT_EQ(Send(cb, BM_GETCHECK), BST_CHECKED);
  Send(cb, BM_CLICK);  // checked -> unchecked
  Send(cb, BM_CLICK);  // unchecked -> grayed
  EXPECT_EQ(cb->State(), cbGrayed);
  SetPropText(cb, L"Checked", L"True");
  SetPropText(cb, L"Checked", L"True");  // no change, no click
  EXPECT_EQ(f->Count(L"cb:click"), 4);
  EXPECT_EQ(Send(cb, BM_GETCHECK), BST_CHECKED);
  cb->SetAllowGrayed(false);
  Send(cb, BM_CLICK);
  Send(cb, BM_CLICK);
  EXPECT_EQ(cb->State(), cbChecked) << "without AllowGrayed a click never grays";
  // The text is at the left of the box with taLeftJustify.
  SetPropText(cb, L"Alignment", L"taLeftJustify");
  EXPECT_TRUE(GetWindowLongW(cb->Handle(), GWL_STYLE) & BS_LEFTTEXT);
  EXPECT_EQ(Send(cb, BM_GETCHECK), BST_CHECKED) << "recreating the window lost the state";
  TComponent::Free(f);
}

TEST(RadioButton, CheckingOneClearsOnlyItsSiblings) {
  TKindsForm* f = MakeKindsForm(
      L"TPanel p { Left = 0 Top = 0 Width = 200 Height = 100\n"
      L"  TRadioButton r1 { Left = 4 Top = 4 Checked = True OnClick = Clicked }\n"
      L"  TRadioButton r2 { Left = 4 Top = 30 OnClick = Clicked } }\n"
      L"TRadioButton r3 { Left = 210 Top = 4 Checked = True OnClick = Clicked }");
  auto *r1 = Part<TRadioButton>(f, L"r1"), *r2 = Part<TRadioButton>(f, L"r2"), *r3 = Part<TRadioButton>(f, L"r3");
  Send(r2, BM_CLICK);
  EXPECT_TRUE(r2->Checked());
  EXPECT_FALSE(r1->Checked());
  EXPECT_EQ(Send(r1, BM_GETCHECK), BST_UNCHECKED);
  EXPECT_TRUE(r3->Checked()) << "a radio button of another parent was cleared";
  Send(r2, BM_CLICK);  // already checked: nothing changes
  EXPECT_EQ(f->events, std::vector<std::wstring>{L"r2:click"});
  TComponent::Free(f);
}

TEST(RadioGroup, ItemsBecomeButtonsInColumnsAndItemIndexFollowsClicks) {
  TKindsForm* f = MakeKindsForm(
      L"TRadioGroup g { Left = 8 Top = 8 Width = 300 Height = 100 Caption = \"音质\" Columns = 2\n"
      L"  ItemIndex = 1 Items = (\"64k\", \"128k\", \"192k\") OnClick = Clicked }");
  auto* g = Part<TRadioGroup>(f, L"g");
  ASSERT_EQ(g->ButtonCount(), 3);
  EXPECT_TRUE(g->Buttons(1)->Checked());
  EXPECT_EQ(SendMessageW(g->Buttons(1)->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(g->Buttons(2)->Caption(), L"192k");
  // Two rows in the first column, the third button in the second.
  EXPECT_EQ(g->Buttons(0)->Left(), g->Buttons(1)->Left());
  EXPECT_GT(g->Buttons(1)->Top(), g->Buttons(0)->Top());
  EXPECT_GT(g->Buttons(2)->Left(), g->Buttons(0)->Left() + 100);
  EXPECT_TRUE(f->events.empty());
  SendMessageW(g->Buttons(2)->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(GetIntProp(g, L"ItemIndex"), 2);
  EXPECT_FALSE(g->Buttons(1)->Checked());
  EXPECT_EQ(f->events, std::vector<std::wstring>{L"g:click"});
  SetPropText(g, L"ItemIndex", L"7");  // out of range: none checked
  EXPECT_EQ(g->ItemIndex(), -1);
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(g->Buttons(i)->Checked()) << i;
  g->Items()->Delete(2);
  EXPECT_EQ(g->ButtonCount(), 2);
  TComponent::Free(f);
}

TEST(ComboBox, ItemsAndSelectionReachTheWindowAndOnlyTheUserFiresOnChange) {
  TKindsForm* f = MakeKindsForm(
      L"TComboBox c { Left = 8 Top = 8 Style = csDropDownList DropDownCount = 4\n"
      L"  ItemIndex = 1 Items = (\"MP3\", \"WMA\", \"OGG\") OnChange = Changed }\n"
      L"TComboBox e { Left = 8 Top = 40 Items = (\"a\") Text = \"自由文本\" OnChange = Changed }");
  auto* c = Part<TComboBox>(f, L"c");
  EXPECT_EQ(Send(c, CB_GETCOUNT), 3);
  EXPECT_EQ(PropText(c, L"Text"), L"WMA");
  EXPECT_EQ(GetEnumProp(c, L"Style"), L"csDropDownList");
  c->SetItemIndex(0);
  EXPECT_TRUE(f->events.empty()) << "a change by the program fired OnChange";
  c->SetFocus();
  Send(c, WM_KEYDOWN, VK_DOWN, 0);  // the user picks the next item
  EXPECT_EQ(c->ItemIndex(), 1);
  EXPECT_EQ(f->events, std::vector<std::wstring>{L"c:change"});
  c->Items()->Add(L"FLAC");  // the selection survives a change of the items
  EXPECT_EQ(Send(c, CB_GETCOUNT), 4);
  EXPECT_EQ(c->ItemIndex(), 1);
  // DropDownCount decides how many rows the open list shows, also when
  // changed after the window exists, and whatever moves the box.
  auto listHeight = [&] {
    c->SetDroppedDown(true);
    RECT list{};
    Send(c, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&list));
    c->SetDroppedDown(false);
    return static_cast<int>(list.bottom - list.top);
  };
  const int row = static_cast<int>(Send(c, CB_GETITEMHEIGHT, 0, 0));
  SetPropText(c, L"DropDownCount", L"2");
  c->SetBounds(20, 8, 160, c->Height());
  EXPECT_LE(listHeight(), 2 * row + 4);
  SetPropText(c, L"DropDownCount", L"4");
  EXPECT_GE(listHeight(), 4 * row);
  EXPECT_LT(c->Height(), 40) << "Height is the closed box";
  c->Items()->Clear();
  EXPECT_EQ(c->ItemIndex(), -1);
  auto* e = Part<TComboBox>(f, L"e");
  EXPECT_EQ(e->Text(), L"自由文本");
  EXPECT_EQ(e->ItemIndex(), -1);
  e->SetText(L"a");  // the text of an item selects it
  EXPECT_EQ(e->ItemIndex(), 0);
  TComponent::Free(f);
}

TEST(Memo, LinesAndWindowTextStayOneAndUserEditsComeBack) {
  TKindsForm* f = MakeKindsForm(
      L"TMemo m { Left = 8 Top = 8 Width = 200 Height = 80 ScrollBars = ssVertical Lines = (\"第一行\", \"two\") }");
  auto* m = Part<TMemo>(f, L"m");
  EXPECT_EQ(m->Text(), L"第一行\r\ntwo");
  EXPECT_TRUE(GetWindowLongW(m->Handle(), GWL_STYLE) & WS_VSCROLL);
  EXPECT_TRUE(GetWindowLongW(m->Handle(), GWL_STYLE) & ES_MULTILINE);
  SetWindowTextW(m->Handle(), L"x\r\ny\r\nz");  // as typed
  ASSERT_EQ(m->Lines()->Count(), 3);
  EXPECT_EQ(m->Lines()->Get(2), L"z");
  m->Lines()->Put(0, L"X");
  EXPECT_EQ(m->Text(), L"X\r\ny\r\nz");
  SetPropText(m, L"WordWrap", L"False");  // recreated: the text stays
  EXPECT_EQ(m->Text(), L"X\r\ny\r\nz");
  TComponent::Free(f);
}

TEST(ListBox, SelectionByKeyboardClicksOnceAndOutOfRangeSelectsNothing) {
  TKindsForm* f =
      MakeKindsForm(L"TListBox l { Left = 8 Top = 8 Items = (\"a\", \"b\", \"c\") ItemIndex = 0 OnClick = Clicked }");
  auto* l = Part<TListBox>(f, L"l");
  EXPECT_EQ(Send(l, LB_GETCOUNT), 3);
  EXPECT_EQ(Send(l, LB_GETCURSEL), 0);
  l->SetFocus();
  Send(l, WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(GetIntProp(l, L"ItemIndex"), 1);
  EXPECT_EQ(f->events, std::vector<std::wstring>{L"l:click"});
  SetPropText(l, L"ItemIndex", L"3");
  EXPECT_EQ(l->ItemIndex(), -1);
  TComponent::Free(f);
}

TEST(ScrollBar, RangeStaysSoundAndScrollingReportsOnceWithTheNewPosition) {
  TKindsForm* f = MakeKindsForm(
      L"TScrollBar s { Left = 8 Top = 8 Width = 17 Height = 121 Kind = sbVertical Min = 10 Max = 50 PageSize = 11 Position = 100\n"
      L"  LargeChange = 5 OnScroll = Scrolled OnChange = Changed }");
  auto* s = Part<TScrollBar>(f, L"s");
  EXPECT_EQ(s->Position(), 40) << "beyond Max - PageSize + 1";
  EXPECT_EQ(GetEnumProp(s, L"Kind"), L"sbVertical");
  SCROLLINFO si = {sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(s->Handle(), SB_CTL, &si);
  EXPECT_EQ(si.nMin, 10);
  EXPECT_EQ(si.nMax, 50);
  EXPECT_EQ(si.nPage, 11u);
  EXPECT_EQ(si.nPos, 40);
  s->SetPosition(20);
  f->events.clear();
  SendMessageW(f->Handle(), WM_VSCROLL, SB_PAGEDOWN, reinterpret_cast<LPARAM>(s->Handle()));
  EXPECT_EQ(s->Position(), 25);
  EXPECT_EQ(f->events, (std::vector<std::wstring>{L"s:scroll:3:25", L"s:change"}));
  f->scrollOverride = 12;  // the handler may move the position itself
  SendMessageW(f->Handle(), WM_VSCROLL, SB_LINEUP, reinterpret_cast<LPARAM>(s->Handle()));
  EXPECT_EQ(s->Position(), 12);
  SetPropText(s, L"Kind", L"sbHorizontal");  // turned by the program: the shape turns too
  EXPECT_GT(s->Width(), s->Height());
  EXPECT_FALSE(GetWindowLongW(s->Handle(), GWL_STYLE) & SBS_VERT);
  EXPECT_EQ(s->Position(), 12);
  SetPropText(s, L"Max", L"5");  // below Min: the range shrinks to one value
  EXPECT_EQ(s->Min(), 5);
  EXPECT_EQ(s->Position(), 5);
  TComponent::Free(f);
}

TEST(ScrollBox, ChildrenPastTheEdgeBringScrollBarsThatMoveThem) {
  TKindsForm* f = MakeKindsForm(
      L"TScrollBox box { Left = 0 Top = 0 Width = 200 Height = 150\n"
      L"  TButton far { Left = 10 Top = 400 Width = 75 Height = 25 } }");
  auto* box = Part<TScrollBox>(f, L"box");
  auto* last = Part<TButton>(f, L"far");
  EXPECT_TRUE(GetWindowLongW(box->Handle(), GWL_STYLE) & WS_VSCROLL);
  EXPECT_FALSE(GetWindowLongW(box->Handle(), GWL_STYLE) & WS_HSCROLL);
  SendMessageW(box->Handle(), WM_VSCROLL, SB_BOTTOM, 0);
  RECT client;
  GetClientRect(box->Handle(), &client);
  EXPECT_EQ(last->Top() + last->Height(), client.bottom) << "the last child should end at the bottom edge";
  EXPECT_EQ(GetScrollPos(box->Handle(), SB_VERT), 425 - client.bottom);
  SetPropText(box, L"AutoScroll", L"False");
  EXPECT_EQ(last->Top(), 400);
  EXPECT_FALSE(GetWindowLongW(box->Handle(), GWL_STYLE) & WS_VSCROLL);
  TComponent::Free(f);
}

TEST(FormAutoScroll, AFormScrollsOnlyWhenAutoScrollIsOn) {
  TKindsForm* f = MakeKindsForm(L"AutoScroll = True TButton low { Left = 8 Top = 600 }");
  auto* low = Part<TButton>(f, L"low");
  EXPECT_EQ(PropText(f, L"AutoScroll"), L"True");
  EXPECT_TRUE(GetWindowLongW(f->Handle(), GWL_STYLE) & WS_VSCROLL);
  SendMessageW(f->Handle(), WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(low->Top() + low->Height(), f->ClientHeight());
  TComponent::Free(f);
  f = MakeKindsForm(L"TButton low { Left = 8 Top = 600 }");
  EXPECT_EQ(PropText(f, L"AutoScroll"), L"False");
  EXPECT_FALSE(GetWindowLongW(f->Handle(), GWL_STYLE) & WS_VSCROLL);
  TComponent::Free(f);
}

}  // namespace
