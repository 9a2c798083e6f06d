// Default plug-in path, relative to the running program.
#include "plugin_location.h"

#include <system_error>

namespace xelimg {

namespace {

constexpr const char* kPluginFile = "libXelPseudoColor.so";

std::filesystem::path ProgramDirectory() {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::current_path() : self.parent_path();
}

}  // namespace

std::filesystem::path PluginPath(const Arguments& args) {
  if (const auto given = args.Value(kPluginOption.name)) return *given;
  const std::filesystem::path dir = ProgramDirectory();
  const std::filesystem::path beside = dir / kPluginFile;
  if (std::filesystem::exists(beside)) return beside;
  // An installation keeps the plug-in out of the linker's search path, in its own folder; the
  // install rules define the way there from bin/.
  const std::filesystem::path installed = (dir / XELIMG_INSTALLED_PLUGIN_DIR / kPluginFile).lexically_normal();
  if (std::filesystem::exists(installed)) return installed;
  return (dir / ".." / "lib" / kPluginFile).lexically_normal();
}

}  // namespace xelimg
