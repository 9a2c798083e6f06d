// Unit converter (XI object type 3): grey values to display-unit values and texts, and back.
#pragma once

#include <XelImgProcess/CXelXIObject_0.h>

// Conversion parameters of SetConvParam.
inline constexpr UINT XI_CONV_PARAM_DECIMALS = 0;             // value: decimals FormatValue writes when asked for -1
inline constexpr UINT XI_CONV_PARAM_SCALE_OFFSET = 0x10000;   // value: pointer to two doubles {scale, offset}
inline constexpr UINT XI_CONV_PARAM_NORMALIZATION = 0x10001;  // value: 1 = map grey values into the unit

// Format flags of FormatValue.
inline constexpr UINT XI_FORMAT_NUMBER = 0;           // the number alone, as an edit field wants it
inline constexpr UINT XI_FORMAT_NUMBER_AND_UNIT = 1;  // the number, a space and the unit text

// With normalisation on, a grey value g reads as offset + g * scale in the display unit; with it off
// the converter shows grey values unchanged (the unit is then the sensor's own count). The grey span
// (largest grey value of the source) travels with every call so that a converter may relate a value
// to the full range; the linear converter of this framework does not need it.
class XEL_HOST_API CXelUnitConverter_0 : public CXelXIObject_0 {
 public:
  virtual void SetUnitText(const char* text) = 0;
  virtual const char* GetUnitText() const = 0;
  // XIP_OK, or XIP_E_BADARG for an unknown identifier or a null pointer where one is needed.
  virtual UINT SetConvParam(UINT id, UINT_PTR value, UINT_PTR arg2, UINT_PTR arg3, UINT_PTR arg4) = 0;
  virtual double GreyToUnit(double grey, double greySpan) const = 0;
  virtual double UnitToGrey(double unit, double greySpan) const = 0;
  // Writes the display-unit text of a grey value into buffer (always NUL-terminated when size > 0,
  // cut to fit) and returns its length. decimals -1: the converter's default (XI_CONV_PARAM_DECIMALS).
  virtual UINT FormatValue(double grey, double greySpan, char* buffer, UINT size, UINT formatFlag,
                           INT decimals) const = 0;
};
