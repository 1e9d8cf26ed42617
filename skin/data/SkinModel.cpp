#include "skin/data/SkinModel.h"

#include <utility>

#include "skin/data/Bmp.h"
#include "skin/data/ImgUtil.h"
#include "skin/data/SkinRead.h"
#include "skin/data/WinSkinIni.h"

// ---- adapters ------------------------------------------------------------

std::vector<uint8_t> TSkinReaderFiles::Extract(std::string_view name) const {
  std::vector<uint8_t> bytes;
  reader_.ExtractFile(name, bytes);
  return bytes;
}

namespace {

std::string LowerAsciiCopy(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return out;
}

}  // namespace

TQuickIniSettings::TQuickIniSettings(const TQuickIni& ini) : ini_(ini) {
  // The reader's rules: a header "[name]" matches its inside without letter
  // case, only the first section of a name and the first entry of a key
  // count, an entry is "key = value" with both sides trimmed.
  const std::vector<std::string>& lines = ini.Lines();
  for (const auto& [header, first] : ini.Sections()) {
    const std::string name = LowerAsciiCopy(std::string_view(header).substr(1, header.size() - 2));
    const auto [slot, fresh] = sections_.try_emplace(name);
    if (!fresh) continue;
    KeyIndex& keys = slot->second;
    for (std::size_t i = std::size_t(first) + 1; i < lines.size(); ++i) {
      const std::string_view line = lines[i];
      if (TQuickIni::IsHeader(line)) break;
      const std::size_t eq = line.find('=');
      if (eq == std::string_view::npos) continue;
      keys.try_emplace(LowerAsciiCopy(TQuickIni::Trim(line.substr(0, eq))), TQuickIni::Trim(line.substr(eq + 1)));
    }
  }
}

std::string TQuickIniSettings::ReadString(std::string_view section, std::string_view key,
                                          std::string_view def) const {
  const auto s = sections_.find(LowerAsciiCopy(section));
  if (s == sections_.end()) return std::string(def);
  const auto k = s->second.find(LowerAsciiCopy(key));
  if (k == s->second.end() || k->second.empty()) return std::string(def);
  return k->second;
}

int32_t TQuickIniSettings::ReadInteger(std::string_view section, std::string_view key, int32_t def) const {
  // As TQuickIni::ReadInteger: "0x" reads as "$".
  std::string s = ReadString(section, key, "");
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) s.replace(0, 2, "$");
  return TQuickIni::StrToIntDef(s, def);
}

std::vector<std::string> TQuickIniSettings::Sections() const {
  std::vector<std::string> list;
  ini_.ReadSections(list);
  return list;
}

// ---- the builder -----------------------------------------------------------

namespace {

constexpr int kComboCellWidth = 50;
constexpr int kComboCellHeight = 21;
constexpr int kComboArrowSide = 17;

FrameMargins MarginsOf(const TDataSkinObject& e) {
  return FrameMargins{e.LeftWidth, e.TopHeight, e.RightWidth, e.BottomHeight};
}

std::unique_ptr<TDataSkinObject> MakeElement(SkinElementClass cls, std::string name) {
  switch (cls) {
    case SkinElementClass::Border: return std::make_unique<TDataSkinBorder>(std::move(name));
    case SkinElementClass::BoxLabel: return std::make_unique<TDataSkinBoxLabel>(std::move(name));
    case SkinElementClass::Object: break;
  }
  return std::make_unique<TDataSkinObject>(std::move(name));
}

}  // namespace

class TSkinModelBuilder {
public:
  TSkinModelBuilder(TSkinModel& model, const TSkinFileSource& files, const TSkinSettings& ini,
                    const TSkinEnvironment& env)
      : m_(model), files_(files), ini_(ini), env_(env) {}

