#include "tools/skintool/SkinFiles.h"

#include "skin/data/LZH.h"
#include "skin/data/SkinRead.h"
#include "skin/data/SkinVocabulary.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace skintool {

namespace {

std::string lowerAscii(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return r;
}

bool endsWithNoCase(std::string_view name, std::string_view tail) {
    return name.size() >= tail.size() && EqualsNoCase(name.substr(name.size() - tail.size()), tail);
}

} // namespace

const SkinFile* SkinFiles::find(std::string_view name) const {
    for (const SkinFile& f : files)
        if (EqualsNoCase(f.name, name)) return &f;
    return nullptr;
}

size_t SkinFiles::totalBytes() const {
    size_t n = 0;
    for (const SkinFile& f : files) n += f.data.size();
    return n;
}

bool IsSafeSkinFileName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") return false;
    for (unsigned char c : name) {
        if (c < 32 || c == 127) return false;
        if (std::string_view("\\/:*?\"<>|").find(char(c)) != std::string_view::npos) return false;
    }
    return true;
}

std::vector<uint8_t> ReadWholeFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw SkinToolError("cannot open " + path.string());
    std::vector<uint8_t> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw SkinToolError("cannot read " + path.string());
    return data;
}

void WriteWholeFile(const fs::path& path, const std::vector<uint8_t>& data) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) throw SkinToolError("cannot create " + path.string());
    out.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
    out.close();
    if (!out) throw SkinToolError("cannot write " + path.string());
}

SkinFiles ReadSkinFolder(const fs::path& folder) {
    std::error_code ec;
    if (!fs::exists(folder, ec)) throw SkinToolError("no such folder: " + folder.string());
    if (!fs::is_directory(folder, ec)) throw SkinToolError("not a folder: " + folder.string());

    SkinFiles skin;
    std::vector<fs::path> settings, images;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        std::string name = entry.path().filename().string();
        if (!entry.is_regular_file(ec)) {
            skin.notes.push_back("skipped " + name + ": not a plain file");
        } else if (endsWithNoCase(name, ".ini")) {
            settings.push_back(entry.path());
        } else if (endsWithNoCase(name, ".bmp")) {
            images.push_back(entry.path());
        } else {
            skin.notes.push_back("skipped " + name + ": neither the settings file nor a BMP image");
        }
    }
    if (ec) throw SkinToolError("cannot list " + folder.string() + ": " + ec.message());
    if (settings.empty()) throw SkinToolError("no settings file (.ini) in " + folder.string());
    if (settings.size() > 1) {
        std::sort(settings.begin(), settings.end());
        throw SkinToolError("two settings files in " + folder.string() + ": " + settings[0].filename().string() +
                            " and " + settings[1].filename().string() + " (a skin has exactly one)");
    }
    // Names are compared without letter case inside a package.
    std::sort(images.begin(), images.end(), [](const fs::path& a, const fs::path& b) {
        return lowerAscii(a.filename().string()) < lowerAscii(b.filename().string());
    });
    for (const fs::path& p : settings) skin.files.push_back({p.filename().string(), ReadWholeFile(p)});
    for (const fs::path& p : images) {
        std::string name = p.filename().string();
        if (skin.find(name)) throw SkinToolError("two files named " + name + " (names ignore letter case)");
        skin.files.push_back({name, ReadWholeFile(p)});
    }
    return skin;
}

SkinFiles ReadSkinPackage(const std::vector<uint8_t>& package) {
    if (package.size() < 4) throw SkinToolError("not a skin package: only " + std::to_string(package.size()) + " bytes");
    TSkinReader reader;
    try {
        if (!reader.Open(package)) {
            std::vector<uint8_t> archive = Expand(package);
            uint32_t version = archive.size() >= 4 ? uint32_t(archive[0]) | uint32_t(archive[1]) << 8 |
                                                         uint32_t(archive[2]) << 16 | uint32_t(archive[3]) << 24
                                                   : 0;
            if (version != TSkinReader::kVersion)
                throw SkinToolError("package version " + std::to_string(version) + ", expected " +
                                    std::to_string(TSkinReader::kVersion));
            throw SkinToolError("package names more than " + std::to_string(TSkinReader::kMaxFiles) + " files");
        }
    } catch (const ElzhException& e) {
        throw SkinToolError(std::string("corrupt package: ") + e.what());
    }
    // The expanded archive must hold what its size table promises.
    uint64_t stated = 0;
    for (int i = 0; i < reader.FileCount(); ++i) stated += reader.FileSize(i);
    if (stated > reader.Contents().size())
        throw SkinToolError("corrupt package: the size table promises " + std::to_string(stated) +
                            " bytes of files but the archive holds " + std::to_string(reader.Contents().size()));

    SkinFiles skin;
    for (int i = 0; i < reader.FileCount(); ++i) {
        const std::string& name = reader.Names()[size_t(i)];
        if (skin.find(name)) {
            skin.notes.push_back("second copy of " + name + " ignored (the reader finds the first)");
            continue;
        }
        SkinFile f{name, {}};
        reader.ExtractFile(name, f.data);
        skin.files.push_back(std::move(f));
    }
    return skin;
}

void WriteSkinFolder(const SkinFiles& skin, const fs::path& folder) {
    for (const SkinFile& f : skin.files)
        if (!IsSafeSkinFileName(f.name)) throw SkinToolError("refusing to write unsafe file name \"" + f.name + "\"");
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) throw SkinToolError("cannot create " + folder.string() + ": " + ec.message());
    for (const SkinFile& f : skin.files) WriteWholeFile(folder / f.name, f.data);
}

std::vector<uint8_t> PackSkin(const SkinFiles& skin) {
    TSkinWriter writer;
    try {
        for (const SkinFile& f : skin.files) writer.Add(f.name, f.data);
    } catch (const std::invalid_argument& e) {
        throw SkinToolError(std::string("cannot pack: ") + e.what());
    }
    return writer.BuildPackage();
}

} // namespace skintool
