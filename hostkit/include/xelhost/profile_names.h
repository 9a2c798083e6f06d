// The pseudo-colour object's colour profiles by index, with the names its dialog shows.
#pragma once

#include <xelhost/framework_types.h>
#include <string>
#include <string_view>

namespace xelhost {

// The display name of a profile index, or "profile N" for an index the name list does not know.
std::string ProfileName(unsigned index);
// A short file-name-safe form: "grey-wedge", "clipping-detection".
std::string ProfileSlug(unsigned index);

// An index ("1"), a whole name or the start of one, compared without case, blanks and dashes
// ("grey", "BlackGreenRed"). Throws UsageError naming the choices when nothing or more than one
// profile matches, or the index is not below count.
unsigned FindProfile(std::string_view text, unsigned count);

}  // namespace xelhost