  void Run() {
    m_.SkinName = ini_.ReadString("TitlebarSkin", "SkinName", "");
    ReadFrameBorders();
    ReadColours();
    ReadCaptionButtons();
    ReadButtons();
    ReadTitle();
    for (const SkinElementSpec& spec : SkinElementSpecs()) Slot(spec.Id) = ReadElement(spec);
    MirrorComboButton();
    ApplyFrameCounts();
    CombineComboButton();
    MakeComboArrow();
    // The frame colour is sampled before the toolbar gradient, which is made
    // from it (sampling afterwards would give the gradient the colour of the
    // previous skin).
    SampleFrameColour();
    MakeToolbarGradient();
  }

private:
  std::unique_ptr<TDataSkinObject>& Slot(SkinElement id) { return m_.elements_[TSkinModel::Index(id)]; }
  TDataSkinObject* Get(SkinElement id) { return Slot(id).get(); }

  int32_t Int(std::string_view section, std::string_view key, int32_t def) const {
    return ini_.ReadInteger(section, key, def);
  }
  std::string Str(std::string_view section, std::string_view key) const { return ini_.ReadString(section, key, ""); }
  TColour Colour(std::string_view section, std::string_view key, TColour def) const {
    return ColourFromText(Str(section, key), def);
  }

  // An image value names a file of the package; only ".bmp" files (that
  // exact extension) are read, anything else is an empty image. Each file is
  // extracted and decoded once per build; every use draws on the build's
  // pixel budget, and an image it cannot pay for is an empty image.
  Image LoadImage(std::string_view value) {
    const size_t slash = value.find_last_of("\\:");
    const std::string_view file = slash == std::string_view::npos ? value : value.substr(slash + 1);
    if (file.empty()) return {};
    const size_t dot = file.rfind('.');
    if (dot == std::string_view::npos || file.substr(dot) != ".bmp") return {};
    auto [slot, fresh] = images_.try_emplace(LowerAsciiCopy(file));
    if (fresh) {
      const std::vector<uint8_t> bytes = files_.Extract(file);
      if (!bytes.empty() && DecodeBmp(bytes.data(), bytes.size(), slot->second, pixelsLeft_))
        pixelsLeft_ -= Pixels(slot->second);
      return slot->second;
    }
    const std::size_t cost = Pixels(slot->second);
    if (cost > pixelsLeft_) return {};
    pixelsLeft_ -= cost;
    return slot->second;
  }

  static std::size_t Pixels(const Image& img) { return std::size_t(img.Width()) * std::size_t(img.Height()); }

  void ReadFrameBorders() {
    static constexpr std::string_view kSides[] = {"Left", "Right", "Top", "Bottom"};
    std::unique_ptr<TDataSkinBorder>* slots[] = {&m_.FrameLeft, &m_.FrameRight, &m_.FrameTop, &m_.FrameBottom};
    constexpr std::string_view P = "Personality";
    for (int i = 0; i < 4; ++i) {
      const std::string x(kSides[i]);
      auto b = std::make_unique<TDataSkinBorder>(x);
      b->Bitmap = LoadImage(Str(P, x));
      const int32_t first = Int(P, x + "TopHeight", 0);
      const int32_t second = Int(P, x + "BotHeight", 0);
      if (i < 2) {
        b->TopHeight = first;
        b->BottomHeight = second;
      } else {  // counted along the border's length
        b->LeftWidth = first;
        b->RightWidth = second;
      }
      b->FrameCount = Int(P, x + "Frame", 1);
      b->Tile = Int(P, x + "Stretch", 1);
      if (b->Tile > 1) b->Tile = 1;
      b->Trans = Int(P, x + "Trans", 1);
      *slots[i] = std::move(b);
    }
  }

