// Settings syntax of TQuickIni: sections, keys, values, comments, line ends
// and the integer rule.
#include "skin/data/WinSkinIni.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

TQuickIni Load(std::string_view text) {
  TQuickIni ini;
  ini.LoadFromText(text);
  return ini;
}

TEST(QuickIniSections, NamesIgnoreCaseButKeepInnerBlanks) {
  TQuickIni ini = Load("[Buttons]\nA=1\n[ Buttons ]\nA=2\n");
  EXPECT_EQ(ini.ReadString("buttons", "A", "-"), "1");
  EXPECT_EQ(ini.ReadString("BUTTONS", "A", "-"), "1");
  EXPECT_EQ(ini.ReadString(" Buttons ", "A", "-"), "2");
  EXPECT_EQ(ini.SectionIndex("Buttons"), 0);
  EXPECT_EQ(ini.SectionIndex(" buttons "), 2);
  EXPECT_EQ(ini.SectionIndex("Missing"), -1);
  std::vector<std::string> names{"stale"};
  ini.ReadSections(names);
  EXPECT_EQ(names, (std::vector<std::string>{"Buttons", "Buttons"}));
}

TEST(QuickIniSections, OnlyFirstOccurrenceIsSearched) {
  TQuickIni ini = Load("[Colours]\nFace=1\n[Other]\n[colours]\nFace=2\nText=3\n");
  EXPECT_EQ(ini.ReadString("Colours", "Face", "-"), "1");
  EXPECT_EQ(ini.ReadString("Colours", "Text", "-"), "-");
}

TEST(QuickIniSections, KeysBeforeFirstHeaderAreNeverFound) {
  TQuickIni ini = Load("Key=1\n[S]\nOther=2\n");
  EXPECT_EQ(ini.ReadString("", "Key", "d"), "d");
  EXPECT_EQ(ini.ReadString("S", "Key", "d"), "d");
  EXPECT_EQ(ini.SectionIndex(""), -1);
}

TEST(QuickIniSections, WalkStopsAtNextHeader) {
  TQuickIni ini = Load("[A]\n[B]\nKey=1\n");
  EXPECT_EQ(ini.ReadString("A", "Key", "d"), "d");
  EXPECT_EQ(ini.ReadString("B", "Key", "d"), "1");
}

TEST(QuickIniEntries, KeyFormsMatchWithBlanksAndCase) {
  for (const char* line : {"TopHeight=3", "topheight = 3", "  TOPHEIGHT=3  ", "\tTopHeight\t=\t3\t"}) {
    TQuickIni ini = Load(std::string("[Buttons]\n") + line + "\n");
    EXPECT_EQ(ini.ReadString("Buttons", "TopHeight", "-"), "3") << line;
    EXPECT_EQ(ini.ReadInteger("Buttons", "topHEIGHT", -1), 3) << line;
  }
}

TEST(QuickIniEntries, EmptyValueYieldsDefaultAndHidesLaterEntry) {
  TQuickIni ini = Load("[Buttons]\nTrans=\nTrans=1\n");
  EXPECT_EQ(ini.ReadString("Buttons", "Trans", "def"), "def");
  EXPECT_EQ(ini.ReadInteger("Buttons", "Trans", 7), 7);
}

TEST(QuickIniEntries, ValueIsTextAfterFirstEquals) {
  TQuickIni ini = Load("[S]\nImage = a=b.bmp \nNoEquals\n=orphan\n");
  EXPECT_EQ(ini.ReadString("S", "image", ""), "a=b.bmp");
  EXPECT_EQ(ini.ReadString("S", "NoEquals", "d"), "d");
  EXPECT_EQ(ini.ReadString("S", "", "d"), "orphan");
}

TEST(QuickIniEntries, SemicolonOnlyStartsAComment) {
  TQuickIni ini = Load(";[S]\n[S]\n; Key=1\n  ;Key=2\nKey=frame.bmp ; note\n");
  EXPECT_EQ(ini.ReadString("S", "Key", ""), "frame.bmp ; note");
  EXPECT_EQ(ini.Lines().size(), 2u);
  EXPECT_EQ(ini.SectionIndex("S"), 0);
}

TEST(QuickIniText, LineEndsOfEveryKind) {
  TQuickIni ini = Load("[S]\rA=1\nB=2\r\nC=3\n\rD=4\n\n\nE=5");
  for (auto [key, value] : {std::pair{"A", "1"}, {"B", "2"}, {"C", "3"}, {"D", "4"}, {"E", "5"}})
    EXPECT_EQ(ini.ReadString("S", key, ""), value) << key;
  EXPECT_EQ(ini.Lines().size(), 6u);  // no empty lines kept
}

