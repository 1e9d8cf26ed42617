// Skin package archive: reading packages made by the writer, hand-built
// archives for the name-list rules, and damaged archives.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin/data/LZH.h"
#include "skin/data/SkinRead.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes B(const std::string& s) { return Bytes(s.begin(), s.end()); }

void Put32(Bytes& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// An archive with a name list and size table written exactly as given.
Bytes RawArchive(const std::string& nameList, const std::vector<uint32_t>& sizes, const std::string& contents,
                 uint32_t version = 20000, int32_t listLength = -1) {
  Bytes a;
  Put32(a, version);
  Put32(a, listLength < 0 ? static_cast<uint32_t>(nameList.size()) : static_cast<uint32_t>(listLength));
  Put32(a, 0xDEADBEEF);
  Put32(a, 0xCAFEF00D);
  a.insert(a.end(), nameList.begin(), nameList.end());
  for (uint32_t s : sizes) Put32(a, s);
  a.insert(a.end(), contents.begin(), contents.end());
  return a;
}

std::string Text(const Bytes& b) { return std::string(b.begin(), b.end()); }

// Records the messages of the version check for one test.
class MessageRecorder {
public:
  MessageRecorder() {
    TSkinReader::SetMessageHook([this](const std::string& t) { messages.push_back(t); });
  }
  ~MessageRecorder() { TSkinReader::SetMessageHook(nullptr); }
  std::vector<std::string> messages;
};

TSkinWriter SampleSkin() {
  TSkinWriter w;
  w.Add("Skin.INI", B("[Form]\r\nBitmap=form.bmp\r\n"));
  w.Add("form.bmp", B("BM-form-pixels"));
  w.Add("Button.BMP", B("BM-button"));
  w.Add("empty.bmp", {});
  return w;
}

}  // namespace

TEST(SkinReader, ReadsPackagesFromTheWriterByCaseInsensitiveName) {
  MessageRecorder rec;
  TSkinReader reader;
  ASSERT_TRUE(reader.Open(SampleSkin().BuildPackage()));
  EXPECT_EQ(reader.FileCount(), 4);
  EXPECT_EQ(reader.Names(), (std::vector<std::string>{"skin.ini", "form.bmp", "button.bmp", "empty.bmp"}));
  EXPECT_EQ(reader.Header().Version, 20000u);

  Bytes file = B("stale");
  EXPECT_TRUE(reader.ExtractFile("BUTTON.bmp", file));
  EXPECT_EQ(Text(file), "BM-button");
  EXPECT_TRUE(reader.ExtractFile("form.bmp", file));
  EXPECT_EQ(Text(file), "BM-form-pixels");
  EXPECT_TRUE(reader.ExtractFile("empty.bmp", file));
  EXPECT_TRUE(file.empty());
  file = B("stale");
  EXPECT_FALSE(reader.ExtractFile("missing.bmp", file));
  EXPECT_TRUE(file.empty());

  // The substring search takes its text as given.
  std::string name = "unchanged";
  file = B("stale");
  EXPECT_FALSE(reader.ExtractFirstMatch(".INI", file, name));
  EXPECT_TRUE(file.empty());
  EXPECT_EQ(name, "unchanged");
  EXPECT_TRUE(reader.ExtractFirstMatch(".ini", file, name));
  EXPECT_EQ(name, "skin.ini");
  EXPECT_EQ(Text(file), "[Form]\r\nBitmap=form.bmp\r\n");
  EXPECT_TRUE(rec.messages.empty());
}

