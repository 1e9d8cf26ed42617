// Reading the probe's duration and the conversion tool's progress markers
// from real-shaped tool output.
#include <gtest/gtest.h>

#include <clocale>
#include <string>
#include <vector>

#include "app/logic/ToolOutput.h"

namespace tonewell {
namespace {

using Lines = std::vector<std::string>;

int Probe(const std::string& line) {
  return DurationFromProbeLines({"Playing C:\\Music\\a.wma.", line, "ID_SEEKABLE=1"});
}

TEST(ProbeDuration, SecondsFromTheMarker) {
  EXPECT_EQ(Probe("ID_LENGTH=184.32"), 184);
  EXPECT_EQ(Probe("ID_LENGTH=59.999"), 59);
  EXPECT_EQ(Probe("id_length=0.00"), 0);
  EXPECT_EQ(Probe("ID_LENGTH=1 234"), 1234);   // the blank is skipped
  EXPECT_EQ(Probe("Id_Length=7"), 7);          // any letter case
  EXPECT_EQ(Probe("ID_LENGTH=5."), 5);
  EXPECT_EQ(Probe("ID_LENGTH=.5"), 0);
  EXPECT_EQ(Probe("ID_LENGTH=12s, 3"), 123);   // letters skipped, digits kept
}

TEST(ProbeDuration, OnlyTwentyCharactersAfterTheMarkerAndOnlyItsLine) {
  // The window is 20 characters; the 21st digit is not read.
  EXPECT_EQ(Probe("ID_LENGTH=                   12"), 1);
  // The line end stops the scan: digits of the next line are not taken.
  EXPECT_EQ(DurationFromProbeLines({"ID_LENGTH=", "99"}), 0);
  // The first marker wins.
  EXPECT_EQ(DurationFromProbeLines({"ID_LENGTH=3", "ID_LENGTH=4"}), 3);
  // A marker whose letters were split by the line cutter is not a marker.
  EXPECT_FALSE(HasDurationMarker({"ID_LEN", "GTH=3"}));
}

TEST(ProbeDuration, NoMarkerGivesZero) {
  EXPECT_FALSE(HasDurationMarker({}));
  EXPECT_EQ(DurationFromProbeLines({}), 0);
  Lines noMarker{"ID_FILENAME=x.wma", "ID_LENGTH 12", "Exiting... (End of file)"};
  EXPECT_FALSE(HasDurationMarker(noMarker));
  EXPECT_EQ(DurationFromProbeLines(noMarker), 0);
  EXPECT_TRUE(HasDurationMarker({"ID_LENGTH=abc"}));
  EXPECT_EQ(DurationFromProbeLines({"ID_LENGTH=abc"}), 0);  // empty number text
}

TEST(ProbeDuration, InvalidNumberTextRaisesTheConversionError) {
  try {
    Probe("ID_LENGTH=1.2.3");
    FAIL() << "no error";
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "'1.2.3' is not a valid floating point value");
  }
  EXPECT_THROW(Probe("ID_LENGTH=."), EConvertError);
  EXPECT_THROW(Probe("ID_LENGTH=.."), EConvertError);
}

TEST(ProbeDuration, HugeValuesClampInsteadOfWrapping) {
  EXPECT_EQ(Probe("ID_LENGTH=99999999999999999999"), 2147483647);
  EXPECT_EQ(Probe("ID_LENGTH=2147483647.9"), 2147483647);
}

TEST(ProbeDuration, JoinedTextLowersOnlyAsciiLetters) {
  EXPECT_EQ(JoinLoweredProbeLines({"AbZ", "\xC4\xD6", ""}), "abz\r\n\xC4\xD6\r\n\r\n");
  EXPECT_EQ(NumberTextAfterMarker("x\r\nid_length=60.51\r\nid_seekable=1"), "60.51");
}

TEST(ProgressMarker, RoundsHalvesToEven) {
  EXPECT_EQ(ProgressFromLine("ffmpeg_release_time=61.5=ffmpeg_release_time"), 62);
  EXPECT_EQ(ProgressFromLine("ffmpeg_release_time=60.5=ffmpeg_release_time"), 60);
  EXPECT_EQ(ProgressFromLine("ffmpeg_release_time=60.51=ffmpeg_release_time"), 61);
  EXPECT_EQ(ProgressFromLine("ffmpeg_release_time=0.49=ffmpeg_release_time"), 0);
  EXPECT_EQ(ProgressFromLine("ffmpeg_release_time=12=ffmpeg_release_time"), 12);
  EXPECT_EQ(ProgressFromLine("ffmpeg_release_time=-2.5=ffmpeg_release_time"), -2);
  EXPECT_EQ(ProgressFromLine("ffmpeg_release_time= 7.25 =ffmpeg_release_time"), 7);
  EXPECT_EQ(ProgressFromLine("ffmpeg_release_time=1e2=ffmpeg_release_time"), 100);
}

TEST(ProgressMarker, PositionInsideARealLine) {
  EXPECT_EQ(ProgressFromLine("size=61kB time=00:00:03.93 ffmpeg_release_time=3.93=ffmpeg_release_time"
                             " trailing"),
            4);
  // Only the first pair counts.
  EXPECT_EQ(ProgressFromLine("ffmpeg_release_time=5=ffmpeg_release_time "
                             "ffmpeg_release_time=9=ffmpeg_release_time"),
            5);
  // A closing marker before the opening one does not close it.
  EXPECT_EQ(ProgressFromLine("=ffmpeg_release_time ffmpeg_release_time=8"), std::nullopt);
}

TEST(ProgressMarker, ValuesThatAreNotNumbersAreIgnored) {
  for (const char* line : {
           "", "time=00:00:03.93", "ffmpeg_release_time=3.5", "3.5=ffmpeg_release_time",
           "FFMPEG_RELEASE_TIME=3=FFMPEG_RELEASE_TIME",  // letter case as written
           "ffmpeg_release_time==ffmpeg_release_time", "ffmpeg_release_time=abc=ffmpeg_release_time",
           "ffmpeg_release_time=1.2.3=ffmpeg_release_time", "ffmpeg_release_time=3,5=ffmpeg_release_time",
           "ffmpeg_release_time=inf=ffmpeg_release_time", "ffmpeg_release_time=nan=ffmpeg_release_time",
           "ffmpeg_release_time=0x10=ffmpeg_release_time", "ffmpeg_release_time=.=ffmpeg_release_time",
           "ffmpeg_release_time=1e=ffmpeg_release_time", "ffmpeg_release_time=1e999=ffmpeg_release_time",
           "ffmpeg_release_time=\xff\xfe=ffmpeg_release_time"}) {
    EXPECT_EQ(ProgressFromLine(line), std::nullopt) << line;
  }
  EXPECT_EQ(ProgressFromLine("ffmpeg_release_time=99999999999=ffmpeg_release_time"), 2147483647);
}

TEST(ProgressMarker, PointIsTheSeparatorWhateverTheLocale) {
  // A locale with a decimal comma must not change what is read.
  const char* previous = std::setlocale(LC_NUMERIC, nullptr);
  std::string saved = previous ? previous : "C";
  bool haveComma = false;
  for (const char* name : {"de_DE.UTF-8", "de_DE", "fr_FR.UTF-8", "German"}) {
    if (std::setlocale(LC_NUMERIC, name)) {
      haveComma = true;
      break;
    }
  }
  EXPECT_EQ(ProgressFromLine("ffmpeg_release_time=61.5=ffmpeg_release_time"), 62);
  EXPECT_EQ(ProgressFromLine("ffmpeg_release_time=61,5=ffmpeg_release_time"), std::nullopt);
  EXPECT_EQ(Probe("ID_LENGTH=184.32"), 184);
  std::setlocale(LC_NUMERIC, saved.c_str());
  if (!haveComma) GTEST_SKIP() << "no decimal-comma locale on this machine";
}

}  // namespace
}  // namespace tonewell
