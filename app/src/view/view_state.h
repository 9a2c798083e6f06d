// What the viewer keeps between runs: where its windows were, the emissivity, the measured area,
// and (in the pseudo-colour object's own section, as `settings export` writes it) the colour settings.
#pragma once

#include <xelhost/plugin_objects.h>
#include "host_kit.h"

#include <winui/windef.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>

namespace xelimg::view {

struct ViewState {
  std::map<std::string, RECT> windows;  // outer rectangles on the screen, by window name
  std::optional<double> epsilon;
  std::optional<RECT> area;  // image pixels; none: the whole picture
};

// $XDG_CONFIG_HOME/xelimg/view.ini, or ~/.config/xelimg/view.ini; empty when neither is set.
std::filesystem::path DefaultStateFile();

// Nothing when the file does not exist. A damaged file (unreadable, not INI, a value out of range,
// colour settings the object refuses) is reported on stderr in one line and read as nothing; the
// object's colour settings are then as they were.
std::optional<ViewState> LoadViewState(const std::filesystem::path& file, PseudoColorObject& pseudoColor);

// Written whole or not at all (the framework's atomic writer), its folder made when missing. Throws
// CommandError naming the file when it cannot be written.
void SaveViewState(const std::filesystem::path& file, const ViewState& state, PseudoColorObject& pseudoColor);

}  // namespace xelimg::view
