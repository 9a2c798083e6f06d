// Reading shapes and finding their pixels. Membership is decided with products and comparisons only
// (no division), so a pixel centre exactly on an edge given in whole or half pixels is found on it.
#include <xelhost/area_shape.h>

#include <xelhost/errors.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <functional>
#include <limits>

namespace xelhost {

namespace {

constexpr std::string_view kShapeForms =
    "X,Y,W,H, ellipse:CX,CY,RX,RY, polygon:X1,Y1,X2,Y2,X3,Y3[,...] or spot:X,Y[,R]";

[[noreturn]] void Refuse(std::string_view text, std::string_view why) {
  throw UsageError("area '" + std::string(text) + "': " + std::string(why));
}

std::vector<std::string_view> SplitCommas(std::string_view text) {
  std::vector<std::string_view> parts;
  for (std::size_t start = 0;;) {
    const std::size_t comma = text.find(',', start);
    parts.push_back(text.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
    if (comma == std::string_view::npos) return parts;
    start = comma + 1;
  }
}

double ParseCoordinate(std::string_view shape, std::string_view part) {
  double value = 0.0;
  const auto [end, error] = std::from_chars(part.data(), part.data() + part.size(), value);
  if (part.empty() || error != std::errc() || end != part.data() + part.size() || !std::isfinite(value))
    Refuse(shape, "'" + std::string(part) + "' is not a number");
  return value;
}

UINT ParsePixel(std::string_view shape, std::string_view part) {
  unsigned long value = 0;
  const auto [end, error] = std::from_chars(part.data(), part.data() + part.size(), value);
  if (part.empty() || error != std::errc() || end != part.data() + part.size() ||
      value > std::numeric_limits<UINT>::max())
    Refuse(shape, "'" + std::string(part) + "' is not a pixel coordinate (a whole number from 0)");
  return static_cast<UINT>(value);
}

std::vector<double> ParseCoordinates(std::string_view shape, std::string_view list) {
  std::vector<double> values;
  for (const std::string_view part : SplitCommas(list)) values.push_back(ParseCoordinate(shape, part));
  return values;
}

AreaShape ParseRectangle(std::string_view text) {
  const std::vector<std::string_view> parts = SplitCommas(text);
  if (parts.size() != 4) Refuse(text, "expected " + std::string(kShapeForms));
  const RectangleShape rectangle{ParsePixel(text, parts[0]), ParsePixel(text, parts[1]), ParsePixel(text, parts[2]),
                                 ParsePixel(text, parts[3])};
  if (rectangle.width == 0 || rectangle.height == 0) Refuse(text, "the rectangle is empty");
  return rectangle;
}

AreaShape ParseEllipse(std::string_view text, std::string_view list) {
  const std::vector<double> v = ParseCoordinates(text, list);
  if (v.size() != 4) Refuse(text, "expected ellipse:CX,CY,RX,RY");
  if (!(v[2] > 0.0 && v[3] > 0.0)) Refuse(text, "both radii must be greater than 0");
  return EllipseShape{{v[0], v[1]}, v[2], v[3]};
}

AreaShape ParsePolygon(std::string_view text, std::string_view list) {
  const std::vector<double> v = ParseCoordinates(text, list);
  if (v.size() < 6 || v.size() % 2 != 0) Refuse(text, "expected polygon:X1,Y1,X2,Y2,X3,Y3[,...]");
  PolygonShape polygon;
  for (std::size_t i = 0; i < v.size(); i += 2) polygon.vertices.push_back({v[i], v[i + 1]});
  return polygon;
}

AreaShape ParseSpot(std::string_view text, std::string_view list) {
  const std::vector<std::string_view> parts = SplitCommas(list);
  if (parts.size() != 2 && parts.size() != 3) Refuse(text, "expected spot:X,Y[,R]");
  SpotShape spot{ParsePixel(text, parts[0]), ParsePixel(text, parts[1])};
  if (parts.size() == 3) spot.radius = ParseCoordinate(text, parts[2]);
  if (spot.radius < 0.0) Refuse(text, "the radius must not be negative");
  return spot;
}

std::string Number(double value) {
  char buffer[32];
  const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, error == std::errc() ? end : buffer);
}

// Rows and columns of the pixels whose centres may lie in [low, high] along one axis, cut to the frame.
struct PixelSpan {
  UINT first = 0;
  UINT end = 0;  // one past the last
};

PixelSpan CentresWithin(double low, double high, UINT frameSize) {
  // Centre c = i + 0.5 lies in [low, high] for i in [low - 0.5, high - 0.5]; one pixel of slack each way
  // keeps rounding out of the decision, which the exact test below makes.
  const double first = std::max(0.0, std::floor(low - 0.5) - 1.0);
  const double last = std::min(static_cast<double>(frameSize) - 1.0, std::ceil(high - 0.5) + 1.0);
  if (last < first) return {};
  return {static_cast<UINT>(first), static_cast<UINT>(last) + 1};
}

// Runs of the pixels in a box whose centres pass the test.
std::vector<PixelRun> RunsWhere(PixelSpan columns, PixelSpan rows, const std::function<bool(double, double)>& inside) {
  std::vector<PixelRun> runs;
  for (UINT y = rows.first; y < rows.end; ++y) {
    const double cy = y + 0.5;
    for (UINT x = columns.first; x < columns.end;) {
      if (!inside(x + 0.5, cy)) {
        ++x;
        continue;
      }
      PixelRun run{y, x, x + 1};
      while (run.right < columns.end && inside(run.right + 0.5, cy)) ++run.right;
      runs.push_back(run);
      x = run.right;
    }
  }
  return runs;
}

std::vector<PixelRun> Pixels(const RectangleShape& shape, UINT width, UINT height) {
  std::vector<PixelRun> runs;
  if (shape.width == 0 || shape.height == 0 || shape.left >= width || shape.top >= height) return runs;
  const UINT right = shape.left + std::min(shape.width, width - shape.left);
  const UINT bottom = shape.top + std::min(shape.height, height - shape.top);
  for (UINT y = shape.top; y < bottom; ++y) runs.push_back({y, shape.left, right});
  return runs;
}

std::vector<PixelRun> Pixels(const EllipseShape& shape, UINT width, UINT height) {
  const double rx = shape.radiusX, ry = shape.radiusY;
  const auto [cx, cy] = shape.centre;
  return RunsWhere(CentresWithin(cx - rx, cx + rx, width), CentresWithin(cy - ry, cy + ry, height),
                   [&](double x, double y) {
                     const double dx = (x - cx) * ry, dy = (y - cy) * rx;
                     return dx * dx + dy * dy <= rx * rx * ry * ry;
                   });
}

std::vector<PixelRun> Pixels(const SpotShape& shape, UINT width, UINT height) {
  const double cx = shape.x + 0.5, cy = shape.y + 0.5, r = shape.radius;
  return RunsWhere(CentresWithin(cx - r, cx + r, width), CentresWithin(cy - r, cy + r, height),
                   [&](double x, double y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r; });
}

// Even-odd rule with the edge itself counted in: a crossing is counted where an edge passes upwards
// or downwards through the centre's row strictly to its right, decided by the sign of a cross product.
bool InsidePolygon(const std::vector<FramePoint>& vertices, double x, double y) {
  bool inside = false;
  for (std::size_t i = 0, j = vertices.size() - 1; i < vertices.size(); j = i++) {
    const FramePoint& a = vertices[j];
    const FramePoint& b = vertices[i];
    const double cross = (b.x - a.x) * (y - a.y) - (b.y - a.y) * (x - a.x);
    if (cross == 0.0 && std::min(a.x, b.x) <= x && x <= std::max(a.x, b.x) && std::min(a.y, b.y) <= y &&
        y <= std::max(a.y, b.y))
      return true;
    if ((a.y <= y) != (b.y <= y) && (cross > 0.0) == (b.y > a.y)) inside = !inside;
  }
  return inside;
}

std::vector<PixelRun> Pixels(const PolygonShape& shape, UINT width, UINT height) {
  const auto [minX, maxX] = std::minmax_element(shape.vertices.begin(), shape.vertices.end(),
                                                [](const FramePoint& a, const FramePoint& b) { return a.x < b.x; });
  const auto [minY, maxY] = std::minmax_element(shape.vertices.begin(), shape.vertices.end(),
                                                [](const FramePoint& a, const FramePoint& b) { return a.y < b.y; });
  return RunsWhere(CentresWithin(minX->x, maxX->x, width), CentresWithin(minY->y, maxY->y, height),
                   [&](double x, double y) { return InsidePolygon(shape.vertices, x, y); });
}

}  // namespace

AreaShape ParseShape(std::string_view text) {
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos) return ParseRectangle(text);
  const std::string_view kind = text.substr(0, colon);
  const std::string_view list = text.substr(colon + 1);
  if (kind == "ellipse") return ParseEllipse(text, list);
  if (kind == "polygon") return ParsePolygon(text, list);
  if (kind == "spot") return ParseSpot(text, list);
  Refuse(text, "unknown shape '" + std::string(kind) + "'; expected " + std::string(kShapeForms));
}

