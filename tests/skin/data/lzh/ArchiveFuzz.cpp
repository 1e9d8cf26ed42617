// Any bytes as an expanded skin archive: every name must extract without
// reading outside the archive.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "skin/data/SkinRead.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TSkinReader reader;
  if (!reader.OpenArchive(std::span(data, size))) return 0;
  if (reader.FileCount() > TSkinReader::kMaxFiles) std::abort();
  std::vector<uint8_t> file;
  size_t total = 0;
  for (const std::string& name : reader.Names()) {
    if (!reader.ExtractFile(name, file)) std::abort();
    total += file.size();
  }
  std::string found;
  reader.ExtractFirstMatch(".ini", file, found);
  // Files cut at the end of the contents never add up past the archive.
  if (reader.FileCount() > 0 && file.size() > reader.Contents().size()) std::abort();
  (void)total;
  return 0;
}
