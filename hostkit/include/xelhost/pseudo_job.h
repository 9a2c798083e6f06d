// One pseudo-colour run as the pseudo, dialog, demo and view commands make it.
#pragma once

#include <xelhost/arguments.h>
#include <xelhost/framework_types.h>
#include <xelhost/isotherms.h>
#include <xelhost/object_log.h>
#include <xelhost/plugin_objects.h>

#include <xelfw/Image.h>
#include <xelfw/PluginLoader.h>
#include <xelfw/TemperatureCalibration.h>
#include <xelfw/UnitConverter.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace xelhost {

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
  std::vector<Isotherm> isotherms;  // painted over the picture; they need the calibration
};

inline constexpr std::array<OptionSpec, 10> kPseudoOptionSpecs = {{{"profile", true},
                                                                   {"lower", true},
                                                                   {"upper", true},
                                                                   {"range", true},
                                                                   {"auto", true},
                                                                   {"settings", true},
                                                                   {"threads", true},
                                                                   {"log", false},
                                                                   {"bits", true},
                                                                   kIsothermOption}};

// Throws UsageError for values out of range.
PseudoOptions ParsePseudoOptions(const Arguments& args);

// The settings file, profile, calibration, bounds and auto mode of the options onto the object;
// with a source, --range too, whose grey span the source's significant bits give.
void ConfigurePseudoColorObject(PseudoColorObject& object, const PseudoOptions& options,
                                const xelfw::Image* source = nullptr);

struct PseudoResult {
  xelfw::Image image;
  // A requested automatic window was not found for a frame, which then kept the window the options
  // gave (the object's log, with --log, says why).
  bool windowNotFound = false;
  // The settings the frame was coloured with: its window, after an automatic one was found.
  TPseudoColorSettings settings{};
  UINT profile = 0;
};

// The display unit the object's dialogs use: its own linear one (UnitMin at grey 0, UnitMax at span,
// the largest grey value), or the calibration.
xelfw::UnitConverter RangeConverter(const TPseudoColorSettings& settings,
                                    const std::optional<xelfw::TemperatureCalibration>& calibration, double span);

// One pseudo-colour object set up from the options. Every image starts from the settings the options
// gave, so that what a frame becomes depends on that frame alone: not on the frames before it (the
// auto modes move the bounds), nor on which job of a batch it went to.
class PseudoColorJob {
 public:
  // Throws CommandError for a profile or settings file the object refuses, UsageError for isotherms
  // without a calibration.
  PseudoColorJob(const xelfw::PluginLibrary& library, const PseudoOptions& options);

  // The source must be greyscale; the result is RGB of the same size and frame count.
  PseudoResult Run(const xelfw::Image& source);
  // The source coloured with the given settings' window and no automatic one: a legend's grey ramp
  // gets exactly the colours a frame got. The next Run starts from the options' settings again.
  xelfw::Image RunWithWindow(const xelfw::Image& source, TPseudoColorSettings settings);
  // The isotherms every picture gets, with their colours settled; nothing without --isotherm.
  const std::optional<IsothermPainter>& Isotherms() const { return m_Isotherms; }

 private:
  PseudoOptions m_Options;
  ObjectLog m_Log;
  PseudoColorObject m_Object;
  TPseudoColorSettings m_Configured;
  std::optional<IsothermPainter> m_Isotherms;
};

}  // namespace xelhost