  void ReadColours() {
    constexpr std::string_view C = "Colours";
    m_.WindowTextColour = Colour(C, "WindowText", SystemColour(kSysWindowText));
    m_.ButtonFaceColour = Colour(C, "ButtonFace", SystemColour(kSysButtonFace));
    m_.ScrollbarColour = Colour(C, "Scrollbar", SystemColour(kSysScrollbar));
    m_.HilightTextColour = Colour(C, "HilightText", SystemColour(kSysHighlightText));
    m_.HilightColour = Colour(C, "Hilight", SystemColour(kSysHighlight));
    m_.MenubarColour = Colour(C, "Menubar", m_.ButtonFaceColour);
    m_.MenuColour = Colour(C, "Menu", SystemColour(kSysMenu));
    m_.MenuTextColour = Colour(C, "MenuText", SystemColour(kSysMenuText));
    m_.ButtonTextColour = Colour(C, "ButtonText", SystemColour(kSysButtonText));
    m_.ButtonHilightColour = Colour(C, "ButtonHilight", SystemColour(kSysButtonHighlight));
    m_.ButtonlightColour = Colour(C, "Buttonlight", SystemColour(kSysButtonHighlight));
    m_.ButtonShadowColour = Colour(C, "ButtonShadow", SystemColour(kSysButtonShadow));
    m_.ButtonDkShadowColour = Colour(C, "ButtonDkShadow", SystemColour(kSys3DDarkShadow));
    m_.MenuBarTextColour = Colour(C, "MenuBarText", SystemColour(kSysMenuText));
    m_.TitleTextActiveColour = Colour(C, "TitleTextActive", SystemColour(kSysCaptionText));
    m_.TitleTextNoActiveColour = Colour(C, "TitleTextNoActive", SystemColour(kSysInactiveCaptionText));

    m_.ColourList.clear();
    for (const std::string& section : sections_) {
      if (IsColourListSection(section)) m_.ColourList.push_back(Colour(section, "color", SystemColour(kSysWindowText)));
    }
    for (int n = 0; n < 10; ++n) m_.CustomColours[n] = Colour("Customcolors", "Color" + std::to_string(n), kWhite);
  }

  void ReadCaptionButtons() {
    m_.SysButtons.clear();
    for (const std::string& section : sections_) {
      if (!IsCaptionButtonSection(section)) continue;
      if (Int(section, "Action", 0) == -1 && Int(section, "Visibility", -1) != 0) continue;

      auto b = std::make_unique<TDataSkinSysButton>(UpperAscii(section));
      b->Action = Int(section, "Action", 0);
      b->Align = Int(section, "Align", 0);
      b->XCoord = Int(section, "Xcoord", 0);
      b->YCoord = Int(section, "Ycoord", 0);
      b->Visibility = Int(section, "Visibility", 0);
      b->Visibility1 = Int(section, "Visibility1", b->Action == -1 ? -1 : 0);
      b->CombineOp = Int(section, "CombineOp", -1);
      b->FrameCount = Int(section, "frame", 0);
      b->Bitmap = LoadImage(Str(section, "ButtonImage"));
      if (b->FrameCount == 0) {
        b->FrameCount = 6;
        if (!b->Bitmap.Empty()) {
          // width / height <= 3.8, exactly: floating point would round 3.8
          // differently on x87 and SSE.
          const bool narrow = int64_t(b->Bitmap.Width()) * 5 <= int64_t(b->Bitmap.Height()) * 19;
          b->FrameCount = narrow ? 3 : 6;
        }
        if (b->Action < 0) b->FrameCount = 6;
        if (b->Action == 3 || b->Action == 11) b->Bitmap.Clear();  // the window icon is drawn instead
      }
      m_.SysButtons.push_back(std::move(b));
    }

    // Minimise, restore and close of a maximised child window, cut from one
    // 12-frame strip.
    const Image strip = LoadImageIfSet("MDICONTROLS", "Image");
    const int a = strip.Width() / 12;
    for (int i = 0; i < 3; ++i) {
      auto b = std::make_unique<TDataSkinSysButton>("MDICONTROLS");
      b->Action = 7 + i;
      b->Align = 100;
      b->Visibility = 100;
      b->Visibility1 = 100;
      b->FrameCount = 4;
      if (!strip.Empty()) {
        b->Bitmap = strip.Crop(MakeRect(4 * a * i, 0, 4 * a * (i + 1), strip.Height()));
        b->XCoord = (a + 4) * (3 - i);
      }
      m_.SysButtons.push_back(std::move(b));
    }
  }

