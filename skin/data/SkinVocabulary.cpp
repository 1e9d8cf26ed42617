#include "skin/data/SkinVocabulary.h"

#include <array>

namespace {

using E = SkinElement;
using C = SkinElementClass;
using R = SkinFrameRule;
using K = SkinValueKind;

constexpr uint16_t kProgressReads = kReadStyle | kReadMargins | kReadTrans | kReadTile | kTileAbove1Is1;
constexpr uint16_t kMenuBarReads = kReadStyle | kReadTrans | kReadColours | kReadMenuTiles;

// Build order: step 7 of a load, then step 9.
constexpr std::array<SkinElementSpec, 30> kElements = {{
    {E::Progress, "Progress", "", C::Border, "Bitmap", "", kProgressReads, R::ProgressStyle, 0, 0},
    {E::ProgressChunk, "Progress.Chunk", "", C::Object, "Image", "", kGeneric | kReadFrame, R::FromFrameKey, 0, 0},
    {E::MenuBar, "Personality", "Personality", C::Object, "menuBar", "", kMenuBarReads, R::Fixed, 2, 0},
    {E::GroupBoxEdge, "GroupBoxEdge", "", C::Object, "Image", "", kGeneric, R::Fixed, 2, 0},
    {E::GroupBox, "GroupBox", "", C::BoxLabel, "Image", "", kGeneric | kReadBackground, R::Fixed, 1, 0},
    {E::Tabs, "Tabs", "", C::Border, "Image", "Border", kGeneric, R::Fixed, 5, 0},
    {E::StatusBarEdges, "StatusBarEdges", "", C::Object, "Image", "", kGeneric, R::Fixed, 3, 0},
    {E::TabPane, "Tab.Pane", "", C::Object, "Image", "", kGeneric, R::Fixed, 1, 4},
    {E::ToolBars, "ToolBars", "", C::Object, "Image", "", kGeneric, R::Fixed, 5, 0},
    {E::ComboButton, "ComboButton", "", C::Border, "Image", "****", kGeneric, R::Fixed, 4, 0},
    {E::SunkEdge, "SunkEdge", "", C::Object, "Image", "", kGeneric, R::Fixed, 4, 0},
    {E::ExtraImages, "ExtraImages", "", C::Object, "Image", "", kGeneric, R::Fixed, 5, 0},
    {E::Headerbar, "Headerbar", "", C::Object, "Image", "", kGeneric | kReadFrame, R::FrameKeyOr5, 0, 0},
    {E::MenuItem, "MenuItem", "", C::Object, "Image", "", kGeneric, R::Fixed, 5, 0},
    {E::MenuBackground, "MenuBackground", "", C::Object, "Image", "", kGeneric, R::Fixed, 1, 0},
    {E::Scrollbar, "Scrollbar", "", C::Object, "Image", "", kGeneric, R::Fixed, 23, 0},
    {E::HorzScroll, "HorzScroll", "", C::Object, "Image", "", kGeneric, R::Fixed, 4, 0},
    {E::VertScroll, "VertScroll", "", C::Object, "Image", "", kGeneric, R::Fixed, 4, 0},
    {E::HorzScrollThumb, "HorzScrollThumb", "", C::Object, "Image", "", kGeneric, R::FromCountKey, 3, 0},
    {E::VertScrollThumb, "VertScrollThumb", "", C::Object, "Image", "", kGeneric, R::FromCountKey, 3, 0},
    {E::TrackThumbHorz, "Trackbar.ThumbHorz", "", C::Object, "Image", "", kGeneric, R::Fixed, 5, 0},
    {E::TrackThumbVert, "Trackbar.ThumbVert", "", C::Object, "Image", "", kGeneric, R::Fixed, 5, 0},
    {E::TrackThumbLeft, "Trackbar.ThumbLeft", "", C::Object, "Image", "", kGeneric, R::Fixed, 5, 0},
    {E::TrackThumbRight, "Trackbar.ThumbRight", "", C::Object, "Image", "", kGeneric, R::Fixed, 5, 0},
    {E::TrackThumbUp, "Trackbar.ThumbUp", "", C::Object, "Image", "", kGeneric, R::Fixed, 5, 0},
    {E::TrackThumbDown, "Trackbar.ThumbDown", "", C::Object, "Image", "", kGeneric, R::Fixed, 5, 0},
    {E::UpDownHorz, "UpDown.Horz", "", C::Border, "Image", "GlyphImage", kGeneric, R::Fixed, 8, 0},
    {E::UpDownVert, "UpDown.Vert", "", C::Border, "Image", "GlyphImage", kGeneric, R::Fixed, 8, 0},
    {E::Track, "Track", "", C::Object, "Image", "", kGeneric | kReadFrame | kBuiltinFallback, R::FromFrameKey, 0, 0},
    {E::TrackVert, "TRACKVERT", "", C::Object, "Image", "", kGeneric | kReadFrame | kBuiltinFallback, R::FromFrameKey, 0, 0},
}};

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

void AddElementKeys(const SkinElementSpec& e, std::vector<SkinKey>& keys) {
  keys.push_back({e.ImageKey, K::Image, ""});
  if (!e.SecondImageKey.empty()) keys.push_back({e.SecondImageKey, K::Image, ""});
  if (e.Reads & kReadStyle) keys.push_back({"Style", K::Integer, "0"});
  if (e.Reads & kReadMargins) {
    for (auto k : {"LeftWidth", "RightWidth", "TopHeight", "BottomHeight"}) keys.push_back({k, K::Integer, "0"});
  }
  if (e.Reads & kReadFrame) keys.push_back({"Frame", K::Integer, e.FrameRule == R::FrameKeyOr5 ? "5" : "0"});
  if (e.FrameRule == R::FromCountKey) keys.push_back({"FrameCount", K::Integer, "3"});
  if (e.Reads & kReadTrans) keys.push_back({"Trans", K::Integer, "0"});
  if (e.Reads & kReadTile) keys.push_back({"Tile", K::Integer, "0"});
  if (e.Reads & kReadMenuTiles) {
    for (auto k : {"TileMenu", "TileLeftMenu", "TileRightMenu"}) keys.push_back({k, K::Integer, "1"});
  }
  if (e.Reads & kReadColours) {
    for (auto k : {"NormalColour", "MouseOverColour", "PressedColour"}) keys.push_back({k, K::Integer, "-1"});
    for (auto k : {"NormalColour2", "MouseOverColour2", "PressedColour2"})
      keys.push_back({k, K::Colour, "the ButtonText colour"});
  }
  if (e.Reads & kReadBackground) {
    for (auto k : {"BackgroundAlignment", "BackgroundLeftShift", "BackgroundRightShift"})
      keys.push_back({k, K::Integer, "0"});
  }
}

std::vector<SkinSection> MakeSections() {
  std::vector<SkinSection> s;
  s.push_back({"TitlebarSkin", SkinSectionMatch::Exact, "SkinName", {{"SkinName", K::Text, ""}}, R::None, 0});

  SkinSection personality{"Personality", SkinSectionMatch::Exact,
                          "FrameLeft, FrameRight, FrameTop, FrameBottom, Title, MenuBar", {}, R::BorderFrameKey, 0};
  for (std::string_view x : {"Left", "Right", "Top", "Bottom"}) {
    personality.Keys.push_back({x, K::Image, ""});
  }
  // Key names are stored views: spell them out rather than build them.
  static constexpr std::string_view kBorderKeys[] = {
      "LeftTopHeight",   "LeftBotHeight",   "LeftFrame",   "LeftStretch",   "LeftTrans",
      "RightTopHeight",  "RightBotHeight",  "RightFrame",  "RightStretch",  "RightTrans",
      "TopTopHeight",    "TopBotHeight",    "TopFrame",    "TopStretch",    "TopTrans",
      "BottomTopHeight", "BottomBotHeight", "BottomFrame", "BottomStretch", "BottomTrans"};
  static constexpr std::string_view kBorderDefaults[] = {"0", "0", "1", "1", "1"};
  for (int i = 0; i < 20; ++i) personality.Keys.push_back({kBorderKeys[i], K::Integer, kBorderDefaults[i % 5]});
  personality.Keys.push_back({"TextBack", K::Image, ""});
  for (auto k : {"TextShift", "TextShiftVert", "TextRightClip", "TextAlignment", "Textbackground", "TXTBackleft",
                 "TXTBackRight"})
    personality.Keys.push_back({k, K::Integer, "0"});
  for (auto k : {"ActiveTextR", "ActiveTextG", "ActiveTextB", "InActiveTextR", "InActiveTextG", "InActiveTextB"})
    personality.Keys.push_back({k, K::Integer, "-1"});
  AddElementKeys(*FindSkinElementSpec(E::MenuBar), personality.Keys);
  s.push_back(std::move(personality));

  s.push_back({"Fonts", SkinSectionMatch::Exact, "Title", {{"FontHeight", K::Integer, "14"}}, R::None, 0});

  SkinSection colours{"Colours", SkinSectionMatch::Exact, "the skin colours", {}, R::None, 0};
  colours.Keys = {
      {"WindowText", K::Colour, "system colour 8"},     {"ButtonFace", K::Colour, "system colour 15"},
      {"Scrollbar", K::Colour, "system colour 0"},      {"HilightText", K::Colour, "system colour 14"},
      {"Hilight", K::Colour, "system colour 13"},       {"Menubar", K::Colour, "the ButtonFace colour"},
      {"Menu", K::Colour, "system colour 4"},           {"MenuText", K::Colour, "system colour 7"},
      {"ButtonText", K::Colour, "system colour 18"},    {"ButtonHilight", K::Colour, "system colour 20"},
      {"Buttonlight", K::Colour, "system colour 20"},   {"ButtonShadow", K::Colour, "system colour 16"},
      {"ButtonDkShadow", K::Colour, "system colour 21"}, {"MenuBarText", K::Colour, "system colour 7"},
      {"TitleTextActive", K::Colour, "system colour 9"}, {"TitleTextNoActive", K::Colour, "system colour 19"},
  };
  s.push_back(std::move(colours));

  s.push_back({"COLOUR", SkinSectionMatch::Prefix, "ColourList", {{"color", K::Colour, "system colour 8"}}, R::None, 0});

  SkinSection custom{"Customcolors", SkinSectionMatch::Exact, "CustomColours", {}, R::None, 0};
  for (auto k : {"Color0", "Color1", "Color2", "Color3", "Color4", "Color5", "Color6", "Color7", "Color8", "Color9"})
    custom.Keys.push_back({k, K::Colour, "255 255 255"});
  s.push_back(std::move(custom));

  s.push_back({"BUTTON",
               SkinSectionMatch::Prefix,
               "SysButtons",
               {{"Action", K::Integer, "0"},
                {"Align", K::Integer, "0"},
                {"Xcoord", K::Integer, "0"},
                {"Ycoord", K::Integer, "0"},
                {"Visibility", K::Integer, "0"},
                {"Visibility1", K::Integer, "0 (-1 when Action is -1)"},
                {"CombineOp", K::Integer, "-1"},
                {"frame", K::Integer, "3 or 6, from the image's proportions"},
                {"ButtonImage", K::Image, ""}},
               R::CaptionButton,
               0});
  s.push_back({"MDICONTROLS", SkinSectionMatch::Exact, "SysButtons", {{"Image", K::Image, ""}}, R::Fixed, 12});

  s.push_back({"Buttons",
               SkinSectionMatch::Exact,
               "Buttons",
               {{"Bitmap", K::Image, ""},
                {"LeftWidth", K::Integer, "0"},
                {"RightWidth", K::Integer, "0"},
                {"TopHeight", K::Integer, "0"},
                {"BottomHeight", K::Integer, "0"},
                {"Trans", K::Integer, "0"},
                {"Tile", K::Integer, "0"},
                {"CheckButton", K::Image, ""},
                {"RadioButton", K::Image, ""},
                {"NormalColour", K::Integer, "-1"},
                {"MouseOverColour", K::Integer, "-1"},
                {"PressedColour", K::Integer, "-1"},
                {"RadioButtonFrame", K::Integer, "from the image width"},
                {"CheckButtonFrame", K::Integer, "from the image width"},
                {"NormalColour2", K::Colour, "the ButtonText colour"},
                {"MouseOverColour2", K::Colour, "the ButtonText colour"},
                {"PressedColour2", K::Colour, "the ButtonText colour"}},
               R::Fixed,
               5});

  for (const auto& e : kElements) {
    if (e.Id == E::MenuBar) continue;  // part of [Personality]
    SkinSection sec{e.Section, SkinSectionMatch::Exact, e.Section, {}, e.FrameRule, e.Frames};
    AddElementKeys(e, sec.Keys);
    s.push_back(std::move(sec));
  }
  return s;
}

}  // namespace

