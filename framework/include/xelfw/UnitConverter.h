// The framework's unit converter (XI object type 3): a linear map from grey values to a display unit.
#pragma once

#include <XelImgProcess/CXelUnitConverter_0.h>

#include <string>

namespace xelfw {

// Starts as the identity (scale 1, offset 0), normalisation on, two decimals and no unit text.
class XEL_HOST_API UnitConverter final : public CXelUnitConverter_0 {
 public:
  UnitConverter() = default;
  ~UnitConverter() override = default;

  UINT GetXIObjType() const override { return XI_OBJTYPE_UNIT_CONVERTER; }
  void SetUnitText(const char* text) override;
  const char* GetUnitText() const override { return m_UnitText.c_str(); }
  UINT SetConvParam(UINT id, UINT_PTR value, UINT_PTR arg2, UINT_PTR arg3, UINT_PTR arg4) override;
  double GreyToUnit(double grey, double greySpan) const override;
  // A scale of 0 maps every grey value to the offset; its inverse is then grey 0.
  double UnitToGrey(double unit, double greySpan) const override;
  UINT FormatValue(double grey, double greySpan, char* buffer, UINT size, UINT formatFlag,
                   INT decimals) const override;

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
};

}  // namespace xelfw