  Image LoadImageIfSet(std::string_view section, std::string_view key) {
    const std::string v = Str(section, key);
    return v.empty() ? Image{} : LoadImage(v);
  }

  void ReadButtons() {
    constexpr std::string_view S = "Buttons";
    auto b = std::make_unique<TDataSkinButton>("Buttons");
    b->LeftWidth = Int(S, "LeftWidth", 0);
    b->RightWidth = Int(S, "RightWidth", 0);
    b->TopHeight = Int(S, "TopHeight", 0);
    b->BottomHeight = Int(S, "BottomHeight", 0);
    b->Trans = Int(S, "Trans", 0);
    b->Bitmap = LoadImage(Str(S, "Bitmap"));
    b->Tile = Int(S, "Tile", 0);
    if (b->Tile > 1) b->Tile = 0;
    b->CheckBitmap = LoadImage(Str(S, "CheckButton"));
    b->RadioBitmap = LoadImage(Str(S, "RadioButton"));
    b->NormalColour = Int(S, "NormalColour", -1);
    b->MouseOverColour = Int(S, "MouseOverColour", -1);
    b->PressedColour = Int(S, "PressedColour", -1);
    b->RadioFrameCount = Int(S, "RadioButtonFrame", 0);
    b->CheckFrameCount = Int(S, "CheckButtonFrame", 0);
    const std::string normal = Str(S, "NormalColour2");
    const std::string over = Str(S, "MouseOverColour2");
    const std::string pressed = Str(S, "PressedColour2");
    b->HasNormalColour2 = !normal.empty();
    b->HasMouseOverColour2 = !over.empty();
    b->HasPressedColour2 = !pressed.empty();
    b->NormalColour2 = ColourFromText(normal, m_.ButtonTextColour);
    b->MouseOverColour2 = ColourFromText(over, m_.ButtonTextColour);
    b->PressedColour2 = ColourFromText(pressed, m_.ButtonTextColour);
    m_.Buttons = std::move(b);
  }

  void ReadTitle() {
    constexpr std::string_view P = "Personality";
    auto t = std::make_unique<TDataSkinTitle>("Title");
    t->Bitmap = LoadImage(Str(P, "TextBack"));
    t->LeftWidth = Int(P, "TextShift", 0);
    t->TopHeight = Int(P, "TextShiftVert", 0);
    t->RightWidth = Int(P, "TextRightClip", 0);
    t->BottomHeight = 0;
    t->TextAlignment = Int(P, "TextAlignment", 0);
    t->TextBackground = Int(P, "Textbackground", 0);
    t->FontHeight = Int("Fonts", "FontHeight", 14);
    t->TextBackLeft = Int(P, "TXTBackleft", 0);
    t->TextBackRight = Int(P, "TXTBackRight", 0);
    t->ActiveTextColour = TextColour(P, "ActiveText");
    t->InactiveTextColour = TextColour(P, "InActiveText");
    t->NormalColour2 = t->MouseOverColour2 = t->PressedColour2 = m_.ButtonTextColour;
    m_.Title = std::move(t);
  }

  // Caption text colour from three integer keys; unset unless all three are
  // present and not negative.
  TColour TextColour(std::string_view section, const std::string& prefix) const {
    const int32_t r = Int(section, prefix + "R", -1);
    const int32_t g = Int(section, prefix + "G", -1);
    const int32_t b = Int(section, prefix + "B", -1);
    if (r < 0 || g < 0 || b < 0) return kColourNotSet;
    return MakeColour(unsigned(r), unsigned(g), unsigned(b));
  }

