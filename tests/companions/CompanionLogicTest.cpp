// The companions' portable logic: the command lines Tonewell gives them, the
// command lines they give the stock encoder, the encoder's output read back
// into Tonewell's markers, and the WMA year tag.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/logic/ToolOutput.h"
#include "companions/logic/AsfYear.h"
#include "companions/logic/CommandLine.h"
#include "companions/logic/EncoderOutput.h"

using namespace companions;

namespace {

using Args = std::vector<std::wstring>;

// --- Tonewell's command lines -------------------------------------------

TEST(CompanionArguments, TonewellsConversionLineIsUnderstoodAndAnythingElseRefused) {
  // "ffmpeg.exe" -i "SRC" -y  -vn -acodec libmp3lame "OUT", as the C runtime splits it.
  const auto ok = ParseConvertArguments(
      {L"-i", L"C:\\歌曲\\Song.Live.wma", L"-y", L"-vn", L"-acodec", L"libmp3lame", L"D:\\Out\\Song.Live.mp3"});
  ASSERT_TRUE(ok.request) << std::string(ok.error.begin(), ok.error.end());
  EXPECT_EQ(ok.request->source, L"C:\\歌曲\\Song.Live.wma");
  EXPECT_EQ(ok.request->output, L"D:\\Out\\Song.Live.mp3");
  EXPECT_TRUE(ok.request->overwrite);
  EXPECT_FALSE(ParseConvertArguments({L"-i", L"a.wma", L"-vn", L"b.mp3"}).request->overwrite);

  const std::vector<Args> refused = {
      {},
      {L"-i", L"a.wma"},                                     // no output
      {L"-y", L"out.mp3"},                                   // no input
      {L"-i"},                                               // option without value
      {L"-i", L"a.wma", L"one.mp3", L"two.mp3"},             // two outputs
      {L"-i", L"a.wma", L"-i", L"b.wma", L"out.mp3"},        // two inputs
      {L"-i", L"a.wma", L"-acodec", L"aac", L"out.mp3"},     // another encoder
      {L"-i", L"a.wma", L"-b:a", L"64k", L"out.mp3"},        // unknown option
  };
  for (const auto& args : refused) {
    const auto r = ParseConvertArguments(args);
    EXPECT_FALSE(r.request) << args.size() << " arguments accepted";
    EXPECT_FALSE(r.error.empty());
  }
}

TEST(CompanionArguments, ProbeLineTakesTheFileAndIgnoresTheShellWordsAfterIt) {
  const auto ok = ParseProbeArguments({L"-msglevel", L"identify=6", L"-vo", L"none", L"-ao", L"none",
                                       L"C:\\音乐\\a b.wma", L"2>&1", L"|grep", L"ID_LENGTH"});
  ASSERT_TRUE(ok.request);
  EXPECT_EQ(ok.request->file, L"C:\\音乐\\a b.wma");
  EXPECT_FALSE(ParseProbeArguments({L"-msglevel", L"identify=6", L"-vo", L"none"}).request);
  EXPECT_FALSE(ParseProbeArguments({L"-vo"}).request);
  EXPECT_FALSE(ParseProbeArguments({L"-identify", L"a.wma"}).request);
}

// --- Command lines for the encoder -----------------------------------------

TEST(EncoderCommandLine, QuotingSurvivesTheRuntimesArgumentSplitting) {
  // Expected texts follow the C runtime's rules: 2n backslashes before a
  // quote give n, 2n+1 give n and a literal quote; others are literal.
  EXPECT_EQ(QuoteArgument(L"plain.wma"), L"plain.wma");
  EXPECT_EQ(QuoteArgument(L""), L"\"\"");
  EXPECT_EQ(QuoteArgument(L"C:\\My Music\\a.wma"), L"\"C:\\My Music\\a.wma\"");
  EXPECT_EQ(QuoteArgument(L"C:\\My Music\\"), L"\"C:\\My Music\\\\\"");
  EXPECT_EQ(QuoteArgument(L"say \"hi\""), L"\"say \\\"hi\\\"\"");
  EXPECT_EQ(QuoteArgument(L"a\\\"b c"), L"\"a\\\\\\\"b c\"");
  EXPECT_EQ(JoinCommandLine({L"C:\\x y\\ffmpeg.exe", L"-i", L"歌.wma"}), L"\"C:\\x y\\ffmpeg.exe\" -i 歌.wma");
}

// Value following `option` in `args`, or "<absent>".
std::wstring ValueOf(const Args& args, const std::wstring& option, const std::wstring& prefix = L"") {
  for (size_t i = 0; i + 1 < args.size(); ++i)
    if (args[i] == option && args[i + 1].rfind(prefix, 0) == 0) return args[i + 1];
  return L"<absent>";
}

TEST(EncoderCommandLine, ConvertsToVbrMp3WithId3v23TagsAndProgressOnAPipe) {
  const Args a = EncoderConvertArguments(L"C:\\T\\encoder\\ffmpeg.exe", L"in.wma", L"out.mp3.part", L"2019");
  EXPECT_EQ(a.front(), L"C:\\T\\encoder\\ffmpeg.exe");
  EXPECT_EQ(a.back(), L"out.mp3.part");
  EXPECT_EQ(ValueOf(a, L"-i"), L"in.wma");
  EXPECT_EQ(ValueOf(a, L"-q:a"), L"2");
  EXPECT_EQ(ValueOf(a, L"-id3v2_version"), L"3");
  EXPECT_EQ(ValueOf(a, L"-f"), L"mp3") << "the partial name says nothing of the format";
  EXPECT_EQ(ValueOf(a, L"-progress"), L"pipe:1");
  EXPECT_EQ(ValueOf(a, L"-metadata", L"date="), L"date=2019");
  EXPECT_NE(std::find(a.begin(), a.end(), L"-nostdin"), a.end()) << "the encoder must not wait for keys";

  const Args noYear = EncoderConvertArguments(L"e.exe", L"in.wma", L"out", L"");
  EXPECT_EQ(ValueOf(noYear, L"-metadata", L"date="), L"<absent>") << "an empty date would erase the source's";
}

// --- The encoder's output ------------------------------------------------------

TEST(EncoderOutput, LinesKeepTheirEndsAndCrLfSplitAcrossReadsStaysOneLine) {
  TLineSplitter s;
  std::vector<std::string> lines;
  s.Feed("size=  1kB time=00:00:01.00\rsize=  2kB", lines);
  s.Feed(" time=00:00:02.00\r", lines);
  s.Feed("\nStream #0\nDur", lines);
  s.Feed("ation", lines);
  EXPECT_EQ(lines, (std::vector<std::string>{"size=  1kB time=00:00:01.00\r", "size=  2kB time=00:00:02.00\r\n",
                                              "Stream #0\n"}));
  EXPECT_EQ(s.Finish(), std::optional<std::string>("Duration"));
  EXPECT_EQ(s.Finish(), std::nullopt);

  // A lone CR at the end of the stream is its line's end.
  lines.clear();
  s.Feed("last\r", lines);
  EXPECT_TRUE(lines.empty());
  EXPECT_EQ(s.Finish(), std::optional<std::string>("last\r"));

  // Output without line ends cannot grow without bound.
  lines.clear();
  s.Feed(std::string(TLineSplitter::kMaxLine * 2 + 5, 'x'), lines);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].size(), TLineSplitter::kMaxLine);
  EXPECT_EQ(s.Finish()->size(), 5u);
}