std::string ShapeText(const AreaShape& shape) {
  struct Printer {
    std::string operator()(const RectangleShape& s) const {
      return std::to_string(s.left) + "," + std::to_string(s.top) + "," + std::to_string(s.width) + "," +
             std::to_string(s.height);
    }
    std::string operator()(const EllipseShape& s) const {
      return "ellipse:" + Number(s.centre.x) + "," + Number(s.centre.y) + "," + Number(s.radiusX) + "," +
             Number(s.radiusY);
    }
    std::string operator()(const PolygonShape& s) const {
      std::string text = "polygon:";
      for (const FramePoint& p : s.vertices) text += Number(p.x) + "," + Number(p.y) + ",";
      text.pop_back();
      return text;
    }
    std::string operator()(const SpotShape& s) const {
      return "spot:" + std::to_string(s.x) + "," + std::to_string(s.y) + "," + Number(s.radius);
    }
  };
  return std::visit(Printer{}, shape);
}

std::string_view ShapeKindName(const AreaShape& shape) {
  constexpr std::string_view kNames[] = {"rectangle", "ellipse", "polygon", "spot"};
  return kNames[shape.index()];
}

std::vector<PixelRun> ShapePixels(const AreaShape& shape, UINT frameWidth, UINT frameHeight) {
  return std::visit([&](const auto& s) { return Pixels(s, frameWidth, frameHeight); }, shape);
}

}  // namespace xelhost
