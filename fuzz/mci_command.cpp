// Media command strings: split into words; the words quoted again split
// into the same words, and numbers read back as they were written.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/linux/music/mci_command.h"

using namespace orvel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view command(reinterpret_cast<const char*>(data), size);
  std::optional<std::vector<std::string>> words = SplitMciWords(command);
  if (!words) return 0;
  std::string quoted;
  for (const std::string& word : *words) {
    if (word.find('"') != std::string::npos) return 0;
    quoted += " \"" + word + "\"";
    if (!SameWord(word, LowerWord(word))) std::abort();
    if (std::optional<std::int64_t> number = ParseMciNumber(word)) {
      const std::string digits =
          word.substr(std::min(word.find_first_not_of('0'), word.size() - 1));
      if (std::to_string(*number) != digits) std::abort();
    }
  }
  if (SplitMciWords(quoted) != words) std::abort();
  return 0;
}
