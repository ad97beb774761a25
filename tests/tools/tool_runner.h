// Runs orvel-tool (its path comes from the ORVEL_TOOL environment variable
// that the test build sets) and captures what it prints.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace orvel {

struct ToolResult {
  int status = -1;
  std::string out;
};

// Runs `orvel-tool <arguments>` through the shell; stderr goes to stdout
// when `withErrors` is set.
inline ToolResult RunTool(const std::string& arguments, bool withErrors = false) {
  const char* tool = std::getenv("ORVEL_TOOL");
  std::string command = std::string(tool ? tool : "orvel-tool") + " " + arguments +
                        (withErrors ? " 2>&1" : " 2>/dev/null");
  ToolResult result;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return result;
  char buffer[4096];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.out.append(buffer, got);
  int status = pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

}  // namespace orvel
