// One pseudo-colour run as the pseudo, dialog and demo commands make it.
#pragma once

#include "arguments.h"
#include "input_image.h"

#include <xelfw/Image.h>
#include <xelfw/PluginLoader.h>
#include <xelfw/TemperatureCalibration.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace xelimg {

// A window in the display unit, LOW:HIGH; equal ends make a threshold.
struct UnitRange {
  double low;
  double high;
};

struct PseudoOptions {
  std::optional<std::filesystem::path> settingsFile;  // applied first, the options below override it
  std::optional<std::string> profile;                 // index or name
  std::optional<double> lower;
  std::optional<double> upper;
  std::optional<UnitRange> range;
  std::optional<std::uint32_t> autoMode;
  // The display unit of the dialogs and of --range; the command reads it once the plug-in is loaded.
  std::optional<xelfw::TemperatureCalibration> calibration;
  unsigned threads = 0;  // 0: one per processor
  bool log = false;      // the object's log lines, details included, on stderr
  unsigned outputBits = 8;
};

inline constexpr std::array<OptionSpec, 9> kPseudoOptionSpecs = {{{"profile", true},
                                                                  {"lower", true},
                                                                  {"upper", true},
                                                                  {"range", true},
                                                                  {"auto", true},
                                                                  {"settings", true},
                                                                  {"threads", true},
                                                                  {"log", false},
                                                                  {"bits", true}}};

// Throws UsageError for values out of range.
PseudoOptions ParsePseudoOptions(const Arguments& args);

class PseudoColorObject;

// The settings file, profile, calibration, bounds and auto mode of the options onto the object; the
// source's significant bits give --range its grey span.
void ConfigurePseudoColorObject(PseudoColorObject& object, const PseudoOptions& options, const xelfw::Image& source);

struct PseudoResult {
  xelfw::Image image;
  // Frames for which a requested automatic window could not be found; each was warned about on
  // stderr and kept the window it had.
  unsigned failedWindows = 0;
};

// The source must be greyscale; the result is RGB with the same size and frame count. name: how
// warnings call the source.
PseudoResult RunPseudoColor(const xelfw::PluginLibrary& library, const xelfw::Image& source,
                            const PseudoOptions& options, const std::string& name);

}  // namespace xelimg
