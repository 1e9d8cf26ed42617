#include "skin/controls/InputPictures.h"

#include <algorithm>

#include "skin/data/ImgUtil.h"
#include "skin/data/WinSkinData.h"

namespace {

constexpr int kComboFrames = 4;
constexpr int kExtraFrames = 5;
constexpr int kUpDownFrames = 8;

FrameMargins MarginsOf(const TDataSkinObject& e) {
  return FrameMargins{e.LeftWidth, e.TopHeight, e.RightWidth, e.BottomHeight};
}

// A strip mirrored as a whole holds its frames in reverse order: frame k of
// the original is frame count + 1 - k of the mirror.
int MirroredFrame(int count, int frame) { return count + 1 - frame; }

uint32_t Px(TColour c) { return PixelFromColour(ResolveColour(c)); }

void Ring(Image& img, ImgRect r, uint32_t p) {
  if (r.Empty()) return;
  img.FillRect(MakeRect(r.Left, r.Top, r.Right, r.Top + 1), p);
  img.FillRect(MakeRect(r.Left, r.Bottom - 1, r.Right, r.Bottom), p);
  img.FillRect(MakeRect(r.Left, r.Top, r.Left + 1, r.Bottom), p);
  img.FillRect(MakeRect(r.Right - 1, r.Top, r.Right, r.Bottom), p);
}

ImgRect Shrink(ImgRect r, int n) { return MakeRect(r.Left + n, r.Top + n, r.Right - n, r.Bottom - n); }

void ComposeFlat(ComboPicture& out, const ComboSkin& skin, const ComboState& s, bool left, int thumbWidth) {
  const TDataSkinBorder& b = *skin.Button;
  const bool mirrored = left && !b.Bitmap2.Empty();
  const Image& img = mirrored ? b.Bitmap2 : b.Bitmap;
  const ImgRect all = out.Picture.Bounds();
  const uint32_t window = Px(skin.Window);
  Ring(out.Picture, Shrink(all, 1), window);
  const FlatComboParts parts =
      FlatComboLayout(all.Width(), all.Height(), thumbWidth, img.Width() / kComboFrames, img.Height(), left);
  out.Picture.FillRect(parts.Strip, window);
  Ring(out.Picture, all, Px(skin.Shadow));
  out.Button = parts.Button;
  const int frame = FlatComboButtonFrame(s.Pressed, s.Hot, s.Focused, s.Enabled);
  DrawFrameStretched(out.Picture, parts.Button, img, true, kComboFrames,
                     mirrored ? MirroredFrame(kComboFrames, frame) : frame);
}

void ComposeCombined(ComboPicture& out, const ComboSkin& skin, const ComboState& s, bool left) {
  // The builder made one strip of edge, button and glyph; its mirror is the
  // SunkEdge element's image.
  const bool mirrored = left && skin.Sunk && !skin.Sunk->Bitmap.Empty();
  const TDataSkinObject* e = mirrored ? skin.Sunk : skin.Button;
  const int count = e->FrameCount > 0 ? e->FrameCount : kComboFrames;
  const int frame = ComboButtonFrame(s.Pressed, s.Hot, s.Focused, s.Enabled);
  DrawFrame(out.Picture, out.Picture.Bounds(), e->Bitmap, false, e->Tile == 1, true, count,
            mirrored ? MirroredFrame(count, frame) : frame, MarginsOf(*e));
  const int w = out.Picture.Width(), h = out.Picture.Height();
  out.Button = left ? MakeRect(0, 0, e->LeftWidth, h) : MakeRect(w - e->RightWidth, 0, w, h);
}

void ComposeSeparate(ComboPicture& out, const ComboSkin& skin, const ComboState& s, bool left, int arrowWidth) {
  const ImgRect all = out.Picture.Bounds();
  const ComboLayout layout = ComboButtonLayout(all.Width(), all.Height(), arrowWidth, left);
  const int frame = ComboButtonFrame(s.Pressed, s.Hot, s.Focused, s.Enabled);
  if (skin.Sunk && !skin.Sunk->Bitmap.Empty())
    DrawFrame(out.Picture, all, skin.Sunk->Bitmap, false, skin.Sunk->Tile == 1, skin.Sunk->Trans == 1,
              kComboFrames, frame, MarginsOf(*skin.Sunk));
  const bool mirrored = left && !skin.Button->Bitmap2.Empty();
  DrawFrameStretched(out.Picture, layout.Button, mirrored ? skin.Button->Bitmap2 : skin.Button->Bitmap, true,
                     kComboFrames, mirrored ? MirroredFrame(kComboFrames, frame) : frame);
  if (skin.Extra && !skin.Extra->Bitmap.Empty())
    DrawFrameCentred(out.Picture, layout.Button, skin.Extra->Bitmap, true, kExtraFrames, frame);
  out.Button = layout.Button;
  out.Keep = layout.Keep;
  // The kept text area stays as the platform drew it.
  out.Picture.FillRect(layout.Keep, kMagenta);
}

}  // namespace

