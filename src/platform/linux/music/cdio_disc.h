// What libcdio tells about a CD drive or a disc image.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/linux/music/cd_positions.h"
#include "platform/linux/system/file_stamp.h"

typedef struct _CdIo CdIo_t;

namespace orvel {

// The system's default CD drive (a device node); empty when there is none.
std::string DefaultCdDrive();

// A CD drive (a device node) or a disc image (BIN/CUE and the other image
// kinds libcdio reads), kept open from the first reading of its table of
// contents on, so that watching it costs no opening of the drive.
class CdDrive {
 public:
  explicit CdDrive(std::string path);
  virtual ~CdDrive();

  const std::string& Path() const { return path_; }

  // Opens the drive or image afresh and reads the table of contents of its
  // disc; nullopt when there is no disc, the drive or image cannot be read,
  // or it holds no track. The one call that opens the drive: the others ask
  // the drive as it was opened here.
  virtual std::optional<CdToc> ReadToc();
  // Whether the tray is open (never for a disc image).
  virtual bool TrayOpen();
  // Whether the drive may hold another disc, or none, since the last call
  // (or since it was made): what a drive reports as its media-changed
  // state; a disc image has changed when its file has been replaced or
  // rewritten.
  virtual bool DiscChanged();

 private:
  struct Closer {
    void operator()(CdIo_t* cdio) const;
  };

  std::string path_;
  std::unique_ptr<CdIo_t, Closer> cdio_;
  bool stamped_ = false;
  std::optional<FileStamp> stamp_;
};

}  // namespace orvel
