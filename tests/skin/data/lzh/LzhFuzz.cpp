// Any bytes as a stored stream: expansion must stay in bounds, agree with
// the round trip of its own output, and never take more than the bound.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "skin/data/LZH.h"
#include "skin/data/LzhEncoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A low limit keeps each run short; the bound itself is a unit test.
  constexpr uint32_t kLimit = 1u << 16;
  std::vector<uint8_t> out;
  try {
    out = Expand(std::span(data, size), kLimit);
  } catch (const ElzhException&) {
    return 0;
  }
  uint32_t stated = 0;
  for (size_t i = 0; i < 4 && i < size; ++i) stated |= static_cast<uint32_t>(data[i]) << (8 * i);
  if (out.size() < stated || out.size() >= static_cast<size_t>(stated) + lzh::F) std::abort();
  // Whatever came out must survive our own encoder.
  if (out.size() <= 4096 && Expand(Compress(out)) != out) std::abort();
  return 0;
}
