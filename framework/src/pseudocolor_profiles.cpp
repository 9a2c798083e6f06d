// Profile names as the plug-in's catalogue of profiles defines them, in list order.
#include <xelfw/PseudoColorProfiles.h>

#include <array>
#include <cctype>
#include <charconv>
#include <stdexcept>

namespace xelfw {

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
    if (std::isalnum(static_cast<unsigned char>(c)) != 0)
      out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return out;
}

std::string Choices(unsigned count) {
  std::string text;
  for (unsigned i = 0; i < count; ++i) {
    text += (i == 0 ? "" : ", ") + std::to_string(i) + " \"" + PseudoColorProfileName(i) + "\"";
  }
  return text;
}

}  // namespace

std::string PseudoColorProfileName(unsigned index) {
  return index < kProfileNames.size() ? std::string(kProfileNames[index]) : "profile " + std::to_string(index);
}

unsigned FindPseudoColorProfile(std::string_view text, unsigned count) {
  unsigned index = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), index);
  if (!text.empty() && error == std::errc() && end == text.data() + text.size()) {
    if (index >= count)
      throw std::invalid_argument("no profile " + std::string(text) + " (choices: " + Choices(count) + ")");
    return index;
  }
  const std::string wanted = Folded(text);
  unsigned matches = 0;
  for (unsigned i = 0; i < count; ++i) {
    const std::string name = Folded(PseudoColorProfileName(i));
    if (!wanted.empty() && name == wanted) return i;
    if (!wanted.empty() && name.compare(0, wanted.size(), wanted) == 0) {
      index = i;
      ++matches;
    }
  }
  if (matches == 1) return index;
  throw std::invalid_argument("'" + std::string(text) + "' names " + (matches == 0 ? "no" : "more than one") +
                              " profile (choices: " + Choices(count) + ")");
}

}  // namespace xelfw
