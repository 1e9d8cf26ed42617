#include "skin/data/ImgUtil.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <mutex>

namespace {

// ---- colours ----------------------------------------------------------------

// Default values of the platform's system colours (index -> 0x00BBGGRR), for
// code that runs without a window system.
uint32_t DefaultSysColour(int index) {
  static constexpr std::array<uint32_t, 31> table = {
      0xC8C8C8, 0x000000, 0xD1B499, 0xDBCDBF, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000,
      0x000000, 0x000000, 0xB4B4B4, 0xFCF7F4, 0xABABAB, 0xFF9933, 0xFFFFFF, 0xF0F0F0,
      0xA0A0A0, 0x6D6D6D, 0x000000, 0x000000, 0xFFFFFF, 0x696969, 0xE3E3E3, 0x000000,
      0xE1FFFF, 0x000000, 0xCC6600, 0xEAD1B9, 0xF2E4D7, 0xFF9933, 0xF0F0F0};
  return index >= 0 && index < int(table.size()) ? table[std::size_t(index)] : 0;
}

std::atomic<SysColourResolver> g_resolver{nullptr};

int R(uint32_t c) { return int(c & 0xFF); }
int G(uint32_t c) { return int((c >> 8) & 0xFF); }
int B(uint32_t c) { return int((c >> 16) & 0xFF); }
uint32_t Rgb(int r, int g, int b) { return uint32_t(r) | (uint32_t(g) << 8) | (uint32_t(b) << 16); }

// ---- gradient cache -------------------------------------------------------

struct GradientSlot {
  int count = 0;
  uint32_t first = 0, last = 0;  // the requested ends (the key)
  std::vector<uint32_t> colours;
};

std::mutex g_gradientLock;
std::array<GradientSlot, 16> g_gradients;
int g_gradientNext = 0;

// Entry i of an n-entry gradient; 64-bit so that any rectangle's line count works.
uint32_t EntryAt(int64_t n, uint32_t c1, uint32_t c2, int64_t i) {
  const int dr = R(c2) - R(c1), dg = G(c2) - G(c1), db = B(c2) - B(c1);
  if (n == 1) return Rgb(R(c1) + dr / 2, G(c1) + dg / 2, B(c1) + db / 2);
  const int64_t q = n - 1;
  auto step = [&](int d) { return int((q / 2 + i * d) / q); };
  return Rgb(R(c1) + step(dr), G(c1) + step(dg), B(c1) + step(db));
}

std::vector<uint32_t> ComputeGradient(int n, uint32_t c1, uint32_t c2) {
  std::vector<uint32_t> out(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) out[std::size_t(i)] = EntryAt(n, c1, c2, i);
  return out;
}

// ---- pixel helpers --------------------------------------------------------

ImgRect Sized(int x, int y, int w, int h) { return {x, y, x + w, y + h}; }

// Margins come from settings files: negative ones count as 0, and none can
// exceed the largest image side (so sums of margins cannot overflow).
FrameMargins Sane(FrameMargins m) {
  auto c = [](int v) { return std::clamp(v, 0, Image::kMaxSide); };
  return FrameMargins{c(m.Left), c(m.Top), c(m.Right), c(m.Bottom)};
}

// Draws a composed image at (x, y), skipping key pixels when transparent.
void Put(Image& target, int x, int y, const Image& piece, bool transparent) {
  if (transparent)
    TransparentDraw(target, Sized(x, y, piece.Width(), piece.Height()), piece, kMagenta);
  else
    target.Blit(x, y, piece);
}

}  // namespace

void SetSysColourResolver(SysColourResolver resolver) { g_resolver.store(resolver); }

uint32_t ResolveColour(uint32_t colour) {
  if (IsSysColour(colour)) {
    SysColourResolver r = g_resolver.load();
    int index = int(colour & 0xFF);
    return (r ? r(index) : DefaultSysColour(index)) & 0x00FFFFFFu;
  }
  return colour & 0x00FFFFFFu;
}

