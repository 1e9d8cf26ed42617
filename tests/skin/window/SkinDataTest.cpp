// The skin definition's rules that need no window: the Skin3rd look-up, the
// form query, the switch adjustments at Loaded, loading from a file, and
// loading before and after Active.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "gui/Forms.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinModel.h"
#include "skin/window/SkinManage.h"
#include "tests/skin/data/model/SkinTestPackage.h"

namespace {

std::vector<uint8_t> SmallPackage(const char* buttonFace) {
  SkinTestPackage p(std::string("[Personality]\nTop=top.bmp\n[Colours]\nButtonFace=") + buttonFace + "\n");
  p.Add("top.bmp", 40, 20, 0x336699);
  return p.Package();
}

class SkinDataTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static const bool initialized = (Application->Initialize(), true);
    (void)initialized;
  }
  void TearDown() override { DestroySkinManager(); }
};

struct Refuser {
  std::wstring asked;
  void Query(TObject*, const std::wstring& name, bool& doSkin) {
    asked = name;
    doSkin = name != L"TKeepPlain";
  }
};

TEST_F(SkinDataTest, Skin3rdMatchesTheWholeClassNameInAnyCaseAndTheFirstLineWins) {
  TSkinData skin(nullptr);
  EXPECT_EQ(skin.Skin3rd()->Count(), 117);
  EXPECT_EQ(skin.Skin3rdKind(L"TCOMBOBOXEX"), L"combobox");
  EXPECT_EQ(skin.Skin3rdKind(L"tlmdgroupbox"), L"groupbox") << "the first of two lines for the class";
  EXPECT_EQ(skin.Skin3rdKind(L"TComboboxexPlus"), L"") << "the = must follow the class name";
  EXPECT_EQ(skin.Skin3rdKind(L"TButton"), L"");
  skin.Skin3rd()->Clear();
  skin.Skin3rd()->Add(L"TMine=" + std::wstring(80, L'X'));
  EXPECT_EQ(skin.Skin3rdKind(L"tmine"), std::wstring(50, L'x')) << "kinds are lower case, at most 50 characters";
}

TEST_F(SkinDataTest, FormQueryRefusesCalendarsAndCaseSensitiveReportClassesUnlessTheEventDecides) {
  TSkinData skin(nullptr);
  auto ask = [&](const std::wstring& name) {
    bool doSkin = true;
    skin.QueryFormSkin(nullptr, name, doSkin);
    return doSkin;
  };
  EXPECT_FALSE(ask(L"SysMonthCal32"));
  EXPECT_TRUE(ask(L"TfrPreviewForm")) << "without xcFastReport";
  skin.SetSkinControls(skin.SkinControls() | (1u << xcFastReport));
  EXPECT_FALSE(ask(L"TfrPreviewForm"));
  EXPECT_TRUE(ask(L"TFRPreviewForm")) << "the prefix is compared with its case";
  Refuser refuser;
  skin.OnFormSkin = MakeDelegate<TOnFormSkin>(&refuser, &Refuser::Query);
  EXPECT_TRUE(ask(L"SysMonthCal32")) << "an assigned event decides alone";
  EXPECT_FALSE(ask(L"TKeepPlain"));
  EXPECT_EQ(refuser.asked, L"TKeepPlain");
}

TEST_F(SkinDataTest, LoadedDropsTheMenuItemSwitchWithMainMenusAndTheSystemMenuSwitchWithout) {
  TSkinData with(nullptr);
  with.SetSkinControls((1u << xcMainMenu) | (1u << xcMenuItem) | (1u << xcSystemMenu));
  with.Loaded();
  EXPECT_EQ(with.SkinControls(), (1u << xcMainMenu) | (1u << xcSystemMenu));
  TSkinData without(nullptr);
  without.SetSkinControls((1u << xcMenuItem) | (1u << xcSystemMenu));
  without.Loaded();
  EXPECT_EQ(without.SkinControls(), 1u << xcMenuItem);
  ASSERT_NE(SkinManager(), nullptr);
  EXPECT_EQ(SkinManager()->MainSkin(), &with) << "the first main-form definition governs";
  EXPECT_NE(SkinManager()->HookHandle(), nullptr);
}

TEST_F(SkinDataTest, ActiveBeforeAnyPackageSkinsNothingAndALaterLoadDoesNotSwitchOnByItself) {
  TSkinData skin(nullptr);
  skin.Loaded();
  TSkinManage* m = SkinManager();
  m->SetState(kManagerInUse);
  skin.SetActive(true);
  EXPECT_TRUE(skin.Active());
  EXPECT_FALSE(m->ActionPending());
  EXPECT_FALSE(m->Active());
  ASSERT_TRUE(skin.LoadFromBytes(SmallPackage("10 20 30")));
  // A load while a skin is in use asks for a refresh, never for activation.
  EXPECT_EQ(m->PendingAction(), kActionRefresh);
  EXPECT_FALSE(m->Active());
}

TEST_F(SkinDataTest, SkinFileLoadsAnExistingPackageAndIgnoresAMissingOne) {
  TSkinData skin(nullptr);
  skin.Loaded();
  const std::filesystem::path file = std::filesystem::temp_directory_path() / "tw-skindata-test.skn";
  {
    const std::vector<uint8_t> bytes = SmallPackage("10 20 30");
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
  }
  skin.SetSkinFile(file.wstring());
  ASSERT_FALSE(skin.SkinEmpty());
  EXPECT_EQ(skin.Model().ButtonFaceColour, MakeColour(10, 20, 30));
  const std::vector<uint8_t> held = skin.Package();
  skin.SetSkinFile((file.parent_path() / "tw-no-such-skin.skn").wstring());
  EXPECT_EQ(skin.Package(), held) << "a missing file changes nothing but the name";
  EXPECT_EQ(skin.Model().ButtonFaceColour, MakeColour(10, 20, 30));
  std::filesystem::remove(file);
}

TEST_F(SkinDataTest, AFailedLoadKeepsTheModelOfTheLastGoodOne) {
  TSkinData skin(nullptr);
  ASSERT_TRUE(skin.LoadFromBytes(SmallPackage("1 2 3")));
  EXPECT_FALSE(skin.LoadFromBytes({0x13, 0x37, 0x00, 0xFF, 0x42}));
  EXPECT_TRUE(skin.SkinEmpty());
  EXPECT_EQ(skin.Model().ButtonFaceColour, MakeColour(1, 2, 3));
  ASSERT_TRUE(skin.LoadFromBytes(SmallPackage("7 8 9")));
  EXPECT_EQ(skin.Model().ButtonFaceColour, MakeColour(7, 8, 9));
}

}  // namespace
