// The five packages the build embeds: their stored form, their archive, the
// model the engine builds from them, and the round trip through the tool.
#include "skin/data/Bmp.h"
#include "skin/data/LZH.h"
#include "skin/data/SkinModel.h"
#include "skin/data/SkinRead.h"
#include "skin/data/WinSkinIni.h"
#include "tools/skingen/SkinArt.h"
#include "tools/skintool/SkinCheck.h"
#include "tools/skintool/SkinFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

namespace fs = std::filesystem;
using namespace skintool;

namespace {

const char* const kNames[] = {"Porcelain", "Graphite", "Jade", "Amber", "Ink"};

std::vector<uint8_t> storedPackage(int item) {
    return ReadWholeFile(fs::path(TW_SKINS_DIR) / ("SkinItem" + std::to_string(item) + ".skn"));
}

uint32_t le32(const std::vector<uint8_t>& v, size_t at) {
    return uint32_t(v[at]) | uint32_t(v[at + 1]) << 8 | uint32_t(v[at + 2]) << 16 | uint32_t(v[at + 3]) << 24;
}

class EmbeddedSkin : public ::testing::TestWithParam<int> {};

TEST_P(EmbeddedSkin, DecodesToExactlyItsStatedSizeAndUsesAllItsBits) {
    std::vector<uint8_t> stored = storedPackage(GetParam());
    ASSERT_GT(stored.size(), 4u);
    uint32_t stated = le32(stored, 0);
    uint64_t bits = 0;
    std::vector<uint8_t> archive = Expand(stored, lzh::kMaxExpandedSize, &bits);
    EXPECT_EQ(archive.size(), stated);
    // Every byte of the bit stream is needed, and no more than it holds.
    uint64_t streamBytes = stored.size() - 4;
    EXPECT_LE(bits, streamBytes * 8);
    EXPECT_GT(bits, (streamBytes - 1) * 8);
}

TEST_P(EmbeddedSkin, ArchiveHoldsOneSettingsFileAndEveryNamedImage) {
    std::vector<uint8_t> archive = Expand(storedPackage(GetParam()));
    ASSERT_GE(archive.size(), 16u);
    EXPECT_EQ(le32(archive, 0), 20000u);

    TSkinReader reader;
    ASSERT_TRUE(reader.OpenArchive(archive));
    int settings = 0;
    uint64_t total = 0;
    for (int i = 0; i < reader.FileCount(); ++i) {
        const std::string& name = reader.Names()[size_t(i)];
        total += reader.FileSize(i);
        if (name.find(".ini") != std::string::npos) ++settings;
        else EXPECT_TRUE(name.ends_with(".bmp")) << name;
    }
    EXPECT_EQ(settings, 1);
    EXPECT_EQ(total, reader.Contents().size()) << "size table and contents disagree";

    std::vector<uint8_t> text;
    std::string iniName;
    ASSERT_TRUE(reader.ExtractFirstMatch(".ini", text, iniName));
    TQuickIni ini;
    ini.LoadFromText(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()));
    // Every value naming a ".bmp" file names a file of the package, readable as BMP.
    int images = 0;
    for (const std::string& line : ini.Lines()) {
        size_t eq = line.find('=');
        if (eq == std::string::npos || !line.ends_with(".bmp")) continue;
        std::string file = line.substr(eq + 1);
        std::vector<uint8_t> bytes;
        ASSERT_TRUE(reader.ExtractFile(file, bytes)) << file;
        Image img;
        EXPECT_TRUE(DecodeBmp(bytes.data(), bytes.size(), img)) << file;
        ++images;
    }
    EXPECT_EQ(images, reader.FileCount() - 1);
}

TEST_P(EmbeddedSkin, CheckFindsNothingAndTheWholeModelBuilds) {
    SkinFiles skin = ReadSkinPackage(storedPackage(GetParam()));
    CheckReport report = CheckSkin(skin);
    for (const Finding& f : report.findings) ADD_FAILURE() << f.where << ": " << f.text;
    EXPECT_EQ(report.modelElements, report.modelElementsTotal);

    TSkinReader reader;
    ASSERT_TRUE(reader.Open(storedPackage(GetParam())));
    std::vector<uint8_t> text;
    std::string iniName;
    ASSERT_TRUE(reader.ExtractFirstMatch(".ini", text, iniName));
    TQuickIni ini;
    ini.LoadFromText(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()));
    TSkinModel model;
    model.Build(reader, ini, TSkinEnvironment{});
    EXPECT_EQ(model.SkinName, kNames[GetParam()]);
    for (int i = 0; i < kSkinElementCount; ++i) {
        const TDataSkinObject* e = model.Element(SkinElement(i));
        ASSERT_NE(e, nullptr) << "element " << i;
        EXPECT_FALSE(e->Bitmap.Empty()) << e->Name;
        EXPECT_GT(e->FrameCount, 0) << e->Name;
    }
    for (const TDataSkinBorder* b : {model.FrameLeft.get(), model.FrameRight.get(), model.FrameTop.get(),
                                     model.FrameBottom.get()}) {
        EXPECT_FALSE(b->Bitmap.Empty()) << b->Name;
        EXPECT_EQ(b->FrameCount, 2) << b->Name << ": active and inactive";
    }
    EXPECT_FALSE(model.Buttons->Bitmap.Empty());
    EXPECT_EQ(model.Buttons->CheckFrameCount, 12);
    EXPECT_EQ(model.Buttons->RadioFrameCount, 8);
    // Close, maximize, restore, minimize, the icon button, then the three
    // buttons of a maximised child window, which take their images from
    // [MDICONTROLS].
    ASSERT_EQ(model.SysButtons.size(), 8u);
    std::set<int> actions;
    for (const auto& b : model.SysButtons) {
        actions.insert(b->Action);
        EXPECT_FALSE(b->Bitmap.Empty()) << b->Name;
    }
    EXPECT_EQ(actions, (std::set<int>{0, 1, 2, 3, 7, 8, 9}));
    EXPECT_EQ(model.ColourList.size(), 3u);
    EXPECT_FALSE(IsSystemColour(model.ButtonFaceColour));
}

