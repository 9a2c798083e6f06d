#include "xelimg_runner.h"

#include "test_files.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace xelimg_test {

namespace {

std::string Slurp(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

RunResult RunXelimg(const std::vector<std::string>& args, const std::filesystem::path& stdinFile) {
  ScratchDir capture;
  const std::string outFile = (capture / "stdout").string();
  const std::string errFile = (capture / "stderr").string();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!stdinFile.empty()) posix_spawn_file_actions_addopen(&actions, 0, stdinFile.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);

  std::vector<std::string> argvStrings{XELIMG_PATH};
  argvStrings.insert(argvStrings.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& arg : argvStrings) argv.push_back(arg.data());
  argv.push_back(nullptr);

  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, XELIMG_PATH, &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) throw std::runtime_error("cannot start " XELIMG_PATH);
  int status = 0;
  waitpid(pid, &status, 0);

  RunResult result;
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  result.out = Slurp(outFile);
  result.err = Slurp(errFile);
  return result;
}

bool HavePlugin() {
#ifdef XEL_PLUGIN_PATH
  return std::filesystem::exists(XEL_PLUGIN_PATH);
#else
  return false;
#endif
}

std::filesystem::path PluginPath() {
#ifdef XEL_PLUGIN_PATH
  return XEL_PLUGIN_PATH;
#else
  return {};
#endif
}

}  // namespace xelimg_test
