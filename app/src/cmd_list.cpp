// xelimg list: the plug-in's catalogue.
#include <xelhost/errors.h>
#include "command_table.h"
#include "exit_status.h"
#include "host_kit.h"
#include "plugin_location.h"

#include <xelfw/PluginLoader.h>

#include <array>
#include <cstdio>

namespace xelimg {

namespace {

constexpr std::array<OptionSpec, 1> kOptions = {kPluginOption};

int RunList(const Arguments& args) {
  const xelfw::PluginLibrary library(PluginPath(args));
  const UINT count = library.GetNumObj();
  std::printf("%-5s  %-4s  %s\n", "index", "type", "name");
  for (UINT index = 0; index < count; ++index) {
    const UINT type = library.GetObjType(index);
    const char* name = library.GetObjInfo(type, 0);
    std::printf("%5u  %4u  %s\n", index, type, name != nullptr ? name : "(no name)");
  }
  return kExitOk;
}

}  // namespace

const Command kListCommand{
    "list",
    "list [--plugin PATH]                       the plug-in's processing objects",
    "usage: xelimg list [--plugin PATH]\n"
    "\n"
    "Loads the plug-in and prints its catalogue: index, object type code and name.\n"
    "  --plugin PATH   the plug-in library (default: libXelPseudoColor.so beside xelimg, in ../lib,\n"
    "                  or in the installed lib/XelPseudoColor)\n",
    kOptions,
    0,
    RunList};

}  // namespace xelimg
