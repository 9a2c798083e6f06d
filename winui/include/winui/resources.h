// Resources per module: dialog templates and icons that a module registers when it loads, looked up
// by module handle and resource ID the way FindResource/LoadIcon/CreateDialog find them on Windows.
#pragma once

#include <winui/windef.h>

#include <dlfcn.h>

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace winui {

// The handle of the module (executable or shared library) whose code calls this: its load address,
// as an HINSTANCE is on Windows. Static, so that each module asks about its own code.
static inline HINSTANCE ThisModule() {
  static const HINSTANCE module = [] {
    Dl_info info{};
    dladdr(reinterpret_cast<void*>(&ThisModule), &info);
    return static_cast<HINSTANCE>(info.dli_fbase);
  }();
  return module;
}

// One control of a dialog template, in dialog units.
struct DialogItemTemplate {
  std::string className;  // "Button", "Edit", "Static", "ComboBox" or a registered class
  std::string text;       // caption; for icons the resource name, "#id" for a numeric one
  int id = 0;
  DWORD style = 0;
  DWORD exStyle = 0;
  int x = 0, y = 0, cx = 0, cy = 0;
};

struct DialogTemplate {
  DWORD style = 0;
  DWORD exStyle = 0;
  int x = 0, y = 0, cx = 0, cy = 0;
  std::string caption;
  std::string fontFace;  // empty: the system font
  int fontPointSize = 0;
  int fontWeight = 0;
  bool fontItalic = false;
  std::vector<DialogItemTemplate> items;
};

// Pixels of one icon image, 0xAARRGGBB, top-down rows.
struct IconImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> argb;
};

// Raw file contents that a resource script's ICON statements name, keyed by the file name as written.
using ResourceFiles = std::map<std::string, std::vector<std::uint8_t>, std::less<>>;

// Parses a resource script (DIALOG/DIALOGEX, ICON, #define/#include of the IDs) and adds what it
// declares to `module`'s table. Returns false with a message (file:line: reason) on the first error;
// nothing is registered then. `includes` supplies the text of files named by #include "...".
bool RegisterResourceScript(HINSTANCE module, std::string_view script, const ResourceFiles& files,
                            const std::map<std::string, std::string, std::less<>>& includes, std::string* error);
void RegisterDialogTemplate(HINSTANCE module, int id, DialogTemplate dialog);
// Decodes .ico (all images, BMP- or PNG-coded) or .png data; false when it is neither.
bool RegisterIcon(HINSTANCE module, int id, const std::vector<std::uint8_t>& fileData, std::string* error);
void UnregisterModuleResources(HINSTANCE module);

const DialogTemplate* FindDialogTemplate(HINSTANCE module, LPCSTR name);
bool HasIcon(HINSTANCE module, LPCSTR name);
// The image of icon `name` closest to `size` pixels square (larger preferred), or null.
const IconImage* FindIconImage(HINSTANCE module, LPCSTR name, int size);

}  // namespace winui
