#include "dialog/gothic_face.h"

#include <algorithm>

namespace orvel {
namespace {

char LowerLatin(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameFace(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, [](char x, char y) { return LowerLatin(x) == LowerLatin(y); });
}

}  // namespace

std::string_view ChooseGothicFace(std::span<const std::string> installed) {
  for (std::string_view face : kGothicFaces) {
    if (std::ranges::any_of(installed,
                            [&](const std::string& name) { return SameFace(name, face); })) {
      return face;
    }
  }
  return kGothicFaces.front();
}

}  // namespace orvel
