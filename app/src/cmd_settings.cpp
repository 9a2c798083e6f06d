// xelimg settings export|import: the pseudo-colour object's settings through its INI parameter.
#include <xelhost/IniFile.h>
#include <xelhost/errors.h>
#include <xelhost/frame_inputs.h>
#include <xelhost/message_text.h>
#include <xelhost/plugin_objects.h>
#include <xelhost/profile_names.h>
#include <xelhost/settings_file.h>
#include "command_table.h"
#include "exit_status.h"
#include "host_kit.h"
#include "plugin_location.h"

#include <xelfw/IniStore.h>
#include <xelfw/TextEncoding.h>

#include <array>
#include <cstdio>
#include <cstring>

namespace xelimg {

namespace {

constexpr std::array<OptionSpec, 2> kOptions = {{kPluginOption, {"from", true}}};

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
        // A unit may hold anything a file gave it, escape sequences too.
        line(key.name,
             PrintableText(xelfw::Cp1252ToUtf8(std::string(s.UnitDesc, strnlen(s.UnitDesc, sizeof s.UnitDesc)))));
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

// "-" is standard input.
void ImportFrom(PseudoColorObject& object, const std::string& file) {
  if (file == kStandardStream) {
    ImportSettingsText(object, ReadStandardInputText(), "standard input");
  } else {
    ImportSettingsFile(object, file);
  }
}

// "-" is standard output.
void ExportTo(const xelfw::IniStore& store, const std::string& file) {
  if (file != kStandardStream) {
    xelhost::SaveIniFile(store, file);
    return;
  }
  const std::string text = store.ToText();
  if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0) {
    throw CommandError("cannot write to standard output");
  }
}

int RunSettings(const Arguments& args) {
  const auto& operands = args.Operands();
  if (operands.size() != 2 || (operands[0] != "export" && operands[0] != "import")) {
    throw UsageError("usage: xelimg settings export|import FILE.ini (see 'xelimg settings --help')");
  }
  const std::string& file = operands[1];
  const xelfw::PluginLibrary library(PluginPath(args));
  PseudoColorObject object(library, xelfw::HostOptions{});

  if (operands[0] == "import") {
    if (args.Has("from")) throw UsageError("--from belongs to 'settings export'");
    ImportFrom(object, file);
    PrintSettings(object);
    return kExitOk;
  }
  if (const auto from = args.Value("from")) ImportFrom(object, *from);
  xelfw::IniStore store;
  object.ExportSettings(store);
  ExportTo(store, file);
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
    "        FILE.ini, in the section named after the object; '-' writes them to standard output.\n"
    "import  reads FILE.ini into a pseudo-colour object and prints the settings it then holds. A file\n"
    "        may hold only some keys (Lower=0.2 and Upper=0.7 alone is a settings file); the others\n"
    "        keep their values. A key the object does not know, a value that does not read as its\n"
    "        type or lies outside its range is refused (exit 2), naming the key.\n"
    "The section is the one named like the object (\"Pseudo color lut\"), or a file's only section;\n"
    "keys before any section line are the object's. '-' as import's FILE.ini or as IN.ini is standard\n"
    "input.\n",
    kOptions,
    2,
    RunSettings};

}  // namespace xelimg
