// The plug-in library the module's objects come from: found beside the module the way xelimg finds
// it beside itself, loaded once and shared by every object.
#pragma once

#include <xelfw/PluginLoader.h>

#include <filesystem>
#include <memory>

namespace xelpy {

// XELPSEUDOCOLOR_PLUGIN when set; otherwise the plug-in beside the module, in the plug-in folder of
// an installation, or in the build tree's library folder.
std::filesystem::path PluginPath();
// Fixes the module's own folder; called at import, while a relative sys.path entry still means what
// it meant to the importer.
void RememberModuleDirectory();

// Loads on first use; throws xelfw::PluginError naming the path when the library cannot be loaded.
// Every object keeps the library alive for as long as it lives.
std::shared_ptr<const xelfw::PluginLibrary> Plugin();

}  // namespace xelpy
