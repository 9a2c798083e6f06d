// A pseudo-colour settings file applied the way a user expects: checked key by key, and merged over
// the object's current settings, so that a file with only Lower and Upper changes only those. A file
// whose keys come before any section line holds the object's own section.
#pragma once

#include <xelhost/framework_types.h>
#include <xelhost/plugin_objects.h>

#include <filesystem>
#include <string>
#include <string_view>

namespace xelhost {

// Throws CommandError naming the file and the key it refuses; the object is then unchanged.
void ImportSettingsFile(PseudoColorObject& object, const std::filesystem::path& file);

// The same for a file's text read elsewhere (standard input); fileName names it in messages.
void ImportSettingsText(PseudoColorObject& object, std::string_view text, const std::string& fileName);

// Standard input to its end, up to the size of an INI file; throws CommandError beyond that.
std::string ReadStandardInputText();

}  // namespace xelhost
