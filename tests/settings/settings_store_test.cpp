#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include "platform/headless/headless_platform.h"
#include "settings/shift_jis.h"

namespace orvel {
namespace {

constexpr char kIni[] = "C:\\User\\Orvel.ini";
constexpr char kBom[] = "\xEF\xBB\xBF";

class SettingsStore : public testing::Test {
 protected:
  SettingsStore() { host.locations.userSettingsFolder = "C:\\User"; }
  // Stores the text (UTF-8 here) as the Shift-JIS settings file, then loads it.
  void Load(std::string_view text) {
    host.files.AddFile(kIni, Utf8ToShiftJis(text).value());
    LoadSettings(settings, catalogue, host.platform);
  }
  auto Read(std::string_view key) { return ReadIniString(kSettingsSection, key, kIni, host.files); }
  bool Write(std::string_view key, std::string_view value) {
    return WriteIniString(kSettingsSection, key, value, kIni, host.files);
  }
  HeadlessPlatform host{PathStyle::Windows};
  SaverSettings settings;
  ImageCatalogue catalogue;
};

TEST_F(SettingsStore, NumbersTakeTheirDefaultWhenEmptyAndKeepTheFieldWhenBad) {
  Load(
      "[Section]\r\n画像ﾁｪﾝｼﾞ=-0.5\r\n画像のｻｲｽﾞ=a\r\nｲﾝﾀｰﾊﾞﾙ=2.5\r\n画像種類_1=\r\n"
      "画像種類_2=0.99\r\n");
  EXPECT_EQ(settings.PictureOrder, -1);
  EXPECT_EQ(settings.PictureSize, 0);  // kept, not the default
  EXPECT_EQ(settings.ChangeInterval, 2);
  EXPECT_EQ(settings.PictureKinds, (std::array<std::int16_t, 4>{1, 1, 0, 1}));
  Load("[Section]\r\nｲﾝﾀｰﾊﾞﾙ=3.5\r\n");
  EXPECT_EQ(settings.ChangeInterval, 4);
  EXPECT_EQ(settings.PictureSize, 1);  // the default of a missing key
}

TEST_F(SettingsStore, FolderAndMusicFileMustExist) {
  host.files.AddFile("C:\\Pics\\b.bmp");
  host.files.AddFile("C:\\Pics\\a.gif");
  host.files.AddFile("C:\\Music\\song.mp3");
  Load(
      "[Section]\r\n画像種類_0=0\r\n画像のﾌｫﾙﾀﾞ=C:\\Pics\r\nBGM区分=2\r\nBGMﾌｧｲﾙ=C:\\Music\\song."
      "mp3\\");
  EXPECT_EQ(catalogue.ImageFiles, (std::vector<std::string>{"", "C:\\Pics\\a.gif"}));
  EXPECT_EQ(settings.BgmKind, 2);
  EXPECT_EQ(settings.BgmFile, "C:\\Music\\song.mp3\\");  // tested without the separator

  Load("[Section]\r\n画像のﾌｫﾙﾀﾞ=C:\\Gone\r\nBGM区分=2\r\nBGMﾌｧｲﾙ=C:\\Music\\gone.mp3");
  EXPECT_EQ(settings.PictureFolder, "");
  EXPECT_EQ(catalogue.ImageCount, 0);
  EXPECT_EQ(settings.BgmKind, 0);
  Load("[Section]\r\nBGM区分=2\r\n");
  EXPECT_EQ(settings.BgmKind, 0);
  Load("[Section]\r\nBGM区分=1\r\nBGMﾌｧｲﾙ=C:\\Music\\gone.mp3");  // a CD needs no file
  EXPECT_EQ(settings.BgmKind, 1);
}

TEST_F(SettingsStore, WritesGiveTheExactShiftJisFileAndLeaveOtherBytesAlone) {
  ASSERT_TRUE(Write(SettingsKey::PictureFolder, "C:\\写真"));
  EXPECT_EQ(host.files.Contents(kIni),
            "[Section]\r\n\x89\xE6\x91\x9C\x82\xCC\xCC\xAB\xD9\xC0\xDE=C:\\\x8E\xCA\x90^\r\n");

  // An NEC-selected pair in a comment stays as it is.
  const std::string other = "; \xED\x40\r\n[Window]\nx=3\n\r\n[section]\r\nBGM\xCC\xA7\xB2\xD9=a";
  host.files.AddFile(kIni, other);
  ASSERT_TRUE(Write(SettingsKey::BgmKind, "2"));
  EXPECT_EQ(host.files.Contents(kIni), other + "\r\nBGM\x8B\xE6\x95\xAA=2");
}

// The text repeated `count` times.
std::string Times(int count, std::string_view text) {
  std::string repeated;
  for (int i = 0; i < count; ++i) repeated += text;
  return repeated;
}

TEST_F(SettingsStore, ReadsAreCutTo255ShiftJisBytesInEitherEncodingAndNeverInsideACharacter) {
  // 画 takes two bytes in Shift-JIS and three in UTF-8; ｶ one and three.
  const std::string sjis = Times(128, "\x89\xE6");
  const std::string kanji = Times(128, "画");
  host.files.AddFile(kIni, "[Section]\r\nk=a" + sjis);
  EXPECT_EQ(Read("k"), "a" + Times(127, "画"));
  host.files.AddFile(kIni, "[Section]\r\nk=ab" + sjis);
  EXPECT_EQ(Read("k"), "ab" + Times(126, "画"));
  for (const char* mark : {kBom, ""}) {
    host.files.AddFile(kIni, mark + ("[Section]\nk=a" + kanji));
    EXPECT_EQ(Read("k"), "a" + Times(127, "画")) << mark;
    host.files.AddFile(kIni, mark + ("[Section]\nk=ab" + kanji));
    EXPECT_EQ(Read("k"), "ab" + Times(126, "画")) << mark;
    host.files.AddFile(kIni, mark + ("[Section]\nk=" + Times(300, "ｶ")));
    EXPECT_EQ(Read("k"), Times(255, "ｶ")) << mark;
    // A character Shift-JIS cannot hold counts one byte, as the "?" standing for it there.
    host.files.AddFile(kIni, mark + ("[Section]\nk=" + Times(300, "é")));
    EXPECT_EQ(Read("k"), Times(255, "é")) << mark;
    host.files.AddFile(kIni, mark + ("[Section]\nk=" + Times(127, "画") + "\xF0\x9F\x98\x80é"));
    EXPECT_EQ(Read("k"), Times(127, "画") + "\xF0\x9F\x98\x80") << mark;
  }
  // A byte that is not UTF-8 counts one, and is kept.
  host.files.AddFile(kIni, kBom + ("[Section]\nk=" + Times(300, "\xFF")));
  EXPECT_EQ(Read("k"), Times(255, "\xFF"));
}

TEST_F(SettingsStore, AValueReadWholeStaysWholeWhenAWriteMovesTheFileToUtf8) {
  // "C:\" and 126 kanji: 255 bytes in Shift-JIS, 381 in UTF-8.
  const std::string folder = "C:\\" + Times(126, "画");
  host.files.AddFile(folder + "\\a.bmp");
  host.files.AddFile("C:\\Musique\\Été.mp3");
  ASSERT_TRUE(Write(SettingsKey::PictureFolder, folder));
  ASSERT_FALSE(host.files.Contents(kIni)->starts_with(kBom));
  LoadSettings(settings, catalogue, host.platform);
  EXPECT_EQ(settings.PictureFolder, folder);

  ASSERT_TRUE(Write(SettingsKey::BgmKind, "2"));
  ASSERT_TRUE(Write(SettingsKey::BgmFile, "C:\\Musique\\Été.mp3"));
  ASSERT_TRUE(host.files.Contents(kIni)->starts_with(kBom));
  LoadSettings(settings, catalogue, host.platform);
  EXPECT_EQ(settings.PictureFolder, folder);
  EXPECT_EQ(catalogue.ImageCount, 1);
  EXPECT_EQ(settings.BgmFile, "C:\\Musique\\Été.mp3");
  EXPECT_EQ(settings.BgmKind, 2);
}

TEST_F(SettingsStore, AUtf8FileWithoutAMarkIsReadAsUtf8AndWrittenAsItWas) {
  host.files.AddFolder("C:\\写真");
  const std::string utf8 = "[Section]\n画像ﾁｪﾝｼﾞ=1\nｲﾝﾀｰﾊﾞﾙ=30\n画像のﾌｫﾙﾀﾞ=C:\\写真\n";
  host.files.AddFile(kIni, utf8);
  EXPECT_TRUE(LoadSettings(settings, catalogue, host.platform));
  EXPECT_EQ(settings.PictureOrder, 1);
  EXPECT_EQ(settings.ChangeInterval, 30);
  EXPECT_EQ(settings.PictureFolder, "C:\\写真");
  // It stays UTF-8, and gains no mark.
  ASSERT_TRUE(Write(SettingsKey::BgmKind, "1"));
  EXPECT_FALSE(Write(SettingsKey::BgmFile, "\xE7\x94"));  // not UTF-8
  EXPECT_EQ(host.files.Contents(kIni), utf8 + "BGM区分=1\n");
  // A file of ASCII only reads, and takes Japanese keys in Shift-JIS.
  host.files.AddFile(kIni, "[Section]\nk=plain\n");
  EXPECT_EQ(Read("k"), "plain");
  ASSERT_TRUE(Write(SettingsKey::BgmKind, "1"));
  EXPECT_EQ(host.files.Contents(kIni), "[Section]\nk=plain\nBGM\x8B\xE6\x95\xAA=1\n");
  // UTF-8 but for one byte: Shift-JIS, whose pair 83 41 is ア.
  host.files.AddFile(kIni, "[Section]\nk=\x83\x41\n; é\n");
  EXPECT_EQ(Read("k"), "ア");
}

TEST_F(SettingsStore, NamesIgnoreTheCaseOfAsciiLettersOnlyInEitherEncoding) {
  // ア and ヂ are 83 41 and 83 61 in Shift-JIS: alike if folded as ASCII.
  host.files.AddFile(kIni, "[Section]\r\n\x83\x61=1\r\n");
  EXPECT_EQ(Read("ア"), "");
  ASSERT_TRUE(Write("ア", "2"));
  EXPECT_EQ(host.files.Contents(kIni), "[Section]\r\n\x83\x61=1\r\n\x83\x41=2\r\n");
  // In UTF-8 the letter after あ (E3 81 82) is folded as any other.
  for (const char* mark : {kBom, ""}) {
    host.files.AddFile(kIni, mark + std::string("[Section]\nあa=1\n"));
    EXPECT_EQ(Read("あA"), "1") << mark;
    ASSERT_TRUE(Write("あA", "2"));
    EXPECT_EQ(host.files.Contents(kIni), mark + std::string("[Section]\nあA=2\n"));
  }
  // Moving to UTF-8 keeps comparing so.
  host.files.AddFile(kIni, "[Section]\r\n\x82\xA0\x61=1\r\n");  // あa
  ASSERT_TRUE(Write("あA", "é"));
  EXPECT_EQ(host.files.Contents(kIni), kBom + std::string("[Section]\r\nあA=é\r\n"));
}

// Counts the reads of the file system it stands for.
class CountingFileSystem : public MemoryFileSystem {
 public:
  using MemoryFileSystem::MemoryFileSystem;
  std::optional<std::string> ReadFile(const std::string& path, std::size_t maxBytes) override {
    ++reads;
    return MemoryFileSystem::ReadFile(path, maxBytes);
  }
  int reads = 0;
};

TEST_F(SettingsStore, LoadingReadsTheFileOnceAndRefusesOneLargerThanASettingsFile) {
  CountingFileSystem files(PathStyle::Windows);
  const std::string text = *Utf8ToShiftJis("[Section]\r\nｲﾝﾀｰﾊﾞﾙ=15\r\n画像のｻｲｽﾞ=0\r\n");
  const std::string full = text + std::string(kMaxIniFileBytes - text.size(), '\n');
  files.AddFile(kIni, full);
  EXPECT_TRUE(LoadSettings(settings, catalogue, kIni, files));
  EXPECT_EQ(settings.ChangeInterval, 15);
  EXPECT_EQ(settings.PictureSize, 0);
  EXPECT_EQ(files.reads, 1);
  // A write that would take the file past the limit is refused.
  EXPECT_FALSE(WriteIniString(kSettingsSection, "k", "1", kIni, files));
  EXPECT_TRUE(WriteIniString(kSettingsSection, SettingsKey::ChangeInterval, "16", kIni, files));

  // One byte more: the defaults, and the file is never written over.
  files.AddFile(kIni, full + "\n");
  EXPECT_FALSE(LoadSettings(settings, catalogue, kIni, files));
  EXPECT_EQ(settings.ChangeInterval, 10);
  EXPECT_EQ(settings.PictureSize, 1);
  EXPECT_FALSE(WriteIniString(kSettingsSection, SettingsKey::ChangeInterval, "16", kIni, files));
  EXPECT_EQ(files.Contents(kIni), full + "\n");
}

TEST_F(SettingsStore, AReadOnlyFileIsNeverWrittenOverAndAMissingOneIsCreated) {
  host.files.AddFile(kIni, "[Section]\r\nk=1\r\n", FileAttribute::ReadOnly);
  EXPECT_EQ(Read("k"), "1");
  EXPECT_FALSE(Write("k", "2"));
  EXPECT_EQ(host.files.Contents(kIni), "[Section]\r\nk=1\r\n");
  // A missing file is no failure: the defaults, and a write creates it.
  host.files.AddFolder("C:\\Elsewhere");
  EXPECT_TRUE(LoadSettings(settings, catalogue, "C:\\Elsewhere\\Orvel.ini", host.files));
  EXPECT_TRUE(WriteIniString(kSettingsSection, "k", "1", "C:\\Elsewhere\\Orvel.ini", host.files));
}

TEST_F(SettingsStore, AValueShiftJisCannotHoldMovesTheFileToUtf8) {
  const std::string folder = "C:\\Café \xF0\x9F\x98\x80";
  host.files.AddFile(kIni, "; \x83\x81\x83\x82\r\n[Section]\r\nk=1\r\n");  // メモ
  ASSERT_TRUE(Write(SettingsKey::PictureFolder, folder));
  EXPECT_EQ(host.files.Contents(kIni),
            kBom + ("; メモ\r\n[Section]\r\nk=1\r\n画像のﾌｫﾙﾀﾞ=" + folder + "\r\n"));

  // A Shift-JIS file that does not convert whole is left alone.
  const std::string broken = "[Section]\r\n; \x85\x40\r\nk=1\r\n";
  host.files.AddFile(kIni, broken);
  EXPECT_FALSE(Write(SettingsKey::PictureFolder, folder));
  EXPECT_FALSE(Write("a=b", "1"));
  EXPECT_FALSE(Write(" [k", "1"));  // would read as a header
  EXPECT_FALSE(Write(";k", "1"));   // would read as a comment
  EXPECT_EQ(host.files.Contents(kIni), broken);

  // Shift-JIS bytes that form UTF-8 ("ﾌｫ" is CC AB) would read back wrong: written as UTF-8.
  host.files.AddFile(kIni, "");
  ASSERT_TRUE(WriteIniString("Sectionﾌｫ", "Key", "value", kIni, host.files));
  EXPECT_EQ(host.files.Contents(kIni), kBom + std::string("[Sectionﾌｫ]\r\nKey=value\r\n"));
  EXPECT_EQ(ReadIniString("Sectionﾌｫ", "Key", kIni, host.files), "value");
}

TEST_F(SettingsStore, SeveralValuesAreWrittenInOneReplacementOrNotAtAll) {
  host.files.AddFile(kIni, "[Section]\r\nk=1\r\n");
  const std::array<IniEntry, 2> entries = {{{"a", "1"}, {"b", "2"}}};
  host.files.FailReplaces(1);
  IniWriteResult result = WriteIniStrings(kSettingsSection, entries, kIni, host.files);
  EXPECT_FALSE(result.outcome);
  EXPECT_EQ(result.outcome.reason, "No space left on device");
  // One value that cannot be stored refuses them all.
  const std::array<IniEntry, 2> oneBad = {{{"a", "1"}, {"b", "two\nlines"}}};
  EXPECT_FALSE(WriteIniStrings(kSettingsSection, oneBad, kIni, host.files).outcome);
  EXPECT_EQ(host.files.Contents(kIni), "[Section]\r\nk=1\r\n");

  result = WriteIniStrings(kSettingsSection, entries, kIni, host.files);
  EXPECT_TRUE(result.outcome);
  EXPECT_FALSE(result.movedToUtf8);
  EXPECT_EQ(host.files.Contents(kIni), "[Section]\r\nk=1\r\na=1\r\nb=2\r\n");
  const std::array<IniEntry, 1> euro = {{{"c", "\xE2\x82\xAC"}}};
  EXPECT_TRUE(WriteIniStrings(kSettingsSection, euro, kIni, host.files).movedToUtf8);
  EXPECT_FALSE(WriteIniStrings(kSettingsSection, euro, kIni, host.files).movedToUtf8);
}

}  // namespace
}  // namespace orvel
