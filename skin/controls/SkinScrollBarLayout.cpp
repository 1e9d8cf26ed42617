#include "skin/controls/SkinScrollBarLayout.h"

#include <algorithm>
#include <cstdlib>

#include "skin/data/ImgUtil.h"

namespace {

constexpr int kArrowFrames = 23;

// Rectangle from a span along the axis and a span across it.
ImgRect AxisRect(bool vertical, int along0, int along1, int cross0, int cross1) {
  return vertical ? MakeRect(cross0, along0, cross1, along1) : MakeRect(along0, cross0, along1, cross1);
}

FrameMargins Margins(const TDataSkinObject& o) {
  return FrameMargins{o.LeftWidth, o.TopHeight, o.RightWidth, o.BottomHeight};
}

bool HasImage(const TDataSkinObject* o) { return o && !o->Bitmap.Empty(); }

// Frame n of an object's strip; a frame beyond a short strip falls back to
// frame 1 instead of drawing nothing.
int SafeFrame(const TDataSkinObject& o, int frame) {
  return frame <= std::max(1, o.FrameCount) ? frame : 1;
}

// a * b / c rounded half away from zero; 0 when c is 0.
int64_t MulDivRound(int64_t a, int64_t b, int64_t c) {
  if (c == 0) return 0;
  const int64_t n = a * b;
  const int64_t half = (c < 0 ? -c : c) / 2;
  return ((n < 0) != (c < 0) ? n - half : n + half) / c;
}

}  // namespace

int ScrollThickness(int stripHeight, int arrow) { return std::abs(stripHeight - arrow) > 2 ? arrow : stripHeight; }

ThumbSpan ControlBarThumb(int length, int arrow, const ScrollRange& r) {
  const int64_t d = r.Max == r.Min ? 9999999 : int64_t(r.Max) - r.Min;
  const int64_t offset = int64_t(r.Pos) - r.Min;
  if (r.Page <= 0) {
    const int64_t start = offset == 0 ? arrow : MulDivRound(length - 3 * arrow, offset, d) + arrow;
    return ThumbSpan{int(start), int(start + arrow)};
  }
  int64_t size = MulDivRound(length - 2 * arrow, r.Page - 1, d);
  int64_t start = offset == 0 ? arrow : MulDivRound(length - 2 * arrow, offset, d) + arrow;
  if (size <= 7) {
    size = 8;
    if (offset != 0) start = MulDivRound(length - 2 * arrow - 8, offset, d) + arrow;
  }
  return ThumbSpan{int(start), int(start + size)};
}

int ScrollArrowLength(int length, int arrow) {
  if (length <= 0 || arrow <= 0) return 0;
  return length < 2 * arrow ? length / 2 : arrow;
}

ScrollPart ScrollHitTest(const ScrollBarGeometry& g, int p) {
  const int b = ScrollArrowLength(g.Length, g.Arrow);
  if (p < b) return kScrollFirstArrow;
  if (p >= g.Length - b) return kScrollSecondArrow;
  if (g.Thumb.End > g.Thumb.Start) {
    if (p < g.Thumb.Start) return kScrollPageBefore;
    if (p < g.Thumb.End) return kScrollThumb;
  }
  return kScrollPageAfter;
}

ThumbSpan DragThumb(int length, int arrow, ThumbSpan pressed, ThumbSpan current, int pressCursor,
                    int cursor) {
  const int64_t size = int64_t(current.End) - current.Start;
  int64_t start = int64_t(cursor) - pressCursor + pressed.Start;
  const int64_t last = int64_t(length) - arrow - size;
  start = std::min(start, last);
  start = std::max<int64_t>(start, arrow);
  return ThumbSpan{int(start), int(start + size)};
}

ImgRect ScrollCornerRect(ImgRect vertical, ImgRect horizontal) {
  const ImgRect r = MakeRect(vertical.Left, horizontal.Top, vertical.Right, horizontal.Bottom);
  if (vertical.Empty() || horizontal.Empty() || r.Empty()) return ImgRect{};
  return r;
}

Image ComposeScrollBar(const ScrollBarGeometry& g, const ScrollBarLook& look, ScrollBarFeedback f) {
  if (!HasImage(look.Arrows) || g.Length <= 0 || g.Cross <= 0) return Image{};
  const bool v = g.Vertical;
  Image out(v ? g.Cross : g.Length, v ? g.Length : g.Cross, PixelFromColour(ResolveColour(look.Face)));
  if (out.Empty()) return out;
  const Image& strip = look.Arrows->Bitmap;
  const int A = g.Arrow, L = g.Length;
  // Thickness: the strip's height unless it is far from the platform's size.
  const int t = ScrollThickness(strip.Height(), A);

  if (HasImage(look.Track)) {
    const TDataSkinObject& tr = *look.Track;
    DrawFrame(out, AxisRect(v, A, L - A, 0, t), tr.Bitmap, false, tr.Tile == 1, tr.Trans == 1, 4,
              g.Enabled ? 1 : 3, Margins(tr));
  }

  const int b = ScrollArrowLength(L, A);
  const int firstBase = v ? 9 : 1, secondBase = v ? 13 : 5;
  const int feedback = f.Tracking ? 1 : 3;  // pressed or hot frame
  DrawFrameStretched(out, AxisRect(v, 0, b, 0, t), strip, true, kArrowFrames,
                     firstBase + (f.HotPart == kScrollFirstArrow ? feedback : 0));
  DrawFrameStretched(out, AxisRect(v, L - b, L, 0, t), strip, true, kArrowFrames,
                     secondBase + (f.HotPart == kScrollSecondArrow ? feedback : 0));

  const ThumbSpan th = g.Thumb;
  if (!g.Enabled || th.End <= th.Start || th.Start < 0 || th.End > L) return out;
  const bool hot = f.HotPart == kScrollThumb;
  const int gripFrame = (v ? 20 : 17) + (hot ? (f.Tracking ? 1 : 2) : 0);
  const ImgRect thumbRect = AxisRect(v, th.Start, th.End, 0, t);
  if (HasImage(look.Thumb)) {
    const TDataSkinObject& tb = *look.Thumb;
    DrawFrame(out, thumbRect, tb.Bitmap, false, tb.Tile == 1, tb.Trans == 1, std::max(1, tb.FrameCount),
              SafeFrame(tb, hot ? (f.Tracking ? 2 : 3) : 1), Margins(tb));
  } else {
    DrawFrameStretched(out, thumbRect, strip, true, kArrowFrames, gripFrame);
    return out;
  }
  const int grip = strip.Height();
  const int len = th.End - th.Start;
  if (grip < len + 2) {
    const int g0 = th.Start + (len - grip) / 2;
    if (g0 >= 0 && g0 + grip <= L)
      DrawFrameStretched(out, AxisRect(v, g0, g0 + grip, 0, t), strip, true, kArrowFrames, gripFrame);
  }
  return out;
}
