// Caption-button rules without windows: visibility codes, action needs,
// placement, button edge and hit tests; menu-item geometry.
#include "skin/window/CaptionLayout.h"
#include "skin/window/MenuItemLayout.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>

namespace {

constexpr uint8_t kAllBoxes = kCapMaximizeBox | kCapMinimizeBox | kCapSystemMenu;

std::unique_ptr<TDataSkinSysButton> Button(int action, int vis, int vis1, int align = 1, int x = 0,
                                           int y = 0, int w = 20, int h = 18, int frames = 4) {
  auto b = std::make_unique<TDataSkinSysButton>("Button");
  b->Action = action;
  b->Visibility = vis;
  b->Visibility1 = vis1;
  b->Align = align;
  b->XCoord = x;
  b->YCoord = y;
  b->FrameCount = frames;
  if (w > 0) b->Bitmap = Image(w * (frames > 0 ? frames : 1), h, 0x123456);
  return b;
}

TCaptionFacts Facts(TShowState show, uint8_t caps, bool active = true) {
  TCaptionFacts f;
  f.ShowState = show;
  f.Capabilities = caps;
  f.Active = active;
  return f;
}

// The usual row: close, maximize (shown while not maximized), restore (shown
// while maximized), minimize, each needing its box through Visibility1.
struct StandardRow {
  std::unique_ptr<TDataSkinSysButton> close = Button(0, 0, 0);
  std::unique_ptr<TDataSkinSysButton> max = Button(1, 2, 6);
  std::unique_ptr<TDataSkinSysButton> restore = Button(1, 1, 6);
  std::unique_ptr<TDataSkinSysButton> min = Button(2, 0, 8);
  std::vector<bool> Shown(const TCaptionFacts& f) const {
    return {ButtonVisible(*close, f, {}), ButtonVisible(*max, f, {}), ButtonVisible(*restore, f, {}),
            ButtonVisible(*min, f, {})};
  }
};

TEST(CaptionVisibility, StandardRowFollowsShowStateAndBoxes) {
  StandardRow row;
  using V = std::vector<bool>;
  EXPECT_EQ(row.Shown(Facts(TShowState::Normal, kAllBoxes)), (V{true, true, false, true}));
  EXPECT_EQ(row.Shown(Facts(TShowState::Maximized, kAllBoxes)), (V{true, false, true, true}));
  // No maximize box: neither maximize nor restore, whatever the state.
  EXPECT_EQ(row.Shown(Facts(TShowState::Maximized, kCapMinimizeBox | kCapSystemMenu)),
            (V{true, false, false, true}));
  // A window without a system menu shows no close button; as the second code,
  // 6 and 8 need only the box.
  EXPECT_EQ(row.Shown(Facts(TShowState::Normal, kCapMaximizeBox | kCapMinimizeBox)),
            (V{false, true, false, true}));
  EXPECT_EQ(row.Shown(Facts(TShowState::Normal, 0)), (V{false, false, false, false}));
}

TEST(CaptionVisibility, CodesAsFirstAndSecondCondition) {
  const TCaptionFacts normal = Facts(TShowState::Normal, kAllBoxes, true);
  const TCaptionFacts inactive = Facts(TShowState::Normal, kAllBoxes, false);
  // As the first code 6 and 8 also need the system menu.
  const TCaptionFacts noMenu = Facts(TShowState::Normal, kCapMaximizeBox | kCapMinimizeBox);
  EXPECT_FALSE(VisibilityCondition(6, false, 5, noMenu, {}));
  EXPECT_TRUE(VisibilityCondition(6, true, 5, noMenu, {}));
  EXPECT_FALSE(VisibilityCondition(8, false, 5, noMenu, {}));
  EXPECT_TRUE(VisibilityCondition(8, true, 5, noMenu, {}));
  EXPECT_TRUE(VisibilityCondition(7, false, 5, Facts(TShowState::Normal, kCapSystemMenu), {}));
  EXPECT_FALSE(VisibilityCondition(9, true, 5, normal, {}));
  EXPECT_TRUE(VisibilityCondition(3, false, 5, normal, {}));
  EXPECT_FALSE(VisibilityCondition(3, true, 5, inactive, {}));
  EXPECT_TRUE(VisibilityCondition(4, true, 5, inactive, {}));
  // 201..999 and -1 take no decision first and hide as the second code; 5 and
  // other unknown codes hide.
  for (int code : {-1, 201, 999}) {
    EXPECT_TRUE(VisibilityCondition(code, false, 5, normal, {})) << code;
    EXPECT_FALSE(VisibilityCondition(code, true, 5, normal, {})) << code;
  }
  for (int code : {5, 10, 99, 2001, -2, INT_MIN, INT_MAX}) EXPECT_FALSE(VisibilityCondition(code, false, 5, normal, {})) << code;
  // 200: a dialog border on a window that is not a standard dialog.
  TCaptionFacts dlg = normal;
  dlg.BorderKind = TBorderKind::Dialog;
  EXPECT_TRUE(VisibilityCondition(200, false, 5, dlg, {}));
  dlg.Dialog = true;
  EXPECT_FALSE(VisibilityCondition(200, false, 5, dlg, {}));
  EXPECT_FALSE(VisibilityCondition(200, false, 5, normal, {}));
  // 100 follows the MDI flag in both places.
  TCaptionFacts mdi = normal;
  mdi.MDIChildMaximizedInMenuBar = true;
  EXPECT_TRUE(VisibilityCondition(100, true, 5, mdi, {}));
  EXPECT_FALSE(VisibilityCondition(100, false, 5, normal, {}));
}

TEST(CaptionVisibility, CodesFrom1000AskTheWindowWithCodeAndAction) {
  const TCaptionFacts f = Facts(TShowState::Normal, kAllBoxes);
  int askedCode = 0, askedAction = 0, answer = 0;
  const TVisibilityQuery query = [&](int code, int action) {
    askedCode = code;
    askedAction = action;
    return answer;
  };
  auto b = Button(42, 1500, 0);
  EXPECT_FALSE(ButtonVisible(*b, f, query));
  EXPECT_EQ(askedCode, 1500);
  EXPECT_EQ(askedAction, 42);
  answer = 1;
  EXPECT_TRUE(ButtonVisible(*b, f, query));
  answer = -3;
  EXPECT_FALSE(ButtonVisible(*b, f, query));
  // Without anyone to ask the button stays hidden; as the second code the
  // window is not asked at all.
  EXPECT_FALSE(ButtonVisible(*b, f, {}));
  askedCode = 0;
  answer = 1;
  EXPECT_FALSE(ButtonVisible(*Button(42, 0, 1500), f, query));
  EXPECT_EQ(askedCode, 0);
}

TEST(CaptionVisibility, ActionsNeedWhatTheyActOn) {
  const TCaptionFacts all = Facts(TShowState::Normal, kAllBoxes);
  const TCaptionFacts none = Facts(TShowState::Normal, 0);
  // The aliases of maximize and minimize need their boxes as well.
  for (int action : {1, 22}) EXPECT_FALSE(ButtonVisible(*Button(action, 0, 0), none, {})) << action;
  for (int action : {2, 23}) EXPECT_FALSE(ButtonVisible(*Button(action, 0, 0), none, {})) << action;
  for (int action : {1, 22, 2, 23, 0}) EXPECT_TRUE(ButtonVisible(*Button(action, 0, 0), all, {})) << action;
  // Custom and MDI actions need nothing.
  for (int action : {9, 60, 77}) EXPECT_TRUE(ButtonVisible(*Button(action, 0, 0), none, {})) << action;
  // System-menu buttons are hidden on dialog borders.
  TCaptionFacts dlg = all;
  dlg.BorderKind = TBorderKind::Dialog;
  for (int action : {3, 11, 12}) {
    EXPECT_TRUE(ButtonVisible(*Button(action, 0, 0), all, {})) << action;
    EXPECT_FALSE(ButtonVisible(*Button(action, 0, 0), dlg, {})) << action;
  }
  EXPECT_EQ(RoleOfAction(11), TButtonRole::SystemMenu);
  EXPECT_EQ(RoleOfAction(61), TButtonRole::MDIRestore);
  EXPECT_EQ(RoleOfAction(-1), TButtonRole::Custom);
}

TEST(CaptionLayout, AlignPlacesButtonsAndRightButtonsSetTheEdge) {
  TCaptionMetrics m;
  m.WindowWidth = 400;
  m.BorderLeft = 4;
  m.BorderRight = 6;
  m.CaptionHeight = 30;
  m.MenuBarHeight = 20;
  m.MenuBarLeftMargin = 3;
  auto close = Button(0, 0, 0, 1, 30, 5);      // 20 x 18 per frame
  auto min = Button(2, 0, 8, 1, 75, 5);
  auto hidden = Button(1, 1, 0, 1, -100, 5);   // maximized only: hidden
  auto icon = Button(3, 0, 0, 0, 9, 7, 0);     // no image: the icon size
  auto neg = Button(77, 0, 0, 2, 8, 2, 10, 10, 1);
  auto mdi = Button(62, 0, 0, 100, 40, 0, 16, 14, 1);
  std::vector<const TDataSkinSysButton*> buttons{close.get(), min.get(), hidden.get(), icon.get(), neg.get(), mdi.get()};
  std::vector<TCaptionSlot> slots;
  const TCaptionFacts f = Facts(TShowState::Normal, kAllBoxes);
  const int edge = LayoutCaptionButtons(buttons, 16, f, m, {}, slots);
  ASSERT_EQ(slots.size(), buttons.size());
  EXPECT_EQ(slots[0].Rect, MakeRect(370, 5, 390, 23));
  EXPECT_EQ(slots[1].Rect, MakeRect(325, 5, 345, 23));
  EXPECT_FALSE(slots[2].Visible);
  EXPECT_EQ(slots[3].Rect, MakeRect(9, 7, 25, 23));
  EXPECT_EQ(slots[4].Rect, MakeRect(-18, 2, -8, 12));
  // In the menu bar: from the right edge inside the border and margin, centred.
  EXPECT_EQ(slots[5].Rect, MakeRect(400 - 40 - 6 - 3, 33, 400 - 40 - 6 - 3 + 16, 47));
  EXPECT_EQ(edge, 370);  // the hidden right-aligned button (at 500) does not count
  m.RightToLeft = true;
  LayoutCaptionButtons(buttons, 16, f, m, {}, slots);
  EXPECT_EQ(slots[5].Rect.Left, 4 + 40 + 3);

  // Hit tests: first visible button in order; hidden ones keep their old
  // rectangle but are never hit, nor are buttons with a negative action.
  EXPECT_EQ(HitCaptionButton(buttons, slots, 370, 5), 0);
  EXPECT_EQ(HitCaptionButton(buttons, slots, 389, 22), 0);
  EXPECT_EQ(HitCaptionButton(buttons, slots, 390, 22), -1);
  EXPECT_EQ(HitCaptionButton(buttons, slots, 330, 10), 1);
  m.RightToLeft = false;
  LayoutCaptionButtons(buttons, 16, Facts(TShowState::Maximized, kAllBoxes), m, {}, slots);
  EXPECT_EQ(slots[2].Rect, MakeRect(500, 5, 520, 23));
  LayoutCaptionButtons(buttons, 16, f, m, {}, slots);
  EXPECT_EQ(slots[2].Rect, MakeRect(500, 5, 520, 23));  // kept while hidden
  EXPECT_EQ(HitCaptionButton(buttons, slots, 505, 10), -1);
  close->Action = -1;
  EXPECT_EQ(HitCaptionButton(buttons, slots, 375, 10), -1);
}

TEST(CaptionLayout, HostileSkinValuesGiveNoButtonAndNoOverflow) {
  TCaptionMetrics m;
  m.WindowWidth = INT_MAX;
  m.MenuBarHeight = INT_MIN;
  auto zeroFrames = Button(77, 0, 0, 1, 0, 0, 20, 18, 0);
  auto negFrames = Button(77, 0, 0, 1, 0, 0, 20, 18, -3);
  auto tooManyFrames = Button(77, 0, 0, 1, 0, 0, 20, 18, 4);
  tooManyFrames->FrameCount = 1000;  // wider than the image
  auto far = Button(77, 0, 0, 1, INT_MIN, INT_MAX);
  auto mdi = Button(77, 0, 0, 100, INT_MIN, 0);
  for (auto* b : {zeroFrames.get(), negFrames.get(), tooManyFrames.get()}) {
    const TButtonSize s = ButtonSize(*b, 16);
    EXPECT_EQ(s.Width, 0);
    EXPECT_EQ(s.Height, 0);
  }
  std::vector<const TDataSkinSysButton*> buttons{zeroFrames.get(), negFrames.get(), tooManyFrames.get(), far.get(), mdi.get()};
  std::vector<TCaptionSlot> slots;
  LayoutCaptionButtons(buttons, 16, Facts(TShowState::Normal, kAllBoxes), m, {}, slots);
  EXPECT_TRUE(slots[0].Rect.Empty());
  EXPECT_FALSE(slots[3].Rect.Inverted());
  EXPECT_FALSE(slots[4].Rect.Inverted());
  EXPECT_EQ(HitCaptionButton(buttons, slots, 0, 0), -1);
}

TEST(MenuItemGeometry, WidthsAndNativeItems) {
  EXPECT_EQ(PopupItemWidth(100, true, 7, true), 119);
  EXPECT_EQ(PopupItemWidth(100, true, 7, false), 142);
  EXPECT_EQ(PopupItemWidth(100, false, 7, true), 112);  // no element: no margin
  EXPECT_EQ(MainMenuItemWidth(100, true, 7, false), 142);
  EXPECT_EQ(MainMenuItemWidth(100, false, -5, true), 110);
  const TItemSize text = NativeItemSize(60, 13, false, true, 4);
  EXPECT_EQ(text.Width, 90);
  EXPECT_EQ(text.Height, 17);
  EXPECT_EQ(NativeItemSize(0, 13, true, false, 4).Height, 8);
}

TEST(MenuItemGeometry, BoxesOfIconCaptionAndShortcut) {
  const ImgRect item{0, 20, 150, 40};
  const TMenuItemBoxes b = MenuItemBoxes(item, false, false, 16, true, 5, false);
  EXPECT_EQ(b.Icon, MakeRect(6, 21, 22, 37));
  EXPECT_EQ(b.Caption, MakeRect(25, 20, 149, 40));
  EXPECT_EQ(b.ShortcutRight, 139);
  // Checked items get a box of at least 16; separators none.
  EXPECT_EQ(MenuItemBoxes(item, false, true, 12, false, 0, false).Icon.Width(), 16);
  EXPECT_EQ(MenuItemBoxes(item, false, false, 12, false, 0, false).Icon.Width(), 12);
  const TMenuItemBoxes sep = MenuItemBoxes(item, true, false, 16, true, 5, false);
  EXPECT_EQ(sep.Icon.Width(), 0);
  EXPECT_EQ(sep.Caption.Left, 6 + 3);
  // Right to left: the icon box against the right edge, the text before it.
  const TMenuItemBoxes rtl = MenuItemBoxes(item, false, false, 16, true, 5, true);
  EXPECT_EQ(rtl.Icon, MakeRect(128, 21, 144, 37));
  EXPECT_LE(rtl.Caption.Right, rtl.Icon.Left);
}

TEST(MenuItemGeometry, SeparatorIsCutFromFrameTwoBottomBand) {
  EXPECT_EQ(SeparatorSource(100, 30, 5, 8), MakeRect(20, 22, 40, 30));
  EXPECT_EQ(SeparatorSource(100, 6, 5, 8), MakeRect(20, 0, 40, 6));
  EXPECT_TRUE(SeparatorSource(100, 30, 0, 8).Empty());
  EXPECT_TRUE(SeparatorSource(100, 30, 1, 8).Empty());   // no second frame
  EXPECT_TRUE(SeparatorSource(3, 30, 5, 8).Empty());     // frames of width 0
}

}  // namespace
