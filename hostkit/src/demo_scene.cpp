// Demo scene synthesis.
#include <xelhost/demo_scene.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace xelhost {

namespace {

struct Blob {
  double x, y;      // centre, as fractions of width and height
  double radius;    // as a fraction of the height
  double strength;  // added grey value at the centre (negative: colder than its surroundings)
};

constexpr Blob kBlobs[] = {
    {0.28, 0.40, 0.10, 30000.0},  // a small, very hot spot
    {0.66, 0.55, 0.20, 18000.0},  // a large, warm body
    {0.82, 0.22, 0.05, 24000.0},  // a tiny hot point
    {0.45, 0.78, 0.12, -7000.0},  // a cold patch on the warm floor
};

// xorshift32: a fixed sequence everywhere, unlike the standard library's distributions.
class NoiseSource {
 public:
  explicit NoiseSource(std::uint32_t seed = 0x2545F491u) : m_State(seed != 0 ? seed : 1) {}
  double Next() {
    m_State ^= m_State << 13;
    m_State ^= m_State >> 17;
    m_State ^= m_State << 5;
    return static_cast<double>(m_State) / 4294967296.0 - 0.5;
  }

 private:
  std::uint32_t m_State;
};

double Gaussian(double dx, double dy, double radius) {
  return std::exp(-(dx * dx + dy * dy) / (2.0 * radius * radius));
}

void Store(xelfw::Image& image, UINT x, UINT y, double value) {
  image.SetComponent(x, y, 0, static_cast<UINT>(std::clamp(value, 0.0, 65535.0)));
}

constexpr double kTwoPi = 6.283185307179586;

}  // namespace

xelfw::Image MakeDemoScene(UINT width, UINT height) {
  xelfw::Image scene(width, height, xelfw::PixelLayout::Grey(16, 16));
  NoiseSource noise;
  const double w = width;
  const double h = height;
  for (UINT y = 0; y < height; ++y) {
    for (UINT x = 0; x < width; ++x) {
      // Background from 9000 at the top to 22000 at the bottom, slightly warmer to the right.
      double value = 9000.0 + 13000.0 * (y / h) + 2500.0 * (x / w);
      for (const Blob& blob : kBlobs) {
        const double dx = (x - blob.x * w) / h;
        const double dy = (y - blob.y * h) / h;
        value += blob.strength * Gaussian(dx, dy, blob.radius);
      }
      Store(scene, x, y, value + 300.0 * noise.Next());
    }
  }
  scene.SetSignificantBitsDeclared(true);  // a 16-bit scene by design, not by default
  return scene;
}

xelfw::Image MakeDemoFrame(UINT index, UINT width, UINT height) {
  xelfw::Image frame(width, height, xelfw::PixelLayout::Grey(16, 16));
  const double phase = static_cast<double>(index % kDemoFrames) / kDemoFrames;
  // A figure-of-eight path keeps the spot away from the edges, and a heat that swells twice per
  // loop makes auto contrast widen and narrow its window while the user watches.
  const double spotX = 0.5 + 0.30 * std::cos(kTwoPi * phase);
  const double spotY = 0.5 + 0.25 * std::sin(2.0 * kTwoPi * phase);
  const double heat = 9000.0 + 21000.0 * (0.5 - 0.5 * std::cos(2.0 * kTwoPi * phase));
  NoiseSource noise(0x9E3779B9u * (index % kDemoFrames + 1));
  const double w = width;
  const double h = height;
  for (UINT y = 0; y < height; ++y) {
    for (UINT x = 0; x < width; ++x) {
      const double gradient = 16000.0 + 9000.0 * (y / h) + 3000.0 * (x / w);
      const double spot = heat * Gaussian((x - spotX * w) / h, (y - spotY * h) / h, 0.08);
      Store(frame, x, y, gradient + spot + 250.0 * noise.Next());
    }
  }
  frame.SetSignificantBitsDeclared(true);
  return frame;
}

}  // namespace xelhost
