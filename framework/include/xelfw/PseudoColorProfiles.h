// The pseudo-colour object's colour profiles by index, with the names its dialog shows: the one list
// every host (xelimg, the Python module) names them from.
#pragma once

#include <XelImgProcess/XelTypes.h>

#include <string>
#include <string_view>

namespace xelfw {

// The display name of a profile index, or "profile N" for an index the name list does not know.
XEL_HOST_API std::string PseudoColorProfileName(unsigned index);

// An index ("1"), a whole name or the start of one, compared without case, blanks and dashes
// ("grey", "BlackGreenRed"). Throws std::invalid_argument naming the choices when nothing or more
// than one of the first count profiles matches, or the index is not below count.
XEL_HOST_API unsigned FindPseudoColorProfile(std::string_view text, unsigned count);

}  // namespace xelfw
