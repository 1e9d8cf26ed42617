// Skin packages: an LZH-compressed archive of one settings file and BMP
// images.
//
// Classes in this file:
//   TSkinArchiveHeader  the 16-byte header of an expanded package
//   TSkinReader         expands a package, checks its version and hands out
//                       single files by (case-insensitive) name
//   TSkinWriter         builds packages for the skin tools and the tests
//
// Expanded package, numbers unsigned 32-bit little-endian:
//   0  version (20000)        4  L, length of the name list
//   8  not read               12 not read
//   16 name list, each name ended by CR LF
//   16 + L  one size per name
//   then the file contents, concatenated in name order.
//
// Damaged packages read quietly: sizes or names beyond the data give empty
// or short files, never a read outside the package.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct TSkinArchiveHeader {
  uint32_t Version = 0;
  int32_t NameListLength = 0;
  uint32_t Reserved1 = 0;
  uint32_t Reserved2 = 0;
};

class TSkinReader {
public:
  static constexpr uint32_t kVersion = 20000;
  // Capacity of the size table; a package naming more files is refused.
  static constexpr int kMaxFiles = 1001;
  // Shown when a package has another version.
  static constexpr const char* kOlderVersionText = "This is Older Skin File\rPlease update to new version !";

  // The message for a package of another version goes through this hook,
  // which the Windows side sets to a message box; unset, nothing is shown.
  using MessageHook = std::function<void(const std::string& text)>;
  static void SetMessageHook(MessageHook hook);
  static bool HasMessageHook();

  // operations
  // Expands a stored package and reads its archive. False for a package of
  // another version (after the message) or one naming more than kMaxFiles
  // files; the reader is then unchanged. ElzhException from the expansion
  // passes through.
  bool Open(std::span<const uint8_t> package);
  // Reads an already expanded archive; same outcome as Open.
  bool OpenArchive(std::span<const uint8_t> archive);

  // Replaces target with the first file named `name` (compared in lower
  // case). Returns false, leaving target empty, when there is none.
  bool ExtractFile(std::string_view name, std::vector<uint8_t>& target) const;
  // Replaces target with the first file whose lower-case name contains
  // `text` (as given: pass it in lower case) and sets foundName. Returns
  // false, leaving target empty and foundName unchanged, when none does.
  bool ExtractFirstMatch(std::string_view text, std::vector<uint8_t>& target, std::string& foundName) const;

  // attributes
  int FileCount() const { return static_cast<int>(names_.size()); }
  const std::vector<std::string>& Names() const { return names_; }
  // The size stated for file i (0 for an index out of range).
  uint32_t FileSize(int i) const;
  const TSkinArchiveHeader& Header() const { return header_; }
  const std::vector<uint8_t>& Contents() const { return contents_; }

private:
  void CopyEntry(size_t index, std::vector<uint8_t>& target) const;

  std::vector<std::string> names_;
  std::vector<uint32_t> sizes_;
  std::vector<uint8_t> contents_;
  TSkinArchiveHeader header_;
};

class TSkinWriter {
public:
  // operations
  // Adds a file. Throws std::invalid_argument for an empty name, a name with
  // CR, LF, NUL or a folder separator, a name that equals an earlier one in
  // lower case (it could never be found), or more than kMaxFiles files.
  void Add(std::string name, std::vector<uint8_t> data);
  // The expanded archive.
  std::vector<uint8_t> BuildArchive() const;
  // The stored (compressed) package.
  std::vector<uint8_t> BuildPackage() const;

  // attributes
  size_t FileCount() const { return files_.size(); }

private:
  struct File {
    std::string name;
    std::vector<uint8_t> data;
  };
  std::vector<File> files_;
};

// ASCII lower case, as the package names are compared.
std::string SkinLowerCase(std::string_view text);
