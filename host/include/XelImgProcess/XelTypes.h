// Result codes, object types, INI data types and the pixel-format descriptor of XelImgProcess.
#pragma once

#include <winui/windef.h>

#include <cstdint>

// Classes that cross the boundary between the framework and a plug-in keep one identity (type info,
// vtables) in every module even when a module hides its own symbols.
#define XEL_HOST_API __attribute__((visibility("default")))

// Result codes of the processing-object interface. 0 is success, errors are 0xA001xxxx.
inline constexpr UINT XIP_OK = 0;
inline constexpr UINT XIP_E_BADARG = 0xA0010004;             // null pointer, wrong size, index out of range
inline constexpr UINT XIP_E_NOIMAGE = 0xA0010005;            // source or destination image missing
inline constexpr UINT XIP_E_FORMAT = 0xA0010006;             // LUT cannot be set up, unsupported bit depth
inline constexpr UINT XIP_E_AOI = 0xA0010007;                // AOI not rectangular, or empty
inline constexpr UINT XIP_E_INCOMPLETE_IMPORT = 0xA0010009;  // INI import did not read every key
inline constexpr UINT XIP_E_PROGRESS_REFUSED = 0xA001000D;   // the host refused to start progress reporting

// Object types of the framework and of its plug-ins share one enumeration.
enum _EXIP_OBJTYPE : UINT {
  XIP_OBJTYPE_NONE = 0,
  XIP_OBJTYPE_STATISTICS = 67,  // histogram and statistics object of the framework
  XIP_OBJTYPE_PSEUDOCOLOR_LUT = 96,
  XIP_OBJTYPE_TEMPERATURE_DISPLAY = 97,
};

// Auxiliary ("XI") objects the framework lends to processing objects.
inline constexpr UINT XI_OBJTYPE_UNIT_CONVERTER = 3;

// Element types of ImportIniData / ExportIniData.
enum TINI_DATA_TYPE : UINT {
  INI_DATA_STRING = 0,  // import count: buffer size in bytes; export count: 0
  INI_DATA_INT32 = 1,   // count: number of 32-bit integers
  INI_DATA_DOUBLE = 5,  // count: number of doubles
};

// Identifiers of the parameters every processing object understands through its base class.
inline constexpr UINT XIP_PARAM_INI = 17;                 // value: INI context, size: mode 0..2
inline constexpr UINT XIP_PARAM_USER_BUTTON_TEXT = 18;    // caption of a user button
inline constexpr UINT XIP_PARAM_SWITCH_ACTIVE = 20;       // host switch: the object takes part in processing
inline constexpr UINT XIP_PARAM_SWITCH_LOGGING = 21;      // host switch: the object's log lines are written
inline constexpr UINT XIP_PARAM_OBJECT_INDEX = 0x600000;  // object-defined index parameter (e.g. a profile)

// Modes of parameter 17 (the size argument).
inline constexpr UINT XIP_INI_MODE_ALL = 0;        // the object's settings and the host's own keys
inline constexpr UINT XIP_INI_MODE_HOST = 1;       // only the host's own keys (switches, captions)
inline constexpr UINT XIP_INI_MODE_PLACEMENT = 2;  // only the dialog placement

// ---------------------------------------------------------------------------------------------------
// Pixel-format descriptor (64 bits), as GetFormat returns it.
//   bits  0..5   number of components
//   bits  6..11  significant bits per component (ImgBPC)
//   bits 12..17  LSB position of a component inside its storage unit
//   bits 18..23  storage bits per component (MemBPC)
//   bits 24..31  format class
//   bits 32..39  bits per pixel
//   bits 40..47  component order (XI_ORDER_*)
inline constexpr UINT XI_IMGFORMAT_CLASS_GREYSCALE = 1;
inline constexpr UINT XI_IMGFORMAT_CLASS_RGB = 4;  // three-component colour

inline constexpr UINT XI_ORDER_RGB = 0;
inline constexpr UINT XI_ORDER_BGR = 1;

using XI_IMGFORMAT = std::uint64_t;

constexpr UINT XiFormatNumComponents(XI_IMGFORMAT f) { return static_cast<UINT>(f & 0x3F); }
constexpr UINT XiFormatBitDepth(XI_IMGFORMAT f) { return static_cast<UINT>((f >> 6) & 0x3F); }
constexpr UINT XiFormatLsbPos(XI_IMGFORMAT f) { return static_cast<UINT>((f >> 12) & 0x3F); }
constexpr UINT XiFormatMemBPC(XI_IMGFORMAT f) { return static_cast<UINT>((f >> 18) & 0x3F); }
constexpr UINT XiFormatClass(XI_IMGFORMAT f) { return static_cast<UINT>((f >> 24) & 0xFF); }
constexpr UINT XiFormatBitsPerPixel(XI_IMGFORMAT f) { return static_cast<UINT>((f >> 32) & 0xFF); }
constexpr UINT XiFormatOrder(XI_IMGFORMAT f) { return static_cast<UINT>((f >> 40) & 0xFF); }

constexpr XI_IMGFORMAT XiMakeFormat(UINT formatClass, UINT numComponents, UINT imgBPC, UINT lsbPos, UINT memBPC,
                                    UINT bitsPerPixel, UINT order) {
  return static_cast<XI_IMGFORMAT>(numComponents & 0x3F) | (static_cast<XI_IMGFORMAT>(imgBPC & 0x3F) << 6) |
         (static_cast<XI_IMGFORMAT>(lsbPos & 0x3F) << 12) | (static_cast<XI_IMGFORMAT>(memBPC & 0x3F) << 18) |
         (static_cast<XI_IMGFORMAT>(formatClass & 0xFF) << 24) |
         (static_cast<XI_IMGFORMAT>(bitsPerPixel & 0xFF) << 32) | (static_cast<XI_IMGFORMAT>(order & 0xFF) << 40);
}
