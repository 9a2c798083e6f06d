// Runs the built xelimg as a separate process, as a user's shell would.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace xelimg_test {

struct RunResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// stdinFile empty: standard input is left as it is.
RunResult RunXelimg(const std::vector<std::string>& args, const std::filesystem::path& stdinFile = {});

// True when the build made the plug-in; tests that need it skip otherwise.
bool HavePlugin();
std::filesystem::path PluginPath();

}  // namespace xelimg_test
