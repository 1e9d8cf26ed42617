// TSkinBoxH and TSkinSizer under Wine: a bare container's background and
// static-text colours, a size grip painted flat.
#include <windows.h>

#include "skin/controls/SkinBoxH.h"
#include "skin/controls/SkinSizer.h"
#include "tests/skin/controls/kinds/KindsFixture.h"

using namespace skintest;
using namespace twtest;

namespace {

using SkinContainerTest = KindsTest;

TEST_F(SkinContainerTest, BareContainerErasesAndColoursStaticsWithTheFace) {
  HWND box = CreateWindowW(L"#32770", L"", WS_CHILD | WS_VISIBLE, 10, 10, 200, 120, form->Handle(), nullptr,
                           GetModuleHandleW(nullptr), nullptr);
  HWND text = CreateWindowW(L"STATIC", L"Text", WS_CHILD | WS_VISIBLE, 10, 10, 80, 20, box, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  auto* skin = new TSkinBoxH(nullptr);
  skin->AttachWindow(box, frame.get(), nullptr);
  ASSERT_TRUE(skin->Attached());

  DibSurface s;
  ASSERT_TRUE(s.Resize(200, 120));
  EXPECT_EQ(SendMessageW(box, WM_ERASEBKGND, WPARAM(s.DC()), 0), 1);
  const Image erased = s.ToImage();
  EXPECT_EQ(At(erased, 0, 0), kFaceRGB);
  EXPECT_EQ(At(erased, 199, 119), kFaceRGB);

  auto brush = reinterpret_cast<HBRUSH>(SendMessageW(box, WM_CTLCOLORSTATIC, WPARAM(s.DC()), LPARAM(text)));
  LOGBRUSH lb{};
  ASSERT_TRUE(GetObjectW(brush, sizeof lb, &lb));
  EXPECT_EQ(lb.lbColor, kFaceRGB);
  EXPECT_EQ(GetBkColor(s.DC()), kFaceRGB) << "opaque text gets the face behind it";
  frame->ReleaseAll();
  DestroyWindow(box);
}

TEST_F(SkinContainerTest, SizeGripIsPaintedFlat) {
  HWND grip = CreateWindowW(L"SCROLLBAR", L"", WS_CHILD | WS_VISIBLE | SBS_SIZEGRIP, 300, 200, 17, 17,
                            form->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  auto* skin = new TSkinSizer(nullptr);
  skin->AttachWindow(grip, frame.get(), nullptr);
  const Image img = PaintToImage(grip);
  for (int y = 0; y < 17; ++y)
    for (int x = 0; x < 17; ++x) ASSERT_EQ(At(img, x, y), kFaceRGB) << x << "," << y;
  frame->ReleaseAll();
  DestroyWindow(grip);
}

}  // namespace
