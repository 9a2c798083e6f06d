// The INI keys of the pseudo-colour object's settings, for checking a file before the object reads it.
#pragma once

#include <xelfw/IniStore.h>
#include <xelhost/framework_types.h>

#include <string>

namespace xelhost {

// Throws CommandError naming the file and the first key of the section that the object does not know,
// whose value does not read as its type, or that lies outside its range. Keys may be missing: a
// partial file changes only the keys it has. Text may be UTF-8 or Windows-1252. Keys of the
// framework's own (Host...) are the framework's to read.
void CheckPseudoColorSettingsKeys(const xelfw::IniStore& store, const std::string& section, const std::string& fileName,
                                  unsigned profileCount);

}  // namespace xelhost
