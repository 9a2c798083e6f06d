// Default plug-in path, relative to the running program.
#include "plugin_location.h"
#include "host_kit.h"

#include <xelfw/PluginLocation.h>

#include <system_error>

namespace xelimg {

namespace {

std::filesystem::path ProgramDirectory() {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::current_path() : self.parent_path();
}

}  // namespace

std::filesystem::path PluginPath(const Arguments& args) {
  if (const auto given = args.Value(kPluginOption.name)) return *given;
  // An installation keeps the plug-in out of the linker's search path, in its own folder; the
  // install rules define the way there from bin/. A build tree has it in ../lib.
  return xelfw::FindPseudoColorPlugin(ProgramDirectory(), {".", XELIMG_INSTALLED_PLUGIN_DIR, "../lib"});
}

}  // namespace xelimg