  std::unique_ptr<TDataSkinObject> ReadElement(const SkinElementSpec& spec) {
    const std::string_view s = spec.Section;
    const std::string image = Str(s, spec.ImageKey);
    const std::string name(spec.Name.empty() ? spec.Section : spec.Name);
    if (image.empty()) {
      if (!(spec.Reads & kBuiltinFallback)) return nullptr;
      auto e = std::make_unique<TDataSkinObject>(name);
      e->Bitmap = spec.Id == SkinElement::TrackVert ? env_.TrackVert : env_.Track;
      e->LeftWidth = e->TopHeight = e->RightWidth = e->BottomHeight = 3;
      e->Tile = 0;
      e->FrameCount = 1;
      e->NormalColour2 = e->MouseOverColour2 = e->PressedColour2 = m_.ButtonTextColour;
      return e;
    }

    std::unique_ptr<TDataSkinObject> e = MakeElement(spec.Class, name);
    e->Bitmap = LoadImage(image);
    const uint16_t r = spec.Reads;
    if (r & kReadStyle) e->Style = Int(s, "Style", 0);
    if (r & kReadMargins) {
      e->LeftWidth = Int(s, "LeftWidth", 0);
      e->RightWidth = Int(s, "RightWidth", 0);
      e->TopHeight = Int(s, "TopHeight", 0);
      e->BottomHeight = Int(s, "BottomHeight", 0);
    }
    if (r & kReadFrame) e->FrameCount = Int(s, "Frame", 0);
    if (r & kReadTrans) e->Trans = Int(s, "Trans", 0);
    if (r & kReadTile) {
      e->Tile = Int(s, "Tile", 0);
      if (e->Tile > 1) e->Tile = (r & kTileAbove1Is1) ? 1 : 0;
    }
    if (r & kReadMenuTiles) {
      e->Tile = Int(s, "TileMenu", 1);
      if (e->Tile > 1) e->Tile = 1;
      e->LeftWidth = Int(s, "TileLeftMenu", 1);
      e->RightWidth = Int(s, "TileRightMenu", 1);
      e->TopHeight = e->BottomHeight = 0;
    }
    e->NormalColour2 = e->MouseOverColour2 = e->PressedColour2 = m_.ButtonTextColour;
    if (r & kReadColours) {
      e->NormalColour = Int(s, "NormalColour", -1);
      e->MouseOverColour = Int(s, "MouseOverColour", -1);
      e->PressedColour = Int(s, "PressedColour", -1);
      e->NormalColour2 = Colour(s, "NormalColour2", m_.ButtonTextColour);
      e->MouseOverColour2 = Colour(s, "MouseOverColour2", m_.ButtonTextColour);
      e->PressedColour2 = Colour(s, "PressedColour2", m_.ButtonTextColour);
    }
    if (r & kReadBackground) {
      auto* box = static_cast<TDataSkinBoxLabel*>(e.get());
      box->BackgroundAlignment = Int(s, "BackgroundAlignment", 0);
      box->BackgroundLeftShift = Int(s, "BackgroundLeftShift", 0);
      box->BackgroundRightShift = Int(s, "BackgroundRightShift", 0);
    }
    if (spec.MarginLimit > 0) {
      for (int32_t* m : {&e->LeftWidth, &e->TopHeight, &e->RightWidth, &e->BottomHeight})
        if (*m > spec.MarginLimit) *m = spec.MarginLimit;
    }
    if (!spec.SecondImageKey.empty()) {
      static_cast<TDataSkinBorder*>(e.get())->Bitmap2 = LoadImageIfSet(s, spec.SecondImageKey);
    }
    return e;
  }

  // The left-hand combo button is the right-hand one mirrored.
  void MirrorComboButton() {
    auto* combo = static_cast<TDataSkinBorder*>(Get(SkinElement::ComboButton));
    if (!combo || combo->Bitmap.Empty()) return;
    combo->Bitmap2 = combo->Bitmap;
    MirrorBitmap(combo->Bitmap2);
  }

