// Skin package reader and writer.
#include "skin/data/SkinRead.h"

#include <algorithm>
#include <stdexcept>

#include "skin/data/LZH.h"
#include "skin/data/LzhEncoder.h"

namespace {

TSkinReader::MessageHook& Hook() {
  static TSkinReader::MessageHook hook;
  return hook;
}

uint32_t ReadU32(std::span<const uint8_t> data, size_t offset) {
  uint32_t value = 0;
  for (size_t i = 0; i < 4; ++i)
    if (offset + i < data.size()) value |= static_cast<uint32_t>(data[offset + i]) << (8 * i);
  return value;
}

void PutU32(std::vector<uint8_t>& out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// Splits text into lines the way a string list does: a line ends at CR, LF
// or CR LF, a last line without an ending counts, and a zero byte ends the
// text. Stops once more than maxLines lines are found.
std::vector<std::string> SplitLines(std::string_view text, size_t maxLines) {
  const size_t nul = text.find('\0');
  if (nul != std::string_view::npos) text = text.substr(0, nul);
  std::vector<std::string> lines;
  size_t pos = 0;
  while (pos < text.size() && lines.size() <= maxLines) {
    const size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) {
      lines.emplace_back(text.substr(pos));
      break;
    }
    lines.emplace_back(text.substr(pos, end - pos));
    pos = end + 1;
    if (text[end] == '\r' && pos < text.size() && text[pos] == '\n') ++pos;
  }
  return lines;
}

}  // namespace

std::string SkinLowerCase(std::string_view text) {
  std::string lower(text);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return lower;
}

void TSkinReader::SetMessageHook(MessageHook hook) { Hook() = std::move(hook); }

bool TSkinReader::HasMessageHook() { return static_cast<bool>(Hook()); }

bool TSkinReader::Open(std::span<const uint8_t> package) {
  const std::vector<uint8_t> archive = Expand(package);
  return OpenArchive(archive);
}

bool TSkinReader::OpenArchive(std::span<const uint8_t> archive) {
  TSkinArchiveHeader header;
  header.Version = ReadU32(archive, 0);
  header.NameListLength = static_cast<int32_t>(ReadU32(archive, 4));
  header.Reserved1 = ReadU32(archive, 8);
  header.Reserved2 = ReadU32(archive, 12);
  if (header.Version != kVersion) {
    if (Hook()) Hook()(kOlderVersionText);
    return false;
  }

  // A name list or size table running past the data is cut at its end.
  const size_t headerEnd = std::min<size_t>(16, archive.size());
  const size_t available = archive.size() - headerEnd;
  const size_t listLength =
      header.NameListLength > 0 ? std::min<size_t>(static_cast<uint32_t>(header.NameListLength), available) : 0;
  const std::string_view listText(reinterpret_cast<const char*>(archive.data() + headerEnd), listLength);
  std::vector<std::string> names = SplitLines(SkinLowerCase(listText), kMaxFiles);
  if (names.size() > static_cast<size_t>(kMaxFiles)) return false;

  const size_t sizesStart = headerEnd + listLength;
  std::vector<uint32_t> sizes(names.size());
  for (size_t i = 0; i < names.size(); ++i) sizes[i] = ReadU32(archive, sizesStart + 4 * i);
  const size_t contentsStart = std::min(archive.size(), sizesStart + 4 * names.size());

  header_ = header;
  names_ = std::move(names);
  sizes_ = std::move(sizes);
  contents_.assign(archive.begin() + static_cast<std::ptrdiff_t>(contentsStart), archive.end());
  return true;
}

uint32_t TSkinReader::FileSize(int i) const {
  return i >= 0 && static_cast<size_t>(i) < sizes_.size() ? sizes_[static_cast<size_t>(i)] : 0;
}

// Copies file `index`, or as much of it as the contents hold.
void TSkinReader::CopyEntry(size_t index, std::vector<uint8_t>& target) const {
  uint64_t offset = 0;
  for (size_t i = 0; i < index; ++i) offset += sizes_[i];
  if (offset >= contents_.size()) return;
  const uint64_t count = std::min<uint64_t>(sizes_[index], contents_.size() - offset);
  const auto first = contents_.begin() + static_cast<std::ptrdiff_t>(offset);
  target.assign(first, first + static_cast<std::ptrdiff_t>(count));
}

bool TSkinReader::ExtractFile(std::string_view name, std::vector<uint8_t>& target) const {
  target.clear();
  const std::string wanted = SkinLowerCase(name);
  for (size_t i = 0; i < names_.size(); ++i) {
    if (names_[i] == wanted) {
      CopyEntry(i, target);
      return true;
    }
  }
  return false;
}

bool TSkinReader::ExtractFirstMatch(std::string_view text, std::vector<uint8_t>& target,
                                    std::string& foundName) const {
  target.clear();
  for (size_t i = 0; i < names_.size(); ++i) {
    if (names_[i].find(text) != std::string::npos) {
      CopyEntry(i, target);
      foundName = names_[i];
      return true;
    }
  }
  return false;
}

void TSkinWriter::Add(std::string name, std::vector<uint8_t> data) {
  if (name.empty()) throw std::invalid_argument("skin file name is empty");
  if (name.find_first_of(std::string_view("\r\n\0/\\", 5)) != std::string::npos)
    throw std::invalid_argument("skin file name \"" + name + "\" holds a line break, zero or folder separator");
  const std::string lower = SkinLowerCase(name);
  for (const File& f : files_)
    if (SkinLowerCase(f.name) == lower) throw std::invalid_argument("skin file name \"" + name + "\" is used twice");
  if (files_.size() >= static_cast<size_t>(TSkinReader::kMaxFiles))
    throw std::invalid_argument("a skin package holds at most 1001 files");
  if (data.size() > UINT32_MAX) throw std::invalid_argument("skin file \"" + name + "\" is too large");
  files_.push_back({std::move(name), std::move(data)});
}

std::vector<uint8_t> TSkinWriter::BuildArchive() const {
  std::string list;
  for (const File& f : files_) list += f.name + "\r\n";
  std::vector<uint8_t> out;
  PutU32(out, TSkinReader::kVersion);
  PutU32(out, static_cast<uint32_t>(list.size()));
  PutU32(out, 0);
  PutU32(out, 0);
  out.insert(out.end(), list.begin(), list.end());
  for (const File& f : files_) PutU32(out, static_cast<uint32_t>(f.data.size()));
  for (const File& f : files_) out.insert(out.end(), f.data.begin(), f.data.end());
  return out;
}

std::vector<uint8_t> TSkinWriter::BuildPackage() const { return Compress(BuildArchive()); }
