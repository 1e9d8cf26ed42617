// Replays every file of a corpus folder through a fuzz target, so the seeds
// and past findings run as ordinary regression tests in the host tree.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s CORPUS_DIR\n", argv[0]);
    return 2;
  }
  std::filesystem::path dir = argv[1];
  if (!std::filesystem::is_directory(dir)) {
    std::fprintf(stderr, "corpus folder %s is missing\n", argv[1]);
    return 1;
  }
  int count = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(dir)) {
    if (!entry.is_regular_file()) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    const std::vector<uint8_t> read((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // A buffer of exactly the input's size, as the fuzzer passes it: the
    // vector read above may hold spare capacity, where the sanitizer would
    // not see a read past the end.
    const std::unique_ptr<uint8_t[]> bytes(new uint8_t[read.size()]);
    std::copy(read.begin(), read.end(), bytes.get());
    LLVMFuzzerTestOneInput(bytes.get(), read.size());
    ++count;
  }
  std::printf("replayed %d inputs from %s\n", count, argv[1]);
  return count > 0 ? 0 : 1;
}
