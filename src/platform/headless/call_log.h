// The calls a headless service was asked to make, in order, as short texts
// ("ShowCursor 0", "SystemParameter 97 -1"), for tests to compare.
#pragma once

#include <string>
#include <vector>

namespace orvel {

struct CallLog {
  std::vector<std::string> calls;
  void Add(std::string call) { calls.push_back(std::move(call)); }
};

}  // namespace orvel
