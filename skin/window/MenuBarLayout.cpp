#include "skin/window/MenuBarLayout.h"

#include <cwctype>

ImgRect MenuBandRect(int w, int borderLeft, int captionHeight, int borderRight, int bandHeight) {
  return ImgRect{borderLeft, captionHeight, w - borderRight, captionHeight + bandHeight};
}

int MenuBarStart(bool hasElement, int leftMargin, int rightMargin, bool rightToLeft, int bandWidth) {
  if (!hasElement) return 6;
  const int start = rightToLeft ? rightMargin + 8 : leftMargin + 4;
  return bandWidth < start ? 12 : start;
}

std::vector<ImgRect> LayoutMenuBar(const std::vector<TMenuBarEntry>& entries, ImgRect band, int start,
                                   bool rightToLeft) {
  std::vector<ImgRect> rects(entries.size());
  const int bottom = band.Height() - 1;
  int x = rightToLeft ? band.Width() - start : start;
  for (size_t i = 0; i < entries.size(); ++i) {
    const TMenuBarEntry& e = entries[i];
    if (!e.Visible) continue;
    const int width = e.EmptyCaption ? 0 : e.TextWidth + 10;
    ImgRect r = rightToLeft ? ImgRect{x - width, 0, x, bottom} : ImgRect{x, 0, x + width, bottom};
    x += rightToLeft ? -width : width;
    rects[i] = ImgRect{r.Left + band.Left, r.Top + band.Top, r.Right + band.Left, r.Bottom + band.Top};
  }
  return rects;
}

int MenuBarButtonAt(const std::vector<ImgRect>& rects, const std::vector<TMenuBarEntry>& entries, int x, int y) {
  for (size_t i = 0; i < rects.size() && i < entries.size(); ++i) {
    const ImgRect& r = rects[i];
    if (entries[i].EmptyCaption || !entries[i].Visible) continue;
    if (x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom) return static_cast<int>(i);
  }
  return -1;
}

wchar_t MenuAccessKey(const std::wstring& caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != L'&') continue;
    if (caption[i + 1] == L'&') {
      ++i;
      continue;
    }
    return static_cast<wchar_t>(std::towupper(caption[i + 1]));
  }
  return 0;
}

int MenuBarButtonByKey(const std::vector<TMenuBarKeyEntry>& entries, wchar_t key) {
  if (!key) return -1;
  const wchar_t wanted = static_cast<wchar_t>(std::towupper(key));
  for (size_t i = 0; i < entries.size(); ++i) {
    const TMenuBarKeyEntry& e = entries[i];
    if (e.Visible && e.Enabled && MenuAccessKey(e.Caption) == wanted) return static_cast<int>(i);
  }
  return -1;
}

int MenuBarArrowTarget(TArrowKey key, int open, int count, bool selectionInNestedMenu, bool anySelected,
                       bool selectedOpensSubmenu, bool rightToLeft) {
  if (count <= 0 || open < 0 || open >= count) return -1;
  if (rightToLeft) key = key == TArrowKey::Left ? TArrowKey::Right : TArrowKey::Left;
  if (key == TArrowKey::Left) {
    if (selectionInNestedMenu) return -1;
    return (open + count - 1) % count;
  }
  if (anySelected && selectedOpensSubmenu) return -1;
  return (open + 1) % count;
}
