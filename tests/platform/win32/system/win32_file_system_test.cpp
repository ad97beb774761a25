#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/win32/system/win32_platform.h"
#include "platform/win32/win32_test_folder.h"
#include "settings/image_catalogue.h"

namespace orvel {
namespace {

// The system's words for a failure: text without its line break, not a bare error number.
bool IsSentence(const std::string& reason) {
  return reason.size() > 3 && reason.find_first_of("\r\n") == std::string::npos &&
         reason.back() != ' ' && !reason.starts_with("Error ");
}

class Win32FileSystemTest : public ::testing::Test {
 protected:
  std::vector<std::string> Sorted(std::optional<std::vector<std::string>> names) const {
    if (!names) return {"(no list)"};
    std::sort(names->begin(), names->end());
    return *names;
  }
  std::vector<std::string> Catalogue() {
    ImageCatalogue catalogue;
    BuildCatalogue(catalogue, folder_.Utf8(), {1, 1, 1, 1}, files_);
    return {catalogue.ImageFiles.begin() + 1,
            catalogue.ImageFiles.begin() + 1 + catalogue.ImageCount};
  }
  std::vector<std::wstring> Entries(const std::wstring& folder) const {
    std::vector<std::wstring> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
      names.push_back(entry.path().filename().wstring());
    std::sort(names.begin(), names.end());
    return names;
  }

