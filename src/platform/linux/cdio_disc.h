// What libcdio tells about a CD drive or a disc image.
#pragma once

#include <optional>
#include <string>

#include "platform/linux/cd_positions.h"

namespace orvel {

// The system's default CD drive (a device node); empty when there is none.
std::string DefaultCdDrive();

// The table of contents of the disc in `drive`, a device node or a disc
// image (BIN/CUE and the other image kinds libcdio reads); nullopt when
// there is no disc, the drive or image cannot be read, or it holds no track.
std::optional<CdToc> ReadCdToc(const std::string& drive);

// Whether the drive reports its tray open (never for a disc image).
bool CdTrayOpen(const std::string& drive);

}  // namespace orvel
