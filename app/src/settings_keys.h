// The INI keys of the pseudo-colour object's settings, for telling a user what a file lacks.
#pragma once

#include <xelfw/IniStore.h>

#include <string>
#include <vector>

namespace xelimg {

// Keys of the section that are missing or whose values do not read as their type. A key with a
// fallback in the key table (the older on/off switch of auto contrast) counts when the fallback reads.
std::vector<std::string> UnusablePseudoColorKeys(const xelfw::IniStore& store, const std::string& section);

}  // namespace xelimg
