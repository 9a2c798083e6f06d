// Locating and loading the plug-in from the module's own place in the tree.
#include "plugin.h"

#include <xelfw/PluginLocation.h>

#include <dlfcn.h>

#include <cstdlib>
#include <mutex>

namespace xelpy {

namespace {

// Where this shared object was loaded from; Python may have found it through a relative sys.path
// entry, so the answer is made absolute once, before anyone can change the working directory.
const std::filesystem::path& ModuleDirectory() {
  static const std::filesystem::path directory = [] {
    Dl_info info{};
    if (dladdr(reinterpret_cast<const void*>(&PluginPath), &info) == 0 || info.dli_fname == nullptr) {
      return std::filesystem::current_path();
    }
    return std::filesystem::absolute(info.dli_fname).parent_path();
  }();
  return directory;
}

}  // namespace

std::filesystem::path PluginPath() {
  if (const char* given = std::getenv("XELPSEUDOCOLOR_PLUGIN"); given != nullptr && *given != '\0') return given;
  return xelfw::FindPseudoColorPlugin(ModuleDirectory(),
                                      {".", XELPY_INSTALLED_PLUGIN_DIR, XELPY_BUILD_TREE_PLUGIN_DIR});
}

std::shared_ptr<const xelfw::PluginLibrary> Plugin() {
  static std::mutex mutex;
  static std::shared_ptr<const xelfw::PluginLibrary> library;
  const std::lock_guard lock(mutex);
  if (!library) library = std::make_shared<const xelfw::PluginLibrary>(PluginPath());
  return library;
}

void RememberModuleDirectory() { ModuleDirectory(); }

}  // namespace xelpy
