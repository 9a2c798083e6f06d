// Settings, profile and bounds onto a fresh pseudo-colour object, then every frame through it.
#include "pseudo_job.h"

#include "cli_error.h"
#include "plugin_objects.h"
#include "profile_names.h"


namespace xelimg {

PseudoOptions ParsePseudoOptions(const Arguments& args) {
  PseudoOptions options;
  if (const auto file = args.Value("settings")) options.settingsFile = *file;
  options.profile = args.Value("profile");
  if (const auto text = args.Value("lower")) options.lower = ParseDoubleOption("lower", *text);
  if (const auto text = args.Value("upper")) options.upper = ParseDoubleOption("upper", *text);
  for (const auto& [name, bound] : {std::pair{"lower", options.lower}, std::pair{"upper", options.upper}}) {
    if (bound && (*bound < 0.0 || *bound > 1.0)) throw UsageError(std::string("--") + name + " must lie in 0..1");
  }
  if (options.lower && options.upper && !(*options.lower < *options.upper)) {
    throw UsageError("--lower must be below --upper");
  }
  if (const auto mode = args.Value("auto")) {
    if (*mode == "contrast") {
      options.autoMode = kPseudoColorAutoContrast;
    } else if (*mode == "brightness") {
      options.autoMode = kPseudoColorAutoBrightness;
    } else {
      throw UsageError("--auto: '" + *mode + "' is neither contrast nor brightness");
    }
  }
  if (const auto text = args.Value("threads")) {
    options.threads = ParseUnsignedOption("threads", *text);
    if (options.threads == 0 || options.threads > 256) throw UsageError("--threads must be 1 to 256");
  }
  options.log = args.Has("log");
  if (const auto text = args.Value("bits")) {
    options.outputBits = ParseUnsignedOption("bits", *text);
    if (options.outputBits != 8 && options.outputBits != 16) throw UsageError("--bits must be 8 or 16");
  }
  return options;
}

namespace {

void ApplyOptions(PseudoColorObject& object, const PseudoOptions& options) {
  if (options.settingsFile) {
    xelfw::IniStore store = xelfw::IniStore::Load(*options.settingsFile);
    if (!object.ImportSettings(store)) {
      throw CommandError(options.settingsFile->string() + ": incomplete pseudo-colour settings (see 'xelimg settings import')");
    }
  }
  if (options.profile) object.SelectProfile(FindProfile(*options.profile, object.ProfileCount()));
  if (options.lower || options.upper || options.autoMode) {
    TPseudoColorSettings settings = object.Settings();
    if (options.lower) settings.Lower = *options.lower;
    if (options.upper) settings.Upper = *options.upper;
    if (!(settings.Lower < settings.Upper)) throw UsageError("the lower bound must be below the upper bound");
    if (options.autoMode) settings.AutoMode = *options.autoMode;
    object.SetSettings(settings);
  }
}

std::unique_ptr<xelfw::StreamLogger> MakeLogger(bool log) {
  return log ? std::make_unique<xelfw::StreamLogger>(XIP_LOG_DETAIL) : nullptr;
}

}  // namespace

PseudoColorJob::PseudoColorJob(const xelfw::PluginLibrary& library, const PseudoOptions& options)
    : m_Logger(MakeLogger(options.log)),
      m_Object(library, xelfw::HostOptions{options.threads, m_Logger.get()}),
      m_OutputBits(options.outputBits) {
  ApplyOptions(m_Object, options);
  m_Configured = m_Object.Settings();
}

xelfw::Image PseudoColorJob::Run(const xelfw::Image& source) {
  if (source.Layout().formatClass != XI_IMGFORMAT_CLASS_GREYSCALE) {
    throw CommandError("pseudo colour needs a greyscale source image");
  }
  xelfw::Image destination(source.Width(), source.Height(),
                           xelfw::PixelLayout::Colour(m_OutputBits, 3, XI_ORDER_RGB), source.Frames());
  m_Object.Process(source, destination);
  // Only the auto modes move the bounds; writing the settings back costs a LUT rebuild, which those
  // modes cause on every frame anyway.
  const TPseudoColorSettings now = m_Object.Settings();
  if (now.Lower != m_Configured.Lower || now.Upper != m_Configured.Upper) m_Object.SetSettings(m_Configured);
  return destination;
}

xelfw::Image RunPseudoColor(const xelfw::PluginLibrary& library, const xelfw::Image& source,
                            const PseudoOptions& options) {
  PseudoColorJob job(library, options);
  return job.Run(source);
}

}  // namespace xelimg
