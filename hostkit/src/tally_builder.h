// Counting pixels into a TemperatureTally one at a time, for areas and lines alike.
#pragma once

#include <xelhost/AreaStatistics.h>

#include <cmath>

namespace xelhost {

class TallyBuilder {
 public:
  explicit TallyBuilder(const GreyTemperatures& temperatures) : m_Temperatures(temperatures) {}

  // The pixel's temperature, NaN when it has none.
  double Add(UINT grey) {
    ++m_Tally.pixels;
    if (m_Temperatures.Saturated(grey)) ++m_Tally.saturated;
    if (m_Temperatures.BelowCalibration(grey)) ++m_Tally.belowCalibration;
    if (m_Temperatures.AboveCalibration(grey)) ++m_Tally.aboveCalibration;
    const double t = m_Temperatures(grey);
    if (std::isnan(t)) {
      ++m_Tally.unavailable;
      return t;
    }
    // Welford's running mean and squared deviations: no cancellation for a narrow spread far from 0.
    ++m_Available;
    const double delta = t - m_Mean;
    m_Mean += delta / static_cast<double>(m_Available);
    m_Squares += delta * (t - m_Mean);
    return t;
  }

  TemperatureTally Result() const {
    TemperatureTally tally = m_Tally;
    if (m_Available > 0) {
      tally.mean = m_Mean;
      tally.standardDeviation = std::sqrt(m_Squares / static_cast<double>(m_Available));
    }
    return tally;
  }

 private:
  const GreyTemperatures& m_Temperatures;
  TemperatureTally m_Tally;
  std::size_t m_Available = 0;
  double m_Mean = 0.0;
  double m_Squares = 0.0;
};

}  // namespace xelhost
