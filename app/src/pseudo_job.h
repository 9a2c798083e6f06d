// One pseudo-colour run as the pseudo and demo commands make it.
#pragma once

#include "arguments.h"
#include "plugin_objects.h"

#include <xelfw/Image.h>
#include <xelfw/Logger.h>
#include <xelfw/PluginLoader.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace xelimg {

struct PseudoOptions {
  std::optional<std::filesystem::path> settingsFile;  // applied first, the options below override it
  std::optional<std::string> profile;                 // index or name
  std::optional<double> lower;
  std::optional<double> upper;
  std::optional<std::uint32_t> autoMode;
  unsigned threads = 0;  // 0: one per processor
  bool log = false;      // the object's log lines, details included, on stderr
  unsigned outputBits = 8;
};

inline constexpr std::array<OptionSpec, 8> kPseudoOptionSpecs = {{{"profile", true},
                                                                  {"lower", true},
                                                                  {"upper", true},
                                                                  {"auto", true},
                                                                  {"settings", true},
                                                                  {"threads", true},
                                                                  {"log", false},
                                                                  {"bits", true}}};

// Throws UsageError for values out of range.
PseudoOptions ParsePseudoOptions(const Arguments& args);

// One pseudo-colour object set up from the options. Every image starts from the settings the options
// gave, so that what a frame becomes depends on that frame alone: not on the frames before it (the
// auto modes move the bounds), nor on which job of a batch it went to.
class PseudoColorJob {
 public:
  PseudoColorJob(const xelfw::PluginLibrary& library, const PseudoOptions& options);

  // The source must be greyscale; the result is RGB with the same size and frame count.
  xelfw::Image Run(const xelfw::Image& source);

 private:
  std::unique_ptr<xelfw::StreamLogger> m_Logger;
  PseudoColorObject m_Object;
  TPseudoColorSettings m_Configured;
  unsigned m_OutputBits;
};

xelfw::Image RunPseudoColor(const xelfw::PluginLibrary& library, const xelfw::Image& source,
                            const PseudoOptions& options);

}  // namespace xelimg
