#include "skin/controls/ProgressPicture.h"

#include "skin/controls/ControlGeometry.h"
#include "skin/data/ImgUtil.h"
#include "skin/data/WinSkinData.h"

namespace {

FrameMargins MarginsOf(const TDataSkinObject& o) {
  return FrameMargins{o.LeftWidth, o.TopHeight, o.RightWidth, o.BottomHeight};
}

bool TroughStyle(const TDataSkinBorder& progress) { return progress.Style != 0; }

// Style 1 fill: the chunk image repeated (tiled chunk) or three-part
// stretched over the filled length.
void DrawChunks(Image& bar, const TDataSkinObject& chunk, int fill) {
  const Image& tile = chunk.Bitmap;
  if (chunk.Tile == 1) {
    Image strip(fill, tile.Height());
    for (int i = 0; i <= fill / tile.Width(); ++i) strip.Blit(i * tile.Width(), 0, tile);
    const int x = chunk.LeftWidth + 2;
    const int y = (bar.Height() - tile.Height()) / 2;
    TransparentDraw(bar, ImgRect{x, y, x + fill, y + tile.Height()}, strip, kMagenta);
    return;
  }
  if (bar.Height() <= 4) return;
  Image strip(fill, bar.Height() - 4);
  DrawThreePart(strip, ImgRect{0, 0, fill, bar.Height()}, tile, false, 1, 1, MarginsOf(chunk));
  TransparentDraw(bar, ImgRect{2, 2, 2 + fill, 2 + strip.Height()}, strip, kMagenta);
}

}  // namespace

bool CanComposeProgress(const TDataSkinBorder* progress, const TDataSkinObject* chunk) {
  if (!progress || progress->Bitmap.Empty()) return false;
  return !TroughStyle(*progress) || (chunk && !chunk->Bitmap.Empty());
}

Image ComposeProgress(int width, int height, bool vertical, const TDataSkinBorder* progress,
                      const TDataSkinObject* chunk, int position, int minimum, int maximum,
                      TColour face) {
  if (!CanComposeProgress(progress, chunk) || width <= 0 || height <= 0) return Image();
  const int w = vertical ? height : width;
  const int h = vertical ? width : height;
  Image bar;
  if (!bar.Resize(w, h)) return Image();
  bar.Fill(PixelFromColour(ResolveColour(face)));
  bar.SetBitCount(24);
  const int fill = ProgressFillWidth(w, position, minimum, maximum);
  const FrameMargins m = MarginsOf(*progress);
  const bool tile = progress->Tile == 1;
  if (!TroughStyle(*progress)) {
    DrawFrame(bar, bar.Bounds(), progress->Bitmap, false, tile, true, 2, 1, m);
    if (fill > 0) DrawFrame(bar, ImgRect{0, 0, fill, h}, progress->Bitmap, false, tile, true, 2, 2, m);
  } else {
    DrawFrame(bar, bar.Bounds(), progress->Bitmap, false, false, true, 1, 1, m);
    if (fill > 0) DrawChunks(bar, *chunk, fill);
  }
  if (vertical) RotateLeft(bar);
  return bar;
}
