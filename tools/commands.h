// The commands of orvel-tool. Each takes the arguments after its name and
// returns the exit status: 0 done, 1 an input could not be read, 2 bad
// arguments (after a usage line on stderr).
#pragma once

#include <string>
#include <vector>

namespace orvel {

using Arguments = std::vector<std::string>;

int SettingsCommand(const Arguments& arguments);

// Prints "usage: orvel-tool <usage>" to stderr and returns 2.
int UsageError(const std::string& usage);

}  // namespace orvel
