// Key list, value types and ranges of the pseudo-colour settings file.
#include "settings_keys.h"

#include "cli_error.h"

#include <xelfw/TextEncoding.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <limits>
#include <string_view>

namespace xelimg {

namespace {

enum class KeyType { Fraction, Number, Flag, Whole, Text };

struct SettingsKey {
  std::string_view name;
  KeyType type;
  long long lowest = 0;  // Whole keys: the range; the profile index is bounded by the plug-in's count
  long long highest = 0;
};

constexpr long long kProfileLimit = -1;
constexpr std::size_t kUnitDescBytes = 32;

constexpr std::array<SettingsKey, 17> kKeys = {{
    {"Lower", KeyType::Fraction},
    {"Upper", KeyType::Fraction},
    {"UnitMin", KeyType::Number},
    {"UnitMax", KeyType::Number},
    {"AutoContrastMinLevel", KeyType::Fraction},
    {"AutoContrastMaxLevel", KeyType::Fraction},
    {"AutoContrastDestRange", KeyType::Fraction},
    {"AutoContrastMinWidthEnable", KeyType::Flag},
    {"AutoCntrastMinWidth", KeyType::Fraction},
    {"AutoContrastMaxWidthEnable", KeyType::Flag},
    {"AutoCntrastMaxWidth", KeyType::Fraction},
    {"AutoMode", KeyType::Whole, 0, 2},
    {"AutoContrastEnabled", KeyType::Flag},  // what older files have instead of AutoMode
    {"UnitUseNormalization", KeyType::Flag},
    {"UnitDesc", KeyType::Text},
    {"SliderSteps", KeyType::Whole, 1, std::numeric_limits<UINT>::max()},
    {"ColorProfileIndex", KeyType::Whole, 0, kProfileLimit},
}};

bool EqualNoCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
  });
}

// Empty when the value is acceptable, else why not.
std::string Problem(const SettingsKey& key, const std::string& value, unsigned profileCount) {
  switch (key.type) {
    case KeyType::Fraction:
    case KeyType::Number: {
      const auto number = xelfw::ParseIniDouble(value);
      if (!number || !std::isfinite(*number)) return "'" + value + "' is not a finite number";
      if (key.type == KeyType::Fraction && (*number < 0.0 || *number > 1.0)) return value + " lies outside 0..1";
      return {};
    }
    case KeyType::Flag:
    case KeyType::Whole: {
      const auto number = xelfw::ParseIniInt(value);
      const long long highest = key.type == KeyType::Flag ? 1 : key.highest == kProfileLimit ? profileCount - 1LL : key.highest;
      if (!number) return "'" + value + "' is not a whole number";
      if (*number < key.lowest || *number > highest) {
        return value + " lies outside " + std::to_string(key.lowest) + ".." + std::to_string(highest);
      }
      return {};
    }
    case KeyType::Text: {
      const auto text = xelfw::TextToCp1252(value);
      if (!text) return "'" + value + "' has characters Windows-1252 cannot write";
      if (text->size() >= kUnitDescBytes) return "longer than " + std::to_string(kUnitDescBytes - 1) + " bytes";
      return {};
    }
  }
  return "unknown type";
}

}  // namespace

void CheckPseudoColorSettingsKeys(const xelfw::IniStore& store, const std::string& section, const std::string& fileName,
                                  unsigned profileCount) {
  for (const std::string& name : store.Keys(section)) {
    // The framework's own keys (switches, dialog placements) are the framework's to read.
    if (name.starts_with("Host")) continue;
    const auto key = std::find_if(kKeys.begin(), kKeys.end(), [&](const SettingsKey& k) { return EqualNoCase(k.name, name); });
    if (key == kKeys.end()) throw CommandError(fileName + ": " + name + " is not a pseudo-colour setting");
    const std::string problem = Problem(*key, *store.GetString(section, name), profileCount);
    if (!problem.empty()) throw CommandError(fileName + ": " + name + ": " + problem);
  }
}

}  // namespace xelimg