uint32_t Blend(uint32_t colour1, uint32_t colour2, int weight) {
  const uint32_t c1 = ResolveColour(colour1), c2 = ResolveColour(colour2);
  const int scale = weight < 100 ? 100 : 1000;
  weight = std::clamp(weight, 0, scale);
  auto mix = [&](int a, int b) { return (b * (scale - weight) + a * weight + scale / 2) / scale; };
  return Rgb(mix(R(c1), R(c2)), mix(G(c1), G(c2)), mix(B(c1), B(c2)));
}

int Saturation(uint32_t colour) {
  const uint32_t c = ResolveColour(colour);
  const int hi = std::max({R(c), G(c), B(c)}), lo = std::min({R(c), G(c), B(c)});
  if (hi < 160) return 200;
  const double s = double(hi - lo) / double(hi);
  // Ties go to the even neighbour, as the platform's rounding does.
  return int(std::nearbyint(s * 255.0));
}

uint32_t GradientColourAt(int64_t count, uint32_t colour1, uint32_t colour2, int64_t index) {
  if (count <= 0 || index < 0 || index >= count) return 0;
  return EntryAt(count, colour1 & 0x00FFFFFFu, colour2 & 0x00FFFFFFu, index);
}

std::vector<uint32_t> GradientColours(int count, uint32_t colour1, uint32_t colour2) {
  if (count <= 0) return {};
  colour1 &= 0x00FFFFFFu;
  colour2 &= 0x00FFFFFFu;
  std::lock_guard<std::mutex> lock(g_gradientLock);
  for (int i = 15; i >= 0; --i) {
    const GradientSlot& s = g_gradients[std::size_t(i)];
    if (s.count == count && s.first == colour1 && s.last == colour2) return s.colours;
  }
  GradientSlot& slot = g_gradients[std::size_t(g_gradientNext)];
  g_gradientNext = (g_gradientNext + 1) % 16;
  slot.count = count;
  slot.first = colour1;
  slot.last = colour2;
  slot.colours = ComputeGradient(count, colour1, colour2);
  return slot.colours;
}

// ---- frames -----------------------------------------------------------------

ImgRect FrameSourceRect(const Image& img, bool verticalStrip, int frameCount, int frameNumber) {
  if (frameCount < 1) frameCount = 1;
  // Frames beyond the strip lie outside the image and draw nothing.
  frameNumber = std::clamp(frameNumber, -Image::kMaxSide, Image::kMaxSide);
  if (verticalStrip) {
    const int h = img.Height() / frameCount;
    return Sized(0, (frameNumber - 1) * h, img.Width(), h);
  }
  const int w = img.Width() / frameCount;
  return Sized((frameNumber - 1) * w, 0, w, img.Height());
}

void StretchCopy(Image& target, ImgRect d, const Image& src, ImgRect s, bool transparent,
                 uint32_t key) {
  const int64_t dw = int64_t(d.Right) - d.Left, dh = int64_t(d.Bottom) - d.Top;
  const int64_t sw = int64_t(s.Right) - s.Left, sh = int64_t(s.Bottom) - s.Top;
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
  const uint32_t keyPixel = PixelFromColour(key);
  const int x0 = std::max(d.Left, 0), x1 = std::min(d.Right, target.Width());
  const int y0 = std::max(d.Top, 0), y1 = std::min(d.Bottom, target.Height());
  if (x0 >= x1 || y0 >= y1) return;
  // Source column of every target column (-1: outside the source image).
  thread_local std::vector<int> columns;
  columns.resize(std::size_t(x1 - x0));
  for (int x = x0; x < x1; ++x) {
    const int64_t sx = s.Left + (int64_t(x) - d.Left) * sw / dw;
    columns[std::size_t(x - x0)] = (sx < 0 || sx >= src.Width()) ? -1 : int(sx);
  }
  for (int y = y0; y < y1; ++y) {
    const int64_t sy = s.Top + (int64_t(y) - d.Top) * sh / dh;
    if (sy < 0 || sy >= src.Height()) continue;
    const uint32_t* in = src.Row(int(sy));
    uint32_t* out = target.Row(y) + x0;
    const int* col = columns.data();
    for (int i = 0, n = x1 - x0; i < n; ++i) {
      if (col[i] < 0) continue;
      const uint32_t p = in[col[i]];
      if (transparent && PixelRGB(p) == keyPixel) continue;
      out[i] = p;
    }
  }
}

