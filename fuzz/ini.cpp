// The settings file: any bytes as the file, read and loaded; then one value
// written, which must read back as written while another key keeps its
// value.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/headless/memory_file_system.h"
#include "settings/ascii.h"
#include "settings/ini_codec.h"
#include "settings/settings_store.h"

namespace {

using namespace orvel;

const std::string kFile = "C:\\Orvel\\Orvel.ini";

std::string Trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Whether two names may be the same name to the file (letter case and
// blanks aside).
bool MaySame(const std::string& a, const std::string& b) {
  return AsciiLower(Trimmed(a)) == AsciiLower(Trimmed(b));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string section = input.ConsumeRandomLengthString(40);
  const std::string key = input.ConsumeRandomLengthString(40);
  const std::string value = input.ConsumeRandomLengthString(300);
  const std::string otherKey = input.ConsumeRandomLengthString(40);
  const std::string file = input.ConsumeRemainingBytesAsString();

  FindIniValue(file, section, key, true);
  FindIniValue(file, section, key, false);
  SetIniValue(file, section, key, value, true);

  MemoryFileSystem files(PathStyle::Windows);
  files.AddFile(kFile, file);
  SaverSettings settings;
  ImageCatalogue catalogue;
  LoadSettings(settings, catalogue, kFile, files);

  const std::string otherBefore = ReadIniString(section, otherKey, kFile, files);
  if (!WriteIniString(section, key, value, kFile, files)) return 0;

  // Blanks round a value and one pair of quotes round it do not survive the
  // file, and at most 255 bytes of it are read back.
  const std::string stored = ReadIniString(section, key, kFile, files);
  const bool plain = Trimmed(value) == value &&
                     !(value.size() >= 2 && value.front() == '"' && value.back() == '"');
  if (plain && value.size() <= 80 && stored != value) std::abort();
  if (!MaySame(key, otherKey) && otherBefore.size() <= 80 &&
      ReadIniString(section, otherKey, kFile, files) != otherBefore) {
    std::abort();
  }
  return 0;
}