  void ApplyFrameCounts() {
    for (const SkinElementSpec& spec : SkinElementSpecs()) {
      TDataSkinObject* e = Get(spec.Id);
      if (!e) continue;
      switch (spec.FrameRule) {
        case SkinFrameRule::Fixed: e->FrameCount = spec.Frames; break;
        case SkinFrameRule::FrameKeyOr5:
          if (e->FrameCount == 0) e->FrameCount = 5;
          break;
        case SkinFrameRule::FromCountKey: e->FrameCount = Int(spec.Section, "FrameCount", spec.Frames); break;
        case SkinFrameRule::ProgressStyle: e->FrameCount = e->Style != 0 ? 1 : 2; break;
        default: break;
      }
    }
    m_.Title->FrameCount = 2;
    TDataSkinButton& b = *m_.Buttons;
    b.FrameCount = 5;
    if (b.RadioFrameCount == 0) b.RadioFrameCount = StripFrames(b.RadioBitmap);
    if (b.CheckFrameCount == 0) b.CheckFrameCount = StripFrames(b.CheckBitmap);
  }

  // Frames of a check-box or radio strip: 13-pixel frames for images under
  // 16 pixels high, 16-pixel frames otherwise, and at least 4.
  static int32_t StripFrames(const Image& img) {
    const int cell = img.Height() < 16 ? 13 : 16;
    const int32_t n = img.Width() / cell;
    return n < 4 ? 4 : n;
  }

  // One strip holding, per frame, the edit box's sunken edge with the drop
  // button and its arrow at the right; the left-hand variant is its mirror.
  void CombineComboButton() {
    TDataSkinObject* sunk = Get(SkinElement::SunkEdge);
    TDataSkinObject* combo = Get(SkinElement::ComboButton);
    if (!sunk || !combo) return;
    const TDataSkinObject* extra = Get(SkinElement::ExtraImages);

    const int w = env_.HScrollArrowWidth + 2;
    const int n = sunk->FrameCount;
    const uint32_t magenta = PixelFromColour(kMagenta);
    Image strip(kComboCellWidth * n, kComboCellHeight, magenta);
    strip.SetBitCount(24);
    const ImgRect cellRect = MakeRect(0, 0, kComboCellWidth, kComboCellHeight);
    const ImgRect buttonRect = MakeRect(kComboCellWidth - w, 0, kComboCellWidth, kComboCellHeight);
    for (int k = 1; k <= n; ++k) {
      Image cell(kComboCellWidth, kComboCellHeight, magenta);
      DrawFrame(cell, cellRect, sunk->Bitmap, false, false, sunk->Trans == 1, n, k, MarginsOf(*sunk));
      DrawFrame(cell, buttonRect, combo->Bitmap, false, false, true, combo->FrameCount, k, MarginsOf(*combo));
      if (extra) DrawFrameCentred(cell, buttonRect, extra->Bitmap, true, extra->FrameCount, k);
      const ImgRect hole = MakeRect(2, 2, kComboCellWidth - 1 - w, 18);
      if (!hole.Empty()) cell.FillRect(hole, magenta);
      strip.Blit(kComboCellWidth * (k - 1), 0, cell);
    }

    combo->Style = 2;
    combo->TopHeight = sunk->TopHeight;
    combo->BottomHeight = sunk->BottomHeight;
    combo->LeftWidth = 2;
    combo->RightWidth = w + 2;
    combo->Bitmap = strip;

    MirrorBitmap(strip);
    sunk->Bitmap = std::move(strip);
    sunk->LeftWidth = w + 2;
    sunk->RightWidth = 2;
  }

