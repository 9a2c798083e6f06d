// The framework's unit converter (XI object type 3): grey values to a display unit and back, either
// through a linear scale and offset, or through a temperature calibration, so that every value a
// dialog shows agrees with the temperature object's readout.
#pragma once

#include <XelImgProcess/CXelUnitConverter_0.h>
#include <xelfw/TemperatureCalibration.h>

#include <optional>
#include <string>
#include <utility>

namespace xelfw {

// Starts linear as the identity (scale 1, offset 0), normalisation on, two decimals and no unit text.
//
// Calibrated, a grey value g of a source whose largest grey value is S reads as the calibration's
// temperature of g / (S + 1), the normalised grey value of the temperature object; the unit text is
// the calibration's, and the scale, offset and normalisation the object sets are kept but not used.
//
// Widths: the number alone (format flag 0) and UnitToGrey are what the width edits of the
// pseudo-colour dialog use, so they speak of a window width: the display-unit distance of g from the
// bottom of the grey range, Unit(g) - Unit(0). Linear, that is g · scale, the width's own size; under
// a calibration that is not linear it is the width of a window that starts at grey 0.
class XEL_HOST_API UnitConverter final : public CXelUnitConverter_0 {
 public:
  UnitConverter() = default;
  ~UnitConverter() override = default;

  UINT GetXIObjType() const override { return XI_OBJTYPE_UNIT_CONVERTER; }
  void SetUnitText(const char* text) override;
  const char* GetUnitText() const override;
  UINT SetConvParam(UINT id, UINT_PTR value, UINT_PTR arg2, UINT_PTR arg3, UINT_PTR arg4) override;
  // NaN where a calibration gives no temperature (the object's "- N.A. -").
  double GreyToUnit(double grey, double greySpan) const override;
  // The grey value whose width (see above) is the given display-unit width.
  double UnitToGrey(double width, double greySpan) const override;
  UINT FormatValue(double grey, double greySpan, char* buffer, UINT size, UINT formatFlag, INT decimals) const override;

  // The grey value that reads as the display-unit value. Linear with a scale of 0: grey 0.
  // Calibrated: inverted over the part of 0..S where the temperature rises, clamped to its ends;
  // NaN when it rises nowhere, as no grey value can then stand for a display value.
  double GreyAt(double unit, double greySpan) const;
  // The grey values lo..hi within 0..S over which the display value rises; none when it rises
  // nowhere (a calibration whose temperature falls as the grey value rises, a linear scale of 0 or
  // below). Only where it rises over all of 0..S is a window in the display unit one grey window.
  std::optional<std::pair<double, double>> RisingGreys(double greySpan) const;

  void SetCalibration(std::optional<TemperatureCalibration> calibration);
  const std::optional<TemperatureCalibration>& Calibration() const { return m_Calibration; }

  double Scale() const { return m_Scale; }
  double Offset() const { return m_Offset; }
  bool Normalization() const { return m_Normalization; }
  UINT Decimals() const { return m_Decimals; }

 private:
  std::string m_UnitText;
  double m_Scale = 1.0;
  double m_Offset = 0.0;
  bool m_Normalization = true;
  UINT m_Decimals = 2;
  std::optional<TemperatureCalibration> m_Calibration;
};

}  // namespace xelfw
