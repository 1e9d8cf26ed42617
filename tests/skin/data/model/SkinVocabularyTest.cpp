#include <gtest/gtest.h>

#include <new>
#include <set>
#include <string>
#include <utility>

#include "skin/data/SkinVocabulary.h"
#include "tests/skin/data/model/SkinTestPackage.h"

namespace {

// Passes look-ups through to the real settings and records each one.
class RecordingSettings final : public TSkinSettings {
public:
  explicit RecordingSettings(const TSkinSettings& inner) : inner_(inner) {}
  std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const override {
    strings_.insert(Key(section, key));
    return inner_.ReadString(section, key, def);
  }
  int32_t ReadInteger(std::string_view section, std::string_view key, int32_t def) const override {
    integers_.insert(Key(section, key));
    return inner_.ReadInteger(section, key, def);
  }
  std::vector<std::string> Sections() const override { return inner_.Sections(); }

  using Read = std::pair<std::string, std::string>;  // section, key in upper case
  static Read Key(std::string_view section, std::string_view key) { return {UpperAscii(section), UpperAscii(key)}; }
  mutable std::set<Read> strings_, integers_;

private:
  const TSkinSettings& inner_;
};

struct RecordedBuild {
  RecordedBuild() {
    TSkinReader reader;
    EXPECT_TRUE(reader.Open(FullSkin().Package()));
    std::vector<uint8_t> text;
    std::string name;
    reader.ExtractFirstMatch(".ini", text, name);
    ini.LoadFromText(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()));
    TQuickIniSettings settings(ini);
    RecordingSettings recorder(settings);
    model.Build(TSkinReaderFiles(reader), recorder, SkinTestPackage::DefaultEnvironment());
    strings = recorder.strings_;
    integers = recorder.integers_;
  }
  TQuickIni ini;
  TSkinModel model;
  std::set<RecordingSettings::Read> strings, integers;
};

// The table the skin tool checks against must be what the builder reads.
TEST(SkinVocabulary, EveryKeyTheBuilderReadsIsInTheTable) {
  const RecordedBuild b;
  ASSERT_GT(b.strings.size() + b.integers.size(), 250u);
  auto check = [](const RecordingSettings::Read& r, bool integer) {
    const SkinSection* s = FindSkinSection(r.first);
    ASSERT_NE(s, nullptr) << "section [" << r.first << "] is read but not in the vocabulary";
    const SkinKey* k = FindSkinKey(*s, r.second);
    ASSERT_NE(k, nullptr) << "key " << r.second << " of [" << r.first << "] is read but not in the vocabulary";
    EXPECT_EQ(k->Kind == SkinValueKind::Integer, integer)
        << r.first << " " << r.second << " is read as " << (integer ? "an integer" : "text");
  };
  for (const auto& r : b.strings) check(r, false);
  for (const auto& r : b.integers) check(r, true);
}

TEST(SkinVocabulary, EveryKeyOfTheTableIsRead) {
  const RecordedBuild b;
  for (const SkinSection& s : SkinSections()) {
    // The families are read under the names of the sections of the skin.
    const std::string section = s.Name == "BUTTON" ? "BUTTONCLOSE" : s.Name == "COLOUR" ? "COLOUR1" : UpperAscii(s.Name);
    EXPECT_FALSE(s.Keys.empty()) << s.Name;
    for (const SkinKey& k : s.Keys) {
      const auto read = RecordingSettings::Key(section, k.Name);
      EXPECT_TRUE(b.strings.count(read) || b.integers.count(read)) << "[" << s.Name << "] " << k.Name << " is never read";
    }
  }
}

// Settings that fail after `budget` look-ups, as a settings reader that runs
// out of memory would.
class FailingSettings final : public TSkinSettings {
public:
  FailingSettings(const TSkinSettings& inner, int budget) : inner_(inner), budget_(budget) {}
  std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const override {
    Spend();
    return inner_.ReadString(section, key, def);
  }
  int32_t ReadInteger(std::string_view section, std::string_view key, int32_t def) const override {
    Spend();
    return inner_.ReadInteger(section, key, def);
  }
  std::vector<std::string> Sections() const override { return inner_.Sections(); }

private:
  void Spend() const {
    if (--budget_ < 0) throw std::bad_alloc();
  }
  const TSkinSettings& inner_;
  mutable int budget_;
};

