// Shapes as users write them, the pixels they cover by the centre rule, and line profiles' pixels.
#include <xelhost/area_shape.h>
#include <xelhost/errors.h>
#include <xelhost/pixel_line.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <set>
#include <utility>

namespace {

using xelhost::AreaShape;
using xelhost::ParseShape;
using xelhost::ShapePixels;
using Pixel = std::pair<unsigned, unsigned>;

std::set<Pixel> PixelsOf(const AreaShape& shape, unsigned width, unsigned height) {
  std::set<Pixel> pixels;
  for (const xelhost::PixelRun& run : ShapePixels(shape, width, height))
    for (unsigned x = run.left; x < run.right; ++x) EXPECT_TRUE(pixels.insert({x, run.y}).second);
  return pixels;
}

std::set<Pixel> CentresWhere(unsigned width, unsigned height, auto inside) {
  std::set<Pixel> pixels;
  for (unsigned y = 0; y < height; ++y)
    for (unsigned x = 0; x < width; ++x)
      if (inside(x + 0.5, y + 0.5)) pixels.insert({x, y});
  return pixels;
}

TEST(AreaShapes, EveryFormReadsBackFromItsText) {
  for (const char* text : {"3,4,10,20", "ellipse:10.5,8,4,2.25", "polygon:0,0,10,0,5,7.5", "spot:4,5,1.5"}) {
    const AreaShape shape = ParseShape(text);
    EXPECT_EQ(xelhost::ShapeText(shape), text);
    EXPECT_EQ(xelhost::ShapeText(ParseShape(xelhost::ShapeText(shape))), text);
  }
  EXPECT_EQ(xelhost::ShapeKindName(ParseShape("spot:1,2")), "spot");
  EXPECT_EQ(std::get<xelhost::SpotShape>(ParseShape("spot:1,2")).radius, 0.5);
}

TEST(AreaShapes, MalformedTextIsAUsageErrorQuotingIt) {
  for (const char* text : {"1,2,3", "1,2,0,4", "-1,2,3,4", "circle:1,2,3", "ellipse:1,2,0,3", "ellipse:1,2,3",
                           "polygon:0,0,1,1", "polygon:0,0,1,1,2", "spot:1", "spot:1,2,-1", "spot:1.5,2",
                           "ellipse:1,2,nan,3", "ellipse:1,2,inf,3", "polygon:0,0,1,x,2,2", ""}) {
    try {
      ParseShape(text);
      ADD_FAILURE() << "accepted " << text;
    } catch (const xelhost::UsageError& error) {
      EXPECT_NE(std::string(error.what()).find("'" + std::string(text) + "'"), std::string::npos) << error.what();
    }
  }
}

TEST(AreaShapes, RectanglesAreCutAtTheFrame) {
  EXPECT_EQ(PixelsOf(ParseShape("2,1,3,2"), 8, 8), (std::set<Pixel>{{2, 1}, {3, 1}, {4, 1}, {2, 2}, {3, 2}, {4, 2}}));
  EXPECT_EQ(PixelsOf(ParseShape("6,7,10,10"), 8, 8), (std::set<Pixel>{{6, 7}, {7, 7}}));
  EXPECT_TRUE(ShapePixels(ParseShape("8,0,1,1"), 8, 8).empty());
}

TEST(AreaShapes, SpotsAreDiscsAroundAPixelCentre) {
  EXPECT_EQ(PixelsOf(ParseShape("spot:3,3"), 8, 8), (std::set<Pixel>{{3, 3}}));
  EXPECT_EQ(PixelsOf(ParseShape("spot:3,3,0"), 8, 8), (std::set<Pixel>{{3, 3}}));
  EXPECT_EQ(PixelsOf(ParseShape("spot:3,3,1"), 8, 8).size(), 5u);    // the centre and its four neighbours
  EXPECT_EQ(PixelsOf(ParseShape("spot:3,3,1.5"), 8, 8).size(), 9u);  // and the diagonals, at 1.41
  EXPECT_EQ(PixelsOf(ParseShape("spot:0,0,1.5"), 8, 8).size(), 4u);  // cut at the corner
  EXPECT_EQ(PixelsOf(ParseShape("spot:3,3,2"), 8, 8).size(), 13u);
}

TEST(AreaShapes, EllipsesTakeEveryCentreInsideOrOnThem) {
  for (const auto& [cx, cy, rx, ry] : {std::tuple{10.0, 8.0, 6.0, 3.0}, std::tuple{10.5, 7.5, 4.5, 6.0},
                                       std::tuple{0.0, 0.0, 7.0, 5.0}, std::tuple{15.0, 3.0, 2.5, 9.0}}) {
    const AreaShape ellipse = xelhost::EllipseShape{{cx, cy}, rx, ry};
    const auto expected = CentresWhere(20, 16, [&](double x, double y) {
      const double u = (x - cx) / rx, v = (y - cy) / ry;
      return u * u + v * v <= 1.0 + 1e-12;
    });
    EXPECT_EQ(PixelsOf(ellipse, 20, 16), expected) << xelhost::ShapeText(ellipse);
  }
  // Centres exactly on the edge belong to it: the ends of both axes.
  const std::set<Pixel> ring = PixelsOf(ParseShape("ellipse:5.5,5.5,3,2"), 12, 12);
  for (const Pixel& p : {Pixel{2, 5}, Pixel{8, 5}, Pixel{5, 3}, Pixel{5, 7}}) EXPECT_TRUE(ring.count(p));
  EXPECT_FALSE(ring.count({5, 8}));
}

TEST(AreaShapes, PolygonsFollowTheEvenOddRuleWithTheirEdges) {
  // A triangle: the centres on its slanted edge are in.
  const auto triangle = PixelsOf(ParseShape("polygon:0.5,0.5,8.5,0.5,0.5,8.5"), 10, 10);
  EXPECT_EQ(triangle, CentresWhere(10, 10, [](double x, double y) { return x >= 0.5 && y >= 0.5 && x + y <= 9.0; }));
  // A concave L.
  const auto ell = PixelsOf(ParseShape("polygon:1,1,7,1,7,3,3,3,3,8,1,8"), 10, 10);
  EXPECT_EQ(ell, CentresWhere(10, 10, [](double x, double y) {
              return x >= 1 && y >= 1 && ((y <= 3 && x <= 7) || (x <= 3 && y <= 8));
            }));
  // A pentagram: its centre is crossed twice, so even-odd leaves it out; the points stay in.
  const auto star = PixelsOf(ParseShape("polygon:10.5,0.5,16.5,18.5,0.5,6.5,20.5,6.5,4.5,18.5"), 21, 20);
  EXPECT_FALSE(star.count({10, 10}));
  EXPECT_TRUE(star.count({10, 2}));
  EXPECT_TRUE(star.count({3, 7}));
  // Vertices the wrong way round cover the same pixels; a polygon off the frame covers none.
  EXPECT_EQ(PixelsOf(ParseShape("polygon:1,8,3,8,3,3,7,3,7,1,1,1"), 10, 10), ell);
  EXPECT_TRUE(ShapePixels(ParseShape("polygon:-9,-9,-1,-9,-1,-1"), 10, 10).empty());
}

TEST(LineProfiles, BresenhamVisitsOneConnectedPixelPerStepInOrder) {
  for (const auto& [x1, y1, x2, y2] :
       {std::tuple{0L, 0L, 9L, 3L}, std::tuple{5L, 9L, 2L, 0L}, std::tuple{7L, 2L, -3L, 6L}, std::tuple{4L, 4L, 4L, 4L},
        std::tuple{0L, 5L, 0L, -2L}, std::tuple{1L, 1L, 6L, 6L}}) {
    const auto pixels = xelhost::LinePixels(x1, y1, x2, y2);
    ASSERT_EQ(pixels.size(), static_cast<std::size_t>(std::max(std::labs(x2 - x1), std::labs(y2 - y1)) + 1));
    EXPECT_EQ(pixels.front().x, x1);
    EXPECT_EQ(pixels.front().y, y1);
    EXPECT_EQ(pixels.back().x, x2);
    EXPECT_EQ(pixels.back().y, y2);
    const double length = std::hypot(double(x2 - x1), double(y2 - y1));
    for (std::size_t i = 0; i < pixels.size(); ++i) {
      if (i > 0) {
        EXPECT_LE(std::labs(pixels[i].x - pixels[i - 1].x), 1);
        EXPECT_LE(std::labs(pixels[i].y - pixels[i - 1].y), 1);
      }
      if (length == 0.0) continue;
      // Never more than half a pixel (along the minor axis) off the ideal line.
      const double off =
          std::fabs(double(x2 - x1) * double(pixels[i].y - y1) - double(y2 - y1) * double(pixels[i].x - x1)) /
          double(std::max(std::labs(x2 - x1), std::labs(y2 - y1)));
      EXPECT_LE(off, 0.5 + 1e-12);
    }
  }
  // Midway between two pixels the step is diagonal.
  const auto tie = xelhost::LinePixels(0, 0, 2, 1);
  EXPECT_EQ(tie[1].x, 1);
  EXPECT_EQ(tie[1].y, 1);
}

}  // namespace
