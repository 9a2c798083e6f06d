// Basic Windows types for the window and drawing layer.
//
// The names and meanings are those of <windef.h>/<wtypes.h> so that dialog and control code reads
// like ordinary Win32/MFC code. Everything that can hold a pointer is pointer-sized; everything a
// Windows header calls 32-bit and that never holds a pointer stays 32-bit.
#pragma once

#include <cstddef>
#include <cstdint>

using BOOL = std::int32_t;
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = std::uint32_t;
using INT = std::int32_t;
using LONG = std::int32_t;
using ULONG = std::uint32_t;
using SHORT = std::int16_t;
using USHORT = std::uint16_t;
using CHAR = char;
using UINT_PTR = std::uintptr_t;
using INT_PTR = std::intptr_t;
using LONG_PTR = std::intptr_t;
using ULONG_PTR = std::uintptr_t;
using DWORD_PTR = std::uintptr_t;
using WPARAM = UINT_PTR;
using LPARAM = LONG_PTR;
using LRESULT = LONG_PTR;
using COLORREF = DWORD;  // 0x00BBGGRR
using ATOM = WORD;
using LPSTR = char*;
using LPCSTR = const char*;
using LPVOID = void*;
using LPCVOID = const void*;

inline constexpr BOOL TRUE = 1;
inline constexpr BOOL FALSE = 0;

// Opaque handles, one distinct type each, as STRICT Windows declares them.
#define WINUI_DECLARE_HANDLE(name) \
  struct name##__;                 \
  using name = name##__*
WINUI_DECLARE_HANDLE(HWND);
WINUI_DECLARE_HANDLE(HINSTANCE);
WINUI_DECLARE_HANDLE(HDC);
WINUI_DECLARE_HANDLE(HICON);
WINUI_DECLARE_HANDLE(HCURSOR);
WINUI_DECLARE_HANDLE(HMENU);
WINUI_DECLARE_HANDLE(HGDIOBJ);
WINUI_DECLARE_HANDLE(HPEN);
WINUI_DECLARE_HANDLE(HBRUSH);
WINUI_DECLARE_HANDLE(HFONT);
WINUI_DECLARE_HANDLE(HBITMAP);
WINUI_DECLARE_HANDLE(HRGN);
WINUI_DECLARE_HANDLE(HRSRC);
WINUI_DECLARE_HANDLE(HGLOBAL);
WINUI_DECLARE_HANDLE(HACCEL);
#undef WINUI_DECLARE_HANDLE
using HMODULE = HINSTANCE;
using HANDLE = void*;

struct POINT {
  LONG x = 0;
  LONG y = 0;
};

struct SIZE {
  LONG cx = 0;
  LONG cy = 0;
};

// Left and top edges belong to the rectangle, right and bottom edges do not.
struct RECT {
  LONG left = 0;
  LONG top = 0;
  LONG right = 0;
  LONG bottom = 0;
};

using LPPOINT = POINT*;
using LPRECT = RECT*;
using LPCRECT = const RECT*;

constexpr COLORREF RGB(BYTE r, BYTE g, BYTE b) {
  return static_cast<COLORREF>(r) | (static_cast<COLORREF>(g) << 8) | (static_cast<COLORREF>(b) << 16);
}
constexpr BYTE GetRValue(COLORREF c) { return static_cast<BYTE>(c & 0xFF); }
constexpr BYTE GetGValue(COLORREF c) { return static_cast<BYTE>((c >> 8) & 0xFF); }
constexpr BYTE GetBValue(COLORREF c) { return static_cast<BYTE>((c >> 16) & 0xFF); }

constexpr WORD LOWORD(DWORD_PTR v) { return static_cast<WORD>(v & 0xFFFF); }
constexpr WORD HIWORD(DWORD_PTR v) { return static_cast<WORD>((v >> 16) & 0xFFFF); }
constexpr DWORD MAKELONG(WORD lo, WORD hi) { return static_cast<DWORD>(lo) | (static_cast<DWORD>(hi) << 16); }
constexpr LPARAM MAKELPARAM(WORD lo, WORD hi) { return static_cast<LPARAM>(MAKELONG(lo, hi)); }
constexpr WPARAM MAKEWPARAM(WORD lo, WORD hi) { return static_cast<WPARAM>(MAKELONG(lo, hi)); }
// Signed coordinates packed into an LPARAM by mouse messages.
constexpr int GET_X_LPARAM(LPARAM lp) { return static_cast<SHORT>(LOWORD(static_cast<DWORD_PTR>(lp))); }
constexpr int GET_Y_LPARAM(LPARAM lp) { return static_cast<SHORT>(HIWORD(static_cast<DWORD_PTR>(lp))); }

// Resource names: an integer identifier travels as a pointer whose value is below 0x10000.
inline LPCSTR MAKEINTRESOURCE(UINT id) { return reinterpret_cast<LPCSTR>(static_cast<UINT_PTR>(id & 0xFFFF)); }
inline bool IS_INTRESOURCE(LPCSTR name) { return (reinterpret_cast<UINT_PTR>(name) >> 16) == 0; }
