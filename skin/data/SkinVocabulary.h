// The settings vocabulary of a skin: every section and key the skin model
// builder reads, what kind of value it holds, its default, and the frame
// count of each element's image strip. The builder reads the element table
// below; the skin tool's checker reads the section table.
//
// Classes and functions in this file:
//   SkinElement        the optional (and derived) elements of the skin model
//   SkinElementSpec    how the builder reads one element from its section
//   SkinElementSpecs() the element table, in build order
//   SkinKey            one key of a section: name, kind, default
//   SkinSection        one section (or family of sections) and its keys
//   SkinSections()     every section the builder reads
//   FindSkinSection()  the entry a section name of a settings file falls under
//   FindSkinKey()      a key of a section entry
//   IsCaptionButtonSection(), IsColourListSection()  the two section families
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Elements held by the skin model that may be absent. The always-present ones
// (Buttons, Title, the four frame borders) and the caption buttons are
// members of their own.
enum class SkinElement : uint8_t {
  Tabs, UpDownHorz, UpDownVert, SunkEdge, ExtraImages, ComboButton, ComboArrow,
  GroupBoxEdge, Toolbar, ToolBars, Progress, ProgressChunk, GroupBox,
  StatusBarEdges, TabPane, Headerbar, MenuBar, MenuItem, MenuBackground,
  Scrollbar, HorzScroll, VertScroll, HorzScrollThumb, VertScrollThumb,
  TrackThumbHorz, TrackThumbVert, TrackThumbLeft, TrackThumbRight,
  TrackThumbUp, TrackThumbDown, Track, TrackVert,
  Count
};
constexpr int kSkinElementCount = static_cast<int>(SkinElement::Count);

enum class SkinElementClass : uint8_t { Object, Border, BoxLabel };

// How an element's frame count is settled after reading.
enum class SkinFrameRule : uint8_t {
  None,           // no image strip of its own (colours, names)
  Fixed,          // always Frames
  FromFrameKey,   // the section's "Frame" key (default 0)
  FrameKeyOr5,    // "Frame", and 5 when that is 0
  FromCountKey,   // the section's "FrameCount" key, default Frames
  ProgressStyle,  // 1 when Style is not 0, else 2
  CaptionButton,  // "frame", else derived from the image's proportions
  BorderFrameKey, // [Personality] X + "Frame", default 1
  Derived,        // computed by the builder
};

// What the builder reads from an element's section besides its image.
enum SkinReadFlags : uint16_t {
  kReadStyle = 1 << 0,
  kReadMargins = 1 << 1,      // LeftWidth, RightWidth, TopHeight, BottomHeight
  kReadFrame = 1 << 2,        // "Frame" -> FrameCount
  kReadTrans = 1 << 3,
  kReadTile = 1 << 4,
  kReadColours = 1 << 5,      // NormalColour.., NormalColour2..
  kReadBackground = 1 << 6,   // the group box's Background* keys
  kTileAbove1Is1 = 1 << 7,    // Tile above 1 becomes 1 (otherwise 0)
  kBuiltinFallback = 1 << 8,  // absent: made from the built-in image
  kReadMenuTiles = 1 << 9,    // TileMenu, TileLeftMenu, TileRightMenu (menu bar)
  kGeneric = kReadStyle | kReadMargins | kReadTrans | kReadTile | kReadColours,
};

struct SkinElementSpec {
  SkinElement Id;
  std::string_view Section;
  std::string_view Name;            // element name when it differs from the section
  SkinElementClass Class;
  std::string_view ImageKey;
  std::string_view SecondImageKey;  // loaded into Bitmap2 (borders)
  uint16_t Reads;
  SkinFrameRule FrameRule;
  int Frames;                       // for Fixed and FromCountKey
  int MarginLimit;                  // margins above it are cut to it (0: none)
};

// The elements that the builder reads from a section, in build order (the
// menu bar, the derived elements and the combined combo button have their
// own steps and are not listed).
std::span<const SkinElementSpec> SkinElementSpecs();
const SkinElementSpec* FindSkinElementSpec(SkinElement id);

enum class SkinValueKind : uint8_t {
  Integer,  // decimal, "$hex" or "0xhex"
  Colour,   // colour text: "R G B"
  Image,    // a ".bmp" file name inside the package
  Text,
};

struct SkinKey {
  std::string_view Name;     // as written in skins; compared in lower case
  SkinValueKind Kind;
  std::string_view Default;  // for people: the value used when the key is absent
};

enum class SkinSectionMatch : uint8_t {
  Exact,   // the section name, compared without letter case
  Prefix,  // every section whose upper-cased name starts with Name (see below)
};

struct SkinSection {
  std::string_view Name;
  SkinSectionMatch Match;
  std::string_view Member;   // what the section feeds in the skin model
  std::vector<SkinKey> Keys;
  SkinFrameRule FrameRule;
  int Frames;                // for Fixed and FromCountKey
};

// Every section the builder reads, each once.
const std::vector<SkinSection>& SkinSections();
// The entry a section of a settings file falls under, or null for a section
// the builder ignores.
const SkinSection* FindSkinSection(std::string_view sectionName);
// The key entry of a section, compared without ASCII letter case, or null.
const SkinKey* FindSkinKey(const SkinSection& section, std::string_view key);

// [Button...] sections are caption buttons, except [Button], [Buttons],
// [Button.Radio] and [Button.CheckBox]; [Colour...] sections other than
// [Colours] are entries of the colour list.
bool IsCaptionButtonSection(std::string_view sectionName);
bool IsColourListSection(std::string_view sectionName);

// ASCII helpers shared with the builder.
bool EqualsNoCase(std::string_view a, std::string_view b);
std::string UpperAscii(std::string_view s);
