// The face the dialog's Gothic is drawn in: its own face where the system
// has it, else the nearest Japanese Gothic that is installed.
#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

namespace orvel {

// Best first, in UTF-8: the dialog's own face; the same face under the
// name that systems in other languages list it by; faces of the same
// family and the Japanese UI Gothic that Windows 10 and 11 install in
// every language; and the IPA font that Linux (and Wine) have, under both
// its names. A face is missed when it is absent, not worse: each draws
// kana, kanji, Latin letters and digits.
inline constexpr std::array<std::string_view, 6> kGothicFaces = {
    "ＭＳ Ｐゴシック", "MS PGothic", "MS UI Gothic", "Yu Gothic UI", "IPAPGothic", "IPA Pゴシック",
};

// The first of kGothicFaces that `installed` (the system's face names)
// holds, the names compared without regard to the case of Latin letters;
// the dialog's own face when none is there, for the system to map as best
// it can.
std::string_view ChooseGothicFace(std::span<const std::string> installed);

}  // namespace orvel
