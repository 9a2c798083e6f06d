// The plug-in's place relative to a host.
#include <xelfw/PluginLocation.h>

namespace xelfw {

std::filesystem::path FindPseudoColorPlugin(const std::filesystem::path& directory,
                                            std::initializer_list<std::filesystem::path> ways) {
  std::filesystem::path candidate;
  for (const std::filesystem::path& way : ways) {
    candidate = (directory / way / kPseudoColorPluginFile).lexically_normal();
    if (std::filesystem::exists(candidate)) break;
  }
  return candidate;
}

}  // namespace xelfw