TEST(SkinReader, SplitsTheNameListLikeAStringList) {
  struct Case {
    const char* what;
    std::string list;
    std::vector<std::string> names;
  };
  const std::vector<Case> cases = {
      {"no final line end", "a.bmp\r\nb.ini", {"a.bmp", "b.ini"}},
      {"empty line inside", "a.bmp\r\n\r\nb.ini\r\n", {"a.bmp", "", "b.ini"}},
      {"lone CR and lone LF", "a.bmp\rb.bmp\nc.ini\n\r", {"a.bmp", "b.bmp", "c.ini", ""}},
      {"zero byte ends the list", std::string("a.bmp\r\nb.ini\0c.bmp\r\n", 20), {"a.bmp", "b.ini"}},
      {"capitals", "A.BMP\r\nMiXeD.Ini\r\n", {"a.bmp", "mixed.ini"}},
      {"empty list", "", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TSkinReader reader;
    ASSERT_TRUE(reader.OpenArchive(RawArchive(c.list, std::vector<uint32_t>(c.names.size(), 0), "")));
    EXPECT_EQ(reader.Names(), c.names);
  }
}

TEST(SkinReader, OffsetsFollowTheSizeTableIncludingEmptyNamesAndRepeats) {
  // The empty name takes a size entry of its own; the repeated name finds
  // its first copy.
  TSkinReader reader;
  ASSERT_TRUE(reader.OpenArchive(
      RawArchive("one.bmp\r\n\r\ntwo.bmp\r\none.bmp\r\n", {3, 2, 4, 5}, "111xx2222ONE-B")));
  Bytes file;
  EXPECT_TRUE(reader.ExtractFile("one.bmp", file));
  EXPECT_EQ(Text(file), "111");
  EXPECT_TRUE(reader.ExtractFile("", file));
  EXPECT_EQ(Text(file), "xx");
  EXPECT_TRUE(reader.ExtractFile("Two.Bmp", file));
  EXPECT_EQ(Text(file), "2222");
  EXPECT_EQ(reader.FileSize(3), 5u);
  EXPECT_EQ(reader.FileSize(4), 0u);
  EXPECT_EQ(reader.FileSize(-1), 0u);
}

TEST(SkinReader, OtherVersionShowsTheMessageAndKeepsThePreviousPackage) {
  MessageRecorder rec;
  TSkinReader reader;
  ASSERT_TRUE(reader.OpenArchive(RawArchive("a.ini\r\n", {2}, "ok")));
  for (uint32_t version : {0u, 19999u, 20001u}) {
    EXPECT_FALSE(reader.OpenArchive(RawArchive("b.ini\r\n", {3}, "new", version)));
  }
  ASSERT_EQ(rec.messages.size(), 3u);
  EXPECT_EQ(rec.messages[0], "This is Older Skin File\rPlease update to new version !");
  Bytes file;
  EXPECT_TRUE(reader.ExtractFile("a.ini", file));
  EXPECT_EQ(Text(file), "ok");
  EXPECT_FALSE(reader.ExtractFile("b.ini", file));

  // Without a hook the check still fails, silently.
  TSkinReader::SetMessageHook(nullptr);
  EXPECT_FALSE(reader.OpenArchive(Bytes{}));
}

TEST(SkinReader, RefusesMoreNamesThanTheSizeTableHolds) {
  MessageRecorder rec;
  std::string list;
  for (int i = 0; i < 1001; ++i) list += "f" + std::to_string(i) + ".bmp\r\n";
  TSkinReader reader;
  EXPECT_TRUE(reader.OpenArchive(RawArchive(list, std::vector<uint32_t>(1001, 1), std::string(1001, 'x'))));
  EXPECT_EQ(reader.FileCount(), 1001);
  list += "extra.bmp\r\n";
  EXPECT_FALSE(reader.OpenArchive(RawArchive(list, std::vector<uint32_t>(1002, 1), std::string(1002, 'x'))));
  EXPECT_EQ(reader.FileCount(), 1001);  // unchanged
  // Millions of empty names are refused without building them all.
  EXPECT_FALSE(reader.OpenArchive(RawArchive(std::string(20'000'000, '\n'), {}, "")));
  EXPECT_EQ(reader.FileCount(), 1001);
  EXPECT_TRUE(rec.messages.empty());
}

TEST(SkinReader, DamagedArchivesGiveShortOrEmptyFiles) {
  Bytes file;
  {
    SCOPED_TRACE("sizes beyond the contents give short copies");
    TSkinReader reader;
    ASSERT_TRUE(reader.OpenArchive(RawArchive("a\r\nb\r\nc\r\n", {4, 100, 7}, "aaaabbbbb")));
    EXPECT_TRUE(reader.ExtractFile("a", file));
    EXPECT_EQ(Text(file), "aaaa");
    EXPECT_TRUE(reader.ExtractFile("b", file));
    EXPECT_EQ(Text(file), "bbbbb");
    EXPECT_TRUE(reader.ExtractFile("c", file));
    EXPECT_TRUE(file.empty());
  }
  {
    SCOPED_TRACE("sizes whose sum overflows 32 bits");
    TSkinReader reader;
    ASSERT_TRUE(reader.OpenArchive(RawArchive("a\r\nb\r\nc\r\n", {0xFFFFFFFF, 0xFFFFFFFF, 2}, "abc")));
    EXPECT_TRUE(reader.ExtractFile("c", file));
    EXPECT_TRUE(file.empty());
    EXPECT_TRUE(reader.ExtractFile("a", file));
    EXPECT_EQ(Text(file), "abc");
  }
  {
    SCOPED_TRACE("name list longer than the archive");
    TSkinReader reader;
    ASSERT_TRUE(reader.OpenArchive(RawArchive("a.bmp\r\nb.bmp", {}, "", 20000, 5000)));
    EXPECT_EQ(reader.Names(), (std::vector<std::string>{"a.bmp", "b.bmp"}));
    EXPECT_TRUE(reader.ExtractFile("b.bmp", file));
    EXPECT_TRUE(file.empty());
  }
  {
    SCOPED_TRACE("negative name-list length");
    TSkinReader reader;
    ASSERT_TRUE(reader.OpenArchive(RawArchive("", {}, "rest", 20000, -8)));
    EXPECT_EQ(reader.FileCount(), 0);
    EXPECT_EQ(Text(reader.Contents()), "rest");
  }
  {
    SCOPED_TRACE("size table cut short");
    TSkinReader reader;
    Bytes a = RawArchive("a\r\nb\r\n", {}, "");
    a.insert(a.end(), {3, 0});  // half of the first size
    ASSERT_TRUE(reader.OpenArchive(a));
    EXPECT_EQ(reader.FileCount(), 2);
    EXPECT_EQ(reader.FileSize(0), 3u);
    EXPECT_TRUE(reader.ExtractFile("a", file));
    EXPECT_TRUE(file.empty());
  }
  {
    SCOPED_TRACE("header alone, cut short");
    TSkinReader reader;
    Bytes a;
    Put32(a, 20000);
    a.push_back(9);
    ASSERT_TRUE(reader.OpenArchive(a));
    EXPECT_EQ(reader.FileCount(), 0);
  }
}

TEST(SkinReader, ExpansionFailuresPassThroughOpen) {
  MessageRecorder rec;
  TSkinReader reader;
  EXPECT_THROW(reader.Open(Bytes{0xFF, 0xFF, 0xFF, 0x7F}), ElzhException);
  // An empty stored package expands to nothing: a package of no version.
  EXPECT_FALSE(reader.Open(Bytes{}));
  EXPECT_EQ(rec.messages.size(), 1u);
}

TEST(SkinWriter, RefusesNamesTheReaderCouldNotGiveBack) {
  TSkinWriter w;
  w.Add("a.bmp", {});
  EXPECT_THROW(w.Add("A.BMP", {}), std::invalid_argument);
  EXPECT_THROW(w.Add("", {}), std::invalid_argument);
  EXPECT_THROW(w.Add("x\r\ny", {}), std::invalid_argument);
  EXPECT_THROW(w.Add("x\ny", {}), std::invalid_argument);
  EXPECT_THROW(w.Add(std::string("x\0y", 3), {}), std::invalid_argument);
  EXPECT_THROW(w.Add("dir\\x.bmp", {}), std::invalid_argument);
  EXPECT_THROW(w.Add("dir/x.bmp", {}), std::invalid_argument);
  EXPECT_EQ(w.FileCount(), 1u);
  for (int i = 1; i < TSkinReader::kMaxFiles; ++i) w.Add("f" + std::to_string(i), {});
  EXPECT_THROW(w.Add("one-too-many", {}), std::invalid_argument);

  // The archive layout: version, list length, two zero words, CR LF names.
  TSkinWriter small;
  small.Add("s.ini", B("k=v"));
  const Bytes a = small.BuildArchive();
  Bytes expected;
  Put32(expected, 20000);
  Put32(expected, 7);
  Put32(expected, 0);
  Put32(expected, 0);
  for (char c : std::string("s.ini\r\n")) expected.push_back(static_cast<uint8_t>(c));
  Put32(expected, 3);
  for (char c : std::string("k=v")) expected.push_back(static_cast<uint8_t>(c));
  EXPECT_EQ(a, expected);
  EXPECT_EQ(Expand(small.BuildPackage()), expected);
}
