#include "skin/window/CaptionLayout.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace {

// What a visibility code tests.
enum class Cond {
  Always,
  Never,
  Maximized,
  NotMaximized,
  Active,
  Inactive,
  MaximizeBoxAndMenu,  // first code; as the second code only the box counts
  NoMaximizeBox,
  MinimizeBoxAndMenu,  // first code; as the second code only the box counts
  NoMinimizeBox,
  MDIChildMaximized,
  DialogBorderNotDialog,
  AskWindow,
};

// One row per code range: the condition as Visibility and as Visibility1.
struct VisibilityRow {
  int From, To;
  Cond First, Second;
};

constexpr VisibilityRow kVisibility[] = {
    {-1, -1, Cond::Always, Cond::Never},  // no condition of its own
    {0, 0, Cond::Always, Cond::Always},
    {1, 1, Cond::Maximized, Cond::Maximized},
    {2, 2, Cond::NotMaximized, Cond::NotMaximized},
    {3, 3, Cond::Active, Cond::Active},
    {4, 4, Cond::Inactive, Cond::Inactive},
    {6, 6, Cond::MaximizeBoxAndMenu, Cond::MaximizeBoxAndMenu},
    {7, 7, Cond::NoMaximizeBox, Cond::NoMaximizeBox},
    {8, 8, Cond::MinimizeBoxAndMenu, Cond::MinimizeBoxAndMenu},
    {9, 9, Cond::NoMinimizeBox, Cond::NoMinimizeBox},
    {100, 100, Cond::MDIChildMaximized, Cond::MDIChildMaximized},
    {200, 200, Cond::DialogBorderNotDialog, Cond::Never},
    {201, 999, Cond::Always, Cond::Never},
    {1000, 2000, Cond::AskWindow, Cond::Never},
};

bool Has(const TCaptionFacts& f, uint8_t bit) { return (f.Capabilities & bit) != 0; }

bool Test(Cond c, bool second, int code, int action, const TCaptionFacts& f, const TVisibilityQuery& query) {
  const bool maximized = f.ShowState == TShowState::Maximized;
  switch (c) {
    case Cond::Always: return true;
    case Cond::Never: return false;
    case Cond::Maximized: return maximized;
    case Cond::NotMaximized: return !maximized;
    case Cond::Active: return f.Active;
    case Cond::Inactive: return !f.Active;
    case Cond::MaximizeBoxAndMenu:
      return Has(f, kCapMaximizeBox) && (second || Has(f, kCapSystemMenu));
    case Cond::NoMaximizeBox: return !Has(f, kCapMaximizeBox);
    case Cond::MinimizeBoxAndMenu:
      return Has(f, kCapMinimizeBox) && (second || Has(f, kCapSystemMenu));
    case Cond::NoMinimizeBox: return !Has(f, kCapMinimizeBox);
    case Cond::MDIChildMaximized: return f.MDIChildMaximizedInMenuBar;
    case Cond::DialogBorderNotDialog: return !f.Dialog && f.BorderKind == TBorderKind::Dialog;
    case Cond::AskWindow: return query && query(code, action) > 0;
  }
  return false;
}

}  // namespace

TButtonRole RoleOfAction(int action) {
  struct Row {
    int Action;
    TButtonRole Role;
  };
  static constexpr Row kActions[] = {
      {0, TButtonRole::Close},          {1, TButtonRole::MaximizeRestore},
      {22, TButtonRole::MaximizeRestore}, {2, TButtonRole::MinimizeRestore},
      {23, TButtonRole::MinimizeRestore}, {3, TButtonRole::SystemMenu},
      {11, TButtonRole::SystemMenu},    {12, TButtonRole::SystemMenu},
      {7, TButtonRole::MDIMinimize},    {60, TButtonRole::MDIMinimize},
      {8, TButtonRole::MDIRestore},     {61, TButtonRole::MDIRestore},
      {9, TButtonRole::MDIClose},       {62, TButtonRole::MDIClose},
  };
  for (const Row& r : kActions)
    if (r.Action == action) return r.Role;
  return TButtonRole::Custom;
}

bool VisibilityCondition(int code, bool second, int action, const TCaptionFacts& facts,
                         const TVisibilityQuery& query) {
  for (const VisibilityRow& row : kVisibility)
    if (code >= row.From && code <= row.To)
      return Test(second ? row.Second : row.First, second, code, action, facts, query);
  return false;  // unknown codes hide the button
}