  // The arrow glyphs of the combo button on their own, for the date picker.
  void MakeComboArrow() {
    auto arrow = std::make_unique<TDataSkinObject>("ComboxArrow");
    arrow->NormalColour2 = arrow->MouseOverColour2 = arrow->PressedColour2 = m_.ButtonTextColour;
    const TDataSkinObject* sunk = Get(SkinElement::SunkEdge);
    const TDataSkinObject* combo = Get(SkinElement::ComboButton);
    if (!sunk && combo) {
      arrow->Bitmap = combo->Bitmap;
      ReplaceMagenta(arrow->Bitmap, m_.ButtonFaceColour);
      arrow->FrameCount = combo->FrameCount;
    } else if (sunk && combo) {
      const int n = sunk->FrameCount;
      const int c = combo->Bitmap.Width() / n;
      Image img(kComboArrowSide * n, kComboArrowSide, 0);
      img.SetBitCount(24);
      for (int i = 0; i < n; ++i) {
        const int x = (i + 1) * c - 19;
        img.Blit(kComboArrowSide * i, 0, combo->Bitmap, MakeRect(x, 2, x + kComboArrowSide, 2 + kComboArrowSide));
      }
      arrow->Bitmap = std::move(img);
      arrow->FrameCount = n;
    }
    Slot(SkinElement::ComboArrow) = std::move(arrow);
  }

  void SampleFrameColour() {
    const TDataSkinBorder& top = *m_.FrameTop;
    if (top.Bitmap.Empty()) {
      m_.FrameColour = m_.ButtonFaceColour;
      return;
    }
    const int frames = top.FrameCount > 0 ? top.FrameCount : 1;
    const int x = top.Bitmap.Width() / 3;
    const int y = (top.Bitmap.Height() / frames) / 3;
    m_.FrameColour = ColourFromPixel(top.Bitmap.Pixel(x, y));
  }

  void MakeToolbarGradient() {
    const TColour s = m_.FrameColour;
    const TColour topColour = Blend(m_.ButtonFaceColour, kWhite, 150);
    TColour bottomColour = Blend(0x808080, s, 150);
    const int saturation = Saturation(s);
    if (saturation > 110) bottomColour = Blend(s, kWhite, (5625 - 25 * saturation) / 140 + 50);

    auto bar = std::make_unique<TDataSkinObject>("Toolbar");
    bar->Bitmap = Image(10, 40, 0);
    bar->Bitmap.SetBitCount(24);
    GradientFillImage(bar->Bitmap, bar->Bitmap.Bounds(), topColour, true, bottomColour);
    bar->FrameCount = 1;
    bar->NormalColour2 = bar->MouseOverColour2 = bar->PressedColour2 = m_.ButtonTextColour;
    Slot(SkinElement::Toolbar) = std::move(bar);
  }

  TSkinModel& m_;
  const TSkinFileSource& files_;
  const TSkinSettings& ini_;
  const TSkinEnvironment& env_;
  const std::vector<std::string> sections_ = ini_.Sections();
  // Decoded images by lower-case file name (an empty image for a file that
  // is missing, broken or beyond the budget).
  std::unordered_map<std::string, Image> images_;
  std::size_t pixelsLeft_ = TSkinModel::kMaxPackagePixels;
};

// ---- the model -------------------------------------------------------------

TSkinModel::TSkinModel()
    : Title(std::make_unique<TDataSkinTitle>("Title")),
      Buttons(std::make_unique<TDataSkinButton>("Buttons")),
      FrameLeft(std::make_unique<TDataSkinBorder>("Left")),
      FrameRight(std::make_unique<TDataSkinBorder>("Right")),
      FrameTop(std::make_unique<TDataSkinBorder>("Top")),
      FrameBottom(std::make_unique<TDataSkinBorder>("Bottom")) {}

void TSkinModel::Build(const TSkinFileSource& files, const TSkinSettings& settings, const TSkinEnvironment& env) {
  // Built aside and swapped in, so a failure leaves the previous skin whole.
  TSkinModel fresh;
  TSkinModelBuilder(fresh, files, settings, env).Run();
  fresh.builds_ = builds_ + 1;
  *this = std::move(fresh);
}

void TSkinModel::Build(const TSkinReader& reader, const TQuickIni& ini, const TSkinEnvironment& env) {
  Build(TSkinReaderFiles(reader), TQuickIniSettings(ini), env);
}
