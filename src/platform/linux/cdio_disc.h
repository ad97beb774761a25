// What libcdio tells about a CD drive or a disc image.
#pragma once

#include <optional>
#include <string>

#include "platform/linux/cd_positions.h"
#include "platform/linux/file_stamp.h"

namespace orvel {

// The system's default CD drive (a device node); empty when there is none.
std::string DefaultCdDrive();

// A CD drive (a device node) or a disc image (BIN/CUE and the other image
// kinds libcdio reads), asked afresh at each call.
class CdDrive {
 public:
  explicit CdDrive(std::string path) : path_(std::move(path)) {}
  virtual ~CdDrive() = default;

  const std::string& Path() const { return path_; }

  // The table of contents of the disc; nullopt when there is no disc, the
  // drive or image cannot be read, or it holds no track.
  virtual std::optional<CdToc> ReadToc();
  // Whether the tray is open (never for a disc image).
  virtual bool TrayOpen();
  // Whether the drive may hold another disc, or none, since the last call
  // (or since it was made): what a drive reports as its media-changed
  // state; a disc image has changed when its file has been replaced or
  // rewritten.
  virtual bool DiscChanged();

 private:
  std::string path_;
  bool stamped_ = false;
  std::optional<FileStamp> stamp_;
};

}  // namespace orvel