TEST(SkinModel, FailedBuildKeepsThePreviousSkin) {
  RecordedBuild b;
  TSkinReader reader;
  ASSERT_TRUE(reader.Open(FullSkin().Package()));
  const TQuickIniSettings settings(b.ini);
  for (int budget : {0, 40, 200}) {
    EXPECT_THROW(b.model.Build(TSkinReaderFiles(reader), FailingSettings(settings, budget),
                               SkinTestPackage::DefaultEnvironment()),
                 std::bad_alloc);
    EXPECT_EQ(b.model.BuildCount(), 1);
    EXPECT_EQ(b.model.SkinName, "Full Test Skin");
    ASSERT_NE(b.model.ComboButton(), nullptr);
    EXPECT_EQ(b.model.ComboButton()->Style, 2);
    EXPECT_EQ(b.model.SysButtons.size(), 5u);
    EXPECT_FALSE(b.model.FrameTop->Bitmap.Empty());
  }
}

TEST(SkinVocabulary, SectionNamesAndFamilies) {
  ASSERT_NE(FindSkinSection("sunkedge"), nullptr);
  EXPECT_EQ(FindSkinSection("sunkedge")->Frames, 4);
  EXPECT_EQ(FindSkinSection("Scrollbar")->Frames, 23);
  EXPECT_EQ(FindSkinSection("Headerbar")->FrameRule, SkinFrameRule::FrameKeyOr5);
  EXPECT_EQ(FindSkinSection(" SunkEdge "), nullptr) << "blanks inside the brackets make another section";
  EXPECT_EQ(FindSkinSection("Buttons")->Member, "Buttons");
  EXPECT_EQ(FindSkinSection("ButtonMinimize")->Member, "SysButtons");
  EXPECT_EQ(FindSkinSection("buttonx")->Member, "SysButtons");
  EXPECT_EQ(FindSkinSection("Button"), nullptr);
  EXPECT_EQ(FindSkinSection("BUTTON.RADIO"), nullptr);
  EXPECT_EQ(FindSkinSection("Button.CheckBox"), nullptr);
  EXPECT_EQ(FindSkinSection("Colours")->Member, "the skin colours");
  EXPECT_EQ(FindSkinSection("colourX")->Member, "ColourList");
  EXPECT_EQ(FindSkinSection("Colors"), nullptr);
  EXPECT_EQ(FindSkinSection("Unheard"), nullptr);

  const SkinSection& tabs = *FindSkinSection("Tabs");
  ASSERT_NE(FindSkinKey(tabs, "border"), nullptr);
  EXPECT_EQ(FindSkinKey(tabs, "border")->Kind, SkinValueKind::Image);
  EXPECT_EQ(FindSkinKey(tabs, "Frame"), nullptr) << "tabs always have 5 frames";
  EXPECT_EQ(FindSkinKey(*FindSkinSection("Colours"), "ButtonFace")->Kind, SkinValueKind::Colour);
  EXPECT_EQ(FindSkinKey(*FindSkinSection("Progress"), "Bitmap")->Kind, SkinValueKind::Image);
  EXPECT_EQ(FindSkinKey(*FindSkinSection("Progress"), "Image"), nullptr);
}

TEST(SkinVocabulary, ElementTableCoversEverySectionElementOnce) {
  std::set<SkinElement> seen;
  for (const SkinElementSpec& e : SkinElementSpecs()) {
    EXPECT_TRUE(seen.insert(e.Id).second) << e.Section;
    EXPECT_EQ(FindSkinElementSpec(e.Id), &e);
    EXPECT_FALSE(e.ImageKey.empty()) << e.Section;
  }
  // Only the derived elements are built without a section of their own.
  for (int i = 0; i < kSkinElementCount; ++i) {
    const SkinElement id = SkinElement(i);
    const bool derived = id == SkinElement::ComboArrow || id == SkinElement::Toolbar;
    EXPECT_EQ(seen.count(id) == 0, derived) << i;
  }
}

}  // namespace
