// orvel-tool settings: the settings and the picture list as the program
// loads them, as one JSON object.
#include <charconv>
#include <cstdio>
#include <optional>

#include "app/app_state.h"
#include "command_options.h"
#include "commands.h"
#include "json_writer.h"
#include "platform/headless/headless_platform.h"
#include "platform/linux/system/linux_platform.h"
#include "settings/settings_store.h"

namespace orvel {
namespace {

constexpr const char* kUsage = "settings [--ini FILE] [--display-order [--seed N]]";

struct Options {
  std::optional<std::string> ini;
  bool displayOrder = false;
  std::optional<std::uint64_t> seed;
};

std::optional<Options> ParseOptions(const Arguments& arguments) {
  Options options;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& flag = arguments[i];
    const bool hasValue = i + 1 < arguments.size();
    if (flag == "--ini" && hasValue) {
      options.ini = arguments[++i];
    } else if (flag == "--display-order") {
      options.displayOrder = true;
    } else if (flag == "--seed" && hasValue) {
      const std::string& text = arguments[++i];
      std::uint64_t seed = 0;
      auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seed);
      if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
      options.seed = seed;
    } else {
      return std::nullopt;
    }
  }
  if (options.seed && !options.displayOrder) return std::nullopt;
  return options;
}

template <typename List, typename Format>
std::string JsonArray(const List& items, std::size_t first, std::size_t last, Format format) {
  std::string text = "[";
  for (std::size_t i = first; i < last; ++i) {
    if (i > first) text += ", ";
    text += format(items[i]);
  }
  return text + "]";
}

}  // namespace

int SettingsCommand(const Arguments& arguments) {
  std::optional<Options> options = ParseOptions(arguments);
  if (!options) return UsageError(kUsage);

  LinuxPlatform host;
  AppState state;
  const std::string ini = options->ini.value_or(IniFilePath(host.locations, host.files));
  if (!LoadSettings(state.settings, state.catalogue, ini, host.files)) {
    return FileError("settings", "cannot read the settings file " + Quoted(ini));
  }

  const SaverSettings& settings = state.settings;
  const ImageCatalogue& catalogue = state.catalogue;
  const auto count = static_cast<std::size_t>(catalogue.ImageCount);
  const auto number = [](auto value) { return std::to_string(value); };
  JsonObject json;
  json.Member("PictureOrder", settings.PictureOrder)
      .Member("PictureSize", settings.PictureSize)
      .Member("ChangeInterval", settings.ChangeInterval)
      .String("PictureFolder", settings.PictureFolder)
      .Member("PictureKinds", JsonArray(settings.PictureKinds, 0, 4, number))
      .Member("BgmKind", settings.BgmKind)
      .Member("BgmRepeatTrack", settings.BgmRepeatTrack)
      .String("BgmFile", settings.BgmFile)
      .Member("ImageCount", catalogue.ImageCount)
      .Member("ImageFiles", JsonArray(catalogue.ImageFiles, 1, count + 1, JsonString));

  if (options->displayOrder) {
    // A seed makes the order repeatable: the clock that re-seeds the
    // generator then counts instead of telling the time.
    FakeClock countingClock;
    Clock& clock = options->seed ? static_cast<Clock&>(countingClock) : host.clock;
    state.random.Seed(options->seed ? *options->seed : clock.SeedFromTime());
    if (count != 0) {
      BuildDisplayOrder(state.catalogue, settings.PictureOrder, state.random, clock);
    }
    json.Member("DisplayOrder", JsonArray(catalogue.DisplayOrder, 1, count + 1, number));
  }
  std::printf("%s\n", json.Close().c_str());
  return 0;
}

}  // namespace orvel
