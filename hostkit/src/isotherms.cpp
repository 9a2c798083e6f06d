// Isotherms through a table of the band each grey value falls in, so a frame costs one look-up a pixel.
#include <xelhost/isotherms.h>

#include <xelhost/AreaStatistics.h>
#include <xelhost/errors.h>

#include <cmath>
#include <cstdio>
#include <limits>

namespace xelhost {

namespace {

constexpr UINT kMaxBands = std::numeric_limits<std::uint16_t>::max();

// The split is at the first colon after the first character, so that a number may be negative.
std::size_t ColonAfterFirst(std::string_view text) { return text.empty() ? std::string_view::npos : text.find(':', 1); }

std::optional<int> HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return std::nullopt;
}

IsothermColour ParseColour(std::string_view text, std::string_view whole) {
  const auto refuse = [&] {
    return UsageError("--isotherm: the colour must be #RRGGBB (six hex digits), got '" + std::string(text) + "' in '" +
                      std::string(whole) + "'");
  };
  if (text.size() != 7 || text[0] != '#') throw refuse();
  BYTE parts[3] = {};
  for (std::size_t i = 0; i < 3; ++i) {
    const auto high = HexDigit(text[1 + 2 * i]), low = HexDigit(text[2 + 2 * i]);
    if (!high || !low) throw refuse();
    parts[i] = static_cast<BYTE>(*high * 16 + *low);
  }
  return {parts[0], parts[1], parts[2]};
}

}  // namespace

Isotherm ParseIsotherm(std::string_view text) {
  const std::string expected = "--isotherm: expected LOW:HIGH[:#RRGGBB], got '" + std::string(text) + "'";
  const std::size_t first = ColonAfterFirst(text);
  if (first == std::string_view::npos) throw UsageError(expected);
  const std::string_view rest = text.substr(first + 1);
  const std::size_t second = ColonAfterFirst(rest);
  Isotherm band;
  band.low = ParseDoubleOption("isotherm", std::string(text.substr(0, first)));
  band.high = ParseDoubleOption("isotherm", std::string(rest.substr(0, second)));
  if (!std::isfinite(band.low) || !std::isfinite(band.high)) throw UsageError("--isotherm: both ends must be finite");
  if (band.low > band.high) throw UsageError("--isotherm: LOW must not lie above HIGH in '" + std::string(text) + "'");
  if (second != std::string_view::npos) band.colour = ParseColour(rest.substr(second + 1), text);
  return band;
}

IsothermColour DefaultIsothermColour(UINT profile) {
  constexpr IsothermColour kMagenta{255, 0, 255};
  constexpr IsothermColour kCyan{0, 255, 255};
  return profile == 2 || profile == 3 ? kCyan : kMagenta;
}

std::string IsothermText(const Isotherm& band, const std::string& unit) {
  char text[96];
  std::snprintf(text, sizeof text, "%.1f..%.1f", band.low, band.high);
  return std::string(text) + " " + unit;
}

IsothermPainter::IsothermPainter(std::vector<Isotherm> bands, UINT profile, xelfw::TemperatureCalibration calibration)
    : m_Bands(std::move(bands)), m_Calibration(std::move(calibration)) {
  if (m_Bands.size() > kMaxBands) throw UsageError("--isotherm: at most 65535 bands");
  for (Isotherm& band : m_Bands) {
    if (band.low > band.high) throw UsageError("--isotherm: LOW must not lie above HIGH");
    if (!band.colour) band.colour = DefaultIsothermColour(profile);
  }
}

const std::vector<std::uint16_t>& IsothermPainter::BandOfGrey(UINT bits) const {
  if (bits == m_TableBits) return m_BandOfGrey;
  const GreyTemperatures temperatures(m_Calibration, bits);
  m_BandOfGrey.assign(std::size_t{1} << bits, 0);
  for (std::size_t grey = 0; grey < m_BandOfGrey.size(); ++grey) {
    const double t = temperatures(static_cast<UINT>(grey));
    for (std::size_t i = m_Bands.size(); i-- > 0;) {
      if (t >= m_Bands[i].low && t <= m_Bands[i].high) {
        m_BandOfGrey[grey] = static_cast<std::uint16_t>(i + 1);
        break;
      }
    }
  }
  m_TableBits = bits;
  return m_BandOfGrey;
}

void IsothermPainter::Paint(xelfw::Image& picture, const xelfw::Image& grey) const {
  if (m_Bands.empty()) return;
  if (picture.Width() != grey.Width() || picture.Height() != grey.Height() || picture.Frames() != grey.Frames())
    throw CommandError("isotherms: the picture and its grey frame differ in size");
  const std::vector<std::uint16_t>& bandOf = BandOfGrey(grey.Layout().imgBPC);
  const UINT full = (1u << picture.Layout().imgBPC) - 1;
  for (UINT frame = 0; frame < grey.Frames(); ++frame) {
    for (UINT y = 0; y < grey.Height(); ++y) {
      for (UINT x = 0; x < grey.Width(); ++x) {
        const std::uint16_t band = bandOf[grey.GetComponent(x, y, 0, frame)];
        if (band == 0) continue;
        const IsothermColour& colour = *m_Bands[band - 1].colour;
        picture.SetComponent(x, y, 0, colour.red * full / 255, frame);
        picture.SetComponent(x, y, 1, colour.green * full / 255, frame);
        picture.SetComponent(x, y, 2, colour.blue * full / 255, frame);
      }
    }
  }
}

}  // namespace xelhost