std::span<const SkinElementSpec> SkinElementSpecs() { return kElements; }

const SkinElementSpec* FindSkinElementSpec(SkinElement id) {
  for (const auto& e : kElements)
    if (e.Id == id) return &e;
  return nullptr;
}

const std::vector<SkinSection>& SkinSections() {
  static const std::vector<SkinSection> sections = MakeSections();
  return sections;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  return true;
}

std::string UpperAscii(std::string_view s) {
  std::string r(s);
  for (char& c : r)
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  return r;
}

bool IsCaptionButtonSection(std::string_view name) {
  const std::string u = UpperAscii(name);
  if (!u.starts_with("BUTTON")) return false;
  return u != "BUTTON" && u != "BUTTONS" && u != "BUTTON.RADIO" && u != "BUTTON.CHECKBOX";
}

bool IsColourListSection(std::string_view name) {
  const std::string u = UpperAscii(name);
  return u.starts_with("COLOUR") && u != "COLOURS";
}

const SkinSection* FindSkinSection(std::string_view name) {
  const auto& all = SkinSections();
  for (const auto& s : all)
    if (s.Match == SkinSectionMatch::Exact && EqualsNoCase(s.Name, name)) return &s;
  for (const auto& s : all) {
    if (s.Match != SkinSectionMatch::Prefix) continue;
    if (s.Name == "BUTTON" && IsCaptionButtonSection(name)) return &s;
    if (s.Name == "COLOUR" && IsColourListSection(name)) return &s;
  }
  return nullptr;
}

const SkinKey* FindSkinKey(const SkinSection& section, std::string_view key) {
  for (const auto& k : section.Keys)
    if (EqualsNoCase(k.Name, key)) return &k;
  return nullptr;
}
