// The commands of orvel-tool. Each takes the arguments after its name and
// returns the exit status: 0 done, 1 an input could not be read or an output
// could not be written (after a message naming it on stderr), 2 bad
// arguments (after a usage line on stderr).
#pragma once

#include <string>
#include <vector>

namespace orvel {

using Arguments = std::vector<std::string>;

int SettingsCommand(const Arguments& arguments);
int DrawOrbsCommand(const Arguments& arguments);
int ComposeCommand(const Arguments& arguments);
int RenderCommand(const Arguments& arguments);
int BenchCommand(const Arguments& arguments);
int SkinCommand(const Arguments& arguments);
int DialogLayoutCommand(const Arguments& arguments);

// Prints "usage: orvel-tool <usage>" to stderr and returns 2.
int UsageError(const std::string& usage);

}  // namespace orvel