  Win32TestFolder folder_;
  Win32FileSystem files_;
};

TEST_F(Win32FileSystemTest, TheScanListsVisibleFilesByPatternWithoutRegardToCase) {
  for (const wchar_t* name : {L"b.bmp", L"B.gif", L"a.jpg", L"Photo.JPG", L"夏 休み.jpg",
                              L"notes.txt", L"clip.wmf", L"hidden.jpg", L"system.gif"}) {
    ASSERT_TRUE(folder_.Write(name));
  }
  ASSERT_TRUE(folder_.SetAttributes(L"hidden.jpg", FILE_ATTRIBUTE_HIDDEN));
  ASSERT_TRUE(folder_.SetAttributes(L"system.gif", FILE_ATTRIBUTE_SYSTEM));
  ASSERT_TRUE(folder_.MakeFolder(L"album.jpg"));

  EXPECT_EQ(Sorted(files_.ListFiles(folder_.Utf8(L"*.jpg"))),
            (std::vector<std::string>{"Photo.JPG", "a.jpg", "夏 休み.jpg"}));
  EXPECT_EQ(Sorted(files_.ListFiles(folder_.Utf8(L"?.GIF"))), std::vector<std::string>{"B.gif"});
  EXPECT_EQ(Sorted(files_.ListFiles(folder_.Utf8(L"*.png"))), std::vector<std::string>{});
  // A root folder's doubled backslash lists the same folder.
  EXPECT_EQ(Sorted(files_.ListFiles(folder_.Utf8() + "\\\\*.txt")),
            std::vector<std::string>{"notes.txt"});
  EXPECT_FALSE(files_.ListFiles(folder_.Utf8(L"missing\\*.jpg")).has_value());
  EXPECT_FALSE(files_.ListFiles(folder_.Utf8(L"notes.txt\\*.jpg")).has_value());

  EXPECT_TRUE(files_.HasEntry(folder_.Utf8(L"album.*")));
  EXPECT_FALSE(files_.HasEntry(folder_.Utf8(L"*.png")));
  EXPECT_TRUE(FolderExists(folder_.Utf8(L"album.jpg"), files_));
  EXPECT_TRUE(FolderExists(folder_.Utf8() + "\\", files_));
  EXPECT_FALSE(FolderExists(folder_.Utf8(L"missing"), files_));

  // Written files are marked for archiving: the second pass takes them all, in byte order.
  const std::string prefix = folder_.Utf8() + "\\";
  EXPECT_EQ(Catalogue(), (std::vector<std::string>{prefix + "B.gif", prefix + "Photo.JPG",
                                                   prefix + "a.jpg", prefix + "b.bmp",
                                                   prefix + "clip.wmf", prefix + "夏 休み.jpg"}));
}

TEST_F(Win32FileSystemTest, AttributesHoldOnlyWhatTheScanTellsApart) {
  for (const wchar_t* name : {L"plain.jpg", L"locked.jpg", L"hidden.jpg"}) {
    ASSERT_TRUE(folder_.Write(name));
  }
  ASSERT_TRUE(folder_.MakeFolder(L"album"));
  ASSERT_TRUE(
      folder_.SetAttributes(L"locked.jpg", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE));
  ASSERT_TRUE(folder_.SetAttributes(L"hidden.jpg", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));

  EXPECT_EQ(files_.Attributes(folder_.Utf8(L"plain.jpg")), FileAttribute::Archive);
  EXPECT_EQ(files_.Attributes(folder_.Utf8(L"locked.jpg")),
            FileAttribute::ReadOnly | FileAttribute::Archive);
  EXPECT_EQ(files_.Attributes(folder_.Utf8(L"hidden.jpg")),
            FileAttribute::Hidden | FileAttribute::Archive);
  EXPECT_EQ(files_.Attributes(folder_.Utf8(L"album")), FileAttribute::Directory);
  EXPECT_EQ(files_.Attributes(folder_.Utf8(L"album") + "\\"), FileAttribute::Directory);
  EXPECT_FALSE(files_.Attributes(folder_.Utf8(L"missing.jpg")).has_value());
  EXPECT_FALSE(files_.Attributes(folder_.Utf8() + "\\plain\xff.jpg").has_value());

  // Read-only together with archive is in no pass; hidden is never listed.
  EXPECT_EQ(Catalogue(), std::vector<std::string>{folder_.Utf8(L"plain.jpg")});
}

TEST_F(Win32FileSystemTest, ReadsOnlyFilesOnADiskUpToTheLimit) {
  ASSERT_TRUE(folder_.MakeFolder(L"音楽 フォルダ"));
  ASSERT_TRUE(folder_.Write(L"音楽 フォルダ\\夏 の歌.mp3", "0123456789"));
  const std::string song = folder_.Utf8(L"音楽 フォルダ\\夏 の歌.mp3");
  EXPECT_TRUE(files_.CanOpenForRead(song));
  EXPECT_EQ(files_.ReadFile(song, 10), "0123456789");
  EXPECT_FALSE(files_.ReadFile(song, 9).has_value());
  ASSERT_TRUE(folder_.Write(L"empty.ini", ""));
  EXPECT_EQ(files_.ReadFile(folder_.Utf8(L"empty.ini"), 0), "");

  ASSERT_TRUE(folder_.SetAttributes(L"empty.ini", FILE_ATTRIBUTE_READONLY));
  EXPECT_TRUE(files_.CanOpenForRead(folder_.Utf8(L"empty.ini")));

  EXPECT_FALSE(files_.CanOpenForRead(folder_.Utf8(L"音楽 フォルダ")));
  EXPECT_FALSE(files_.ReadFile(folder_.Utf8(L"音楽 フォルダ"), 100).has_value());
  EXPECT_FALSE(files_.CanOpenForRead(folder_.Utf8(L"missing.mp3")));
  // A device's name is no file (it may never end or wait for input).
  EXPECT_FALSE(files_.CanOpenForRead("NUL"));
  EXPECT_FALSE(files_.ReadFile("NUL", 100).has_value());

  HANDLE held = CreateFileW((folder_.Wide() + L"\\音楽 フォルダ\\夏 の歌.mp3").c_str(),
                            GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(files_.CanOpenForRead(song));
  CloseHandle(held);
  EXPECT_TRUE(files_.CanOpenForRead(song));
}

TEST_F(Win32FileSystemTest, StampsTellOneVersionOfAFileFromAnother) {
  ASSERT_TRUE(folder_.Write(L"disc.cue", "first"));
  const std::optional<FileStamp> first = files_.Stamp(folder_.Utf8(L"disc.cue"));
  ASSERT_TRUE(first.has_value());
  EXPECT_EQ(first->size, 5u);
  EXPECT_NE(first->modified, 0);
  EXPECT_EQ(files_.Stamp(folder_.Utf8(L"disc.cue")), first);

  // Another file of the same size and time moved in under the name.
  ASSERT_TRUE(folder_.Write(L"other.cue", "other"));
  HANDLE from = CreateFileW((folder_.Wide() + L"\\disc.cue").c_str(), FILE_READ_ATTRIBUTES,
                            FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  HANDLE to = CreateFileW((folder_.Wide() + L"\\other.cue").c_str(), FILE_WRITE_ATTRIBUTES,
                          FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  FILETIME written{};
  ASSERT_TRUE(GetFileTime(from, nullptr, nullptr, &written));
  ASSERT_TRUE(SetFileTime(to, nullptr, nullptr, &written));
  CloseHandle(from);
  CloseHandle(to);
  ASSERT_TRUE(MoveFileExW((folder_.Wide() + L"\\other.cue").c_str(),
                          (folder_.Wide() + L"\\disc.cue").c_str(), MOVEFILE_REPLACE_EXISTING));
  const std::optional<FileStamp> second = files_.Stamp(folder_.Utf8(L"disc.cue"));
  ASSERT_TRUE(second.has_value());
  EXPECT_EQ(second->size, first->size);
  EXPECT_EQ(second->modified, first->modified);
  EXPECT_NE(second, first);

  ASSERT_TRUE(folder_.MakeFolder(L"folder"));
  EXPECT_FALSE(files_.Stamp(folder_.Utf8(L"folder")).has_value());
  EXPECT_FALSE(files_.Stamp(folder_.Utf8(L"missing.cue")).has_value());
}

TEST_F(Win32FileSystemTest, ReplaceWritesTheWholeFileInOneStepAndLeavesNoTemporaryFile) {
  const std::string ini = folder_.Utf8(L"設定 フォルダ\\Orvel\\Orvel.ini");
  std::string binary(70000, '\0');
  for (std::size_t i = 0; i < binary.size(); ++i) binary[i] = static_cast<char>(i * 7 % 251);
  ASSERT_TRUE(files_.ReplaceFile(ini, binary));
  EXPECT_EQ(files_.ReadFile(ini, 1 << 20), binary);
  ASSERT_TRUE(files_.ReplaceFile(ini, "[Section]\r\n"));
  EXPECT_EQ(files_.ReadFile(ini, 1 << 20), "[Section]\r\n");
  EXPECT_EQ(Entries(folder_.Wide() + L"\\設定 フォルダ\\Orvel"),
            std::vector<std::wstring>{L"Orvel.ini"});

  ASSERT_TRUE(folder_.SetAttributes(L"設定 フォルダ\\Orvel\\Orvel.ini", FILE_ATTRIBUTE_HIDDEN));
  ASSERT_TRUE(files_.ReplaceFile(ini, "hidden"));
  EXPECT_EQ(files_.ReadFile(ini, 100), "hidden");
  EXPECT_NE(GetFileAttributesW(WideFromUtf8(ini)->c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);

  wchar_t previous[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, previous);
  ASSERT_TRUE(SetCurrentDirectoryW(folder_.Wide().c_str()));
  const WriteOutcome here = files_.ReplaceFile("here.ini", "here");
  SetCurrentDirectoryW(previous);
  EXPECT_TRUE(here);
  EXPECT_EQ(files_.ReadFile(folder_.Utf8(L"here.ini"), 100), "here");
}

TEST_F(Win32FileSystemTest, AFileThatCannotBeReplacedStaysAsItWasAndTheUserIsToldWhy) {
  ASSERT_TRUE(folder_.Write(L"Orvel.ini", "old"));
  ASSERT_TRUE(folder_.SetAttributes(L"Orvel.ini", FILE_ATTRIBUTE_READONLY));
  const std::string ini = folder_.Utf8(L"Orvel.ini");
  WriteOutcome refused = files_.ReplaceFile(ini, "new");
  EXPECT_FALSE(refused);
  EXPECT_EQ(refused.reason, "The file is read-only");
  EXPECT_EQ(files_.ReadFile(ini, 100), "old");

  // A folder in the way of the file, a file in the way of its folder: the system says why.
  ASSERT_TRUE(folder_.MakeFolder(L"taken.ini"));
  WriteOutcome folderInTheWay = files_.ReplaceFile(folder_.Utf8(L"taken.ini"), "new");
  EXPECT_FALSE(folderInTheWay);
  EXPECT_TRUE(IsSentence(folderInTheWay.reason)) << folderInTheWay.reason;
  EXPECT_NE(folderInTheWay.reason, refused.reason);
  WriteOutcome fileInTheWay = files_.ReplaceFile(folder_.Utf8(L"Orvel.ini\\Orvel.ini"), "new");
  EXPECT_FALSE(fileInTheWay);
  EXPECT_TRUE(IsSentence(fileInTheWay.reason)) << fileInTheWay.reason;
  EXPECT_EQ(files_.ReadFile(ini, 100), "old");

  EXPECT_FALSE(files_.ReplaceFile(folder_.Utf8() + "\\bad\xc3.ini", "new"));
  EXPECT_FALSE(files_.ReplaceFile(folder_.Utf8() + std::string("\\cut\0.ini", 9), "new"));

  EXPECT_EQ(Entries(folder_.Wide()), (std::vector<std::wstring>{L"Orvel.ini", L"taken.ini"}));
}

}  // namespace
}  // namespace orvel