// Two records of the stock encoder's "-progress pipe:1" output, as recorded.
const char* const kRecordedProgress[] = {
    "bitrate=  39.7kbits/s", "total_size=13363", "out_time_us=2691270", "out_time_ms=2691270",
    "out_time=00:00:02.691270", "dup_frames=0", "drop_frames=0", "speed=5.26x", "progress=continue",
    "bitrate=  37.0kbits/s", "total_size=277499", "out_time_us=60003900", "out_time_ms=60003900",
    "out_time=00:01:00.003900", "dup_frames=0", "drop_frames=0", "speed=5.69x", "progress=end"};

TEST(EncoderOutput, EveryProgressRecordGivesOneMarkerThatTonewellReadsAsThePosition) {
  TProgressReader reader;
  std::vector<std::string> markers;
  for (const char* line : kRecordedProgress)
    if (auto m = reader.Feed(line)) markers.push_back(*m);
  ASSERT_EQ(markers, (std::vector<std::string>{"ffmpeg_release_time=2.69=ffmpeg_release_time\r\n",
                                                "ffmpeg_release_time=60.00=ffmpeg_release_time\r\n"}));
  // Read back the way the program reads its tool's output lines.
  EXPECT_EQ(tonewell::ProgressFromLine(markers[0]), 3);
  EXPECT_EQ(tonewell::ProgressFromLine(markers[1]), 60);

  // A record without a usable position (the first one may carry N/A or a
  // negative time) gives no marker, and does not repeat the last one.
  for (const char* t : {"out_time=-00:00:00.023000", "out_time=N/A"}) {
    EXPECT_FALSE(reader.Feed(t));
    EXPECT_FALSE(reader.Feed("progress=continue")) << t;
  }
  EXPECT_FALSE(reader.Feed("progress=continue"));
}

