// Profile names as the plug-in's catalogue of profiles defines them, in list order.
#include "profile_names.h"

#include "cli_error.h"

#include <array>
#include <cctype>
#include <charconv>

namespace xelimg {

namespace {

constexpr std::array<std::string_view, 5> kProfileNames = {
    "Black - Blue - Green - Yellow - Red - White",
    "Grey wedge",
    "Black - Blue - Purple - Red - Orange - Yellow - White",
    "Black - Green - Red - White",
    "Clipping detection",
};

std::string Folded(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (std::isalnum(static_cast<unsigned char>(c)) != 0) out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return out;
}

std::string Choices(unsigned count) {
  std::string text;
  for (unsigned i = 0; i < count; ++i) text += (i == 0 ? "" : ", ") + std::to_string(i) + " \"" + ProfileName(i) + "\"";
  return text;
}

}  // namespace

std::string ProfileName(unsigned index) {
  return index < kProfileNames.size() ? std::string(kProfileNames[index]) : "profile " + std::to_string(index);
}

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
  unsigned index = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), index);
  if (!text.empty() && error == std::errc() && end == text.data() + text.size()) {
    if (index >= count) throw UsageError("--profile: no profile " + std::string(text) + " (choices: " + Choices(count) + ")");
    return index;
  }
  const std::string wanted = Folded(text);
  unsigned matches = 0;
  for (unsigned i = 0; i < count; ++i) {
    const std::string name = Folded(ProfileName(i));
    if (!wanted.empty() && name == wanted) return i;
    if (!wanted.empty() && name.compare(0, wanted.size(), wanted) == 0) {
      index = i;
      ++matches;
    }
  }
  if (matches == 1) return index;
  throw UsageError("--profile: '" + std::string(text) + "' names " + (matches == 0 ? "no" : "more than one") +
                   " profile (choices: " + Choices(count) + ")");
}

}  // namespace xelimg
