// A pseudo-colour settings file applied the way a user expects: checked key by key, and merged over
// the object's current settings, so that a file with only Lower and Upper changes only those.
#pragma once

#include <xelhost/framework_types.h>
#include <xelhost/plugin_objects.h>

#include <filesystem>

namespace xelhost {

// Throws CommandError naming the file and the key it refuses; the object is then unchanged.
void ImportSettingsFile(PseudoColorObject& object, const std::filesystem::path& file);

}  // namespace xelhost