TEST(EncoderOutput, ClockTextsAndHundredths) {
  EXPECT_EQ(ParseClock("01:02:03.5"), 3723500000LL);
  EXPECT_EQ(ParseClock("00:00:07"), 7000000LL);
  EXPECT_EQ(ParseClock("00:00:00.1234567"), 123456LL);
  for (const char* bad : {"", "N/A", "-00:00:01.00", "00:61:00.00", "00:00:5x", "00:00:05.", "1:2"})
    EXPECT_FALSE(ParseClock(bad)) << bad;
  EXPECT_EQ(SecondsText(0), "0.00");
  EXPECT_EQ(SecondsText(60003900), "60.00");
  EXPECT_EQ(SecondsText(184329999), "184.32");
  EXPECT_EQ(SecondsText(5070000), "5.07");
}

TEST(EncoderOutput, ProbeDurationComesFromTheInputsDescription) {
  // The stock encoder's description of a WMA file (indented length line).
  auto d = DurationMicroseconds(
      "Input #0, asf, from 'C:\\a.wma':\r\n  Metadata:\r\n    title           : x\r\n"
      "  Duration: 00:01:00.05, start: 0.000000, bitrate: 137 kb/s\r\n    Stream #0:0: Audio: wmav2\r\n");
  ASSERT_TRUE(d);
  EXPECT_EQ(SecondsText(*d), "60.05");
  EXPECT_FALSE(DurationMicroseconds("  Duration: N/A, bitrate: N/A\n"));
  EXPECT_FALSE(DurationMicroseconds("a.wma: Invalid data found when processing input\r\n"));
}

// --- The WMA year tag ------------------------------------------------------------

