#include <gtest/gtest.h>

#include "skin/data/SkinColour.h"

namespace {

constexpr TColour kFallback = 0xFF000012;

TEST(ColourText, SeparatedNumbersAreRedGreenBlue) {
  EXPECT_EQ(ColourFromText("244 244 244", kFallback), MakeColour(244, 244, 244));
  EXPECT_EQ(ColourFromText("10,20,30", kFallback), MakeColour(10, 20, 30));
  EXPECT_EQ(ColourFromText("1;2/3", kFallback), MakeColour(1, 2, 3));
  EXPECT_EQ(ColourFromText("rgb(12, 34, 56)", kFallback), MakeColour(12, 34, 56));
  // Red is the low byte.
  EXPECT_EQ(ColourFromText("255 0 0", kFallback), 0x0000FFu);
  EXPECT_EQ(ColourFromText("0 0 255", kFallback), 0xFF0000u);
}

TEST(ColourText, TrailingRunCountsOnlyAsTheThirdNumber) {
  EXPECT_EQ(ColourFromText("255 128", kFallback), MakeColour(255, 0, 0));
  EXPECT_EQ(ColourFromText("77", kFallback), kBlack);
  EXPECT_EQ(ColourFromText("1 2 3 4", kFallback), MakeColour(1, 2, 3));
  // A run ended by any non-digit counts, so a trailing separator keeps it.
  EXPECT_EQ(ColourFromText("77,", kFallback), MakeColour(77, 0, 0));
  EXPECT_EQ(ColourFromText("9 8 ,", kFallback), MakeColour(9, 8, 0));
  // Trailing blanks are trimmed first, so they do not end the run.
  EXPECT_EQ(ColourFromText("255 128   ", kFallback), MakeColour(255, 0, 0));
}

TEST(ColourText, EmptyGivesFallbackAndNoDigitsGiveBlack) {
  EXPECT_EQ(ColourFromText("", kFallback), kFallback);
  EXPECT_EQ(ColourFromText("   ", kFallback), kBlack);
  EXPECT_EQ(ColourFromText("white", kFallback), kBlack);
  EXPECT_EQ(ColourFromText("-", kFallback), kBlack);
}

TEST(ColourText, NumbersKeepTheirLowEightBits) {
  EXPECT_EQ(ColourFromText("256 257 511", kFallback), MakeColour(0, 1, 255));
  EXPECT_EQ(ColourFromText("1000,300,65535", kFallback), MakeColour(1000 & 255, 300 & 255, 255));
  // Far beyond any integer type: 10^30 = 2^30 * 5^30, so its low byte is 0;
  // 10^30 + 7 has low byte 7.
  const std::string huge = "1" + std::string(30, '0');
  const std::string hugePlus7 = "1" + std::string(29, '0') + "7";
  EXPECT_EQ(ColourFromText(huge + " " + hugePlus7 + " 5", kFallback), MakeColour(0, 7, 5));
  // Leading zeros and signs are not special.
  EXPECT_EQ(ColourFromText("-007 +8 0009", kFallback), MakeColour(7, 8, 9));
}

TEST(ColourText, ResultIsNeverASystemColour) {
  for (const char* text : {"255 255 255", "999 999 999", "x", "1 2"})
    EXPECT_FALSE(IsSystemColour(ColourFromText(text, kFallback))) << text;
  EXPECT_TRUE(IsSystemColour(ColourFromText("", kFallback)));
}

}  // namespace
