#include <gtest/gtest.h>

#include <string>

#include "platform/linux/dialog/gtk_choosers.h"

namespace orvel {
namespace {

// Whether GTK's own file filter lets the name through.
bool FilterPasses(const std::string& pattern, const std::string& name) {
  GtkFileFilter* filter = gtk_file_filter_new();
  g_object_ref_sink(filter);
  gtk_file_filter_add_pattern(filter, CaseInsensitivePattern(pattern).c_str());
  GtkFileFilterInfo info{};
  info.contains = GTK_FILE_FILTER_DISPLAY_NAME;
  info.display_name = name.c_str();
  const bool passes = gtk_file_filter_filter(filter, &info) != FALSE;
  g_object_unref(filter);
  return passes;
}

TEST(FileChooserPattern, MatchesInAnyLetterCase) {
  EXPECT_EQ(CaseInsensitivePattern("*.MP3"), "*.[mM][pP]3");
  for (const char* name : {"song.mp3", "SONG.MP3", "Song.Mp3", "a.b.mP3"}) {
    EXPECT_TRUE(FilterPasses("*.MP3", name)) << name;
    EXPECT_TRUE(
        FilterPasses("*.wav", std::string(name).replace(std::string(name).size() - 3, 3, "WaV")))
        << name;
  }
  for (const char* name : {"song.mp4", "song.mp3.txt", "mp3", "song.m3"})
    EXPECT_FALSE(FilterPasses("*.MP3", name)) << name;
}

}  // namespace
}  // namespace orvel
