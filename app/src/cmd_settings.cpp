// xelimg settings export|import: the pseudo-colour object's settings through its INI parameter.
#include "cli_error.h"
#include "command_table.h"
#include "plugin_location.h"
#include "plugin_objects.h"
#include "profile_names.h"
#include "settings_keys.h"
#include "text_encoding.h"

#include <xelfw/IniStore.h>

#include <array>
#include <cstdio>
#include <cstring>

namespace xelimg {

namespace {

constexpr std::array<OptionSpec, 2> kOptions = {{kPluginOption, {"from", true}}};

// Throws CommandError naming what the file lacks when the object did not read every key.
void ImportOrFail(PseudoColorObject& object, const std::filesystem::path& file) {
  xelfw::IniStore store = xelfw::IniStore::Load(file);
  if (object.ImportSettings(store)) return;
  std::string detail;
  for (const std::string& key : UnusablePseudoColorKeys(store, SettingsSection(store, object.Name()))) {
    detail += (detail.empty() ? "" : ", ") + key;
  }
  throw CommandError(file.string() + ": incomplete pseudo-colour settings" +
                     (detail.empty() ? std::string() : " (missing or unreadable: " + detail + ")"));
}

void PrintSettings(const PseudoColorObject& object) {
  const TPseudoColorSettings s = object.Settings();
  const auto line = [](const char* key, const std::string& value) { std::printf("  %-27s %s\n", key, value.c_str()); };
  const auto number = [&](const char* key, double value) { line(key, xelfw::FormatIniDouble(value)); };
  const auto whole = [&](const char* key, unsigned long long value) { line(key, std::to_string(value)); };
  std::printf("[%s]\n", object.Name().c_str());
  const char* modes[] = {"none", "continuous auto contrast", "continuous auto brightness"};
  for (const TPseudoColorKey& key : kPseudoColorKeys) {
    switch (key.kind) {
      case EPseudoColorKeyKind::Double:
        number(key.name, s.*key.number);
        break;
      case EPseudoColorKeyKind::Flag:
        whole(key.name, s.*key.flag != 0);
        break;
      case EPseudoColorKeyKind::AutoMode:
        line(key.name, std::to_string(s.AutoMode) + " (" + (s.AutoMode < 3 ? modes[s.AutoMode] : "none") + ")");
        break;
      case EPseudoColorKeyKind::Text:
        line(key.name, Cp1252ToUtf8(std::string(s.UnitDesc, strnlen(s.UnitDesc, sizeof s.UnitDesc))));
        break;
      case EPseudoColorKeyKind::SliderSteps:
        whole(key.name, object.SliderSteps());
        break;
      case EPseudoColorKeyKind::ProfileIndex: {
        const UINT profile = object.Profile();
        line(key.name, std::to_string(profile) + " (" + ProfileName(profile) + ")");
        break;
      }
    }
  }
}

int RunSettings(const Arguments& args) {
  const auto& operands = args.Operands();
  if (operands.size() != 2 || (operands[0] != "export" && operands[0] != "import")) {
    throw UsageError("usage: xelimg settings export|import FILE.ini (see 'xelimg settings --help')");
  }
  const std::filesystem::path file = operands[1];
  const xelfw::PluginLibrary library(PluginPath(args));
  PseudoColorObject object(library, xelfw::HostOptions{});

  if (operands[0] == "import") {
    if (args.Has("from")) throw UsageError("--from belongs to 'settings export'");
    ImportOrFail(object, file);
    PrintSettings(object);
    return kExitOk;
  }
  if (const auto from = args.Value("from")) ImportOrFail(object, *from);
  xelfw::IniStore store;
  object.ExportSettings(store);
  store.Save(file);
  return kExitOk;
}

}  // namespace

const Command kSettingsCommand{
    "settings",
    "settings export|import FILE.ini [--from FILE.ini]   pseudo-colour settings as INI",
    "usage: xelimg settings export FILE.ini [--from IN.ini] [--plugin PATH]\n"
    "       xelimg settings import FILE.ini [--plugin PATH]\n"
    "\n"
    "export  writes the pseudo-colour object's settings (its defaults, or those read from --from) to\n"
    "        FILE.ini, in the section named after the object.\n"
    "import  reads FILE.ini into a pseudo-colour object and prints the settings it then holds. A file\n"
    "        that lacks a key is refused (exit 2) with the keys it lacks.\n"
    "The section is the one named like the object (\"Pseudo color lut\"), or a file's only section.\n",
    kOptions,
    2,
    RunSettings};

}  // namespace xelimg
