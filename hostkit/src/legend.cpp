// The legend is laid out in a white frame around the picture: labels are drawn by the window layer's
// GDI in the dialogs' fixed font on a memory bitmap, and the picture and the bar are then copied in
// unit for unit, so that neither passes through the 8-bit bitmap.
#include <xelhost/legend.h>

#include "label_canvas.h"

#include <xelhost/errors.h>

#include <xelfw/ScaleLabels.h>
#include <xelfw/TextEncoding.h>
#include <xelfw/UnitConverter.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace xelhost {

namespace {

constexpr int kMargin = 8;
constexpr int kBarThickness = 16;
constexpr int kTick = 4;

// The window's scale: grey values of the source's depth, and how they read in the display unit by the
// same conversion the object's dialogs use.
class WindowScale {
 public:
  WindowScale(const TPseudoColorSettings& settings, UINT bits,
              const std::optional<xelfw::TemperatureCalibration>& calibration)
      : m_Span(static_cast<double>((1u << bits) - 1)), m_Low(settings.Lower * m_Span), m_High(settings.Upper * m_Span) {
    const double scaleOffset[2] = {(settings.UnitMax - settings.UnitMin) / m_Span, settings.UnitMin};
    m_Converter.SetConvParam(XI_CONV_PARAM_SCALE_OFFSET, reinterpret_cast<UINT_PTR>(scaleOffset), 0, 0, 0);
    m_Converter.SetConvParam(XI_CONV_PARAM_NORMALIZATION, settings.UnitUseNormalization != 0 ? 1 : 0, 0, 0, 0);
    m_Converter.SetCalibration(calibration);
    m_Unit = calibration ? calibration->unitDesc : std::string(settings.UnitDesc);
  }

  double LowGrey() const { return m_Low; }
  double HighGrey() const { return m_High; }
  double Unit(double grey) const { return m_Converter.GreyToUnit(grey, m_Span); }
  double GreyAt(double unit) const { return m_Converter.GreyAt(unit, m_Span); }
  const std::string& UnitText() const { return m_Unit; }  // Windows-1252, as the font draws it

 private:
  xelfw::UnitConverter m_Converter;
  double m_Span;
  double m_Low;
  double m_High;
  std::string m_Unit;
};

struct Label {
  std::string text;
  double position;  // 0 at the window's low end, 1 at its high end
};

// As the dialogs show a value that has no temperature.
std::string Format(double value) {
  if (!std::isfinite(value)) return "- N.A. -";
  char text[48];
  std::snprintf(text, sizeof text, "%.1f", value);
  return text;
}

// The dialog's labels where the window can be ticked; else its two ends.
std::vector<Label> Labels(const WindowScale& scale, UINT pixels, UINT minSpacing) {
  const double low = scale.Unit(scale.LowGrey());
  const double high = scale.Unit(scale.HighGrey());
  const double greys = scale.HighGrey() - scale.LowGrey();
  std::vector<Label> labels;
  if (greys > 0.0) {
    for (const long long tenths : xelfw::ScaleLabelTenths(low, high, pixels, minSpacing)) {
      const double value = static_cast<double>(tenths) / 10.0;
      labels.push_back({Format(value), std::clamp((scale.GreyAt(value) - scale.LowGrey()) / greys, 0.0, 1.0)});
    }
  }
  if (labels.empty()) labels = {{Format(low), 0.0}, {Format(high), 1.0}};
  return labels;
}

// Grey values from the window's low end to its high end, one a bar pixel along the bar.
xelfw::Image Ramp(const WindowScale& scale, UINT bits, UINT length) {
  xelfw::Image ramp(length, 1, xelfw::PixelLayout::Grey(bits, bits > 8 ? 16 : 8));
  for (UINT i = 0; i < length; ++i) {
    const double t = length > 1 ? static_cast<double>(i) / (length - 1) : 1.0;
    ramp.SetComponent(i, 0, 0,
                      static_cast<UINT>(std::lround(scale.LowGrey() + t * (scale.HighGrey() - scale.LowGrey()))));
  }
  return ramp;
}

std::string Cp1252(const std::string& utf8, const char* what) {
  auto text = xelfw::Utf8ToCp1252(utf8);
  if (!text) throw UsageError(std::string(what) + ": '" + utf8 + "' has characters the legend's font cannot draw");
  return *text;
}

}  // namespace

std::optional<LegendOptions> ParseLegendOptions(const Arguments& args) {
  const auto place = args.Value("legend");
  if (!place) {
    if (args.Has("title")) throw UsageError("--title needs --legend");
    return std::nullopt;
  }
  LegendOptions options;
  if (*place == "right") {
    options.place = LegendPlace::kRight;
  } else if (*place == "bottom") {
    options.place = LegendPlace::kBottom;
  } else {
    throw UsageError("--legend: '" + *place + "' is neither right nor bottom");
  }
  options.title = Cp1252(args.Value("title").value_or(""), "--title");
  return options;
}

