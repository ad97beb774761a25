#include "platform/linux/cdio_disc.h"

#include <cdio/cdio.h>
#include <cdio/mmc.h>
#include <sys/stat.h>

#include <filesystem>
#include <memory>

namespace orvel {

namespace {

struct CdioCloser {
  void operator()(CdIo_t* cdio) const { cdio_destroy(cdio); }
};
using CdioHandle = std::unique_ptr<CdIo_t, CdioCloser>;

// A drive or image that is not there is not handed to libcdio, which would
// complain about it on the standard error stream.
CdioHandle OpenDrive(const std::string& drive) {
  std::error_code ignored;
  if (drive.empty() || !std::filesystem::exists(drive, ignored)) return nullptr;
  return CdioHandle(cdio_open(drive.c_str(), DRIVER_UNKNOWN));
}

}  // namespace

std::string DefaultCdDrive() {
  char* found = cdio_get_default_device(nullptr);
  if (found == nullptr) return {};
  std::string drive(found);
  cdio_free(found);
  return drive;
}

std::optional<CdToc> CdDrive::ReadToc() {
  CdioHandle cdio = OpenDrive(path_);
  if (!cdio) return std::nullopt;
  track_t first = cdio_get_first_track_num(cdio.get());
  track_t count = cdio_get_num_tracks(cdio.get());
  if (first == CDIO_INVALID_TRACK || count == CDIO_INVALID_TRACK || count == 0) {
    return std::nullopt;
  }
  CdToc toc;
  for (int number = first; number < first + count; ++number) {
    auto track = static_cast<track_t>(number);
    lsn_t start = cdio_get_track_lsn(cdio.get(), track);
    lsn_t last = cdio_get_track_last_lsn(cdio.get(), track);
    if (start == CDIO_INVALID_LSN || last == CDIO_INVALID_LSN || last < start) return std::nullopt;
    toc.tracks.push_back({number, start, static_cast<std::int64_t>(last) + 1,
                          cdio_get_track_format(cdio.get(), track) == TRACK_FORMAT_AUDIO});
  }
  return toc;
}

bool CdDrive::TrayOpen() {
  CdioHandle cdio = OpenDrive(path_);
  return cdio && mmc_get_tray_status(cdio.get()) == 1;
}

bool CdDrive::DiscChanged() {
  struct stat info {};
  if (::stat(path_.c_str(), &info) == 0 && (S_ISBLK(info.st_mode) || S_ISCHR(info.st_mode))) {
    // A drive keeps the news until it is asked.
    CdioHandle cdio = OpenDrive(path_);
    return cdio && cdio_get_media_changed(cdio.get()) == 1;
  }
  std::optional<FileStamp> stamp = StampOf(path_);
  const bool changed = stamped_ && stamp != stamp_;
  stamped_ = true;
  stamp_ = stamp;
  return changed;
}

}  // namespace orvel
