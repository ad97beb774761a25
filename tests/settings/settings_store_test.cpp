#include "settings/settings_store.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "platform/headless/headless_platform.h"
#include "platform/linux/linux_platform.h"
#include "settings/shift_jis.h"

namespace orvel {
namespace {

constexpr char kProgram[] = "C:\\Program Files\\Orvel";
constexpr char kUser[] = "C:\\Users\\me\\AppData\\Roaming\\Orvel";
constexpr char kBom[] = "\xEF\xBB\xBF";

class SettingsStore : public testing::Test {
 protected:
  SettingsStore() {
    host.locations.programFolder = kProgram;
    host.locations.userSettingsFolder = kUser;
  }

  static std::string UserIni() { return std::string(kUser) + "\\Orvel.ini"; }

  // Stores the text (UTF-8 here) as the Shift-JIS settings file.
  void StoreIni(std::string_view text) {
    std::optional<std::string> bytes = Utf8ToShiftJis(text);
    ASSERT_TRUE(bytes.has_value());
    host.files.AddFile(UserIni(), *bytes);
  }

  std::string Read(std::string_view key) {
    return ReadIniString(kSettingsSection, key, UserIni(), host.files);
  }
  bool Write(std::string_view key, std::string_view value) {
    return WriteIniString(kSettingsSection, key, value, UserIni(), host.files);
  }
  void Load() { LoadSettings(settings, catalogue, host.platform); }

