#include <gtest/gtest.h>

#include <fnmatch.h>

#include <string>

#include "platform/linux/gtk_choosers.h"

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
  for (const char* name : {"song.mp4", "song.mp3.txt", "mp3", "song.m3"}) {
    EXPECT_FALSE(FilterPasses("*.MP3", name)) << name;
  }
}

TEST(FileChooserPattern, KeepsWildcardsSetsAndEscapes) {
  const std::pair<const char*, const char*> cases[] = {
      {"?x*", "?[xX]*"},     {"[ab]c", "[ab][cC]"},   {"[!a]b", "[!a][bB]"},
      {"[]a]b", "[]a][bB]"}, {"[!]a]b", "[!]a][bB]"}, {"[^]a]b", "[^]a][bB]"},
      {"\\[a]", "\\[[aA]]"}, {"\\*a", "\\*[aA]"},     {"曲.wav", "曲.[wW][aA][vV]"},
      {"a\\", "[aA]\\"},
  };
  for (const auto& [pattern, expected] : cases) {
    EXPECT_EQ(CaseInsensitivePattern(pattern), expected) << pattern;
  }
  // What the sets mean, as the C library matches them.
  EXPECT_EQ(fnmatch(CaseInsensitivePattern("[ab]c").c_str(), "aC", 0), 0);
  EXPECT_NE(fnmatch(CaseInsensitivePattern("[ab]c").c_str(), "Ac", 0), 0);
  EXPECT_EQ(fnmatch(CaseInsensitivePattern("[]a]b").c_str(), "]B", 0), 0);
  EXPECT_EQ(fnmatch(CaseInsensitivePattern("\\*a").c_str(), "*A", 0), 0);
  EXPECT_NE(fnmatch(CaseInsensitivePattern("\\*a").c_str(), "xA", 0), 0);
}

}  // namespace
}  // namespace orvel
