// Tool command lines, output naming, the folder chooser's result and the
// levels of an output folder.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "app/logic/ConvertPaths.h"

namespace tonewell {
namespace {

using Paths = std::vector<std::wstring>;

TEST(CommandLines, ExactTextsOfBothTools) {
  EXPECT_EQ(ProbeCommandLine(L"C:\\Tone well\\mplayer.exe", L"D:\\音乐\\a b.wma"),
            L"\"C:\\Tone well\\mplayer.exe\" -msglevel identify=6 -vo none -ao none "
            L"\"D:\\音乐\\a b.wma\" 2>&1 |grep ID_LENGTH");
  // Two blanks between -y and -vn.
  EXPECT_EQ(ConversionCommandLine(L"C:\\T\\ffmpeg.exe", L"C:\\Music\\Song.Live.wma",
                                  L"D:\\Out\\Song.Live.mp3"),
            L"\"C:\\T\\ffmpeg.exe\" -i \"C:\\Music\\Song.Live.wma\" -y  -vn -acodec libmp3lame "
            L"\"D:\\Out\\Song.Live.mp3\"");
}

TEST(OutputNaming, BaseNameWithMp3InTheOutputFolder) {
  EXPECT_EQ(OutputFilePath(L"D:\\Out\\", L"C:\\Music\\Song.Live.wma"), L"D:\\Out\\Song.Live.mp3");
  EXPECT_EQ(OutputFileName(L"C:\\Music\\NoPoint"), L"NoPoint.mp3");
  EXPECT_EQ(OutputFileName(L"C:\\Music.d\\NoPoint"), L"NoPoint.mp3");  // folder's point ignored
  EXPECT_EQ(OutputFileName(L"C:track.WMA"), L"track.mp3");             // colon ends the folder part
  EXPECT_EQ(OutputFileName(L"C:\\M\\trailing."), L"trailing.mp3");
  EXPECT_EQ(OutputFileName(L"C:\\M\\.wma"), L".mp3");
  EXPECT_EQ(OutputFileName(L"plain.wma"), L"plain.mp3");
  // A name outside code page 936 and a trail byte 0x5C in the old byte form
  // ("\x8A\x5C") no longer matter: the path is UTF-16.
  EXPECT_EQ(OutputFilePath(L"E:\\出\\", L"C:\\Music\\Ünïcødé 表 ☃.wma"), L"E:\\出\\Ünïcødé 表 ☃.mp3");
  // No separator is added: the folder text comes from the chooser with one.
  EXPECT_EQ(OutputFilePath(L"D:\\Out", L"C:\\a.wma"), L"D:\\Outa.mp3");
}

TEST(FolderChooser, DriveRootStaysFolderGetsBackslash) {
  EXPECT_EQ(FolderChooserResult(L"C:\\"), L"C:\\");
  EXPECT_EQ(FolderChooserResult(L"C:\\Music"), L"C:\\Music\\");
  EXPECT_EQ(FolderChooserResult(L"C:\\A"), L"C:\\A\\");
  EXPECT_EQ(FolderChooserResult(L""), L"");  // nothing chosen
  EXPECT_EQ(FolderChooserResult(L"\\\\srv\\share\\"), L"\\\\srv\\share\\");  // no doubled backslash
}

TEST(DirLevels, EveryPrefixThenTheWholePath) {
  EXPECT_EQ(DirPathLevels(L"D:\\a\\b\\c"), (Paths{L"D:", L"D:\\a", L"D:\\a\\b", L"D:\\a\\b\\c"}));
  // Ending in a backslash: the last two levels name the same folder.
  EXPECT_EQ(DirPathLevels(L"D:\\Out\\"), (Paths{L"D:", L"D:\\Out", L"D:\\Out\\"}));
  EXPECT_EQ(DirPathLevels(L"C:\\"), (Paths{L"C:", L"C:\\"}));
  EXPECT_EQ(DirPathLevels(L"rel"), (Paths{L"rel"}));
  EXPECT_EQ(DirPathLevels(L""), Paths{});
  EXPECT_EQ(DirPathLevels(L"\\top\\x"), (Paths{L"\\top", L"\\top\\x"}));
  EXPECT_EQ(DirPathLevels(L"\\\\srv\\share\\new\\"),
            (Paths{L"\\\\srv\\share", L"\\\\srv\\share\\new", L"\\\\srv\\share\\new\\"}));
  // Deeper than the old fixed list of 254 levels: nothing is cut off.
  std::wstring deep = L"C:";
  for (int i = 0; i < 300; ++i) deep += L"\\d";
  EXPECT_EQ(DirPathLevels(deep).size(), 301u);
  EXPECT_EQ(DirPathLevels(deep).back(), deep);
}

// A fake file system: the set of folders that exist, and a log of creations.
struct FakeFolders {
  std::set<std::wstring> existing;
  std::set<std::wstring> refuse;
  Paths created;
  bool Create(const std::wstring& p) {
    if (refuse.count(p)) return false;
    std::wstring key = p;
    if (key.size() > 3 && key.back() == L'\\') key.pop_back();
    if (existing.count(key)) return false;  // the platform fails on an existing folder
    existing.insert(key);
    created.push_back(p);
    return true;
  }
  bool Exists(const std::wstring& p) const {
    std::wstring key = p;
    if (key.size() > 3 && key.back() == L'\\') key.pop_back();
    return existing.count(key) > 0;
  }
  bool Run(const std::wstring& path) {
    return CreateDirLevels(path, [&](const std::wstring& p) { return Exists(p); },
                           [&](const std::wstring& p) { return Create(p); });
  }
};

TEST(DirLevels, CreatesOnlyMissingLevelsInOrder) {
  FakeFolders fs;
  fs.existing = {L"C:", L"C:\\"};
  EXPECT_TRUE(fs.Run(L"C:\\out\\one\\two\\"));
  EXPECT_EQ(fs.created, (Paths{L"C:\\out", L"C:\\out\\one", L"C:\\out\\one\\two"}));

  fs.created.clear();
  EXPECT_TRUE(fs.Run(L"C:\\out\\one\\two\\"));  // exists now: nothing to do
  EXPECT_TRUE(fs.created.empty());
  EXPECT_TRUE(fs.Run(L"C:\\out\\three"));
  EXPECT_EQ(fs.created, (Paths{L"C:\\out\\three"}));
}

TEST(DirLevels, FailureStopsAtTheFirstLevelAndKeepsEarlierOnes) {
  FakeFolders fs;
  fs.existing = {L"C:"};
  fs.refuse = {L"C:\\a\\bad"};
  EXPECT_FALSE(fs.Run(L"C:\\a\\bad\\deeper\\"));
  EXPECT_EQ(fs.created, (Paths{L"C:\\a"}));
  EXPECT_TRUE(fs.Exists(L"C:\\a"));

  FakeFolders noDrive;  // a drive that does not exist cannot be created
  noDrive.refuse = {L"Q:"};
  EXPECT_FALSE(noDrive.Run(L"Q:\\x\\"));
  EXPECT_TRUE(noDrive.created.empty());
}

TEST(DirLevels, ErrorText) {
  EXPECT_EQ(CreateDirErrorText(L"Q:\\x\\"),
            L"建立目录：Q:\\x\\出错！\r\n\r\n请检查目录名是否正确。");
}

}  // namespace
}  // namespace tonewell
