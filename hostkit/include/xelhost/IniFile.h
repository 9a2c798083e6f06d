// Saving an INI store as a file.
#pragma once

#include <xelfw/IniStore.h>
#include <xelhost/framework_types.h>

#include <filesystem>

namespace xelhost {

// Writes through AtomicFile: a failed save leaves the old file as it was. Throws xelfw::IniError.
void SaveIniFile(const xelfw::IniStore& store, const std::filesystem::path& file);

}  // namespace xelhost
