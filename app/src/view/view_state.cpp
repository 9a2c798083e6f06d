// Reading and writing the viewer's state file.
#include "view/view_state.h"
#include "host_kit.h"

#include <xelhost/IniFile.h>
#include <xelhost/errors.h>
#include <xelhost/settings_file.h>

#include <xelfw/IniStore.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <system_error>

namespace xelimg::view {

namespace {

constexpr char kSection[] = "Viewer";
constexpr char kEpsilonKey[] = "Epsilon";
constexpr char kAreaKey[] = "Area";
constexpr char kWindowKeySuffix[] = "Window";

struct DamagedState : std::runtime_error {
  using std::runtime_error::runtime_error;
};

std::string FormatRect(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}

RECT ParseRect(const std::string& key, const std::string& text) {
  LONG values[4];
  std::stringstream parts(text);
  std::string part;
  int count = 0;
  while (std::getline(parts, part, ',')) {
    const std::optional<long long> n = xelfw::ParseIniInt(part);
    if (count == 4 || !n || *n < -100000 || *n > 100000) throw DamagedState(key + " is not four whole numbers");
    values[count++] = static_cast<LONG>(*n);
  }
  if (count != 4 || values[2] <= values[0] || values[3] <= values[1]) {
    throw DamagedState(key + " is not a rectangle (left,top,right,bottom)");
  }
  return RECT{values[0], values[1], values[2], values[3]};
}

ViewState ReadViewer(const xelfw::IniStore& store) {
  ViewState state;
  for (const std::string& key : store.Keys(kSection)) {
    const std::string value = *store.GetString(kSection, key);
    const std::string suffix = kWindowKeySuffix;
    if (key == kEpsilonKey) {
      const std::optional<double> epsilon = xelfw::ParseIniDouble(value);
      if (!epsilon || !(*epsilon > 0.0 && *epsilon <= 1.0)) throw DamagedState("Epsilon must lie in (0, 1]");
      state.epsilon = epsilon;
    } else if (key == kAreaKey) {
      state.area = ParseRect(key, value);
      if (state.area->left < 0 || state.area->top < 0)
        throw DamagedState("Area must not start left of or above the picture");
    } else if (key.size() > suffix.size() && key.ends_with(suffix)) {
      state.windows[key.substr(0, key.size() - suffix.size())] = ParseRect(key, value);
    } else {
      throw DamagedState("unknown key " + key);
    }
  }
  return state;
}

}  // namespace

std::filesystem::path DefaultStateFile() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config && *config == '/') return std::filesystem::path(config) / "xelimg" / "view.ini";
  const char* home = std::getenv("HOME");
  if (home && *home == '/') return std::filesystem::path(home) / ".config" / "xelimg" / "view.ini";
  return {};
}

std::optional<ViewState> LoadViewState(const std::filesystem::path& file, PseudoColorObject& pseudoColor) {
  std::error_code error;
  if (!std::filesystem::exists(file, error)) return std::nullopt;
  try {
    const xelfw::IniStore store = xelfw::IniStore::Load(file);
    if (!store.HasSection(kSection)) throw DamagedState(std::string("no [") + kSection + "] section");
    ViewState state = ReadViewer(store);
    // Last, because it is the one part that changes the object; it refuses a file without changing it.
    if (store.HasSection(pseudoColor.Name())) ImportSettingsFile(pseudoColor, file);
    return state;
  } catch (const DamagedState& damage) {
    std::fprintf(stderr, "xelimg: warning: %s: %s; the saved state is ignored\n", file.string().c_str(), damage.what());
  } catch (const std::exception& damage) {
    std::fprintf(stderr, "xelimg: warning: %s; the saved state is ignored\n", damage.what());
  }
  return std::nullopt;
}

void SaveViewState(const std::filesystem::path& file, const ViewState& state, PseudoColorObject& pseudoColor) {
  xelfw::IniStore store;
  for (const auto& [name, rect] : state.windows) store.SetString(kSection, name + kWindowKeySuffix, FormatRect(rect));
  if (state.epsilon) store.SetDouble(kSection, kEpsilonKey, *state.epsilon);
  if (state.area) store.SetString(kSection, kAreaKey, FormatRect(*state.area));
  pseudoColor.ExportSettings(store);
  std::error_code error;
  std::filesystem::create_directories(file.parent_path(), error);
  try {
    xelhost::SaveIniFile(store, file);
  } catch (const std::exception& failure) {
    throw CommandError(std::string("cannot save the viewer's state: ") + failure.what());
  }
}

}  // namespace xelimg::view