void TileDraw(Image& target, ImgRect d, const Image& src, ImgRect s) {
  const int w = s.Width(), h = s.Height();
  if (w <= 0 || h <= 0) return;
  // Only the copies that can reach the image: start at the last one that
  // begins left of (above) the image's edge, stop at its far edge.
  auto first = [](int from, int step) {
    return from >= 0 ? int64_t(from) : int64_t(from) + (-int64_t(from)) / step * step;
  };
  const int64_t right = std::min<int64_t>(d.Right, target.Width());
  const int64_t bottom = std::min<int64_t>(d.Bottom, target.Height());
  for (int64_t y = first(d.Top, h); y < bottom; y += h)
    for (int64_t x = first(d.Left, w); x < right; x += w) target.Blit(int(x), int(y), src, s);
}

Image BuildFrameBitmap(ImgRect rect, const Image& img, FrameMargins m, bool verticalStrip,
                       bool tile, int frameCount, int frameNumber) {
  Image out;
  if (rect.Inverted()) return out;
  const int W = rect.Width(), H = rect.Height();
  if (!out.Resize(W, H) || out.Empty()) return out;
  m = Sane(m);
  int L = m.Left, T = m.Top, Rm = m.Right, Bm = m.Bottom;
  if (int64_t(W) < int64_t(L) + Rm) L = Rm = 0;  // 64-bit: skin margins may be near INT_MAX
  if (int64_t(H) < int64_t(T) + Bm) T = Bm = 0;
  const ImgRect f = FrameSourceRect(img, verticalStrip, frameCount, frameNumber);
  const int fx = f.Left, fy = f.Top, fw = f.Width(), fh = f.Height();
  const int mw = fw - L - Rm, mh = fh - T - Bm;  // source middle
  const int cw = W - L - Rm, ch = H - T - Bm;    // target middle
  if (L > 0 && T > 0) StretchCopy(out, Sized(0, 0, L, T), img, Sized(fx, fy, L, T));
  if (L > 0 && Bm > 0) StretchCopy(out, Sized(0, H - Bm, L, Bm), img, Sized(fx, fy + fh - Bm, L, Bm));
  if (Rm > 0 && T > 0) StretchCopy(out, Sized(W - Rm, 0, Rm, T), img, Sized(fx + fw - Rm, fy, Rm, T));
  if (L > 0) StretchCopy(out, Sized(0, T, L, ch), img, Sized(fx, fy + T, L, mh));
  if (T > 0) StretchCopy(out, Sized(L, 0, cw, T), img, Sized(fx + L, fy, mw, T));
  if (tile)
    TileDraw(out, Sized(L, T, cw, ch), img, Sized(fx + L, fy + T, mw, mh));
  else
    StretchCopy(out, Sized(L, T, cw, ch), img, Sized(fx + L, fy + T, mw, mh));
  // The pieces after the centre also cover what a tiled centre drew past its edges.
  if (Rm > 0 && Bm > 0)
    StretchCopy(out, Sized(W - Rm, H - Bm, Rm, Bm), img, Sized(fx + fw - Rm, fy + fh - Bm, Rm, Bm));
  if (Rm > 0) StretchCopy(out, Sized(W - Rm, T, Rm, ch), img, Sized(fx + fw - Rm, fy + T, Rm, mh));
  if (Bm > 0) StretchCopy(out, Sized(L, H - Bm, cw, Bm), img, Sized(fx + L, fy + fh - Bm, mw, Bm));
  return out;
}

void DrawFrame(Image& target, ImgRect rect, const Image& img, bool verticalStrip, bool tile,
               bool transparent, int frameCount, int frameNumber, FrameMargins m) {
  if (rect.Inverted()) return;
  Image piece = BuildFrameBitmap(rect, img, m, verticalStrip, tile, frameCount, frameNumber);
  Put(target, rect.Left, rect.Top, piece, transparent);
}

