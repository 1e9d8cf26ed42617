// A skin file named by the definition: a package of any sane size loads, a
// file too large for a package is refused without being read whole.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "gui/Forms.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinModel.h"
#include "skin/window/SkinManage.h"
#include "tests/skin/data/model/SkinTestPackage.h"

namespace {

std::vector<uint8_t> SmallPackage() {
  SkinTestPackage p("[Personality]\nTop=top.bmp\n[Colours]\nButtonFace=10 20 30\n");
  p.Add("top.bmp", 40, 20, 0x336699);
  return p.Package();
}

TEST(SkinFile, AFileTooLargeForAPackageIsRefusedAndTheLoadedSkinStays) {
  Application->Initialize();
  const std::filesystem::path dir = std::filesystem::temp_directory_path();
  const std::filesystem::path good = dir / "tw-skinfile-good.skn", big = dir / "tw-skinfile-big.skn";
  {
    const std::vector<uint8_t> bytes = SmallPackage();
    std::ofstream(good, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    std::ofstream(big, std::ios::binary) << "x";
    std::filesystem::resize_file(big, (64u << 20) + 1);  // sparse: nothing is written
  }
  {
    TSkinData skin(nullptr);
    skin.SetSkinFile(good.wstring());
    ASSERT_FALSE(skin.SkinEmpty()) << std::string(skin.LoadError().begin(), skin.LoadError().end());
    const std::vector<uint8_t> held = skin.Package();

    skin.SetSkinFile(big.wstring());
    EXPECT_EQ(skin.Package(), held) << "the large file was taken as the package";
    EXPECT_NE(skin.LoadError().find(L"too large"), std::wstring::npos);
    EXPECT_TRUE(skin.SkinEmpty());
    EXPECT_EQ(skin.Model().ButtonFaceColour, MakeColour(10, 20, 30));
  }
  DestroySkinManager();
  std::filesystem::remove(good);
  std::filesystem::remove(big);
}

}  // namespace
