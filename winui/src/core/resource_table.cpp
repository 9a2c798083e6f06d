// The per-module resource table: registration, lookup by name, and LoadIcon.
#include "resource_store.h"

#include <winui/wingdi.h>
#include <winui/winuser.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <mutex>

namespace winui::core {
namespace {

struct IconEntry {
  std::vector<IconImage> images;
  std::map<int, HICON> handles;  // by requested size; made on first LoadIcon and kept
};

struct ModuleResources {
  std::map<ResourceKey, DialogTemplate> dialogs;
  std::map<ResourceKey, IconEntry> icons;
};

std::mutex& TableMutex() {
  static std::mutex mutex;
  return mutex;
}

// Registration order is kept: it is the order the extension-module chain is searched in.
std::vector<std::pair<HINSTANCE, ModuleResources>>& Modules() {
  static std::vector<std::pair<HINSTANCE, ModuleResources>> modules;
  return modules;
}

ModuleResources& ModuleOf(HINSTANCE module) {
  auto& modules = Modules();
  for (auto& [instance, resources] : modules) {
    if (instance == module) return resources;
  }
  modules.emplace_back(module, ModuleResources{});
  return modules.back().second;
}

ModuleResources* FindModule(HINSTANCE module) {
  for (auto& [instance, resources] : Modules()) {
    if (instance == module) return &resources;
  }
  return nullptr;
}

const IconImage* BestImage(const std::vector<IconImage>& images, int size) {
  const IconImage* best = nullptr;
  for (const IconImage& image : images) {
    if (!best) {
      best = &image;
      continue;
    }
    const bool fits = image.width >= size, bestFits = best->width >= size;
    if (fits != bestFits ? fits : (fits ? image.width < best->width : image.width > best->width)) best = &image;
  }
  return best;
}

}  // namespace

ResourceKey ResourceKey::FromName(const std::string& name) {
  if (name.size() > 1 && name[0] == '#') return FromId(std::atoi(name.c_str() + 1));
  ResourceKey key;
  key.name = name;
  for (char& c : key.name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return key;
}

ResourceKey ResourceKey::FromLpcstr(LPCSTR name) {
  if (IS_INTRESOURCE(name)) return FromId(static_cast<int>(reinterpret_cast<UINT_PTR>(name)));
  return FromName(name);
}

void RegisterIconImages(HINSTANCE module, const ResourceKey& key, std::vector<IconImage> images) {
  std::lock_guard lock(TableMutex());
  ModuleOf(module).icons[key] = IconEntry{std::move(images), {}};
}

std::vector<HINSTANCE> ModulesWithResources() {
  std::lock_guard lock(TableMutex());
  std::vector<HINSTANCE> out;
  for (const auto& entry : Modules()) out.push_back(entry.first);
  return out;
}

}  // namespace winui::core

namespace winui {
using core::ResourceKey;

bool RegisterResourceScript(HINSTANCE module, std::string_view script, const ResourceFiles& files,
                            const std::map<std::string, std::string, std::less<>>& includes, std::string* error) {
  core::ResourceFileSet set;
  if (!core::ParseResourceScript(script, includes, &set, error)) return false;
  // Every icon is decoded before anything is registered, so a bad file leaves the table unchanged.
  std::vector<std::pair<ResourceKey, std::vector<IconImage>>> icons;
  for (const auto& icon : set.icons) {
    std::string file = icon.file;
    std::replace(file.begin(), file.end(), '\\', '/');
    auto it = files.find(file);
    if (it == files.end()) it = files.find(icon.file);
    if (it == files.end()) {
      if (error) *error = "icon file \"" + icon.file + "\" not supplied";
      return false;
    }
    std::vector<IconImage> images;
    std::string why;
    if (!core::DecodeIcon(it->second, &images, &why)) {
      if (error) *error = icon.file + ": " + why;
      return false;
    }
    icons.emplace_back(icon.key, std::move(images));
  }
  std::lock_guard lock(core::TableMutex());
  core::ModuleResources& table = core::ModuleOf(module);
  for (auto& d : set.dialogs) table.dialogs[d.key] = std::move(d.dialog);
  for (auto& [key, images] : icons) table.icons[key] = core::IconEntry{std::move(images), {}};
  return true;
}

void RegisterDialogTemplate(HINSTANCE module, int id, DialogTemplate dialog) {
  std::lock_guard lock(core::TableMutex());
  core::ModuleOf(module).dialogs[ResourceKey::FromId(id)] = std::move(dialog);
}

bool RegisterIcon(HINSTANCE module, int id, const std::vector<std::uint8_t>& fileData, std::string* error) {
  std::vector<IconImage> images;
  if (!core::DecodeIcon(fileData, &images, error)) return false;
  core::RegisterIconImages(module, ResourceKey::FromId(id), std::move(images));
  return true;
}

void UnregisterModuleResources(HINSTANCE module) {
  std::lock_guard lock(core::TableMutex());
  auto& modules = core::Modules();
  for (auto it = modules.begin(); it != modules.end(); ++it) {
    if (it->first != module) continue;
    for (auto& [key, icon] : it->second.icons) {
      for (auto& [size, handle] : icon.handles) DestroyIcon(handle);
    }
    modules.erase(it);
    return;
  }
}

const DialogTemplate* FindDialogTemplate(HINSTANCE module, LPCSTR name) {
  std::lock_guard lock(core::TableMutex());
  core::ModuleResources* table = core::FindModule(module);
  if (!table) return nullptr;
  auto it = table->dialogs.find(ResourceKey::FromLpcstr(name));
  return it == table->dialogs.end() ? nullptr : &it->second;
}

bool HasIcon(HINSTANCE module, LPCSTR name) {
  std::lock_guard lock(core::TableMutex());
  core::ModuleResources* table = core::FindModule(module);
  return table && table->icons.count(ResourceKey::FromLpcstr(name)) != 0;
}

const IconImage* FindIconImage(HINSTANCE module, LPCSTR name, int size) {
  std::lock_guard lock(core::TableMutex());
  core::ModuleResources* table = core::FindModule(module);
  if (!table) return nullptr;
  auto it = table->icons.find(ResourceKey::FromLpcstr(name));
  return it == table->icons.end() ? nullptr : core::BestImage(it->second.images, size);
}

}  // namespace winui

namespace {

// size 0: the first image's own size.
HICON LoadIconAt(HINSTANCE instance, LPCSTR name, int size) {
  std::lock_guard lock(winui::core::TableMutex());
  winui::core::ModuleResources* table = winui::core::FindModule(instance);
  if (!table) return nullptr;
  auto it = table->icons.find(winui::core::ResourceKey::FromLpcstr(name));
  if (it == table->icons.end() || it->second.images.empty()) return nullptr;
  if (size == 0) size = it->second.images.front().width;
  HICON& handle = it->second.handles[size];
  if (!handle) {
    const winui::IconImage* image = winui::core::BestImage(it->second.images, size);
    if (!image) return nullptr;
    handle = ::CreateIconFromPixels(image->width, image->height, image->argb.data());
  }
  return handle;
}

}  // namespace

HICON LoadIcon(HINSTANCE instance, LPCSTR name) { return LoadIconAt(instance, name, GetSystemMetrics(SM_CXICON)); }

HANDLE LoadImage(HINSTANCE instance, LPCSTR name, UINT type, int cx, int cy, UINT flags) {
  if (type != IMAGE_ICON) return nullptr;
  if (flags & LR_DEFAULTSIZE) {
    if (cx == 0) cx = GetSystemMetrics(SM_CXICON);
    if (cy == 0) cy = GetSystemMetrics(SM_CYICON);
  }
  // Icons are square here; the width picks the image.
  return LoadIconAt(instance, name, cx != 0 ? cx : cy);
}
