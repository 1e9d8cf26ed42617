// The skin model: what a loaded skin is made of, and its builder (portable).
//
// Classes in this file:
//   TSkinFileSource    hands out the files of a skin package by name
//   TSkinSettings      answers settings look-ups (section, key, default)
//   TSkinReaderFiles   TSkinFileSource over an opened TSkinReader
//   TQuickIniSettings  TSkinSettings over a loaded TQuickIni
//   TSkinEnvironment   what the builder needs from the platform
//   TSkinModel         colours, frame borders, caption text and buttons, and
//                      one element per kind of control
//
// The skin definition owns one TSkinModel and calls Build once per load; the
// painters only read it. The solid face brush of the skin is the skin
// definition's (it is made from ButtonFaceColour after a build).
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "skin/data/Image.h"
#include "skin/data/SkinColour.h"
#include "skin/data/SkinVocabulary.h"
#include "skin/data/WinSkinData.h"

class TSkinReader;
class TQuickIni;

class TSkinFileSource {
public:
  virtual ~TSkinFileSource() = default;
  // The bytes of the first file called `name` (any letter case); empty when
  // there is none.
  virtual std::vector<uint8_t> Extract(std::string_view name) const = 0;
};

class TSkinSettings {
public:
  virtual ~TSkinSettings() = default;
  virtual std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const = 0;
  virtual int32_t ReadInteger(std::string_view section, std::string_view key, int32_t def) const = 0;
  // Section names in file order.
  virtual std::vector<std::string> Sections() const = 0;
};

class TSkinReaderFiles final : public TSkinFileSource {
public:
  explicit TSkinReaderFiles(const TSkinReader& reader) : reader_(reader) {}
  std::vector<uint8_t> Extract(std::string_view name) const override;

private:
  const TSkinReader& reader_;
};

// Answers as TQuickIni does, from an index of sections and keys built once,
// so a look-up costs the same however many sections the text has.
class TQuickIniSettings final : public TSkinSettings {
public:
  explicit TQuickIniSettings(const TQuickIni& ini);
  std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const override;
  int32_t ReadInteger(std::string_view section, std::string_view key, int32_t def) const override;
  std::vector<std::string> Sections() const override;

private:
  // Lower-case key -> trimmed value of its first entry.
  using KeyIndex = std::unordered_map<std::string, std::string>;
  const TQuickIni& ini_;
  // Lower-case section name -> its first section's keys.
  std::unordered_map<std::string, KeyIndex> sections_;
};

struct TSkinEnvironment {
  // Width of a horizontal scroll-bar arrow (the system metric); the combined
  // combo-box button is made for it.
  int HScrollArrowWidth = 17;
  // The program's built-in track images ("TRACK", "TRACKVERT"), used when a
  // skin has no [Track] or [TRACKVERT] section.
  Image Track;
  Image TrackVert;
};

class TSkinModel {
public:
  // Construction: no skin yet; Buttons, Title and the frame borders exist
  // with empty images.
  TSkinModel();
  TSkinModel(TSkinModel&&) noexcept = default;
  TSkinModel& operator=(TSkinModel&&) noexcept = default;

  // Operations
  // Fills the whole model from a package and its settings, replacing every
  // element of an earlier build (an element the new skin lacks is absent
  // afterwards). On an exception the model is left as it was.
  void Build(const TSkinFileSource& files, const TSkinSettings& settings, const TSkinEnvironment& env);
  void Build(const TSkinReader& reader, const TQuickIni& ini, const TSkinEnvironment& env);
  // Number of builds so far.
  int BuildCount() const { return builds_; }

  // Most pixels one build may hold in the images it reads from a package
  // (each image file counted once when decoded and again for every further
  // element that uses it); images beyond it are missing images.
  static constexpr std::size_t kMaxPackagePixels = 2 * Image::kMaxPixels;

  // Attributes: colours of [Colours] (system colours until a skin sets them)
  TColour WindowTextColour = SystemColour(kSysWindowText);
  TColour ButtonFaceColour = SystemColour(kSysButtonFace);
  TColour ScrollbarColour = SystemColour(kSysScrollbar);
  TColour HilightTextColour = SystemColour(kSysHighlightText);
  TColour HilightColour = SystemColour(kSysHighlight);
  TColour MenubarColour = SystemColour(kSysButtonFace);
  TColour MenuColour = SystemColour(kSysMenu);
  TColour MenuTextColour = SystemColour(kSysMenuText);
  TColour ButtonTextColour = SystemColour(kSysButtonText);
  TColour ButtonHilightColour = SystemColour(kSysButtonHighlight);
  TColour ButtonlightColour = SystemColour(kSysButtonHighlight);
  TColour ButtonShadowColour = SystemColour(kSysButtonShadow);
  TColour ButtonDkShadowColour = SystemColour(kSys3DDarkShadow);
  TColour MenuBarTextColour = SystemColour(kSysMenuText);
  TColour TitleTextActiveColour = SystemColour(kSysCaptionText);
  TColour TitleTextNoActiveColour = SystemColour(kSysInactiveCaptionText);
  // Sampled from the top frame border (ButtonFaceColour without one).
  TColour FrameColour = SystemColour(kSysButtonFace);
  std::vector<TColour> ColourList;  // one per [Colour...] section
  std::array<TColour, 10> CustomColours{kWhite, kWhite, kWhite, kWhite, kWhite,
                                        kWhite, kWhite, kWhite, kWhite, kWhite};
  std::string SkinName;

