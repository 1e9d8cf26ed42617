// The host tree is built with AddressSanitizer: an out-of-bounds read must
// stop the program with a report, or the portable tests prove less than
// they claim.
#include <gtest/gtest.h>

#include <memory>

namespace {

int ReadPastEnd(int n) {
  auto values = std::make_unique<int[]>(4);
  volatile int* p = values.get();
  return p[n];
}

TEST(HarnessSanitizerDeathTest, HeapOverflowIsReported) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_DEATH(ReadPastEnd(4), "AddressSanitizer");
}

}  // namespace
