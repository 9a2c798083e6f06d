// pseudo --isotherm LOW:HIGH[:#RRGGBB]: the pixels whose temperature lies in a band painted one colour
// over the pseudo-colour picture, so that where a surface is within limits shows at a glance.
#pragma once

#include <xelhost/arguments.h>
#include <xelhost/framework_types.h>

#include <xelfw/Image.h>
#include <xelfw/TemperatureCalibration.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace xelhost {

inline constexpr OptionSpec kIsothermOption{"isotherm", true, true};

struct IsothermColour {
  BYTE red = 0;
  BYTE green = 0;
  BYTE blue = 0;
};

// Temperatures low..high in the display unit, both ends included.
struct Isotherm {
  double low = 0.0;
  double high = 0.0;
  std::optional<IsothermColour> colour;  // nothing: the profile's default (DefaultIsothermColour)
};

// LOW:HIGH[:#RRGGBB]. Throws UsageError saying what was expected.
XEL_HOST_API Isotherm ParseIsotherm(std::string_view text);

// A colour the profile never shows, so a band cannot be mistaken for a temperature the colour bar
// gives: magenta for the profile through blue, green, yellow, red and white (0), the grey wedge (1) and
// clipping detection (4, whose own flags are blue and red); cyan for the two that pass through purple
// or pink (2, 3) and never show blue and green together.
XEL_HOST_API IsothermColour DefaultIsothermColour(UINT profile);

// "30.0..40.0 °C" in the unit's own text (Windows-1252, as the calibration keeps it).
XEL_HOST_API std::string IsothermText(const Isotherm& band, const std::string& unit);

// The bands with their colours settled, painted over pictures of any depth. Where bands overlap, the
// one given last wins: each is painted over the ones before it. Not shared between threads.
class XEL_HOST_API IsothermPainter {
 public:
  // Every band gets a colour: its own or the profile's default. Throws UsageError for a band whose
  // low end lies above its high end.
  IsothermPainter(std::vector<Isotherm> bands, UINT profile, xelfw::TemperatureCalibration calibration);

  // Paints every pixel of the RGB picture whose grey pixel (same size and frames, 1..16 significant
  // bits) has a temperature in a band; NaN (no temperature) lies in none.
  void Paint(xelfw::Image& picture, const xelfw::Image& grey) const;

  const std::vector<Isotherm>& Bands() const { return m_Bands; }
  const xelfw::TemperatureCalibration& Calibration() const { return m_Calibration; }

 private:
  // The band painted over each grey value of the given depth, 0 for none, else its index + 1.
  const std::vector<std::uint16_t>& BandOfGrey(UINT bits) const;

  std::vector<Isotherm> m_Bands;
  xelfw::TemperatureCalibration m_Calibration;
  mutable UINT m_TableBits = 0;
  mutable std::vector<std::uint16_t> m_BandOfGrey;
};

}  // namespace xelhost
