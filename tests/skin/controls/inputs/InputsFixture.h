// Shared pieces of the combo box, date picker, track bar and up-down tests
// (Windows): a skin whose every frame of those elements has its own colour.
#pragma once

#include <windows.h>

#include <memory>

#include "tests/skin/controls/buttons/ButtonsFixture.h"

namespace skintest {

// Frame k of: ComboButton RGB(0x30,0,k), SunkEdge RGB(0x40,0,k), ExtraImages
// RGB(0x50,0,k), Track RGB(0x60,0,k), TRACKVERT RGB(0x68,0,k),
// Trackbar.ThumbHorz RGB(0x70,0,k), Trackbar.ThumbVert RGB(0x78,0,k),
// UpDown.Vert RGB(0xA0,0,k), its glyphs RGB(0xA8,0,k), UpDown.Horz
// RGB(0xB0,0,k), its glyphs RGB(0xB8,0,k).
inline COLORREF FrameRGB(int base, int k) { return RGB(base, 0, k); }
enum : int {
  kComboRGB = 0x30, kSunkRGB = 0x40, kExtraRGB = 0x50, kTrackRGB = 0x60, kTrackVertRGB = 0x68,
  kThumbHorzRGB = 0x70, kThumbVertRGB = 0x78, kUpDownVertRGB = 0xA0, kUpDownHorzRGB = 0xB0
};

inline std::unique_ptr<TSkinModel> InputKindsSkin() {
  SkinTestPackage p(
      "[Colours]\nButtonFace=200 200 200\nButtonShadow=10 20 30\nButtonDkShadow=1 2 3\nButtonText=0 0 0\n"
      "[ComboButton]\nImage=combo.bmp\nStyle=0\nTrans=1\n"
      "[SunkEdge]\nImage=sunk.bmp\nLeftWidth=2\nTopHeight=2\nRightWidth=2\nBottomHeight=2\n"
      "[ExtraImages]\nImage=extra.bmp\nTrans=1\n"
      "[Track]\nImage=track.bmp\nFrame=1\nLeftWidth=2\nRightWidth=2\n"
      "[TRACKVERT]\nImage=trackv.bmp\nFrame=1\nTopHeight=2\nBottomHeight=2\n"
      "[Trackbar.ThumbHorz]\nImage=thumbh.bmp\nTrans=1\n"
      "[Trackbar.ThumbVert]\nImage=thumbv.bmp\nTrans=1\n"
      "[UpDown.Vert]\nImage=udv.bmp\nGlyphImage=udvg.bmp\nTrans=1\n"
      "[UpDown.Horz]\nImage=udh.bmp\nGlyphImage=udhg.bmp\nTrans=1\n");
  p.Add("combo.bmp", FrameStrip(4, 18, 21, 0x300000));
  p.Add("sunk.bmp", FrameStrip(4, 24, 21, 0x400000));
  p.Add("extra.bmp", FrameStrip(5, 6, 6, 0x500000));
  p.Add("track.bmp", FrameStrip(1, 20, 4, 0x600000));
  p.Add("trackv.bmp", FrameStrip(1, 4, 20, 0x680000));
  p.Add("thumbh.bmp", FrameStrip(5, 11, 19, 0x700000));
  p.Add("thumbv.bmp", FrameStrip(5, 19, 11, 0x780000));
  p.Add("udv.bmp", FrameStrip(8, 16, 12, 0xA00000));
  p.Add("udvg.bmp", FrameStrip(8, 4, 4, 0xA80000));
  p.Add("udh.bmp", FrameStrip(8, 12, 16, 0xB00000));
  p.Add("udhg.bmp", FrameStrip(8, 4, 4, 0xB80000));
  auto model = std::make_unique<TSkinModel>();
  p.BuildInto(*model);
  return model;
}

class InputsTest : public KindsTest {
 protected:
  void SetUp() override {
    KindsTest::SetUp();
    skin = std::make_unique<TTestFrame>(form->Handle(), InputKindsSkin());
  }
  void TearDown() override {
    skin->ReleaseAll();
    skin.reset();
    KindsTest::TearDown();
  }
  std::unique_ptr<TTestFrame> skin;
};

}  // namespace skintest
