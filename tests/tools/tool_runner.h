// Runs orvel-tool (ORVEL_TOOL, set by ctest, or the one beside the test program) in a fresh
// folder for the files a test reads and writes, and captures what it prints.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "graphics/image.h"
#include "platform/linux/pictures/pixbuf_pictures.h"

namespace orvel {

struct ToolResult {
  int status = -1;
  std::string out;  // stdout and stderr
};

class ToolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = std::filesystem::temp_directory_path() / ("orvel-tool-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
  }
  void TearDown() override { std::filesystem::remove_all(dir); }

  static std::string ToolPath() {
    if (const char* tool = std::getenv("ORVEL_TOOL")) return tool;
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? "orvel-tool" : (self.parent_path() / "orvel-tool").string();
  }

  // Runs `orvel-tool <arguments>` through the shell, in the folder.
  ToolResult Run(const std::string& arguments) const {
    const int status = std::system(
        ("cd '" + dir.string() + "' && '" + ToolPath() + "' " + arguments + " >.out 2>&1").c_str());
    std::ifstream out(dir / ".out", std::ios::binary);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1,
            std::string(std::istreambuf_iterator<char>(out), {})};
  }
  std::string Path(const std::string& name) const { return (dir / name).string(); }
  Image Load(const std::string& name) const {
    return PixbufPictureLoader().Load(Path(name)).value_or(Image());
  }

  std::filesystem::path dir;
};

}  // namespace orvel
