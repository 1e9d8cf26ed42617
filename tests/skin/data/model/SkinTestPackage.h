// Builds a real skin package in memory (settings text plus BMP images,
// compressed) and the skin model from it, the way a skin load does.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "skin/data/Bmp.h"
#include "skin/data/Image.h"
#include "skin/data/SkinModel.h"
#include "skin/data/SkinRead.h"
#include "skin/data/WinSkinIni.h"

class SkinTestPackage {
public:
  explicit SkinTestPackage(std::string settings) : settings_(std::move(settings)) {}

  // An image of w x h in plain colour `pixel` (0xRRGGBB), 24-bit.
  SkinTestPackage& Add(const std::string& name, int w, int h, uint32_t pixel) {
    Image img(w, h, pixel);
    img.SetBitCount(24);
    return Add(name, img);
  }
  SkinTestPackage& Add(const std::string& name, const Image& img) { return AddBytes(name, EncodeBmp(img, 24)); }
  SkinTestPackage& AddBytes(const std::string& name, std::vector<uint8_t> bytes) {
    files_.push_back({name, std::move(bytes)});
    return *this;
  }

  std::vector<uint8_t> Package() const {
    TSkinWriter w;
    w.Add("skin.ini", std::vector<uint8_t>(settings_.begin(), settings_.end()));
    for (const auto& f : files_) w.Add(f.first, f.second);
    return w.BuildPackage();
  }

  // Opens the package, reads its settings file and builds `model` from it.
  // False when the package did not open.
  bool BuildInto(TSkinModel& model, const TSkinEnvironment& env = DefaultEnvironment()) const {
    TSkinReader reader;
    if (!reader.Open(Package())) return false;
    std::vector<uint8_t> ini;
    std::string iniName;
    reader.ExtractFirstMatch(".ini", ini, iniName);
    TQuickIni settings;
    settings.LoadFromText(std::string_view(reinterpret_cast<const char*>(ini.data()), ini.size()));
    model.Build(reader, settings, env);
    return true;
  }

  static const TSkinEnvironment& DefaultEnvironment() {
    static const TSkinEnvironment env = [] {
      TSkinEnvironment e;
      e.HScrollArrowWidth = 17;
      e.Track = Image(16, 4, 0x00A0A0);
      e.TrackVert = Image(4, 16, 0x00B0B0);
      return e;
    }();
    return env;
  }

private:
  std::string settings_;
  std::vector<std::pair<std::string, std::vector<uint8_t>>> files_;
};

// A strip of `frames` frames of w x h, frame k (1-based) filled with
// colour 0x0000kk | base, so tests can tell frames apart.
inline Image FrameStrip(int frames, int w, int h, uint32_t base) {
  Image img(frames * w, h, 0);
  img.SetBitCount(24);
  for (int k = 0; k < frames; ++k) img.FillRect(MakeRect(k * w, 0, (k + 1) * w, h), base | uint32_t(k + 1));
  return img;
}

