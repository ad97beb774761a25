#include "platform/linux/music/cdio_disc.h"

#include <cdio/cdio.h>
#include <cdio/mmc.h>
#include <sys/stat.h>

#include <filesystem>
#include <memory>

namespace orvel {

namespace {

bool IsDeviceNode(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && (S_ISBLK(info.st_mode) || S_ISCHR(info.st_mode));
}

}  // namespace

std::string DefaultCdDrive() {
  char* found = cdio_get_default_device(nullptr);
  if (found == nullptr) return {};
  std::string drive(found);
  cdio_free(found);
  return drive;
}

CdDrive::CdDrive(std::string path) : path_(std::move(path)) {}

CdDrive::~CdDrive() = default;

void CdDrive::Closer::operator()(CdIo_t* cdio) const { cdio_destroy(cdio); }

std::optional<CdToc> CdDrive::ReadToc() {
  // libcdio reads a table of contents once per opening, so another disc is
  // read through a new one. A drive or image that is not there is not
  // handed to libcdio, which would complain about it on the standard error
  // stream.
  cdio_.reset();
  std::error_code ignored;
  if (path_.empty() || !std::filesystem::exists(path_, ignored)) return std::nullopt;
  cdio_.reset(cdio_open(path_.c_str(), DRIVER_UNKNOWN));
  CdIo_t* cdio = cdio_.get();
  if (cdio == nullptr) return std::nullopt;
  track_t first = cdio_get_first_track_num(cdio);
  track_t count = cdio_get_num_tracks(cdio);
  if (first == CDIO_INVALID_TRACK || count == CDIO_INVALID_TRACK || count == 0) {
    return std::nullopt;
  }
  CdToc toc;
  for (int number = first; number < first + count; ++number) {
    auto track = static_cast<track_t>(number);
    lsn_t start = cdio_get_track_lsn(cdio, track);
    lsn_t last = cdio_get_track_last_lsn(cdio, track);
    if (start == CDIO_INVALID_LSN || last == CDIO_INVALID_LSN || last < start) return std::nullopt;
    toc.tracks.push_back({number, start, static_cast<std::int64_t>(last) + 1,
                          cdio_get_track_format(cdio, track) == TRACK_FORMAT_AUDIO});
  }
  return toc;
}

bool CdDrive::TrayOpen() { return cdio_ && mmc_get_tray_status(cdio_.get()) == 1; }

bool CdDrive::DiscChanged() {
  if (IsDeviceNode(path_)) {
    // A drive keeps the news until it is asked.
    return cdio_ && cdio_get_media_changed(cdio_.get()) == 1;
  }
  std::optional<FileStamp> stamp = StampOf(path_);
  const bool changed = stamped_ && stamp != stamp_;
  stamped_ = true;
  stamp_ = stamp;
  return changed;
}

}  // namespace orvel
