// The Windows side of the reader's version message: a real message box,
// read back and closed from another thread.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "skin/data/SkinRead.h"
#include "skin/data/SkinReadMessage.h"
#include "tests/support/MessageBoxCloser.h"

namespace {

std::vector<uint8_t> ArchiveOfVersion(uint32_t version) {
  std::vector<uint8_t> a(16, 0);
  for (int i = 0; i < 4; ++i) a[static_cast<size_t>(i)] = static_cast<uint8_t>(version >> (8 * i));
  return a;
}

}  // namespace

TEST(SkinReadMessage, OlderPackageShowsTheMessageBoxUntilClosed) {
  InstallSkinReaderMessageBox();
  ASSERT_TRUE(TSkinReader::HasMessageHook());
  twtest::TMessageBoxCloser closer(IDOK);
  TSkinReader reader;
  EXPECT_FALSE(reader.OpenArchive(ArchiveOfVersion(10000)));
  ASSERT_TRUE(closer.WaitForClosed(1)) << "no message box appeared";
  EXPECT_EQ(closer.Last().text, L"This is Older Skin File\rPlease update to new version !");
  EXPECT_EQ(closer.Last().caption, L"SkinReadMessageTest");

  // A package of the right version shows nothing and opens.
  EXPECT_TRUE(reader.OpenArchive(ArchiveOfVersion(20000)));
  EXPECT_EQ(closer.Closed(), 1);
  TSkinReader::SetMessageHook(nullptr);
}
