// Profile names for the command line; the names and the matching are the framework's.
#include <xelhost/profile_names.h>

#include <xelhost/errors.h>

#include <xelfw/PseudoColorProfiles.h>

#include <cctype>
#include <stdexcept>

namespace xelhost {

std::string ProfileName(unsigned index) { return xelfw::PseudoColorProfileName(index); }

std::string ProfileSlug(unsigned index) {
  std::string slug;
  for (const char c : ProfileName(index)) {
    if (std::isalnum(static_cast<unsigned char>(c)) != 0) {
      slug += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    } else if (!slug.empty() && slug.back() != '-') {
      slug += '-';
    }
  }
  return slug;
}

unsigned FindProfile(std::string_view text, unsigned count) {
  try {
    return xelfw::FindPseudoColorProfile(text, count);
  } catch (const std::invalid_argument& error) {
    throw UsageError(std::string("--profile: ") + error.what());
  }
}

}  // namespace xelhost