void DrawHorzBar(Image& target, ImgRect rect, const Image& img, bool verticalStrip,
                 bool transparent, int frameCount, int frameNumber, FrameMargins m) {
  if (rect.Inverted()) return;
  const int W = rect.Width(), H = rect.Height();
  Image bar;
  if (!bar.Resize(W, H) || bar.Empty()) return;
  m = Sane(m);
  const ImgRect f = FrameSourceRect(img, verticalStrip, frameCount, frameNumber);
  const int w = f.Width(), h = f.Height(), L = m.Left, Rm = m.Right;
  StretchCopy(bar, Sized(0, 0, L, H), img, Sized(f.Left, f.Top, L, h));
  const int mid = w - L - Rm;
  if (mid > 0)
    for (int x = L; x < W - Rm; x += mid)
      StretchCopy(bar, Sized(x, 0, mid, H), img, Sized(f.Left + L, f.Top, mid, h));
  StretchCopy(bar, Sized(W - Rm, 0, Rm, H), img, Sized(f.Left + w - Rm, f.Top, Rm, h));
  Put(target, rect.Left, rect.Top, bar, transparent);
}

void DrawThreePart(Image& target, ImgRect rect, const Image& img, bool verticalStrip,
                   int frameCount, int frameNumber, FrameMargins m) {
  if (rect.Inverted()) return;
  m = Sane(m);
  const ImgRect f = FrameSourceRect(img, verticalStrip, frameCount, frameNumber);
  const int w = f.Width(), h = f.Height(), L = m.Left, Rm = m.Right;
  const int rw = rect.Width(), rh = rect.Height();
  if (rw >= w) {
    StretchCopy(target, Sized(rect.Left, rect.Top, L, rh), img, Sized(f.Left, f.Top, L, h));
    StretchCopy(target, Sized(rect.Left + L, rect.Top, rw - L - Rm, rh), img,
                Sized(f.Left + L, f.Top, w - L - Rm, h));
    StretchCopy(target, Sized(rect.Right - Rm, rect.Top, Rm, rh), img, Sized(f.Left + w - Rm, f.Top, Rm, h));
  } else {
    StretchCopy(target, rect, img, f);
  }
}

void DrawFrameStretched(Image& target, ImgRect rect, const Image& img, bool transparent,
                        int frameCount, int frameNumber) {
  if (rect.Inverted()) return;
  StretchCopy(target, rect, img, FrameSourceRect(img, false, frameCount, frameNumber), transparent);
}

void DrawFrameCentred(Image& target, ImgRect rect, const Image& img, bool transparent,
                      int frameCount, int frameNumber) {
  if (rect.Inverted()) return;
  const ImgRect f = FrameSourceRect(img, false, frameCount, frameNumber);
  const int x = rect.Left + (rect.Width() - f.Width()) / 2;
  const int y = rect.Top + (rect.Height() - f.Height()) / 2;
  StretchCopy(target, Sized(x, y, f.Width(), f.Height()), img, f, transparent);
}

void TransparentDraw(Image& target, ImgRect rect, const Image& img, uint32_t transColour) {
  if (rect.Inverted()) return;
  const uint32_t key = PixelFromColour(transColour);
  const int w = std::min(rect.Width(), img.Width()), h = std::min(rect.Height(), img.Height());
  for (int y = 0; y < h; ++y) {
    const int ty = rect.Top + y;
    if (ty < 0 || ty >= target.Height()) continue;
    const uint32_t* in = img.Row(y);
    uint32_t* out = target.Row(ty);
    for (int x = 0; x < w; ++x) {
      const int tx = rect.Left + x;
      if (tx < 0 || tx >= target.Width() || PixelRGB(in[x]) == key) continue;
      out[tx] = in[x];
    }
  }
}

void GradientFillImage(Image& target, ImgRect rect, uint32_t colour1, bool vertical,
                       uint32_t colour2, ImgRect clip) {
  const int64_t n = vertical ? int64_t(rect.Bottom) - rect.Top : int64_t(rect.Right) - rect.Left;
  if (n <= 0) return;
  clip.Left = std::max({clip.Left, rect.Left, 0});
  clip.Top = std::max({clip.Top, rect.Top, 0});
  clip.Right = std::min({clip.Right, rect.Right, target.Width()});
  clip.Bottom = std::min({clip.Bottom, rect.Bottom, target.Height()});
  if (clip.Empty()) return;
  const uint32_t c1 = ResolveColour(colour1), c2 = ResolveColour(colour2);
  const int64_t origin = vertical ? rect.Top : rect.Left;
  const int from = vertical ? clip.Top : clip.Left, to = vertical ? clip.Bottom : clip.Right;
  std::vector<uint32_t> colours;
  if (n <= kGradientTableLimit) colours = GradientColours(int(n), c1, c2);
  for (int line = from; line < to; ++line) {
    const int64_t i = int64_t(line) - origin;
    const uint32_t c = colours.empty() ? EntryAt(n, c1, c2, i) : colours[std::size_t(i)];
    const ImgRect r = vertical ? ImgRect{clip.Left, line, clip.Right, line + 1} : ImgRect{line, clip.Top, line + 1, clip.Bottom};
    target.FillRect(r, PixelFromColour(c));
  }
}

