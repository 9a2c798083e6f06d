// The shapes a thermographer measures in: rectangles, ellipses, polygons and spots, and the pixels
// each one covers in a frame of a given size. Coordinates are continuous frame coordinates: pixel
// (x, y) covers x…x+1 and y…y+1, so its centre is (x + 0.5, y + 0.5). A pixel belongs to a shape when
// its centre lies inside the shape or on its edge; polygons follow the even-odd rule.
#pragma once

#include <xelhost/framework_types.h>

#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace xelhost {

struct FramePoint {
  double x = 0.0;
  double y = 0.0;
};

// The pixels (left, top) to (left + width - 1, top + height - 1).
struct RectangleShape {
  UINT left = 0;
  UINT top = 0;
  UINT width = 0;
  UINT height = 0;
};

struct EllipseShape {
  FramePoint centre;
  double radiusX = 0.0;
  double radiusY = 0.0;
};

struct PolygonShape {
  std::vector<FramePoint> vertices;  // at least three; the last joins the first
};

// The disc of the given radius around the centre of pixel (x, y): the pixel alone at the default.
struct SpotShape {
  UINT x = 0;
  UINT y = 0;
  double radius = 0.5;
};

using AreaShape = std::variant<RectangleShape, EllipseShape, PolygonShape, SpotShape>;

// The text of one shape without its name: X,Y,W,H | ellipse:CX,CY,RX,RY | polygon:X1,Y1,X2,Y2,X3,Y3[,…]
// | spot:X,Y[,R]. Throws UsageError saying what was expected for anything else, a rectangle or ellipse
// without extent, a negative radius or a number that is not finite.
XEL_HOST_API AreaShape ParseShape(std::string_view text);
// The text ParseShape reads back to the same shape, for reports and error messages.
XEL_HOST_API std::string ShapeText(const AreaShape& shape);
// "rectangle", "ellipse", "polygon" or "spot".
XEL_HOST_API std::string_view ShapeKindName(const AreaShape& shape);

// Pixels x = left … right - 1 of row y.
struct PixelRun {
  UINT y = 0;
  UINT left = 0;
  UINT right = 0;
};

// The shape's pixels inside a frame of this size (the parts outside cut off), row by row from the top
// and left to right within a row, each pixel once. Empty when no pixel of the frame belongs to it.
XEL_HOST_API std::vector<PixelRun> ShapePixels(const AreaShape& shape, UINT frameWidth, UINT frameHeight);

}  // namespace xelhost
