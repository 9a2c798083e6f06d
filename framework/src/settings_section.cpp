// The INI section of an object's settings.
#include <xelfw/SettingsSection.h>

#include <vector>

namespace xelfw {

std::string SettingsSection(const IniStore& store, const std::string& objectName) {
  const std::vector<std::string> sections = store.Sections();
  if (sections.size() == 1 && !store.HasSection(objectName)) return sections.front();
  return objectName;
}

}  // namespace xelfw
