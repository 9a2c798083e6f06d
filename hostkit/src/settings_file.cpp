// Checking and merging pseudo-colour settings files.
#include <xelhost/framework_types.h>
#include <xelhost/settings_file.h>

#include <xelhost/errors.h>
#include <xelhost/settings_keys.h>

#include <xelfw/TextEncoding.h>

namespace xelhost {

void ImportSettingsFile(PseudoColorObject& object, const std::filesystem::path& file) {
  const std::string fileName = file.string();
  const xelfw::IniStore given = xelfw::IniStore::Load(file, xelfw::IniSyntax::Strict);
  const std::string section = SettingsSection(given, object.Name());
  if (!given.HasSection(section)) throw CommandError(fileName + ": no [" + object.Name() + "] section");
  CheckPseudoColorSettingsKeys(given, section, fileName, object.ProfileCount());

  xelfw::IniStore merged;
  object.ExportSettings(merged);
  const std::string& target = object.Name();
  for (const std::string& key : given.Keys(section)) {
    const std::string value = *given.GetString(section, key);
    // Checked above: only UnitDesc may hold more than ASCII, in a form Windows-1252 can write.
    merged.SetString(target, key, *xelfw::TextToCp1252(value));
  }
  // The object reads the older key only where the newer one is missing.
  if (given.HasKey(section, "AutoContrastEnabled") && !given.HasKey(section, "AutoMode")) {
    merged.RemoveKey(target, "AutoMode");
  }
  const double lower = *merged.GetDouble(target, "Lower");
  const double upper = *merged.GetDouble(target, "Upper");
  if (lower > upper) {
    throw CommandError(fileName + ": Lower " + xelfw::FormatIniDouble(lower) + " lies above Upper " +
                       xelfw::FormatIniDouble(upper));
  }
  if (!object.ImportSettings(merged)) throw CommandError(fileName + ": the object did not take every setting");
}

}  // namespace xelhost
