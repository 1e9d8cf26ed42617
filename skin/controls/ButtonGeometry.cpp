#include "skin/controls/ButtonGeometry.h"

#include <algorithm>
#include <cwctype>

namespace {

std::wstring Lower(std::wstring s) {
  for (auto& c : s) c = wchar_t(std::towlower(c));
  return s;
}

bool Contains(const std::wstring& s, const wchar_t* part) { return s.find(part) != std::wstring::npos; }

}  // namespace

TGlyphLayout GlyphLayoutFromName(const std::wstring& name) {
  const std::wstring n = Lower(name);
  if (n == L"blglyphright") return TGlyphLayout::Right;
  if (n == L"blglyphtop") return TGlyphLayout::Top;
  if (n == L"blglyphbottom") return TGlyphLayout::Bottom;
  return TGlyphLayout::Left;
}

TGlyphPlacement PlaceGlyphAndText(int cw, int ch, int gw, int gh, int tw, int th, TGlyphLayout layout, int margin,
                                  int spacing, bool centred, bool speedButton) {
  TGlyphPlacement p;
  const bool across = layout == TGlyphLayout::Left || layout == TGlyphLayout::Right;
  // Centred on the other axis.
  if (across) {
    p.glyphY = (ch - gh + 1) / 2;
    p.textY = (ch - th + 1) / 2;
  } else {
    p.glyphX = (cw - gw + 1) / 2;
    p.textX = (cw - tw + 1) / 2;
  }
  const int room = across ? cw : ch;
  const int g = across ? gw : gh, t = across ? tw : th;
  if (tw == 0 || gw == 0) spacing = 0;
  if (margin == -1 || centred) {
    if (spacing == -1) {
      margin = (room - (g + t)) / 3;
      spacing = margin;
    } else {
      margin = (room - (g + spacing + t)) / 2 + (speedButton ? 1 : 0);
    }
  } else if (spacing == -1) {
    spacing = ((room - (margin + g)) - t) / 2;
  }
  switch (layout) {
    case TGlyphLayout::Left:
      p.glyphX = margin;
      p.textX = p.glyphX + gw + spacing;
      p.textFlags = kTextWordBreak;
      break;
    case TGlyphLayout::Right:
      p.glyphX = cw - margin - gw;
      p.textX = p.glyphX - spacing - tw;
      p.textFlags = kTextWordBreak | kTextRight;
      break;
    case TGlyphLayout::Top:
      p.glyphY = margin;
      p.textY = p.glyphY + gh + spacing;
      p.textFlags = kTextWordBreak | kTextCenter;
      break;
    case TGlyphLayout::Bottom:
      p.glyphY = ch - margin - gh;
      p.textY = p.glyphY - spacing - th;
      p.textFlags = kTextWordBreak | kTextCenter;
      break;
  }
  return p;
}

int BitButtonGlyph(int frame, bool enabled) {
  if (!enabled) return 2;
  return frame == 2 ? 3 : 1;
}

TSpeedLook SpeedButtonLook(bool down, bool enabled, bool pressed, bool hot, bool flat) {
  TSpeedLook look;
  if (down) look = {2, 4};
  else if (!enabled) look = {3, 2};
  else if (pressed) look = {2, 3};
  else if (hot) look = {4, 1};
  look.drawFrame = !flat || look.frame == 2 || look.frame == 4;
  return look;
}

int MenuButtonFrame(bool pressed, bool hot, bool focused, bool enabled) {
  if (!enabled) return 3;
  if (pressed) return 2;
  return focused || hot ? 4 : 1;
}

TMenuButtonPlace PlaceMenuButton(int width, int height, int textWidth, int textHeight) {
  TMenuButtonPlace p;
  p.textX = (width - 17 - textWidth) / 2 + 2;
  p.textY = (height - textHeight + 1) / 2;
  const int m = height / 2 + 2;
  p.arrowX[0] = width - 12, p.arrowY[0] = m;
  p.arrowX[1] = width - 15, p.arrowY[1] = m - 3;
  p.arrowX[2] = width - 9, p.arrowY[2] = m - 3;
  return p;
}

int CheckBoxFrame(const TCheckBoxState& in, int frameCount) {
  int s = in.checked ? 2 : 1;
  if (in.hasState) {
    const std::wstring state = Lower(in.state);
    if (Contains(state, L"uncheck")) s = 1;  // before "check", which it contains
    else if (Contains(state, L"check")) s = 2;
    else if (Contains(state, L"gray")) s = 4;
  } else if (in.hasChecked) {
    // Unchecked is frame 1 here as everywhere (frame 3 is the disabled box).
    s = Lower(in.checkedText) == L"true" ? 2 : 1;
  }
  if (in.hasDataField && in.dataState != 0) s = in.dataState == 3 ? 4 : in.dataState;
  if (in.hasDataBinding) s = 1;
  // A grayed box has one frame, enabled or not; only plain boxes shift to
  // their disabled frames.
  if (in.disabled && s < 3) s += 2;
  if (in.indeterminate) s = 4;
  if (frameCount == 12) {
    if (in.indeterminate) return in.disabled ? 12 : 9;
    if (s == 2) return 5;
    if (s == 3) return 4;
    if (s == 4) return 8;
  }
  return std::clamp(s, 1, std::max(frameCount, 1));
}

int RadioButtonFrame(bool checked, bool hasChecked, const std::wstring& checkedText, bool disabled,
                     int frameCount) {
  int s = checked ? 2 : 1;
  if (hasChecked) s = Lower(checkedText) == L"true" ? 2 : 1;
  if (disabled) s += 2;
  if (frameCount == 8) {
    if (s == 2) return 5;
    if (s == 3) return 4;
    if (s == 4) return 8;
  }
  return std::clamp(s, 1, std::max(frameCount, 1));
}

TCheckPlace PlaceCheckBox(ImgRect r, int fw, int fh, bool leftText, bool radio) {
  TCheckPlace p;
  const int top = r.Top + (r.Height() - fh) / 2;
  const int inset = radio ? 1 : 0;
  if (leftText) {
    p.box = MakeRect(r.Right - fw - inset, top, r.Right - inset, top + fh);
    p.caption = MakeRect(r.Left, r.Top, r.Right - fw - 2 - inset, r.Bottom);
  } else {
    p.box = MakeRect(r.Left, top, r.Left + fw, top + fh);
    p.caption = MakeRect(r.Left + fw + 2, r.Top, r.Right, r.Bottom);
  }
  return p;
}
