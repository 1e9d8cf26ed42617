// skintool: the command-line tool for skin authors and for the build.
//
//   skintool pack FOLDER PACKAGE       folder (one .ini, BMP images) -> package
//   skintool unpack PACKAGE FOLDER     package -> folder
//   skintool list PACKAGE|FOLDER       files with their sizes
//   skintool check PACKAGE|FOLDER      vocabulary, images, frame counts, model
//   skintool preview PACKAGE|FOLDER OUT.png
//
// Exit codes: 0 done, 1 failed (bad input, or check found errors), 2 usage.
#include "tools/skintool/Png.h"
#include "tools/skintool/SkinCheck.h"
#include "tools/skintool/SkinFiles.h"
#include "tools/skintool/SkinPreview.h"

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace skintool;

namespace {

int usage() {
    std::cerr << "usage: skintool pack FOLDER PACKAGE\n"
                 "       skintool unpack PACKAGE FOLDER\n"
                 "       skintool list PACKAGE|FOLDER\n"
                 "       skintool check PACKAGE|FOLDER\n"
                 "       skintool preview PACKAGE|FOLDER OUT.png\n";
    return 2;
}

SkinFiles load(const fs::path& path, size_t* storedSize = nullptr) {
    std::error_code ec;
    if (fs::is_directory(path, ec)) return ReadSkinFolder(path);
    if (!fs::exists(path, ec)) throw SkinToolError("no such file or folder: " + path.string());
    std::vector<uint8_t> bytes = ReadWholeFile(path);
    if (storedSize) *storedSize = bytes.size();
    return ReadSkinPackage(bytes);
}

void printNotes(const SkinFiles& skin) {
    for (const std::string& n : skin.notes) std::cerr << "note: " << n << "\n";
}

int cmdPack(const fs::path& folder, const fs::path& out) {
    SkinFiles skin = ReadSkinFolder(folder);
    printNotes(skin);
    std::vector<uint8_t> package = PackSkin(skin);
    WriteWholeFile(out, package);
    std::cout << out.string() << ": " << skin.files.size() << " files, " << skin.totalBytes() << " bytes of files, "
              << package.size() << " bytes stored\n";
    return 0;
}

int cmdUnpack(const fs::path& package, const fs::path& folder) {
    SkinFiles skin = ReadSkinPackage(ReadWholeFile(package));
    printNotes(skin);
    WriteSkinFolder(skin, folder);
    std::cout << folder.string() << ": " << skin.files.size() << " files written\n";
    return 0;
}

int cmdList(const fs::path& path) {
    size_t stored = 0;
    SkinFiles skin = load(path, &stored);
    printNotes(skin);
    for (const SkinFile& f : skin.files) std::printf("%10zu  %s\n", f.data.size(), f.name.c_str());
    std::printf("%10zu  %zu files", skin.totalBytes(), skin.files.size());
    if (stored) std::printf(", %zu bytes stored", stored);
    std::printf("\n");
    return 0;
}

int cmdCheck(const fs::path& path) {
    SkinFiles skin = load(path);
    printNotes(skin);
    CheckReport report = CheckSkin(skin);
    for (const Finding& f : report.findings) {
        std::cout << (f.level == Finding::Error ? "error: " : "warning: ");
        if (!f.where.empty()) std::cout << f.where << ": ";
        std::cout << f.text << "\n";
    }
    std::cout << path.string() << ": " << report.errors() << " errors, " << report.warnings() << " warnings; model "
              << report.modelElements << " of " << report.modelElementsTotal << " elements\n";
    return report.errors() ? 1 : 0;
}

int cmdPreview(const fs::path& path, const fs::path& out) {
    SkinFiles skin = load(path);
    printNotes(skin);
    Image sheet = RenderPreview(skin);
    std::vector<uint8_t> png = EncodePng(sheet);
    WriteWholeFile(out, png);
    std::cout << out.string() << ": " << sheet.Width() << " x " << sheet.Height() << "\n";
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> a(argv + 1, argv + argc);
    try {
        if (a.size() == 3 && a[0] == "pack") return cmdPack(a[1], a[2]);
        if (a.size() == 3 && a[0] == "unpack") return cmdUnpack(a[1], a[2]);
        if (a.size() == 2 && a[0] == "list") return cmdList(a[1]);
        if (a.size() == 2 && a[0] == "check") return cmdCheck(a[1]);
        if (a.size() == 3 && a[0] == "preview") return cmdPreview(a[1], a[2]);
        return usage();
    } catch (const SkinToolError& e) {
        std::cerr << "skintool: " << e.what() << "\n";
        return 1;
    } catch (const std::exception& e) {
        std::cerr << "skintool: " << e.what() << "\n";
        return 1;
    }
}