xelfw::Image AddLegend(const xelfw::Image& picture, const PseudoResult& frame, UINT sourceBits, PseudoColorJob& job,
                       const std::optional<xelfw::TemperatureCalibration>& calibration, const LegendOptions& options) {
  const WindowScale scale(frame.settings, sourceBits, calibration);
  const TextMeasure measure;
  const int th = measure.Height();
  const int width = static_cast<int>(picture.Width());
  const int height = static_cast<int>(picture.Height());
  const bool right = options.place == LegendPlace::kRight;
  const int titleHeight = options.title.empty() ? 0 : th + kMargin / 2;
  const std::string unit = scale.UnitText();

  // The bar runs along the picture's side, with half a line of room at each end for the end labels
  // and a line for the unit; a picture smaller than six lines gets a longer frame.
  const int side = right ? std::max(height, 6 * th) : std::max(width, 6 * measure.Width("-0000.0"));
  const int barStart = right ? th * 3 / 2 : measure.Width("-0000.0") / 2 + kMargin;
  const int barEnd = right ? side - th / 2 : side - measure.Width("-0000.0") / 2 - kMargin;
  const auto length = static_cast<UINT>(std::max(barEnd - barStart, 2));
  const std::vector<Label> labels =
      Labels(scale, length, static_cast<UINT>(right ? 3 * th : measure.Width("-0000.0") * 2));
  int labelWidth = measure.Width(unit);
  for (const Label& label : labels) labelWidth = std::max(labelWidth, measure.Width(label.text));

  const int barLeft = right ? width + kMargin : barStart;
  const int barTop = titleHeight + (right ? barStart : height + kMargin);
  // The isotherms' key: a swatch of each band's colour and its temperatures, a line each below the rest.
  const std::vector<Isotherm> bands = job.Isotherms() ? job.Isotherms()->Bands() : std::vector<Isotherm>{};
  int keyWidth = 0;
  for (const Isotherm& band : bands)
    keyWidth = std::max(keyWidth, th + kMargin / 2 + measure.Width(IsothermText(band, unit)));
  const int canvasWidth = right ? barLeft + kBarThickness + kTick + 2 + labelWidth + kMargin : side;
  const int keyTop = right ? titleHeight + side + kMargin / 2 : barTop + kBarThickness + kTick + 2 + 2 * th;
  const int keyHeight = bands.empty() ? 0 : static_cast<int>(bands.size()) * (th + 2);
  const int canvasHeight =
      right ? keyTop + keyHeight + (bands.empty() ? -kMargin / 2 : kMargin) : keyTop + keyHeight + kMargin;
  LabelCanvas canvas(std::max({canvasWidth, measure.Width(options.title) + 2 * kMargin, keyWidth + 2 * kMargin}),
                     canvasHeight);
  for (std::size_t i = 0; i < bands.size(); ++i) {
    const int top = keyTop + static_cast<int>(i) * (th + 2);
    const IsothermColour& colour = *bands[i].colour;
    canvas.Fill(RECT{kMargin, top + 1, kMargin + th, top + th - 1}, RGB(colour.red, colour.green, colour.blue));
    canvas.Text(IsothermText(bands[i], unit), RECT{kMargin + th + kMargin / 2, top, canvas.Width(), top + th},
                DT_LEFT | DT_VCENTER);
  }

  if (!options.title.empty()) canvas.Text(options.title, RECT{0, 0, canvas.Width(), th}, DT_CENTER | DT_VCENTER);
  const auto along = [&](double position) {  // a label's pixel along the bar: high end at top or right
    const double offset = position * (length - 1);
    return right ? barTop + static_cast<int>(std::lround(length - 1 - offset))
                 : barLeft + static_cast<int>(std::lround(offset));
  };
  for (const Label& label : labels) {
    const int at = along(label.position);
    if (right) {
      const int x = barLeft + kBarThickness;
      canvas.Line(x, at, x + kTick, at);
      canvas.Text(label.text, RECT{x + kTick + 2, at - th / 2, canvas.Width(), at - th / 2 + th}, DT_LEFT | DT_VCENTER);
    } else {
      const int y = barTop + kBarThickness;
      canvas.Line(at, y, at, y + kTick);
      canvas.Text(label.text, RECT{at - labelWidth, y + kTick + 2, at + labelWidth, y + kTick + 2 + th},
                  DT_CENTER | DT_VCENTER);
    }
  }
  if (right) {
    // Above the labels, clear of the bar's column.
    const int x = barLeft + kBarThickness + kTick + 2;
    canvas.Text(unit, RECT{x, titleHeight, canvas.Width(), titleHeight + th}, DT_LEFT | DT_VCENTER);
  } else {
    const int y = barTop + kBarThickness + kTick + 2 + th;
    canvas.Text(unit, RECT{0, y, barLeft + static_cast<int>(length), y + th}, DT_RIGHT | DT_VCENTER);
  }

  // The labels' frame, then the picture and the bar unit for unit in the picture's own layout.
  xelfw::Image legend(static_cast<UINT>(canvas.Width()), static_cast<UINT>(canvas.Height()), picture.Layout());
  canvas.CopyTo(legend, RECT{0, 0, canvas.Width(), canvas.Height()}, 0, 0);
  for (UINT y = 0; y < picture.Height(); ++y)
    for (UINT x = 0; x < picture.Width(); ++x)
      for (UINT c = 0; c < 3; ++c)
        legend.SetComponent(x, y + static_cast<UINT>(titleHeight), c, picture.GetComponent(x, y, c));
  const xelfw::Image colours = job.RunWithWindow(Ramp(scale, sourceBits, length), frame.settings);
  for (UINT i = 0; i < length; ++i) {
    for (int across = 0; across < kBarThickness; ++across) {
      const int at = along(length > 1 ? static_cast<double>(i) / (length - 1) : 1.0);
      const auto x = static_cast<UINT>(right ? barLeft + across : at);
      const auto y = static_cast<UINT>(right ? at : barTop + across);
      for (UINT c = 0; c < 3; ++c) legend.SetComponent(x, y, c, colours.GetComponent(i, 0, c));
    }
  }
  return legend;
}

}  // namespace xelhost
