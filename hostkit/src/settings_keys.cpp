// Value types and ranges of the pseudo-colour settings file, from the key table the plug-in publishes.
#include <xelhost/settings_keys.h>

#include <xelhost/errors.h>
#include <xelhost/message_text.h>

#include <XelPseudoColor/SettingsRecord.h>
#include <xelfw/TextEncoding.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>
#include <optional>
#include <string_view>

namespace xelhost {

namespace {

constexpr std::size_t kUnitDescBytes = sizeof(TPseudoColorSettings::UnitDesc);

bool EqualNoCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
  });
}

std::string WholeProblem(const std::string& value, long long lowest, long long highest) {
  const auto number = xelfw::ParseIniInt(value);
  if (!number) return QuoteForMessage(value) + " is not a whole number";
  if (*number < lowest || *number > highest) {
    return PrintableText(value) + " lies outside " + std::to_string(lowest) + ".." + std::to_string(highest);
  }
  return {};
}

// Empty when the value is acceptable, else why not. Every double but the display unit's two ends is a
// fraction of the grey range.
std::string Problem(const TPseudoColorKey& key, const std::string& value, unsigned profileCount) {
  switch (key.kind) {
    case EPseudoColorKeyKind::Double: {
      const auto number = xelfw::ParseIniDouble(value);
      if (!number || !std::isfinite(*number)) return QuoteForMessage(value) + " is not a finite number";
      const bool unit = key.number == &TPseudoColorSettings::UnitMin || key.number == &TPseudoColorSettings::UnitMax;
      if (!unit && (*number < 0.0 || *number > 1.0)) return PrintableText(value) + " lies outside 0..1";
      return {};
    }
    case EPseudoColorKeyKind::Flag:
      return WholeProblem(value, 0, 1);
    case EPseudoColorKeyKind::AutoMode:
      return WholeProblem(value, 0, kPseudoColorAutoBrightness);
    case EPseudoColorKeyKind::SliderSteps:
      return WholeProblem(value, 1, std::numeric_limits<UINT>::max());
    case EPseudoColorKeyKind::ProfileIndex:
      return WholeProblem(value, 0, static_cast<long long>(profileCount) - 1);
    case EPseudoColorKeyKind::Text: {
      const auto text = xelfw::TextToCp1252(value);
      if (!text) return QuoteForMessage(value) + " has characters Windows-1252 cannot write";
      if (text->size() >= kUnitDescBytes) return "longer than " + std::to_string(kUnitDescBytes - 1) + " bytes";
      return {};
    }
  }
  return "unknown kind of key";
}

}  // namespace

void CheckPseudoColorSettingsKeys(const xelfw::IniStore& store, const std::string& section, const std::string& fileName,
                                  unsigned profileCount) {
  for (const std::string& name : store.Keys(section)) {
    if (name.starts_with("Host")) continue;
    const std::string value = *store.GetString(section, name);
    std::optional<std::string> problem;
    for (const TPseudoColorKey& key : kPseudoColorKeys) {
      if (EqualNoCase(key.name, name)) {
        problem = Problem(key, value, profileCount);
        break;
      }
      if (key.fallbackName != nullptr && EqualNoCase(key.fallbackName, name)) {
        problem = WholeProblem(value, 0, 1);  // the older on/off switch of auto contrast
        break;
      }
    }
    if (!problem) throw CommandError(fileName + ": " + PrintableText(name) + " is not a pseudo-colour setting");
    if (!problem->empty()) throw CommandError(fileName + ": " + PrintableText(name) + ": " + *problem);
  }
}

}  // namespace xelhost