ComboPicture ComposeComboBox(int width, int height, const ComboSkin& skin, const ComboState& state,
                             bool leftButton, int arrowWidth, int thumbWidth) {
  ComboPicture out;
  if (!skin.Button || skin.Button->Bitmap.Empty() || width <= 0 || height <= 0) return out;
  out.Picture = Image(width, height, kMagenta);
  if (out.Picture.Empty()) return out;
  switch (skin.Button->Style) {
    case 1:
      ComposeFlat(out, skin, state, leftButton, thumbWidth);
      break;
    case 2:
      ComposeCombined(out, skin, state, leftButton);
      break;
    default:
      ComposeSeparate(out, skin, state, leftButton, arrowWidth);
      break;
  }
  return out;
}

Image ComposeTrackChannel(const TDataSkinObject& track, bool vertical, ImgRect channel, ImgRect* at) {
  const ImgRect src = FrameSourceRect(track.Bitmap, false, std::max(1, track.FrameCount), 1);
  if (track.Bitmap.Empty() || src.Empty() || channel.Empty()) return Image();
  const ImgRect place = TrackChannelPlace(channel, src.Width(), src.Height(), vertical);
  if (at) *at = place;
  Image out(place.Width(), place.Height(), 0);
  if (out.Empty()) return out;
  const int w = out.Width(), h = out.Height();
  if (vertical) {
    const int top = std::clamp(track.TopHeight, 0, src.Height());
    const int bottom = std::clamp(track.BottomHeight, 0, src.Height() - top);
    StretchCopy(out, MakeRect(0, 0, w, std::min(top, h)), track.Bitmap,
                MakeRect(src.Left, src.Top, src.Right, src.Top + top));
    StretchCopy(out, MakeRect(0, top, w, h - bottom), track.Bitmap,
                MakeRect(src.Left, src.Top + top, src.Right, src.Bottom - bottom));
    StretchCopy(out, MakeRect(0, std::max(0, h - bottom), w, h), track.Bitmap,
                MakeRect(src.Left, src.Bottom - bottom, src.Right, src.Bottom));
  } else {
    const int left = std::clamp(track.LeftWidth, 0, src.Width());
    const int right = std::clamp(track.RightWidth, 0, src.Width() - left);
    StretchCopy(out, MakeRect(0, 0, std::min(left, w), h), track.Bitmap,
                MakeRect(src.Left, src.Top, src.Left + left, src.Bottom));
    StretchCopy(out, MakeRect(left, 0, w - right, h), track.Bitmap,
                MakeRect(src.Left + left, src.Top, src.Right - right, src.Bottom));
    StretchCopy(out, MakeRect(std::max(0, w - right), 0, w, h), track.Bitmap,
                MakeRect(src.Right - right, src.Top, src.Right, src.Bottom));
  }
  return out;
}

namespace {

// A filled arrow of 4 lines, 1, 3, 5 and 7 pixels long, pointing along
// `dir` (0 up, 1 down, 2 left, 3 right), across centred on (cx, cy) and
// along starting 2 pixels before it.
void Arrow(Image& img, int cx, int cy, int dir, uint32_t p) {
  for (int i = 0; i < 4; ++i) {
    const int along = dir == 0 || dir == 2 ? i - 2 : 1 - i;  // the tip first
    if (dir <= 1) img.FillRect(MakeRect(cx - i, cy + along, cx + i + 1, cy + along + 1), p);
    else img.FillRect(MakeRect(cx + along, cy - i, cx + along + 1, cy + i + 1), p);
  }
}

}  // namespace

Image ComposeUpDown(int width, int height, bool horizontal, const TDataSkinBorder* strip,
                    const UpDownState& state, TColour face, TColour shadow, TColour dkShadow) {
  Image out(width, height, Px(face));
  if (out.Empty()) return out;
  const UpDownHalf halves = UpDownHalves(width, height, horizontal);
  const bool skinned = strip && !strip->Bitmap.Empty();
  for (int second = 0; second < 2; ++second) {
    const ImgRect r = second ? halves.Second : halves.First;
    const int s = second ? state.Second : state.First;
    if (r.Empty()) continue;
    if (skinned) {
      const int frame = UpDownFrame(second != 0, s);
      DrawFrameStretched(out, r, strip->Bitmap, true, kUpDownFrames, frame);
      if (!strip->Bitmap2.Empty()) DrawFrameCentred(out, r, strip->Bitmap2, true, kUpDownFrames, frame);
      continue;
    }
    const bool lit = s == kInputPressed || s == kInputHot;
    out.FillRect(r, Px(lit ? shadow : face));
    Ring(out, r, Px(dkShadow));
    const int cx = (r.Left + r.Right) / 2, cy = (r.Top + r.Bottom) / 2;
    Arrow(out, cx, cy, horizontal ? (second ? 3 : 2) : (second ? 1 : 0), Px(dkShadow));
  }
  return out;
}
