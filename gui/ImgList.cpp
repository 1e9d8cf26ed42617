#include "gui/ImgList.h"

TW_IMPLEMENT_CLASS(TImageList, [](TClassBuilder<TImageList>& c) {
  c.Int(L"Width", &TImageList::Width, &TImageList::SetWidth);
  c.Int(L"Height", &TImageList::Height, &TImageList::SetHeight);
  c.IntReadOnly(L"Count", &TImageList::Count);
})

TImageList::TImageList(TComponent* owner) : TComponent(owner) {}

TImageList::~TImageList() {
  if (FHandle) ImageList_Destroy(FHandle);
}

void TImageList::Recreate() {
  if (FHandle) ImageList_Destroy(FHandle);
  FHandle = ImageList_Create(FWidth, FHeight, ILC_COLOR32 | ILC_MASK, 4, 4);
}

HIMAGELIST TImageList::Handle() {
  if (!FHandle) Recreate();
  return FHandle;
}

void TImageList::SetWidth(int w) {
  if (w < 1 || w == FWidth) return;
  FWidth = w;
  Recreate();  // a new size drops the images
}

void TImageList::SetHeight(int h) {
  if (h < 1 || h == FHeight) return;
  FHeight = h;
  Recreate();
}

int TImageList::Count() const { return FHandle ? ImageList_GetImageCount(FHandle) : 0; }

int TImageList::AddMasked(const TBitmap& strip, TColor maskColour) {
  if (strip.Empty()) return -1;
  // The list takes a copy; a DDB of the strip works with every list format.
  HDC screen = GetDC(nullptr);
  HBITMAP copy = CreateCompatibleBitmap(screen, strip.Width(), strip.Height());
  HDC dc = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(dc, copy);
  BitBlt(dc, 0, 0, strip.Width(), strip.Height(), strip.DC(), 0, 0, SRCCOPY);
  SelectObject(dc, old);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  int index = ImageList_AddMasked(Handle(), copy, ColorToRGB(maskColour));
  DeleteObject(copy);
  return index;
}

bool TImageList::LoadFromResource(const std::wstring& name, TColor maskColour) {
  HIMAGELIST list = ImageList_LoadImageW(GetModuleHandleW(nullptr), name.c_str(), FWidth, 4, ColorToRGB(maskColour),
                                         IMAGE_BITMAP, LR_CREATEDIBSECTION);
  if (!list) return false;
  if (FHandle) ImageList_Destroy(FHandle);
  FHandle = list;
  int w = FWidth, h = FHeight;
  if (ImageList_GetIconSize(list, &w, &h)) {
    FWidth = w;
    FHeight = h;
  }
  return true;
}

void TImageList::Clear() {
  if (FHandle) ImageList_RemoveAll(FHandle);
}

void TImageList::Draw(HDC dc, int x, int y, int index, bool enabled) {
  if (!FHandle || index < 0 || index >= Count()) return;
  if (enabled) {
    ImageList_Draw(FHandle, index, dc, x, y, ILD_TRANSPARENT);
    return;
  }
  // Disabled: the image's shape embossed in highlight and shadow colours.
  HICON icon = ImageList_GetIcon(FHandle, index, ILD_TRANSPARENT);
  if (!icon) return;
  DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0, x, y, FWidth, FHeight, DST_ICON | DSS_DISABLED);
  DestroyIcon(icon);
}
