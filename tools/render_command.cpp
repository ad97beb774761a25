// orvel-tool render: frames of a whole saver run on the headless platform,
// written as PNG files.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "command_options.h"
#include "commands.h"
#include "headless_saver_run.h"
#include "platform/linux/system/linux_platform.h"
#include "settings/settings_store.h"

namespace orvel {
namespace {

constexpr const char* kUsage =
    "render --screen WxH --seed N --frames K [--every M] [--background IN | --ini FILE] "
    "--out DIR\n"
    "  W, H: 1..16384; K, M: 1..1000000; writes frames M, 2M, ... up to K as\n"
    "  DIR/frame-NNNNN.png; the desktop is IN at the top-left corner, or black";

constexpr int kMaxFrames = 1000000;

std::string FrameFile(const std::filesystem::path& folder, int frame) {
  char name[32];
  std::snprintf(name, sizeof name, "frame-%05d.png", frame);
  return (folder / name).string();
}

}  // namespace

int RenderCommand(const Arguments& arguments) {
  const auto parsed = ParseFlags(
      arguments, {"--screen", "--seed", "--frames", "--every", "--background", "--ini", "--out"});
  if (!parsed || !parsed->words.empty() || !parsed->Has("--screen") || !parsed->Has("--seed") ||
      !parsed->Has("--frames") || !parsed->Has("--out") ||
      (parsed->Has("--background") && parsed->Has("--ini"))) {
    return UsageError(kUsage);
  }
  const std::optional<ScreenSize> screen = ParseScreenSize(parsed->Value("--screen"));
  const auto seed = ParseWholeNumber<std::uint64_t>(parsed->Value("--seed"), 0, UINT64_MAX);
  const auto frames = ParseWholeNumber(parsed->Value("--frames"), 1, kMaxFrames);
  const auto every =
      parsed->Has("--every") ? ParseWholeNumber(parsed->Value("--every"), 1, kMaxFrames) : 1;
  if (!screen || !seed || !frames || !every) return UsageError(kUsage);

  HeadlessSaverRun run(screen->width, screen->height, *seed);
  run.host.desktop = Image(screen->width, screen->height);
  if (parsed->Has("--background")) {
    const std::string& in = parsed->Value("--background");
    std::optional<Image> desktop = run.pictures.Load(in);
    if (!desktop) return FileError("render", "cannot read the picture " + Quoted(in));
    run.host.desktop = std::move(desktop);
  }
  if (parsed->Has("--ini")) {
    // A missing settings file would quietly give the defaults: a render of
    // something else than was asked for.
    const std::string& ini = parsed->Value("--ini");
    LinuxFileSystem files;
    // As the start-up does: settings and catalogue, then the display order.
    ImageCatalogue& catalogue = run.state.catalogue;
    if (!files.CanOpenForRead(ini) || !LoadSettings(run.state.settings, catalogue, ini, files)) {
      return FileError("render", "cannot read the settings file " + Quoted(ini));
    }
    if (catalogue.ImageCount != 0) {
      BuildDisplayOrder(catalogue, run.state.settings.PictureOrder, run.state.random,
                        run.platform.clock);
    }
  }

  const std::filesystem::path folder = parsed->Value("--out");
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error || !std::filesystem::is_directory(folder)) {
    return FileError("render", "cannot create the folder " + Quoted(folder.string()));
  }

  // Frame n (from 1) runs at the time the paced loop gives it; nothing
  // waits in between.
  Saver& saver = run.saver;
  saver.Form_Load();
  for (int frame = 1; frame <= *frames && !saver.Ended(); ++frame) {
    run.platform.clock.now = FrameDueMs(frame - 1);
    saver.AnimationFrame();
    if (frame % *every != 0) continue;
    const std::string file = FrameFile(folder, frame);
    if (!SavePng(run.host.screen, file)) return FileError("render", "cannot write " + Quoted(file));
  }
  return 0;
}

}  // namespace orvel
