// Replays every file of a corpus folder through a fuzz target, so the seeds
// and past findings run as ordinary regression tests in the host tree.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
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
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    ++count;
  }
  std::printf("replayed %d inputs from %s\n", count, argv[1]);
  return count > 0 ? 0 : 1;
}
