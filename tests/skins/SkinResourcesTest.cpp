// The skin engine's bitmap resources, linked into a program the way the main
// program links them, loaded back through the platform.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

namespace {

struct Loaded {
    HBITMAP bitmap = nullptr;
    BITMAP info{};
    explicit Loaded(const wchar_t* name) {
        bitmap = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        if (bitmap) GetObjectW(bitmap, sizeof info, &info);
    }
    ~Loaded() {
        if (bitmap) DeleteObject(bitmap);
    }
};

TEST(SkinResources, EachBitmapLoadsWithItsSizeAndColourDepth) {
    struct Want { const wchar_t* name; int w, h, bits; };
    for (Want want : {Want{L"MOTLEYMENU", 64, 16, 1}, Want{L"TRACK", 16, 4, 4}, Want{L"TRACKVERT", 4, 16, 4}}) {
        Loaded b(want.name);
        ASSERT_NE(b.bitmap, nullptr) << "resource missing";
        EXPECT_EQ(b.info.bmWidth, want.w);
        EXPECT_EQ(b.info.bmHeight, want.h);
        EXPECT_EQ(b.info.bmBitsPixel, want.bits);
    }
}

TEST(SkinResources, MenuGlyphsMakeFourMaskedImages) {
    // The skin definition loads the strip into a 16 x 16 image list whose
    // mask colour is white: the glyphs stay, the white becomes transparent.
    HIMAGELIST list = ImageList_LoadImageW(GetModuleHandleW(nullptr), L"MOTLEYMENU", 16, 0, RGB(255, 255, 255),
                                           IMAGE_BITMAP, 0);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(list), 4);

    // Draw the close glyph (image 3) onto red: its centre is black, its corner stays red.
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP target = CreateCompatibleBitmap(screen, 16, 16);
    HGDIOBJ old = SelectObject(dc, target);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    RECT r{0, 0, 16, 16};
    FillRect(dc, &r, red);
    EXPECT_TRUE(ImageList_Draw(list, 3, dc, 0, 0, ILD_TRANSPARENT));
    EXPECT_EQ(GetPixel(dc, 8, 8) & 0xFFFFFF, RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(dc, 0, 0) & 0xFFFFFF, RGB(255, 0, 0));
    SelectObject(dc, old);
    DeleteObject(red);
    DeleteObject(target);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    ImageList_Destroy(list);
}

} // namespace