  // Always present (never null).
  std::unique_ptr<TDataSkinTitle> Title;
  std::unique_ptr<TDataSkinButton> Buttons;
  std::unique_ptr<TDataSkinBorder> FrameLeft, FrameRight, FrameTop, FrameBottom;
  // Caption buttons in settings order, then the three buttons of a maximised
  // child window (actions 7, 8, 9).
  std::vector<std::unique_ptr<TDataSkinSysButton>> SysButtons;

  // Elements that a skin may lack: null when absent. Track, TrackVert,
  // ComboArrow and Toolbar are present after the first build.
  const TDataSkinObject* Element(SkinElement id) const { return elements_[Index(id)].get(); }
  TDataSkinObject* Element(SkinElement id) { return elements_[Index(id)].get(); }

  const TDataSkinBorder* Tabs() const { return Border(SkinElement::Tabs); }
  const TDataSkinBorder* UpDownHorz() const { return Border(SkinElement::UpDownHorz); }
  const TDataSkinBorder* UpDownVert() const { return Border(SkinElement::UpDownVert); }
  const TDataSkinObject* SunkEdge() const { return Element(SkinElement::SunkEdge); }
  const TDataSkinObject* ExtraImages() const { return Element(SkinElement::ExtraImages); }
  const TDataSkinBorder* ComboButton() const { return Border(SkinElement::ComboButton); }
  const TDataSkinObject* ComboArrow() const { return Element(SkinElement::ComboArrow); }
  const TDataSkinObject* GroupBoxEdge() const { return Element(SkinElement::GroupBoxEdge); }
  const TDataSkinObject* Toolbar() const { return Element(SkinElement::Toolbar); }
  const TDataSkinObject* ToolBars() const { return Element(SkinElement::ToolBars); }
  const TDataSkinBorder* Progress() const { return Border(SkinElement::Progress); }
  const TDataSkinObject* ProgressChunk() const { return Element(SkinElement::ProgressChunk); }
  const TDataSkinBoxLabel* GroupBox() const {
    return static_cast<const TDataSkinBoxLabel*>(Element(SkinElement::GroupBox));
  }
  const TDataSkinObject* StatusBarEdges() const { return Element(SkinElement::StatusBarEdges); }
  const TDataSkinObject* TabPane() const { return Element(SkinElement::TabPane); }
  const TDataSkinObject* Headerbar() const { return Element(SkinElement::Headerbar); }
  const TDataSkinObject* MenuBar() const { return Element(SkinElement::MenuBar); }
  const TDataSkinObject* MenuItem() const { return Element(SkinElement::MenuItem); }
  const TDataSkinObject* MenuBackground() const { return Element(SkinElement::MenuBackground); }
  const TDataSkinObject* Scrollbar() const { return Element(SkinElement::Scrollbar); }
  const TDataSkinObject* HorzScroll() const { return Element(SkinElement::HorzScroll); }
  const TDataSkinObject* VertScroll() const { return Element(SkinElement::VertScroll); }
  const TDataSkinObject* HorzScrollThumb() const { return Element(SkinElement::HorzScrollThumb); }
  const TDataSkinObject* VertScrollThumb() const { return Element(SkinElement::VertScrollThumb); }
  const TDataSkinObject* TrackThumbHorz() const { return Element(SkinElement::TrackThumbHorz); }
  const TDataSkinObject* TrackThumbVert() const { return Element(SkinElement::TrackThumbVert); }
  const TDataSkinObject* TrackThumbLeft() const { return Element(SkinElement::TrackThumbLeft); }
  const TDataSkinObject* TrackThumbRight() const { return Element(SkinElement::TrackThumbRight); }
  const TDataSkinObject* TrackThumbUp() const { return Element(SkinElement::TrackThumbUp); }
  const TDataSkinObject* TrackThumbDown() const { return Element(SkinElement::TrackThumbDown); }
  const TDataSkinObject* Track() const { return Element(SkinElement::Track); }
  const TDataSkinObject* TrackVert() const { return Element(SkinElement::TrackVert); }

private:
  friend class TSkinModelBuilder;

  static constexpr size_t Index(SkinElement id) { return static_cast<size_t>(id); }
  const TDataSkinBorder* Border(SkinElement id) const {
    return static_cast<const TDataSkinBorder*>(Element(id));
  }

  std::array<std::unique_ptr<TDataSkinObject>, kSkinElementCount> elements_;
  int builds_ = 0;
};
