// The files of one skin, read from a folder or a package and written back.
//
// Classes in this file:
//   SkinToolError - a failure with a message for the user.
//   SkinFiles     - named files in package order: the settings file first,
//                   then the images sorted by name.
// Functions: ReadSkinFolder, ReadSkinPackage, WriteSkinFolder, PackSkin,
// IsSafeSkinFileName.
#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace skintool {

class SkinToolError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct SkinFile {
    std::string name;
    std::vector<uint8_t> data;
};

struct SkinFiles {
    std::vector<SkinFile> files;
    std::vector<std::string> notes;  // things skipped while reading, for the user

    const SkinFile* find(std::string_view name) const;  // ASCII case-insensitive
    size_t totalBytes() const;
};

// True for a plain file name: not empty, no folder part, no "." or "..",
// no control characters and none of  \ / : * ? " < > |.
bool IsSafeSkinFileName(std::string_view name);

// A folder holding exactly one settings file (".ini") and BMP images. Other
// files and sub-folders are skipped with a note. Throws SkinToolError for a
// missing folder, no or two settings files, or an unreadable file.
SkinFiles ReadSkinFolder(const std::filesystem::path& folder);

// A stored package (compressed). Throws SkinToolError for a corrupt package
// or one of another version. Names come back in lower case, as the reader
// keeps them.
SkinFiles ReadSkinPackage(const std::vector<uint8_t>& package);

// Writes every file into `folder` (created when missing). Throws
// SkinToolError for a name that is not a plain file name (a package must
// never write outside the folder) or for a write failure.
void WriteSkinFolder(const SkinFiles& skin, const std::filesystem::path& folder);

// The stored package: archive version 20000, compressed.
std::vector<uint8_t> PackSkin(const SkinFiles& skin);

std::vector<uint8_t> ReadWholeFile(const std::filesystem::path& path);
void WriteWholeFile(const std::filesystem::path& path, const std::vector<uint8_t>& data);

} // namespace skintool
