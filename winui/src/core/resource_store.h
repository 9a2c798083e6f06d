// The resource table behind winui/resources.h: what each module registered, by resource name.
#pragma once

#include <winui/resources.h>

#include <string>
#include <vector>

namespace winui::core {

// A resource name: an integer ID, or a string compared without case (as FindResource does).
struct ResourceKey {
  int id = -1;
  std::string name;
  static ResourceKey FromId(int id) { return ResourceKey{id, {}}; }
  static ResourceKey FromName(const std::string& name);
  static ResourceKey FromLpcstr(LPCSTR name);
  bool operator<(const ResourceKey& other) const { return id != other.id ? id < other.id : name < other.name; }
};

// What one resource script declares, before its icons are loaded.
struct ResourceFileSet {
  struct Dialog {
    ResourceKey key;
    DialogTemplate dialog;
  };
  struct Icon {
    ResourceKey key;
    std::string file;
  };
  std::vector<Dialog> dialogs;
  std::vector<Icon> icons;
};

bool ParseResourceScript(std::string_view script, const std::map<std::string, std::string, std::less<>>& includes,
                         ResourceFileSet* out, std::string* error);
// All images of an .ico file, or the one of a .png.
bool DecodeIcon(const std::vector<std::uint8_t>& data, std::vector<IconImage>* images, std::string* error);
void RegisterIconImages(HINSTANCE module, const ResourceKey& key, std::vector<IconImage> images);
// The modules that have registered resources, searched in this order when the current one lacks one.
std::vector<HINSTANCE> ModulesWithResources();

}  // namespace winui::core
