// object-catalogue: a plug-in author's smallest host, built against the installed framework alone.
// Prints each object the plug-in offers, its name and how many dialogs it brings.
#include <xelfw/DialogHost.h>
#include <xelfw/ProcessingHost.h>

#include <cstdio>
#include <exception>

int main() try {
  const xelfw::PluginLibrary library(XEL_PSEUDOCOLOR_PLUGIN);
  for (UINT index = 0; index < library.GetNumObj(); ++index) {
    const UINT type = library.GetObjType(index);
    const xelfw::ProcessingHost host(library, type);
    const xelfw::DialogHost dialogs(host.Object());
    std::printf("%u %s: %u dialogs\n", type, library.GetObjInfo(type, 0), dialogs.Count());
  }
  return 0;
} catch (const std::exception& error) {
  std::fprintf(stderr, "object-catalogue: %s\n", error.what());
  return 1;
}
