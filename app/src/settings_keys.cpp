// Key list and value types of the pseudo-colour settings file.
#include "settings_keys.h"

#include <array>
#include <string_view>

namespace xelimg {

namespace {

enum class KeyType { Double, Integer, Text };

struct SettingsKey {
  std::string_view name;
  KeyType type;
};

constexpr std::array<SettingsKey, 16> kKeys = {{
    {"Lower", KeyType::Double},
    {"Upper", KeyType::Double},
    {"UnitMin", KeyType::Double},
    {"UnitMax", KeyType::Double},
    {"AutoContrastMinLevel", KeyType::Double},
    {"AutoContrastMaxLevel", KeyType::Double},
    {"AutoContrastDestRange", KeyType::Double},
    {"AutoContrastMinWidthEnable", KeyType::Integer},
    {"AutoCntrastMinWidth", KeyType::Double},
    {"AutoContrastMaxWidthEnable", KeyType::Integer},
    {"AutoCntrastMaxWidth", KeyType::Double},
    {"AutoMode", KeyType::Integer},
    {"UnitUseNormalization", KeyType::Integer},
    {"UnitDesc", KeyType::Text},
    {"SliderSteps", KeyType::Integer},
    {"ColorProfileIndex", KeyType::Integer},
}};

bool Usable(const xelfw::IniStore& store, const std::string& section, std::string_view key, KeyType type) {
  const auto value = store.GetString(section, key);
  if (!value) return false;
  switch (type) {
    case KeyType::Double:
      return xelfw::ParseIniDouble(*value).has_value();
    case KeyType::Integer:
      return xelfw::ParseIniInt(*value).has_value();
    case KeyType::Text:
      return true;
  }
  return false;
}

}  // namespace

std::vector<std::string> UnusablePseudoColorKeys(const xelfw::IniStore& store, const std::string& section) {
  std::vector<std::string> unusable;
  for (const SettingsKey& key : kKeys) {
    if (Usable(store, section, key.name, key.type)) continue;
    if (key.name == "AutoMode" && Usable(store, section, "AutoContrastEnabled", KeyType::Integer)) continue;
    unusable.emplace_back(key.name);
  }
  return unusable;
}

}  // namespace xelimg
