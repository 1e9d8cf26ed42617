// The skin tool on bad and odd input: folders, packages, settings, and the
// command line's exit codes; its PNG output read back by ImageMagick.
#include "skin/data/Bmp.h"
#include "skin/data/LzhEncoder.h"
#include "skin/data/SkinRead.h"
#include "skin/data/SkinVocabulary.h"
#include "tools/skintool/Png.h"
#include "tools/skintool/SkinCheck.h"
#include "tools/skintool/SkinFiles.h"
#include "tools/skintool/SkinPreview.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace skintool;

namespace {

std::vector<uint8_t> bytes(std::string_view s) { return std::vector<uint8_t>(s.begin(), s.end()); }

std::vector<uint8_t> bmp(int w, int h, uint32_t fill = 0x808080) { return EncodeBmp(Image(w, h, fill), 24); }

class TempDir {
public:
    TempDir() {
        static int n = 0;
        path_ = fs::temp_directory_path() / ("tw-skintool-" + std::to_string(::getpid()) + "-" + std::to_string(n++));
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~TempDir() { fs::remove_all(path_); }
    const fs::path& path() const { return path_; }
    void write(const std::string& name, const std::vector<uint8_t>& data) const { WriteWholeFile(path_ / name, data); }

private:
    fs::path path_;
};

// A small but whole skin: settings and the images they name.
SkinFiles smallSkin(const std::string& settings) {
    SkinFiles s;
    s.files.push_back({"small.ini", bytes(settings)});
    s.files.push_back({"buttons.bmp", bmp(100, 24)});
    s.files.push_back({"check.bmp", bmp(52, 13)});
    s.files.push_back({"scroll.bmp", bmp(23 * 17, 17)});
    return s;
}

bool hasFinding(const CheckReport& r, Finding::Level level, std::string_view where, std::string_view text) {
    for (const Finding& f : r.findings)
        if (f.level == level && f.where.find(where) != std::string::npos && f.text.find(text) != std::string::npos)
            return true;
    return false;
}

std::string dump(const CheckReport& r) {
    std::string s;
    for (const Finding& f : r.findings) s += (f.level ? "E " : "W ") + f.where + ": " + f.text + "\n";
    return s;
}

TEST(SkinFolder, RefusesMissingFolderAndWrongNumbersOfSettingsFiles) {
    EXPECT_THROW(ReadSkinFolder("/nonexistent/skin/folder"), SkinToolError);
    TempDir none;
    none.write("a.bmp", bmp(4, 4));
    try {
        ReadSkinFolder(none.path());
        ADD_FAILURE() << "no settings file accepted";
    } catch (const SkinToolError& e) {
        EXPECT_NE(std::string(e.what()).find("no settings file"), std::string::npos) << e.what();
    }
    TempDir two;
    two.write("a.ini", bytes("[TitlebarSkin]\r\n"));
    two.write("B.INI", bytes("[TitlebarSkin]\r\n"));
    try {
        ReadSkinFolder(two.path());
        ADD_FAILURE() << "two settings files accepted";
    } catch (const SkinToolError& e) {
        EXPECT_NE(std::string(e.what()).find("two settings files"), std::string::npos) << e.what();
    }
}

TEST(SkinFolder, PacksSettingsFirstImagesByNameAndSkipsOtherFiles) {
    TempDir d;
    d.write("zeta.bmp", bmp(2, 2));
    d.write("Alpha.bmp", bmp(3, 3));
    d.write("skin.ini", bytes("[TitlebarSkin]\r\nSkinName=T\r\n"));
    d.write("notes.txt", bytes("not part of a skin"));
    fs::create_directories(d.path() / "sub");
    SkinFiles s = ReadSkinFolder(d.path());
    ASSERT_EQ(s.files.size(), 3u);
    EXPECT_EQ(s.files[0].name, "skin.ini");
    EXPECT_EQ(s.files[1].name, "Alpha.bmp");
    EXPECT_EQ(s.files[2].name, "zeta.bmp");
    EXPECT_EQ(s.notes.size(), 2u);
    // The package holds the same bytes, found under any letter case.
    SkinFiles back = ReadSkinPackage(PackSkin(s));
    ASSERT_EQ(back.files.size(), 3u);
    ASSERT_NE(back.find("ALPHA.BMP"), nullptr);
    EXPECT_EQ(back.find("alpha.bmp")->data, s.files[1].data);
}

TEST(SkinPackage, CorruptOrForeignPackagesGiveClearErrors) {
    EXPECT_THROW(ReadSkinPackage({}), SkinToolError);
    EXPECT_THROW(ReadSkinPackage({1, 2}), SkinToolError);
    // A stated size far beyond any skin.
    EXPECT_THROW(ReadSkinPackage({0xFF, 0xFF, 0xFF, 0x7F, 1, 2, 3}), SkinToolError);

    TSkinWriter w;
    w.Add("a.ini", bytes("[TitlebarSkin]\r\n"));
    w.Add("b.bmp", bmp(4, 4));
    std::vector<uint8_t> archive = w.BuildArchive();
    // Another version.
    std::vector<uint8_t> old = archive;
    old[0] = 0x10;
    old[1] = 0x27;  // 10000
    try {
        ReadSkinPackage(Compress(old));
        ADD_FAILURE() << "old version accepted";
    } catch (const SkinToolError& e) {
        EXPECT_NE(std::string(e.what()).find("version 10000"), std::string::npos) << e.what();
    }
    // A size table promising more than the archive holds.
    std::vector<uint8_t> cut(archive.begin(), archive.end() - 10);
    EXPECT_THROW(ReadSkinPackage(Compress(cut)), SkinToolError);
    // The intact package reads.
    EXPECT_EQ(ReadSkinPackage(Compress(archive)).files.size(), 2u);
}

TEST(SkinPackage, UnpackNeverWritesOutsideTheTargetFolder) {
    // An archive written by hand: the writer itself refuses such names.
    auto archiveWith = [](const std::string& name) {
        std::string list = "a.ini\r\n" + name + "\r\n";
        std::vector<uint8_t> a = {0x20, 0x4E, 0, 0};  // 20000
        uint32_t len = uint32_t(list.size());
        for (int i = 0; i < 4; ++i) a.push_back(uint8_t(len >> (8 * i)));
        a.insert(a.end(), 8, 0);
        a.insert(a.end(), list.begin(), list.end());
        for (uint32_t size : {3u, 3u})
            for (int i = 0; i < 4; ++i) a.push_back(uint8_t(size >> (8 * i)));
        for (char c : std::string("[x]evil")) a.push_back(uint8_t(c));
        return Compress(a);
    };
    TempDir d;
    for (std::string bad : {"../escape.bmp", "sub/inner.bmp", "..", "c:evil.bmp", "..\\up.bmp"}) {
        SkinFiles s = ReadSkinPackage(archiveWith(bad));
        EXPECT_THROW(WriteSkinFolder(s, d.path() / "out"), SkinToolError) << bad;
        EXPECT_FALSE(fs::exists(d.path() / "out")) << "nothing written for " << bad;
        EXPECT_FALSE(fs::exists(d.path() / "escape.bmp"));
    }
    EXPECT_TRUE(IsSafeSkinFileName("buttons.bmp"));
    EXPECT_TRUE(IsSafeSkinFileName("ink wash 2.bmp"));
}

TEST(SkinCheck, ReportsTheVocabularyFaultsASkinAuthorMakes) {
    CheckReport r = CheckSkin(smallSkin(
        "[TitlebarSkin]\r\nSkinName=Small\r\nSkinAuthor=someone\r\n"
        "[Buttons]\r\nBitmap=buttons.bmp\r\nCheckButton=check.bmp\r\nCheckButtonFrame=4\r\n"
        "[Scrollbar]\r\nImage=scroll.bmp\r\nFrame=22\r\n"
        "[MenuItem]\r\nImage=Menu.BMP\r\n"
        "[Headerbar]\r\nImage=header.bmp\r\n"
        "[Tabs]\r\nImage=buttons.bmp\r\n"
        "[Sparkles]\r\nAmount=3\r\n"
        "[Buttons]\r\nBitmap=other.bmp\r\n"));
    EXPECT_TRUE(hasFinding(r, Finding::Warning, "[TitlebarSkin] SkinAuthor", "unknown key")) << dump(r);
    EXPECT_TRUE(hasFinding(r, Finding::Warning, "[Sparkles]", "unknown section")) << dump(r);
    EXPECT_TRUE(hasFinding(r, Finding::Warning, "[Buttons]", "repeated")) << dump(r);
    EXPECT_TRUE(hasFinding(r, Finding::Error, "[Scrollbar] Frame", "always has 23")) << dump(r);
    EXPECT_TRUE(hasFinding(r, Finding::Error, "[MenuItem] Image", "\".bmp\"")) << dump(r);
    EXPECT_TRUE(hasFinding(r, Finding::Error, "[Headerbar] Image", "missing image header.bmp")) << dump(r);
    // 100 pixels make the five frames of [Tabs] and of [Buttons].
    EXPECT_FALSE(hasFinding(r, Finding::Error, "[Tabs] Image", "")) << dump(r);
    EXPECT_FALSE(hasFinding(r, Finding::Error, "[Buttons] Bitmap", "")) << dump(r);
    EXPECT_FALSE(hasFinding(r, Finding::Error, "[Buttons] CheckButton", "")) << dump(r);
    EXPECT_GE(r.errors(), 3);

    CheckReport frames = CheckSkin(smallSkin("[Buttons]\r\nBitmap=check.bmp\r\n[Progress.Chunk]\r\nImage=buttons.bmp\r\n"));
    EXPECT_TRUE(hasFinding(frames, Finding::Error, "[Buttons] Bitmap", "width 52 does not divide into 5"))
        << dump(frames);
    EXPECT_TRUE(hasFinding(frames, Finding::Error, "[Progress.Chunk] Image", "frame count 0")) << dump(frames);
    EXPECT_TRUE(hasFinding(frames, Finding::Warning, "scroll.bmp", "not named")) << dump(frames);
}

TEST(SkinCheck, FrameBordersAndCaptionButtons) {
    SkinFiles s = smallSkin(
        "[Personality]\r\nTop=top.bmp\r\nTopFrame=2\r\nLeft=left.bmp\r\nLeftFrame=0\r\n"
        "[Button.Close]\r\nButtonImage=close.bmp\r\nAction=0\r\n"
        "[Button.Help]\r\nButtonImage=help.bmp\r\nAction=40\r\nframe=4\r\n");
    s.files.push_back({"top.bmp", bmp(40, 57)});    // 57 rows are not two stacked frames
    s.files.push_back({"left.bmp", bmp(8, 40)});
    s.files.push_back({"close.bmp", bmp(61, 20)});  // 3 frames by its proportions, 61 not divisible
    s.files.push_back({"help.bmp", bmp(80, 20)});
    CheckReport r = CheckSkin(s);
    EXPECT_TRUE(hasFinding(r, Finding::Error, "[Personality] Top", "height 57")) << dump(r);
    EXPECT_TRUE(hasFinding(r, Finding::Error, "[Personality] LeftFrame", "at least 1")) << dump(r);
    EXPECT_TRUE(hasFinding(r, Finding::Error, "[Button.Close] ButtonImage", "3 frames")) << dump(r);
    EXPECT_FALSE(hasFinding(r, Finding::Error, "[Button.Help]", "")) << dump(r);
}

TEST(SkinCheck, SettingsFileCountAndGarbageSettings) {
    SkinFiles none;
    none.files.push_back({"a.bmp", bmp(2, 2)});
    EXPECT_TRUE(hasFinding(CheckSkin(none), Finding::Error, "", "no settings file"));

    SkinFiles two = smallSkin("[Buttons]\r\nBitmap=buttons.bmp\r\n");
    two.files.push_back({"second.ini", bytes("[Buttons]\r\n")});
    EXPECT_TRUE(hasFinding(CheckSkin(two), Finding::Error, "second.ini", "second settings file"));

    // Binary junk as settings: no crash, a clear error, the model still builds.
    std::vector<uint8_t> junk(4096);
    for (size_t i = 0; i < junk.size(); ++i) junk[i] = uint8_t((i * 2654435761u) >> 13);
    SkinFiles garbage;
    garbage.files.push_back({"junk.ini", junk});
    CheckReport r = CheckSkin(garbage);
    EXPECT_GE(r.errors() + r.warnings(), 1);
    EXPECT_EQ(r.modelElementsTotal, kSkinElementCount);
}

TEST(Png, ChecksumsMatchTheirStandardValues) {
    EXPECT_EQ(Crc32(bytes("123456789")), 0xCBF43926u);
    EXPECT_EQ(Adler32(bytes("Wikipedia")), 0x11E60398u);
}

// Decodes a PNG with ImageMagick into raw RGB bytes.
std::vector<uint8_t> decodeWithImageMagick(const std::vector<uint8_t>& png, const TempDir& d) {
    fs::path in = d.path() / "in.png", out = d.path() / "out.rgb";
    WriteWholeFile(in, png);
    std::string cmd = "convert '" + in.string() + "' -depth 8 'rgb:" + out.string() + "' 2>/dev/null";
    if (std::system(cmd.c_str()) != 0) return {};
    return ReadWholeFile(out);
}

TEST(Png, ImageMagickReadsBackEveryPixel) {
    if (std::system("command -v convert >/dev/null 2>&1") != 0) GTEST_SKIP() << "ImageMagick not installed";
    TempDir d;
    // Gradients, a repeated pattern (long matches) and noise (literals).
    Image img(301, 67);
    uint32_t seed = 12345;
    for (int y = 0; y < img.Height(); ++y)
        for (int x = 0; x < img.Width(); ++x) {
            seed = seed * 1103515245u + 12345u;
            uint32_t p = y < 20 ? MakePixel(x % 256, y * 12, 255 - x % 256)
                                : y < 45 ? ((x / 7 + y / 5) % 2 ? 0xFF00FF : 0x102030) : (seed >> 8) & 0xFFFFFF;
            img.SetPixel(x, y, p);
        }
    std::vector<uint8_t> rgb = decodeWithImageMagick(EncodePng(img), d);
    ASSERT_EQ(rgb.size(), size_t(img.Width()) * size_t(img.Height()) * 3);
    for (int y = 0; y < img.Height(); ++y)
        for (int x = 0; x < img.Width(); ++x) {
            size_t i = (size_t(y) * size_t(img.Width()) + size_t(x)) * 3;
            ASSERT_EQ(MakePixel(rgb[i], rgb[i + 1], rgb[i + 2]), PixelRGB(img.Pixel(x, y))) << x << "," << y;
        }
}

TEST(Preview, RendersASkinWithMissingPartsAndARealOne) {
    // Only buttons: every absent element is labelled, nothing is drawn from nothing.
    SkinFiles partial = smallSkin("[TitlebarSkin]\r\nSkinName=Partial\r\n[Buttons]\r\nBitmap=buttons.bmp\r\n");
    Image sheet = RenderPreview(partial);
    EXPECT_EQ(sheet.Width(), 1040);
    EXPECT_GT(sheet.Height(), 500);

    SkinFiles none;
    none.files.push_back({"a.bmp", bmp(2, 2)});
    EXPECT_THROW(RenderPreview(none), SkinToolError);

    SkinFiles jade = ReadSkinPackage(ReadWholeFile(fs::path(TW_SKINS_DIR) / "SkinItem2.skn"));
    Image real = RenderPreview(jade);
    EXPECT_GT(real.Height(), sheet.Height());
}

// The tool as a program: exit codes and messages.
int run(const std::string& args, std::string* output = nullptr) {
    std::string cmd = std::string(TW_SKINTOOL) + " " + args + " > skintool-test-out.txt 2>&1";
    int status = std::system(cmd.c_str());
    if (output) {
        std::vector<uint8_t> o = ReadWholeFile("skintool-test-out.txt");
        output->assign(o.begin(), o.end());
    }
    fs::remove("skintool-test-out.txt");
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(SkinToolProgram, ExitCodesAndMessages) {
    TempDir d;
    std::string out;
    EXPECT_EQ(run("", &out), 2);
    EXPECT_NE(out.find("usage"), std::string::npos);
    EXPECT_EQ(run("frobnicate x", &out), 2);

    d.write("corrupt.skn", {0x10, 0, 0, 0, 0xAB});
    EXPECT_EQ(run("check '" + (d.path() / "corrupt.skn").string() + "'", &out), 1);
    EXPECT_NE(out.find("skintool:"), std::string::npos) << out;
    EXPECT_EQ(run("list /no/such/package.skn", &out), 1);
    EXPECT_NE(out.find("no such file"), std::string::npos) << out;

    std::string pkg = (fs::path(TW_SKINS_DIR) / "SkinItem4.skn").string();
    EXPECT_EQ(run("check " + pkg, &out), 0);
    EXPECT_NE(out.find("0 errors, 0 warnings"), std::string::npos) << out;
    EXPECT_EQ(run("list " + pkg, &out), 0);
    EXPECT_NE(out.find("ink.ini"), std::string::npos) << out;

    fs::path folder = d.path() / "ink";
    EXPECT_EQ(run("unpack " + pkg + " '" + folder.string() + "'"), 0);
    EXPECT_TRUE(fs::exists(folder / "ink.ini"));
    fs::path again = d.path() / "again.skn";
    EXPECT_EQ(run("pack '" + folder.string() + "' '" + again.string() + "'"), 0);
    EXPECT_EQ(ReadWholeFile(again), ReadWholeFile(pkg));
    // A broken image makes check fail.
    WriteWholeFile(folder / "buttons.bmp", bytes("BM not really"));
    EXPECT_EQ(run("check '" + folder.string() + "'", &out), 1);
    EXPECT_NE(out.find("buttons.bmp is not a readable BMP"), std::string::npos) << out;
}

} // namespace