TEST(QuickIniText, ZeroByteEndsTheText) {
  std::string text("[S]\nA=1\n", 8);
  text += std::string("\0B=2\n", 5);
  TQuickIni ini = Load(text);
  EXPECT_EQ(ini.ReadString("S", "A", ""), "1");
  EXPECT_EQ(ini.ReadString("S", "B", "none"), "none");
}

TEST(QuickIniText, ControlCharactersAreTrimmed) {
  TQuickIni ini = Load("\x01\x1f[S]\x7f\n\x05Key=v\x02\n");
  // 0x7F is above 32 and stays, so "[S]\x7f" is not a header.
  EXPECT_EQ(ini.SectionIndex("S"), -1);
  TQuickIni ini2 = Load("\x01[S]\x1f\n\x05Key=v\x02\n");
  EXPECT_EQ(ini2.ReadString("S", "Key", ""), "v");
}

TEST(QuickIniText, SectionIndexCountsKeptLines) {
  TQuickIni ini = Load("; c\n\n[A]\nx=1\n;c\n\n[B]\n");
  ASSERT_EQ(ini.Sections().size(), 2u);
  EXPECT_EQ(ini.Sections()[0], (std::pair<std::string, int>{"[A]", 0}));
  EXPECT_EQ(ini.Sections()[1], (std::pair<std::string, int>{"[B]", 2}));
  EXPECT_EQ(ini.Lines()[ini.SectionIndex("B")], "[B]");
}

TEST(QuickIniStream, ReadsFromCurrentPositionAndReplaces) {
  std::istringstream in("garbage[S]\nK=1\n");
  in.seekg(7);
  TQuickIni ini = Load("[Old]\nK=9\n");
  ini.LoadFromStream(&in);
  EXPECT_EQ(ini.ReadString("S", "K", ""), "1");
  EXPECT_EQ(ini.SectionIndex("Old"), -1);
  ini.LoadFromStream(nullptr);  // ignored: contents stay
  EXPECT_EQ(ini.ReadString("S", "K", ""), "1");
  ini.LoadFromText("");
  EXPECT_TRUE(ini.Lines().empty());
  EXPECT_EQ(ini.ReadString("S", "K", "gone"), "gone");
}

TEST(QuickIniInteger, PlatformConversionRule) {
  TQuickIni ini = Load(
      "[N]\nhex=0x00FF00\ndollar=$FF\ntrail=3 ; word\nneg=-42\nplus=+7\nbig=2147483647\n"
      "small=-2147483648\nover=2147483648\nunder=-2147483649\nallbits=$FFFFFFFF\nsys=0xFF00000F\n"
      "toolong=$100000000\nbare0x=0x\nbare$=$\nsign=-\nupper=0X1f\nnegHex=-$10\nspace=1 2\nfloat=1.5\n");
  EXPECT_EQ(ini.ReadInteger("N", "hex", -1), 65280);
  EXPECT_EQ(ini.ReadInteger("N", "dollar", -1), 255);
  EXPECT_EQ(ini.ReadInteger("N", "trail", -1), -1);
  EXPECT_EQ(ini.ReadInteger("N", "neg", 0), -42);
  EXPECT_EQ(ini.ReadInteger("N", "plus", 0), 7);
  EXPECT_EQ(ini.ReadInteger("N", "big", 0), 2147483647);
  EXPECT_EQ(ini.ReadInteger("N", "small", 0), INT32_MIN);
  EXPECT_EQ(ini.ReadInteger("N", "over", -1), -1);
  EXPECT_EQ(ini.ReadInteger("N", "under", -1), -1);
  EXPECT_EQ(ini.ReadInteger("N", "allbits", 0), -1);
  EXPECT_EQ(static_cast<uint32_t>(ini.ReadInteger("N", "sys", 0)), 0xFF00000Fu);
  EXPECT_EQ(ini.ReadInteger("N", "toolong", -1), -1);
  EXPECT_EQ(ini.ReadInteger("N", "bare0x", -1), -1);
  EXPECT_EQ(ini.ReadInteger("N", "bare$", -1), -1);
  EXPECT_EQ(ini.ReadInteger("N", "sign", -1), -1);
  EXPECT_EQ(ini.ReadInteger("N", "upper", -1), 31);
  EXPECT_EQ(ini.ReadInteger("N", "negHex", 0), -16);
  EXPECT_EQ(ini.ReadInteger("N", "space", -1), -1);
  EXPECT_EQ(ini.ReadInteger("N", "float", -1), -1);
  EXPECT_EQ(ini.ReadInteger("N", "missing", 12), 12);
}

}  // namespace