bool ButtonVisible(const TDataSkinSysButton& b, const TCaptionFacts& f, const TVisibilityQuery& query) {
  if (!VisibilityCondition(b.Visibility, false, b.Action, f, query)) return false;
  if (!VisibilityCondition(b.Visibility1, true, b.Action, f, query)) return false;
  // The aliases 22 and 23 need the same box as 1 and 2: a button that cannot
  // act on the window is not shown.
  switch (RoleOfAction(b.Action)) {
    case TButtonRole::Close: return b.Action != 0 || Has(f, kCapSystemMenu);
    case TButtonRole::MaximizeRestore: return Has(f, kCapMaximizeBox);
    case TButtonRole::MinimizeRestore: return Has(f, kCapMinimizeBox);
    case TButtonRole::SystemMenu: return f.BorderKind != TBorderKind::Dialog;
    default: return true;
  }
}

TButtonSize ButtonSize(const TDataSkinSysButton& b, int iconSize) {
  if (b.Bitmap.Empty()) {
    if (ShowsWindowIcon(b.Action) && iconSize > 0) return {iconSize, iconSize};
    return {};
  }
  // An icon button shows one picture however many frames the skin declares.
  const int frames = ShowsWindowIcon(b.Action) ? 1 : b.FrameCount;
  if (frames <= 0) return {};
  const int w = b.Bitmap.Width() / frames;
  if (w <= 0) return {};
  return {w, b.Bitmap.Height()};
}

namespace {
int Clamp(int64_t v) { return int(std::clamp<int64_t>(v, INT_MIN / 2, INT_MAX / 2)); }
}  // namespace

ImgRect ButtonRect(const TDataSkinSysButton& b, TButtonSize size, const TCaptionMetrics& m) {
  int64_t left = b.XCoord, top = b.YCoord;
  switch (b.Align) {
    case 1: left = int64_t(m.WindowWidth) - b.XCoord; break;
    case 2:
    case 8: left = -int64_t(size.Width) - b.XCoord; break;
    case 100:
      left = m.RightToLeft ? int64_t(m.BorderLeft) + b.XCoord + m.MenuBarLeftMargin
                           : int64_t(m.WindowWidth) - b.XCoord - m.BorderRight - m.MenuBarLeftMargin;
      top = int64_t(m.CaptionHeight) + (int64_t(m.MenuBarHeight) - size.Height) / 2;
      break;
    default: break;  // 0, 3, 9 and unknown values: at XCoord, YCoord
  }
  const int l = Clamp(left), t = Clamp(top);
  return ImgRect{l, t, Clamp(int64_t(l) + size.Width), Clamp(int64_t(t) + size.Height)};
}

int LayoutCaptionButtons(const std::vector<const TDataSkinSysButton*>& buttons, int iconSize,
                         const TCaptionFacts& facts, const TCaptionMetrics& m,
                         const TVisibilityQuery& query, std::vector<TCaptionSlot>& slots) {
  slots.resize(buttons.size());
  int edge = 0;
  for (size_t i = 0; i < buttons.size(); ++i) {
    const TDataSkinSysButton& b = *buttons[i];
    TCaptionSlot& s = slots[i];
    s.Visible = ButtonVisible(b, facts, query);
    if (!s.Visible) continue;
    const TButtonSize size = ButtonSize(b, iconSize);
    if (size.Width <= 0 || size.Height <= 0) continue;
    s.Rect = ButtonRect(b, size, m);
    if (b.Align == 1) edge = std::max(edge, s.Rect.Left);
  }
  return edge;
}

int HitCaptionButton(const std::vector<const TDataSkinSysButton*>& buttons,
                     const std::vector<TCaptionSlot>& slots, int x, int y) {
  const size_t n = std::min(buttons.size(), slots.size());
  for (size_t i = 0; i < n; ++i) {
    const TCaptionSlot& s = slots[i];
    if (!s.Visible || buttons[i]->Action < 0) continue;
    if (x >= s.Rect.Left && x < s.Rect.Right && y >= s.Rect.Top && y < s.Rect.Bottom) return int(i);
  }
  return -1;
}
