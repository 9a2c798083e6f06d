// Settings, profile and bounds onto a fresh pseudo-colour object, then every frame through it.
#include <xelhost/pseudo_job.h>

#include <xelhost/errors.h>
#include <xelhost/plugin_objects.h>
#include <xelhost/profile_names.h>
#include <xelhost/settings_file.h>

#include <xelfw/UnitConverter.h>

#include <XelPseudoColor/AutoWindow.h>

#include <cmath>
#include <cstdio>
#include <vector>

namespace xelhost {

xelfw::UnitConverter RangeConverter(const TPseudoColorSettings& settings,
                                    const std::optional<xelfw::TemperatureCalibration>& calibration, double span) {
  xelfw::UnitConverter converter;
  const double scaleOffset[2] = {(settings.UnitMax - settings.UnitMin) / span, settings.UnitMin};
  converter.SetConvParam(XI_CONV_PARAM_SCALE_OFFSET, reinterpret_cast<UINT_PTR>(scaleOffset), 0, 0, 0);
  converter.SetConvParam(XI_CONV_PARAM_NORMALIZATION, settings.UnitUseNormalization != 0 ? 1 : 0, 0, 0, 0);
  converter.SetCalibration(calibration);
  return converter;
}

namespace {

UnitRange ParseRange(const std::string& text) {
  // The split is at the colon after the first character, so that LOW may be negative.
  const std::size_t colon = text.find(':', 1);
  if (colon == std::string::npos) throw UsageError("--range: expected LOW:HIGH, got '" + text + "'");
  const UnitRange range{ParseDoubleOption("range", text.substr(0, colon)),
                        ParseDoubleOption("range", text.substr(colon + 1))};
  if (!std::isfinite(range.low) || !std::isfinite(range.high)) throw UsageError("--range: both ends must be finite");
  if (range.low > range.high) throw UsageError("--range: LOW must not lie above HIGH");
  return range;
}

// LOW:HIGH is one grey window only where the display value rises over the whole grey range: where it
// falls, every range would end up at one end of it, and past a turn a range could mean two windows.
void CheckRangeIsOneWindow(const xelfw::UnitConverter& converter, double span) {
  const auto rising = converter.RisingGreys(span);
  if (rising && rising->first <= 0.0 && rising->second >= span) return;
  const std::string unit =
      converter.Calibration() ? "temperature of the --ini calibration" : "display value of the settings";
  const std::string where = rising ? "rises only between grey " + std::to_string(std::lround(rising->first)) + " and " +
                                         std::to_string(std::lround(rising->second)) + " of 0.." +
                                         std::to_string(std::lround(span))
                                   : "does not rise as the grey value rises";
  throw UsageError("--range: the " + unit + " " + where +
                   ", so LOW:HIGH names no single grey window; give the window with --lower and --upper");
}

// The window's ends as fractions of the grey range.
std::pair<double, double> RangeToBounds(const UnitRange& range, const TPseudoColorSettings& settings,
                                        const std::optional<xelfw::TemperatureCalibration>& calibration,
                                        const xelfw::Image& source) {
  const double span = static_cast<double>((1u << source.Layout().imgBPC) - 1);
  const xelfw::UnitConverter converter = RangeConverter(settings, calibration, span);
  CheckRangeIsOneWindow(converter, span);
  const auto fraction = [&](double unit) { return std::clamp(converter.GreyAt(unit, span) / span, 0.0, 1.0); };
  return {fraction(range.low), fraction(range.high)};
}

// The picture of a source, not yet filled: Process writes every pixel of it (source and picture have
// the same size and no area is set), so zeroing it first would only cost a pass over it.
xelfw::Image UnfilledPicture(const xelfw::Image& source, unsigned bits) {
  const xelfw::PixelLayout layout = xelfw::PixelLayout::Colour(bits, 3, XI_ORDER_RGB);
  std::vector<xelfw::FrameBuffer> frames(source.Frames());
  for (xelfw::FrameBuffer& frame : frames) {
    frame.resize(std::size_t{source.Width()} * source.Height() * layout.BytesPerPixel());
  }
  return xelfw::Image(source.Width(), source.Height(), layout, std::move(frames));
}

}  // namespace

PseudoOptions ParsePseudoOptions(const Arguments& args) {
  PseudoOptions options;
  if (const auto file = args.Value("settings")) options.settingsFile = *file;
  options.profile = args.Value("profile");
  if (const auto text = args.Value("lower")) options.lower = ParseDoubleOption("lower", *text);
  if (const auto text = args.Value("upper")) options.upper = ParseDoubleOption("upper", *text);
  for (const auto& [name, bound] : {std::pair{"lower", options.lower}, std::pair{"upper", options.upper}}) {
    if (bound && !(*bound >= 0.0 && *bound <= 1.0)) throw UsageError(std::string("--") + name + " must lie in 0..1");
  }
  if (options.lower && options.upper && *options.lower > *options.upper) {
    throw UsageError("--lower must not lie above --upper");
  }
  if (const auto text = args.Value("range")) {
    if (options.lower || options.upper)
      throw UsageError("--range sets both bounds; give it without --lower and --upper");
    options.range = ParseRange(*text);
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
  for (const std::string& band : args.Values(kIsothermOption.name)) options.isotherms.push_back(ParseIsotherm(band));
  return options;
}

void ConfigurePseudoColorObject(PseudoColorObject& object, const PseudoOptions& options, const xelfw::Image* source) {
  if (options.settingsFile) ImportSettingsFile(object, *options.settingsFile);
  if (options.profile) object.SelectProfile(FindProfile(*options.profile, object.ProfileCount()));
  object.SetUnitCalibration(options.calibration);
  const bool range = options.range && source != nullptr;
  if (options.range && source == nullptr) {
    // Before any frame: the widest grey range holds every narrower one.
    constexpr double kWidestSpan = 65535.0;
    CheckRangeIsOneWindow(RangeConverter(object.Settings(), options.calibration, kWidestSpan), kWidestSpan);
  }
  if (options.lower || options.upper || range || options.autoMode) {
    TPseudoColorSettings settings = object.Settings();
    if (options.lower) settings.Lower = *options.lower;
    if (options.upper) settings.Upper = *options.upper;
    if (range)
      std::tie(settings.Lower, settings.Upper) = RangeToBounds(*options.range, settings, options.calibration, *source);
    if (settings.Lower > settings.Upper) throw UsageError("the lower bound must not lie above the upper bound");
    if (options.autoMode) settings.AutoMode = *options.autoMode;
    object.SetSettings(settings);
  }
}

PseudoColorJob::PseudoColorJob(const xelfw::PluginLibrary& library, const PseudoOptions& options)
    : m_Options(options), m_Log(options.log), m_Object(library, xelfw::HostOptions{options.threads, &m_Log}) {
  ConfigurePseudoColorObject(m_Object, options);
  m_Configured = m_Object.Settings();
  if (!options.isotherms.empty()) {
    if (!options.calibration) throw UsageError("--isotherm needs --ini: its band is a calibrated temperature");
    m_Isotherms.emplace(options.isotherms, m_Object.Profile(), *options.calibration);
  }
}

PseudoResult PseudoColorJob::Run(const xelfw::Image& source) {
  if (source.Layout().formatClass != XI_IMGFORMAT_CLASS_GREYSCALE) {
    throw CommandError("pseudo colour needs a greyscale source image");
  }
  // The window the options give, in grey values of this source's depth; only the auto modes and a
  // range in the display unit make it differ from frame to frame.
  TPseudoColorSettings wanted = m_Configured;
  if (m_Options.range) {
    std::tie(wanted.Lower, wanted.Upper) = RangeToBounds(*m_Options.range, wanted, m_Options.calibration, source);
  }
  const TPseudoColorSettings now = m_Object.Settings();
  if (now.Lower != wanted.Lower || now.Upper != wanted.Upper || now.AutoMode != wanted.AutoMode) {
    m_Object.SetSettings(wanted);
  }

  PseudoResult result{UnfilledPicture(source, m_Options.outputBits), false, TPseudoColorSettings{}};
  m_Object.Process(source, result.image, [&](UINT) {
    UINT outcome = kPseudoColorAutoWindowNone;
    CheckResult(m_Object.Object().GetParam(XIP_PARAM_PSEUDOCOLOR_AUTO_WINDOW, reinterpret_cast<UINT_PTR>(&outcome),
                                           sizeof outcome),
                "reading the automatic window's outcome");
    result.windowNotFound = result.windowNotFound || outcome == kPseudoColorAutoWindowNotFound;
  });
  result.settings = m_Object.Settings();
  result.profile = m_Object.Profile();
  if (m_Isotherms) m_Isotherms->Paint(result.image, source);
  return result;
}

xelfw::Image PseudoColorJob::RunWithWindow(const xelfw::Image& source, TPseudoColorSettings settings) {
  settings.AutoMode = 0;
  m_Object.SetSettings(settings);
  xelfw::Image colours = UnfilledPicture(source, m_Options.outputBits);
  m_Object.Process(source, colours);
  if (m_Isotherms) m_Isotherms->Paint(colours, source);
  return colours;
}

}  // namespace xelhost
