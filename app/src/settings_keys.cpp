// The pseudo-colour settings file's keys and value types, from the key table the plug-in publishes.
#include "settings_keys.h"

#include <XelPseudoColor/SettingsRecord.h>

#include <string_view>

namespace xelimg {

namespace {

bool Usable(const xelfw::IniStore& store, const std::string& section, std::string_view key, TINI_DATA_TYPE type) {
  const auto value = store.GetString(section, key);
  if (!value) return false;
  switch (type) {
    case INI_DATA_DOUBLE:
      return xelfw::ParseIniDouble(*value).has_value();
    case INI_DATA_INT32:
      return xelfw::ParseIniInt(*value).has_value();
    case INI_DATA_STRING:
      return true;
  }
  return false;
}

}  // namespace

std::vector<std::string> UnusablePseudoColorKeys(const xelfw::IniStore& store, const std::string& section) {
  std::vector<std::string> unusable;
  for (const TPseudoColorKey& key : kPseudoColorKeys) {
    if (Usable(store, section, key.name, PseudoColorKeyIniType(key.kind))) continue;
    if (key.fallbackName != nullptr && Usable(store, section, key.fallbackName, INI_DATA_INT32)) continue;
    unusable.emplace_back(key.name);
  }
  return unusable;
}

}  // namespace xelimg