TEST_P(EmbeddedSkin, PackUnpackPackIsByteIdentical) {
    std::vector<uint8_t> stored = storedPackage(GetParam());
    SkinFiles skin = ReadSkinPackage(stored);
    EXPECT_EQ(PackSkin(skin), stored);

    fs::path dir = fs::temp_directory_path() / ("tw-skins-roundtrip-" + std::to_string(GetParam()));
    fs::remove_all(dir);
    WriteSkinFolder(skin, dir);
    SkinFiles again = ReadSkinFolder(dir);
    EXPECT_EQ(PackSkin(again), stored);
    fs::remove_all(dir);
}

TEST_P(EmbeddedSkin, IsWhatTheGeneratorMakesNow) {
    // A stale package (the generator changed, the build did not rerun) or a
    // generator that depends on anything but its code fails here.
    const skingen::Look& look = skingen::allLooks()[size_t(GetParam())];
    EXPECT_EQ(look.name, kNames[GetParam()]);
    skingen::SkinSource src = skingen::buildSkin(look);
    SkinFiles files;
    files.files.push_back({src.iniName, std::vector<uint8_t>(src.ini.begin(), src.ini.end())});
    for (const auto& [name, picture] : src.images) files.files.push_back({name, skingen::encodeBmp24(picture)});
    std::sort(files.files.begin() + 1, files.files.end(),
              [](const SkinFile& a, const SkinFile& b) { return a.name < b.name; });
    EXPECT_EQ(PackSkin(files), storedPackage(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(AllFive, EmbeddedSkin, ::testing::Range(0, 5),
                         [](const ::testing::TestParamInfo<int>& i) { return std::string(kNames[i.param]); });

TEST(EmbeddedSkins, ItemTwoIsJadeAndTheFiveDiffer) {
    std::set<std::vector<uint8_t>> distinct;
    for (int i = 0; i < 5; ++i) distinct.insert(storedPackage(i));
    EXPECT_EQ(distinct.size(), 5u);
    EXPECT_EQ(ReadSkinPackage(storedPackage(2)).files.front().name, "jade.ini");
}

TEST(EmbeddedSkins, BitmapResourcesHaveTheirShapesAndFormats) {
    fs::path res = fs::path(TW_SKINS_DIR) / "res";
    struct Want { const char* file; int w, h, bits; };
    for (Want want : {Want{"MOTLEYMENU.bmp", 64, 16, 1}, Want{"TRACK.bmp", 16, 4, 4}, Want{"TRACKVERT.bmp", 4, 16, 4}}) {
        std::vector<uint8_t> bytes = ReadWholeFile(res / want.file);
        ASSERT_GE(bytes.size(), 54u);
        EXPECT_EQ(bytes[28] | bytes[29] << 8, want.bits) << want.file;
        Image img;
        ASSERT_TRUE(DecodeBmp(bytes.data(), bytes.size(), img)) << want.file;
        EXPECT_EQ(img.Width(), want.w) << want.file;
        EXPECT_EQ(img.Height(), want.h) << want.file;
    }
    Image menu;
    std::vector<uint8_t> bytes = ReadWholeFile(res / "MOTLEYMENU.bmp");
    ASSERT_TRUE(DecodeBmp(bytes.data(), bytes.size(), menu));
    auto black = [&](int glyph, int x, int y) { return PixelRGB(menu.Pixel(glyph * 16 + x, y)) == 0; };
    for (int glyph = 0; glyph < 4; ++glyph) {
        int count = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                uint32_t p = PixelRGB(menu.Pixel(glyph * 16 + x, y));
                EXPECT_TRUE(p == 0 || p == 0xFFFFFF) << "two colours only";
                count += p == 0;
            }
        EXPECT_GT(count, 6) << "glyph " << glyph << " is drawn";
        // A one-pixel white margin keeps neighbouring glyphs apart.
        for (int i = 0; i < 16; ++i) {
            EXPECT_FALSE(black(glyph, 0, i) || black(glyph, 15, i) || black(glyph, i, 0) || black(glyph, i, 15));
        }
    }
    // Minimize: a bar in the lower half only. Close: a cross, symmetric left to right.
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x) EXPECT_FALSE(black(2, x, y)) << x << "," << y;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) EXPECT_EQ(black(3, x, y), black(3, 15 - x, y)) << x << "," << y;
    // Maximize: the caption bar is thicker than the window's other edges.
    EXPECT_TRUE(black(1, 8, 4) && black(1, 8, 5));
    EXPECT_FALSE(black(1, 8, 11));
}

} // namespace