  HeadlessPlatform host{PathStyle::Windows};
  SaverSettings settings;
  ImageCatalogue catalogue;
};

TEST_F(SettingsStore, NoFileLoadsTheDefaultsAndCreatesNothing) {
  catalogue.ImageCount = 3;
  Load();
  EXPECT_EQ(settings.PictureOrder, 0);
  EXPECT_EQ(settings.PictureSize, 1);
  EXPECT_EQ(settings.ChangeInterval, 10);
  EXPECT_EQ(settings.PictureKinds, (std::array<std::int16_t, 4>{1, 1, 1, 1}));
  EXPECT_EQ(settings.PictureFolder, "");
  EXPECT_EQ(settings.BgmKind, 0);
  EXPECT_EQ(settings.BgmRepeatTrack, 0);
  EXPECT_EQ(settings.BgmFile, "");
  EXPECT_EQ(catalogue.ImageCount, 0);
  EXPECT_EQ(host.files.replaceCalls, 0);
  EXPECT_FALSE(host.files.Contents(UserIni()).has_value());

  // A section without the keys, or another section, reads the same way.
  StoreIni("[Other]\r\nｲﾝﾀｰﾊﾞﾙ=30\r\n[Section]\r\n");
  Load();
  EXPECT_EQ(settings.ChangeInterval, 10);
}

TEST_F(SettingsStore, NumberKeysRoundAndKeepTheFieldWhenTheTextIsBad) {
  struct Case {
    std::string_view key;
    std::string stored;
    std::function<std::int16_t(const SaverSettings&)> field;
    int expected;
  };
  auto order = [](const SaverSettings& s) { return s.PictureOrder; };
  auto size = [](const SaverSettings& s) { return s.PictureSize; };
  auto interval = [](const SaverSettings& s) { return s.ChangeInterval; };
  auto jpg = [](const SaverSettings& s) { return s.PictureKinds[2]; };
  auto kind = [](const SaverSettings& s) { return s.BgmKind; };
  auto track = [](const SaverSettings& s) { return s.BgmRepeatTrack; };
  const std::vector<Case> cases = {
      {SettingsKey::PictureOrder, "1.9", order, 1},
      {SettingsKey::PictureOrder, "-0.5", order, -1},
      {SettingsKey::PictureSize, "a", size, 0},  // kept at 0, not the default 1
      {SettingsKey::PictureSize, "1e400", size, 0},
      {SettingsKey::PictureSize, " 0 ", size, 0},
      {SettingsKey::PictureSize, "", size, 1},
      {SettingsKey::ChangeInterval, "2.5", interval, 2},
      {SettingsKey::ChangeInterval, "3.5", interval, 4},
      {SettingsKey::ChangeInterval, "5.9", interval, 6},
      {SettingsKey::ChangeInterval, "", interval, 10},
      {SettingsKey::ChangeInterval, "40000", interval, 0},
      {SettingsKey::ChangeInterval, "'15'", interval, 15},
      {SettingsKey::PictureKinds[2], "2", jpg, 2},
      {SettingsKey::PictureKinds[2], "0.99", jpg, 0},
      {SettingsKey::PictureKinds[2], "", jpg, 1},
      {SettingsKey::BgmKind, "1", kind, 1},  // the drive is not looked at
      {SettingsKey::BgmRepeatTrack, "1e1", track, 10},
      {SettingsKey::BgmRepeatTrack, "-32769", track, 0},
  };
  for (const Case& c : cases) {
    StoreIni("[Section]\r\n" + std::string(c.key) + "=" + c.stored + "\r\n");
    settings = SaverSettings{};
    Load();
    EXPECT_EQ(c.field(settings), c.expected) << c.key << " = \"" << c.stored << '"';
  }

  // A field that fails keeps whatever it held before.
  StoreIni("[Section]\r\n画像のｻｲｽﾞ=big\r\nｲﾝﾀｰﾊﾞﾙ=70000\r\n");
  settings.PictureSize = 7;
  settings.ChangeInterval = 25;
  Load();
  EXPECT_EQ(settings.PictureSize, 7);
  EXPECT_EQ(settings.ChangeInterval, 25);
}

TEST_F(SettingsStore, StoredFolderIsCheckedAndScanned) {
  host.files.AddFile("C:\\Pics\\b.bmp");
  host.files.AddFile("C:\\Pics\\c.jpg");
  host.files.AddFile("C:\\Pics\\a.gif");
  host.files.AddFolder("C:\\Empty");

  StoreIni("[Section]\r\n画像種類_2=0\r\n画像のﾌｫﾙﾀﾞ=C:\\Pics\r\n");
  Load();
  EXPECT_EQ(settings.PictureFolder, "C:\\Pics");
  ASSERT_EQ(catalogue.ImageCount, 2);  // the kind keys are read before the scan
  EXPECT_EQ(catalogue.ImageFiles[1], "C:\\Pics\\a.gif");
  EXPECT_EQ(catalogue.ImageFiles[2], "C:\\Pics\\b.bmp");

  StoreIni("[Section]\r\n画像のﾌｫﾙﾀﾞ=C:\\Empty\r\n");
  Load();
  EXPECT_EQ(settings.PictureFolder, "C:\\Empty");
  EXPECT_EQ(catalogue.ImageCount, 0);

  StoreIni("[Section]\r\n画像のﾌｫﾙﾀﾞ=C:\\Gone\r\n");
  catalogue.ImageCount = 2;
  Load();
  EXPECT_EQ(settings.PictureFolder, "");
  EXPECT_EQ(catalogue.ImageCount, 0);
}

TEST_F(SettingsStore, MusicFileMustOpenOrTheMusicFallsBackToNone) {
  host.files.AddFile("C:\\Music\\song.mp3", "ID3");
  host.files.AddFile("C:\\Music\\locked.wav", "RIFF");
  host.files.SetUnreadable("C:\\Music\\locked.wav");

  StoreIni("[Section]\r\nBGM区分=2\r\nBGMﾌｧｲﾙ=C:\\Music\\song.mp3\r\n");
  Load();
  EXPECT_EQ(settings.BgmKind, 2);
  EXPECT_EQ(settings.BgmFile, "C:\\Music\\song.mp3");

  // Tested without the trailing separator, kept with it.
  StoreIni("[Section]\r\nBGM区分=2\r\nBGMﾌｧｲﾙ=C:\\Music\\song.mp3\\\r\n");
  Load();
  EXPECT_EQ(settings.BgmKind, 2);
  EXPECT_EQ(settings.BgmFile, "C:\\Music\\song.mp3\\");

  for (std::string_view entry : {"BGMﾌｧｲﾙ=C:\\Music\\missing.mp3", "BGMﾌｧｲﾙ=C:\\Music\\locked.wav",
                                 "BGMﾌｧｲﾙ=C:\\Music", "BGMﾌｧｲﾙ=", "; no file"}) {
    StoreIni("[Section]\r\nBGM区分=2\r\n" + std::string(entry) + "\r\n");
    settings.BgmFile = "stale";
    Load();
    EXPECT_EQ(settings.BgmKind, 0) << entry;
    EXPECT_EQ(settings.BgmFile, "") << entry;
  }

  // A CD setting does not need the file.
  StoreIni("[Section]\r\nBGM区分=1\r\nBGMﾌｧｲﾙ=C:\\Music\\missing.mp3\r\n");
  Load();
  EXPECT_EQ(settings.BgmKind, 1);
  EXPECT_EQ(settings.BgmFile, "");
}

TEST_F(SettingsStore, PosixPathsUseTheirOwnSeparator) {
  HeadlessPlatform posix(PathStyle::Posix);
  posix.locations.programFolder = "/usr/lib/orvel";
  posix.locations.userSettingsFolder = "/home/me/.config/orvel";
  posix.files.AddFile("/home/me/Pictures/x.JPG");
  posix.files.AddFile("/home/me/Music/song.mp3");
  std::string ini = IniFilePath(posix.locations, posix.files);
  EXPECT_EQ(ini, "/home/me/.config/orvel/Orvel.ini");
  ASSERT_TRUE(WriteIniString(kSettingsSection, SettingsKey::PictureFolder, "/home/me/Pictures", ini,
                             posix.files));
  ASSERT_TRUE(WriteIniString(kSettingsSection, SettingsKey::BgmKind, "2", ini, posix.files));
  ASSERT_TRUE(WriteIniString(kSettingsSection, SettingsKey::BgmFile, "/home/me/Music/song.mp3/",
                             ini, posix.files));
  LoadSettings(settings, catalogue, posix.platform);
  EXPECT_EQ(settings.PictureFolder, "/home/me/Pictures");
  ASSERT_EQ(catalogue.ImageCount, 1);
  EXPECT_EQ(catalogue.ImageFiles[1], "/home/me/Pictures/x.JPG");
  EXPECT_EQ(settings.BgmKind, 2);
  EXPECT_EQ(settings.BgmFile, "/home/me/Music/song.mp3/");
  EXPECT_TRUE(FileExists("/home/me/Music/song.mp3/", posix.files));
  EXPECT_FALSE(FileExists("/home/me/Music", posix.files));
}

TEST_F(SettingsStore, ThePortableFileWinsOverThePerUserOne) {
  EXPECT_EQ(IniFilePath(host.locations, host.files), UserIni());
  // The first write creates the per-user file (and its folder).
  ASSERT_TRUE(Write(SettingsKey::ChangeInterval, "20"));
  EXPECT_TRUE(host.files.Contents(UserIni()).has_value());
  Load();
  EXPECT_EQ(settings.ChangeInterval, 20);

  const std::string portable = std::string(kProgram) + "\\Orvel.ini";
  host.files.AddFile(portable, "[Section]\r\n\xB2\xDD\xC0\xB0\xCA\xDE\xD9=30\r\n");
  EXPECT_EQ(IniFilePath(host.locations, host.files), portable);
  Load();
  EXPECT_EQ(settings.ChangeInterval, 30);

  // The folder is used as reported: a drive root gives two separators.
  host.locations.programFolder = "D:\\";
  EXPECT_EQ(IniFilePath(host.locations, host.files), UserIni());
  host.files.AddFile("D:\\Orvel.ini");
  EXPECT_EQ(IniFilePath(host.locations, host.files), "D:\\\\Orvel.ini");
}

TEST_F(SettingsStore, AllKeysWrittenInOrderGiveTheExactShiftJisFile) {
  ASSERT_TRUE(Write(SettingsKey::PictureOrder, "1"));
  ASSERT_TRUE(Write(SettingsKey::PictureSize, "0"));
  ASSERT_TRUE(Write(SettingsKey::ChangeInterval, "15"));
  ASSERT_TRUE(Write(SettingsKey::PictureFolder, "C:\\写真"));
  for (std::string_view key : SettingsKey::PictureKinds) ASSERT_TRUE(Write(key, "1"));
  ASSERT_TRUE(Write(SettingsKey::BgmKind, "0"));
  ASSERT_TRUE(Write(SettingsKey::BgmRepeatTrack, "-1"));
  ASSERT_TRUE(Write(SettingsKey::BgmFile, ""));
  EXPECT_EQ(host.files.Contents(UserIni()),
            "[Section]\r\n"
            "\x89\xE6\x91\x9C\xC1\xAA\xDD\xBC\xDE=1\r\n"
            "\x89\xE6\x91\x9C\x82\xCC\xBB\xB2\xBD\xDE=0\r\n"
            "\xB2\xDD\xC0\xB0\xCA\xDE\xD9=15\r\n"
            "\x89\xE6\x91\x9C\x82\xCC\xCC\xAB\xD9\xC0\xDE=C:\\\x8E\xCA\x90^\r\n"
            "\x89\xE6\x91\x9C\x8E\xED\x97\xDE_0=1\r\n"
            "\x89\xE6\x91\x9C\x8E\xED\x97\xDE_1=1\r\n"
            "\x89\xE6\x91\x9C\x8E\xED\x97\xDE_2=1\r\n"
            "\x89\xE6\x91\x9C\x8E\xED\x97\xDE_3=1\r\n"
            "BGM\x8B\xE6\x95\xAA=0\r\n"
            "BGM\xD8\xCB\xDF\xB0\xC4=-1\r\n"
            "BGM\xCC\xA7\xB2\xD9=\r\n");

  Load();
  EXPECT_EQ(settings.PictureOrder, 1);
  EXPECT_EQ(settings.PictureSize, 0);
  EXPECT_EQ(settings.ChangeInterval, 15);
  EXPECT_EQ(settings.BgmRepeatTrack, -1);
  EXPECT_EQ(Read(SettingsKey::PictureFolder), "C:\\写真");
}

TEST_F(SettingsStore, AWriteChangesOnlyItsOwnValue) {
  const std::string before =
      "; written by hand\r\n"
      "[Window]\n"
      "x=3\n"
      "\r\n"
      "[section]\r\n"
      "  \x89\xE6\x91\x9C\x82\xCC\xCC\xAB\xD9\xC0\xDE = C:\\Old \r\n"
      "unknown=kept\n"
      "BGM\xCC\xA7\xB2\xD9=C:\\a.mp3";
  host.files.AddFile(UserIni(), before);
  ASSERT_TRUE(Write(SettingsKey::PictureFolder, "C:\\New"));
  EXPECT_EQ(host.files.Contents(UserIni()),
            "; written by hand\r\n"
            "[Window]\n"
            "x=3\n"
            "\r\n"
            "[section]\r\n"
            "\x89\xE6\x91\x9C\x82\xCC\xCC\xAB\xD9\xC0\xDE=C:\\New\r\n"
            "unknown=kept\n"
            "BGM\xCC\xA7\xB2\xD9=C:\\a.mp3");
  // A new key after a last line without a line break gets one first.
  const std::string changed = *host.files.Contents(UserIni());
  ASSERT_TRUE(Write(SettingsKey::BgmKind, "2"));
  EXPECT_EQ(host.files.Contents(UserIni()), changed + "\r\nBGM\x8B\xE6\x95\xAA=2");
}

TEST_F(SettingsStore, LongValuesAreCutTo255BytesOnACharacterBoundary) {
  auto repeat = [](std::string_view text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += text;
    return out;
  };
  StoreIni("[Section]\r\nBGMﾌｧｲﾙ=" + std::string(300, 'x') + "\r\n");
  EXPECT_EQ(Read(SettingsKey::BgmFile), std::string(255, 'x'));
  // Two bytes per kanji in the file: 255 bytes would end inside one.
  StoreIni("[Section]\r\nBGMﾌｧｲﾙ=" + repeat("画", 128) + "\r\n");
  EXPECT_EQ(Read(SettingsKey::BgmFile), repeat("画", 127));
  StoreIni("[Section]\r\nBGMﾌｧｲﾙ=a" + repeat("画", 127) + "\r\n");
  EXPECT_EQ(Read(SettingsKey::BgmFile), "a" + repeat("画", 127));
  StoreIni("[Section]\r\nBGMﾌｧｲﾙ=ab" + repeat("画", 127) + "\r\n");
  EXPECT_EQ(Read(SettingsKey::BgmFile), "ab" + repeat("画", 126));
  // Three bytes per kanji in a UTF-8 file.
  host.files.AddFile(UserIni(), kBom + std::string("[Section]\nBGMﾌｧｲﾙ=a") + repeat("画", 85));
  EXPECT_EQ(Read(SettingsKey::BgmFile), "a" + repeat("画", 84));
  // The value ends at a NUL byte, as it always has.
  host.files.AddFile(UserIni(), std::string("[Section]\nk=ab\0cd\n", 18));
  EXPECT_EQ(Read("k"), "ab");
}

TEST_F(SettingsStore, SectionAndKeyAreCutTo127CharactersOnWrite) {
  const std::string longKey(200, 'k');
  ASSERT_TRUE(WriteIniString(std::string(130, 's'), longKey, "v", UserIni(), host.files));
  EXPECT_EQ(host.files.Contents(UserIni()),
            "[" + std::string(127, 's') + "]\r\n" + std::string(127, 'k') + "=v\r\n");
  EXPECT_EQ(ReadIniString(std::string(127, 's'), std::string(127, 'k'), UserIni(), host.files),
            "v");

  // Characters, not bytes.
  std::string kanji;
  for (int i = 0; i < 130; ++i) kanji += "鍵";
  ASSERT_TRUE(Write(kanji, "w"));
  std::string cut;
  for (int i = 0; i < 127; ++i) cut += "鍵";
  EXPECT_EQ(Read(cut), "w");
}

TEST_F(SettingsStore, Utf8FilesWithAByteOrderMarkStayUtf8) {
  host.files.AddFile(UserIni(),
                     kBom + std::string("[Section]\nｲﾝﾀｰﾊﾞﾙ=45\n画像のﾌｫﾙﾀﾞ=C:\\Café\n"));
  EXPECT_EQ(Read(SettingsKey::ChangeInterval), "45");
  EXPECT_EQ(Read(SettingsKey::PictureFolder), "C:\\Café");
  ASSERT_TRUE(Write(SettingsKey::PictureSize, "0"));
  EXPECT_EQ(host.files.Contents(UserIni()),
            kBom + std::string("[Section]\nｲﾝﾀｰﾊﾞﾙ=45\n画像のﾌｫﾙﾀﾞ=C:\\Café\n画像のｻｲｽﾞ=0\n"));
}

TEST_F(SettingsStore, AValueShiftJisCannotHoldMovesTheFileToUtf8) {
  StoreIni("; コメント\r\n[Section]\r\nｲﾝﾀｰﾊﾞﾙ=45\r\n画像のﾌｫﾙﾀﾞ=C:\\写真\r\n");
  const std::string folder = "C:\\Photos\\Café \xF0\x9F\x98\x80";
  ASSERT_TRUE(Write(SettingsKey::PictureFolder, folder));
  EXPECT_EQ(host.files.Contents(UserIni()),
            kBom + std::string("; コメント\r\n[Section]\r\nｲﾝﾀｰﾊﾞﾙ=45\r\n画像のﾌｫﾙﾀﾞ=") + folder +
                "\r\n");
  EXPECT_EQ(Read(SettingsKey::PictureFolder), folder);
  EXPECT_EQ(Read(SettingsKey::ChangeInterval), "45");

  // A Shift-JIS file that does not convert whole is left alone.
  const std::string broken = "[Section]\r\n; \x85\x40\r\nk=1\r\n";
  host.files.AddFile(UserIni(), broken);
  EXPECT_FALSE(Write(SettingsKey::PictureFolder, folder));
  EXPECT_EQ(host.files.Contents(UserIni()), broken);
  // Text it can hold still goes in as Shift-JIS.
  EXPECT_TRUE(Write(SettingsKey::PictureFolder, "C:\\x"));
  EXPECT_FALSE(host.files.Contents(UserIni())->starts_with(kBom));
}

TEST_F(SettingsStore, WritesThatWouldDamageTheFileAreRefused) {
  const std::string before = "[Section]\r\nk=1\r\n";
  host.files.AddFile(UserIni(), before);
  EXPECT_FALSE(Write("k", "\xC3"));        // not UTF-8
  EXPECT_FALSE(Write("k", "two\nlines"));  // would add a line
  EXPECT_FALSE(Write("k", "C:\\a\rb"));
  EXPECT_FALSE(Write("a=b", "1"));  // would read as key "a"
  EXPECT_FALSE(Write(";k", "1"));   // would read as a comment
  EXPECT_FALSE(Write("", "1"));
  EXPECT_FALSE(WriteIniString("Sec]tion", "k", "1", UserIni(), host.files));
  EXPECT_EQ(host.files.Contents(UserIni()), before);
  EXPECT_EQ(host.files.replaceCalls, 0);

  // The platform's failure is reported, and the old file stays.
  host.files.FailReplaces(2);
  EXPECT_FALSE(Write("k", "2"));
  EXPECT_FALSE(Write("k", "Café"));  // the same when the file would move to UTF-8
  EXPECT_EQ(host.files.Contents(UserIni()), before);

  // A file that exists but cannot be read is not replaced by one value.
  host.files.SetUnreadable(UserIni());
  EXPECT_FALSE(Write("k", "3"));
  host.files.SetUnreadable(UserIni(), false);
  EXPECT_EQ(host.files.Contents(UserIni()), before);

  EXPECT_TRUE(Write("k", "4"));
  EXPECT_EQ(Read("k"), "4");
}

class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "orvel-settings-XXXXXX");
    if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  ~TempFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

TEST(SettingsStoreOnDisk, AnInterruptedWriteLeavesTheOldFileWhole) {
  TempFolder folder;
  ASSERT_FALSE(folder.path().empty());
  LinuxFileSystem files;
  const std::string ini = folder.path() + "/Orvel.ini";
  ASSERT_TRUE(WriteIniString(kSettingsSection, SettingsKey::ChangeInterval, "20", ini, files));
  ASSERT_TRUE(
      WriteIniString(kSettingsSection, SettingsKey::PictureFolder, "/home/me/写真", ini, files));
  const std::string before = FileBytes(ini);
  ASSERT_FALSE(before.empty());
  // The real file system refuses "file/": the separator is left out of the test.
  EXPECT_TRUE(FileExists(ini + "/", files));
  EXPECT_FALSE(FileExists(folder.path() + "/", files));

  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // The write runs out of room half way: files may not grow past 4 KiB.
    signal(SIGXFSZ, SIG_IGN);
    rlimit limit{4096, 4096};
    setrlimit(RLIMIT_FSIZE, &limit);
    bool stored =
        WriteIniString(kSettingsSection, SettingsKey::BgmFile, std::string(20000, 'x'), ini, files);
    _exit(stored ? 1 : 0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the failed write was reported as stored";

  EXPECT_EQ(FileBytes(ini), before);
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
    names.push_back(entry.path().filename().string());
  }
  EXPECT_EQ(names, std::vector<std::string>{"Orvel.ini"});
  EXPECT_EQ(ReadIniString(kSettingsSection, SettingsKey::PictureFolder, ini, files),
            "/home/me/写真");
}

}  // namespace
}  // namespace orvel