// A skin that has every section the builder reads, each with an image.
inline SkinTestPackage FullSkin() {
  SkinTestPackage p(R"([TitlebarSkin]
SkinName=Full Test Skin
[Personality]
Left=left.bmp
LeftTopHeight=20
LeftBotHeight=5
LeftFrame=2
Right=right.bmp
RightTopHeight=21
RightBotHeight=6
Top=top.bmp
TopTopHeight=30
TopBotHeight=31
TopFrame=2
TopStretch=0
Bottom=bottom.bmp
BottomTrans=0
TextBack=textback.bmp
TextShift=7
TextShiftVert=3
TextRightClip=40
TextAlignment=1
Textbackground=2
TXTBackleft=5
TXTBackRight=6
ActiveTextR=255
ActiveTextG=255
ActiveTextB=255
InActiveTextR=128
InActiveTextG=128
menuBar=menubar.bmp
TileMenu=0
TileLeftMenu=4
TileRightMenu=5
[Fonts]
FontHeight=12
[Colours]
WindowText=1 2 3
ButtonFace=200 200 200
ButtonText=20 30 40
Menubar=50 60 70
[Colour1]
color=9 9 9
[Colour2]
[Customcolors]
Color3=1 1 1
[Buttons]
Bitmap=button.bmp
LeftWidth=3
RightWidth=3
TopHeight=3
BottomHeight=3
CheckButton=check.bmp
RadioButton=radio.bmp
NormalColour2=0,0,0
[ButtonClose]
Action=0
Align=1
Xcoord=20
Ycoord=4
ButtonImage=close.bmp
[ButtonMax]
Action=1
Align=1
Xcoord=40
frame=3
ButtonImage=max.bmp
[MDICONTROLS]
Image=mdi.bmp
[Progress]
Bitmap=progress.bmp
LeftWidth=2
RightWidth=2
[Progress.Chunk]
Image=chunk.bmp
[GroupBoxEdge]
Image=gbedge.bmp
[GroupBox]
Image=groupbox.bmp
BackgroundAlignment=1
[Tabs]
Image=tabs.bmp
Border=tabborder.bmp
[StatusBarEdges]
Image=status.bmp
[Tab.Pane]
Image=tabpane.bmp
[ToolBars]
Image=toolbars.bmp
[ComboButton]
Image=combo.bmp
[SunkEdge]
Image=sunk.bmp
LeftWidth=2
TopHeight=2
RightWidth=2
BottomHeight=2
[ExtraImages]
Image=extra.bmp
[Headerbar]
Image=header.bmp
[MenuItem]
Image=menuitem.bmp
[MenuBackground]
Image=menubg.bmp
[Scrollbar]
Image=scrollbar.bmp
[HorzScroll]
Image=hscroll.bmp
[VertScroll]
Image=vscroll.bmp
[HorzScrollThumb]
Image=hthumb.bmp
[VertScrollThumb]
Image=vthumb.bmp
FrameCount=4
[Trackbar.ThumbHorz]
Image=thumb.bmp
[Trackbar.ThumbVert]
Image=thumb.bmp
[Trackbar.ThumbLeft]
Image=thumb.bmp
[Trackbar.ThumbRight]
Image=thumb.bmp
[Trackbar.ThumbUp]
Image=thumb.bmp
[Trackbar.ThumbDown]
Image=thumb.bmp
[UpDown.Horz]
Image=updown.bmp
GlyphImage=glyph.bmp
[UpDown.Vert]
Image=updown.bmp
GlyphImage=glyph.bmp
[Track]
Image=track.bmp
Frame=2
[TRACKVERT]
Image=trackvert.bmp
Frame=2
)");
  p.Add("left.bmp", FrameStrip(2, 6, 40, 0x100000))
      .Add("right.bmp", FrameStrip(2, 6, 40, 0x110000))
      .Add("top.bmp", 90, 60, 0x2040C0)
      .Add("bottom.bmp", 90, 6, 0x130000)
      .Add("textback.bmp", 40, 20, 0x140000)
      .Add("menubar.bmp", FrameStrip(2, 20, 18, 0x150000))
      .Add("button.bmp", FrameStrip(5, 20, 21, 0x160000))
      .Add("check.bmp", FrameStrip(8, 13, 13, 0x170000))
      .Add("radio.bmp", FrameStrip(8, 13, 13, 0x180000))
      .Add("close.bmp", FrameStrip(3, 20, 20, 0x190000))
      .Add("max.bmp", FrameStrip(3, 20, 20, 0x1A0000))
      .Add("mdi.bmp", FrameStrip(12, 10, 9, 0x1B0000))
      .Add("progress.bmp", FrameStrip(2, 30, 12, 0x1C0000))
      .Add("chunk.bmp", 8, 8, 0x1D0000)
      .Add("gbedge.bmp", FrameStrip(2, 10, 10, 0x1E0000))
      .Add("groupbox.bmp", 20, 20, 0x1F0000)
      .Add("tabs.bmp", FrameStrip(5, 20, 20, 0x200000))
      .Add("tabborder.bmp", 10, 10, 0x210000)
      .Add("status.bmp", FrameStrip(3, 10, 10, 0x220000))
      .Add("tabpane.bmp", 20, 20, 0x230000)
      .Add("toolbars.bmp", FrameStrip(5, 10, 10, 0x240000))
      .Add("combo.bmp", FrameStrip(4, 17, 21, 0x250000))
      .Add("sunk.bmp", FrameStrip(4, 20, 21, 0x260000))
      .Add("extra.bmp", FrameStrip(5, 7, 7, 0x270000))
      .Add("header.bmp", FrameStrip(5, 10, 20, 0x280000))
      .Add("menuitem.bmp", FrameStrip(5, 10, 20, 0x290000))
      .Add("menubg.bmp", 20, 20, 0x2A0000)
      .Add("scrollbar.bmp", FrameStrip(23, 16, 16, 0x2B0000))
      .Add("hscroll.bmp", FrameStrip(4, 16, 16, 0x2C0000))
      .Add("vscroll.bmp", FrameStrip(4, 16, 16, 0x2D0000))
      .Add("hthumb.bmp", FrameStrip(3, 16, 16, 0x2E0000))
      .Add("vthumb.bmp", FrameStrip(4, 16, 16, 0x2F0000))
      .Add("thumb.bmp", FrameStrip(5, 11, 19, 0x300000))
      .Add("updown.bmp", FrameStrip(8, 16, 10, 0x310000))
      .Add("glyph.bmp", FrameStrip(8, 7, 7, 0x320000))
      .Add("track.bmp", FrameStrip(2, 16, 4, 0x330000))
      .Add("trackvert.bmp", FrameStrip(2, 4, 16, 0x340000));
  return p;
}