// ---- transforms ---------------------------------------------------------------

void GreyBitmap(Image& img) {
  img.SetBitCount(24);
  uint32_t* p = img.Pixels();
  for (std::size_t i = 0, n = std::size_t(img.Width()) * std::size_t(img.Height()); i < n; ++i) {
    const int v = (PixelR(p[i]) + PixelG(p[i]) + PixelB(p[i])) / 3;
    p[i] = MakePixel(v, v, v);
  }
}

void ReplaceMagenta(Image& img, uint32_t colour) {
  img.SetBitCount(24);
  const uint32_t with = PixelFromColour(ResolveColour(colour));
  uint32_t* p = img.Pixels();
  for (std::size_t i = 0, n = std::size_t(img.Width()) * std::size_t(img.Height()); i < n; ++i)
    p[i] = PixelRGB(p[i]) == kMagenta ? with : PixelRGB(p[i]);
}

void MirrorBitmap(Image& img) {
  img.SetBitCount(24);
  for (int y = 0; y < img.Height(); ++y) {
    uint32_t* row = img.Row(y);
    std::reverse(row, row + img.Width());
    for (int x = 0; x < img.Width(); ++x) row[x] = PixelRGB(row[x]);
  }
}

void FlipBitmap(Image& img) {
  for (int top = 0, bottom = img.Height() - 1; top < bottom; ++top, --bottom)
    std::swap_ranges(img.Row(top), img.Row(top) + img.Width(), img.Row(bottom));
}

void RotateLeft(Image& img) {
  const int ow = img.Width(), oh = img.Height();
  Image out(oh, ow);
  out.SetBitCount(24);
  for (int y = 0; y < ow; ++y)
    for (int x = 0; x < oh; ++x) out.Row(y)[x] = PixelRGB(img.Row(x)[ow - 1 - y]);
  img = std::move(out);
}

void RotateRight(Image& img) {
  const int ow = img.Width(), oh = img.Height();
  Image out(oh, ow);
  out.SetBitCount(24);
  for (int y = 0; y < ow; ++y)
    for (int x = 0; x < oh; ++x) out.Row(y)[x] = PixelRGB(img.Row(oh - 1 - x)[y]);
  img = std::move(out);
}

void CopyBitmap(const Image& source, Image& target) {
  if (&source != &target) target = source;
}

// ---- regions ----------------------------------------------------------------

std::vector<ImgRect> RegionRects(const Image& img, int xOffset, int yOffset, int blueTolerance,
                                 int greenTolerance, int redTolerance, uint32_t keyColour) {
  struct Range {
    int lo, hi;
    bool In(int v) const { return v >= lo && v <= hi; }
  };
  auto range = [](int key, int tol) { return Range{key, int(std::min<int64_t>(255, int64_t(key) + tol))}; };
  const Range r = range(R(keyColour), redTolerance), g = range(G(keyColour), greenTolerance),
              b = range(B(keyColour), blueTolerance);
  std::vector<ImgRect> out;
  for (int y = 0; y < img.Height(); ++y) {
    const uint32_t* row = img.Row(y);
    int x = 0;
    while (x < img.Width()) {
      auto inside = [&](uint32_t p) { return r.In(PixelR(p)) && g.In(PixelG(p)) && b.In(PixelB(p)); };
      while (x < img.Width() && inside(row[x])) ++x;
      const int start = x;
      while (x < img.Width() && !inside(row[x])) ++x;
      if (x > start) out.push_back({start + xOffset, y + yOffset, x + xOffset, y + yOffset + 1});
    }
  }
  return out;
}