void Put(std::vector<uint8_t>& b, uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void PutText(std::vector<uint8_t>& b, const std::u16string& s) {
  for (char16_t c : s) Put(b, c, 2);
  Put(b, 0, 2);
}
std::vector<uint8_t> Guid(std::initializer_list<uint8_t> bytes) { return bytes; }

// A WMA header with one other object and an extended content description of
// `entries` (name, type, value bytes).
struct TEntry {
  std::u16string name;
  int type;
  std::vector<uint8_t> value;
};
std::vector<uint8_t> Header(const std::vector<TEntry>& entries) {
  std::vector<uint8_t> body;
  Put(body, entries.size(), 2);
  for (const auto& e : entries) {
    Put(body, (e.name.size() + 1) * 2, 2);
    PutText(body, e.name);
    Put(body, e.type, 2);
    Put(body, e.value.size(), 2);
    body.insert(body.end(), e.value.begin(), e.value.end());
  }
  std::vector<uint8_t> objects;
  // A file properties object standing in for the objects before it.
  const auto other = Guid({0xA1, 0xDC, 0xAB, 0x8C, 0x47, 0xA9, 0xCF, 0x11, 0x8E, 0xE4, 0x00, 0xC0, 0x0C, 0x20, 0x53, 0x65});
  objects.insert(objects.end(), other.begin(), other.end());
  Put(objects, 24 + 8, 8);
  Put(objects, 0x1122334455667788ULL, 8);
  const auto ext = Guid({0x40, 0xA4, 0xD0, 0xD2, 0x07, 0xE3, 0xD2, 0x11, 0x97, 0xF0, 0x00, 0xA0, 0xC9, 0x5E, 0xA8, 0x50});
  objects.insert(objects.end(), ext.begin(), ext.end());
  Put(objects, 24 + body.size(), 8);
  objects.insert(objects.end(), body.begin(), body.end());

  std::vector<uint8_t> h = Guid({0x30, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11, 0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C});
  Put(h, 30 + objects.size(), 8);
  Put(h, 2, 4);
  Put(h, 0x0201, 2);
  h.insert(h.end(), objects.begin(), objects.end());
  // Data after the header does not belong to it.
  Put(h, 0xFFFFFFFF, 4);
  return h;
}
std::vector<uint8_t> Text(const std::u16string& s) {
  std::vector<uint8_t> b;
  PutText(b, s);
  return b;
}

TEST(WmaYear, YearEntryAsTextOrNumberAmongOthers) {
  const auto text = Header({{u"WM/AlbumTitle", 0, Text(u"专辑")}, {u"WM/Year", 0, Text(u"2019")}});
  EXPECT_EQ(AsfHeaderSize(text.data(), text.size()), text.size() - 4);
  EXPECT_EQ(AsfYear(text.data(), text.size()), L"2019");
  std::vector<uint8_t> n;
  Put(n, 1987, 4);
  const auto number = Header({{u"WM/Year", 3, n}});
  EXPECT_EQ(AsfYear(number.data(), number.size()), L"1987");
  const auto dated = Header({{u"WM/Year", 0, Text(u"2003-04-05")}});
  EXPECT_EQ(AsfYear(dated.data(), dated.size()), L"2003");

  for (const auto& notYear : {Header({}), Header({{u"WM/Year", 0, Text(u"abcd")}}),
                              Header({{u"WM/Year", 0, Text(u"20190")}}), Header({{u"WM/Year", 0, Text(u"99")}}),
                              Header({{u"WM/Yearly", 0, Text(u"2019")}})})
    EXPECT_EQ(AsfYear(notYear.data(), notYear.size()), L"");
  const std::vector<uint8_t> mp3 = {'I', 'D', '3', 3, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(AsfHeaderSize(mp3.data(), mp3.size()), 0u);
}

TEST(WmaYear, DamagedOrCutHeadersNeverReadOutsideTheBytes) {
  const auto h = Header({{u"WM/Genre", 0, Text(u"Pop")}, {u"WM/Year", 0, Text(u"2019")}});
  // Cut anywhere before the year's value: no year, no read past the end
  // (the sanitizers watch every read of the copy).
  for (size_t cut = 0; cut < h.size() - 4 - 10; ++cut) {
    std::vector<uint8_t> part(h.begin(), h.begin() + static_cast<long>(cut));
    EXPECT_EQ(AsfYear(part.data(), part.size()), L"") << cut;
  }
  // Sizes that lie: an object announcing more than the header holds, or a
  // descriptor longer than its object.
  auto big = h;
  big[30 + 16] = 0xFF;
  EXPECT_EQ(AsfYear(big.data(), big.size()), L"");
  auto huge = h;
  for (int i = 0; i < 8; ++i) huge[16 + i] = 0xFF;
  EXPECT_EQ(AsfHeaderSize(huge.data(), huge.size()), 16u * 1024 * 1024);
  EXPECT_EQ(AsfYear(huge.data(), huge.size()), L"2019") << "a header announced too long is read as far as it goes";
}

}  // namespace
