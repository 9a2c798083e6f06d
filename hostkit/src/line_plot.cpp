// The plot drawn by the window layer's GDI in the dialogs' fixed font.
#include <xelhost/line_plot.h>

#include "label_canvas.h"

#include <xelfw/TextEncoding.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace xelhost {

namespace {

constexpr int kWidth = 480;
constexpr int kHeight = 300;
constexpr int kMargin = 8;
constexpr int kTick = 4;
constexpr int kMaxTicks = 6;

// Colours apart from each other and from white, in the order lines are given.
constexpr COLORREF kLineColours[] = {RGB(0, 70, 200),  RGB(210, 30, 30), RGB(0, 140, 60), RGB(170, 0, 170),
                                     RGB(230, 120, 0), RGB(0, 150, 170), RGB(90, 90, 90)};

struct Axis {
  double low = 0.0;
  double high = 1.0;
  double step = 1.0;
};

// Round ends and a step of 1, 2 or 5 times a power of ten giving at most kMaxTicks steps.
Axis RoundAxis(double low, double high, double smallestStep) {
  if (!(high > low)) {
    low -= 1.0;
    high += 1.0;
  }
  double step = std::pow(10.0, std::floor(std::log10((high - low) / kMaxTicks)));
  for (const double factor : {1.0, 2.0, 5.0, 10.0}) {
    if ((high - low) / (step * factor) <= kMaxTicks) {
      step *= factor;
      break;
    }
  }
  step = std::max(step, smallestStep);
  return {std::floor(low / step) * step, std::ceil(high / step) * step, step};
}

std::string Number(double value) {
  char text[48];
  std::snprintf(text, sizeof text, "%g", std::abs(value) < 1e-9 ? 0.0 : value);
  return text;
}

std::string Cp1252(const std::string& text) { return xelfw::Utf8ToCp1252(text).value_or(text); }

}  // namespace

xelfw::Image PlotLines(const xelfw::Image& grey, const std::vector<ProfileLine>& lines,
                       const xelfw::TemperatureCalibration& calibration) {
  std::vector<std::vector<LineSample>> samples;
  double low = std::numeric_limits<double>::infinity(), high = -low;
  std::size_t longest = 1;
  for (const ProfileLine& line : lines) {
    LineProfile profile = MeasureLine(grey, line, calibration);
    if (profile.min) low = std::min(low, *profile.min);
    if (profile.max) high = std::max(high, *profile.max);
    samples.push_back(std::move(profile.samples));
    longest = std::max(longest, samples.back().size());
  }
  if (!std::isfinite(low)) low = high = 0.0;
  const Axis y = RoundAxis(low, high, 0.0);
  const Axis x = RoundAxis(0.0, static_cast<double>(longest - 1), 1.0);

  const TextMeasure measure;
  const int th = measure.Height();
  int yLabelWidth = 0;
  for (double v = y.low; v <= y.high + y.step / 2; v += y.step)
    yLabelWidth = std::max(yLabelWidth, measure.Width(Number(v)));
  const int left = kMargin + yLabelWidth + kTick + 2;
  const int top = kMargin + th + kMargin;  // the unit and the key above the plot
  const int right = kWidth - kMargin - measure.Width("0") * 2;
  const int bottom = kHeight - kMargin - 2 * th - kTick;
  const auto px = [&](double v) {
    return left + static_cast<int>(std::lround((v - x.low) / (x.high - x.low) * (right - left)));
  };
  const auto py = [&](double v) {
    return bottom - static_cast<int>(std::lround((v - y.low) / (y.high - y.low) * (bottom - top)));
  };

  LabelCanvas canvas(kWidth, kHeight);
  canvas.Ink(RGB(220, 220, 220));
  for (double v = y.low + y.step; v <= y.high + y.step / 2; v += y.step) canvas.Line(left + 1, py(v), right, py(v));
  canvas.Ink(RGB(0, 0, 0));
  canvas.Line(left, top, left, bottom);
  canvas.Line(left, bottom, right + 1, bottom);
  for (double v = y.low; v <= y.high + y.step / 2; v += y.step) {
    canvas.Line(left - kTick, py(v), left, py(v));
    canvas.Text(Number(v), RECT{kMargin, py(v) - th / 2, left - kTick - 2, py(v) - th / 2 + th}, DT_RIGHT | DT_VCENTER);
  }
  for (double v = x.low; v <= x.high + x.step / 2; v += x.step) {
    canvas.Line(px(v), bottom, px(v), bottom + kTick);
    canvas.Text(Number(v), RECT{px(v) - 40, bottom + kTick + 1, px(v) + 40, bottom + kTick + 1 + th},
                DT_CENTER | DT_VCENTER);
  }
  canvas.Text("pixel along the line", RECT{left, kHeight - kMargin - th, right, kHeight - kMargin},
              DT_CENTER | DT_VCENTER);
  canvas.Text(calibration.unitDesc, RECT{kMargin, kMargin, left + 40, kMargin + th}, DT_LEFT | DT_VCENTER);

  int keyRight = right;
  for (std::size_t i = lines.size(); i-- > 0;) {
    canvas.Ink(kLineColours[i % std::size(kLineColours)]);
    const std::string name = Cp1252(lines[i].name);
    const int nameLeft = keyRight - measure.Width(name);
    canvas.Text(name, RECT{nameLeft, kMargin, keyRight, kMargin + th}, DT_LEFT | DT_VCENTER);
    canvas.Line(nameLeft - 4 - 16, kMargin + th / 2, nameLeft - 4, kMargin + th / 2);
    keyRight = nameLeft - 4 - 16 - 2 * kMargin;
    bool drawing = false;
    for (std::size_t k = 0; k < samples[i].size(); ++k) {
      const std::optional<double> t = samples[i][k].temperature;
      if (!t) {
        drawing = false;
        continue;
      }
      const int sx = px(static_cast<double>(k)), sy = py(*t);
      if (drawing) {
        ::LineTo(canvas.Dc(), sx, sy);
      } else {
        ::MoveToEx(canvas.Dc(), sx, sy, nullptr);
        ::SetPixel(canvas.Dc(), sx, sy, kLineColours[i % std::size(kLineColours)]);
      }
      drawing = true;
    }
  }

  xelfw::Image plot(kWidth, kHeight, xelfw::PixelLayout::Colour(8, 3, XI_ORDER_RGB));
  canvas.CopyTo(plot, RECT{0, 0, kWidth, kHeight}, 0, 0);
  return plot;
}

}  // namespace xelhost
