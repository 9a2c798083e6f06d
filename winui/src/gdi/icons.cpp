// Icons: 32-bit pixels with straight alpha, blended onto whatever lies beneath.
#include "raster.h"

#include <winui/winuser.h>

using winui::gdi::DeviceContext;
using winui::gdi::IconData;

namespace {

// Larger icons are a garbage size, not a picture.
constexpr int kMaxIconSide = 1024;

void Draw(DeviceContext& dc, const IconData& icon, POINT device, int width, int height) {
  for (int row = 0; row < height; ++row) {
    const int sy = row * icon.height / height;
    for (int col = 0; col < width; ++col) {
      const std::uint32_t argb = icon.argb[static_cast<std::size_t>(sy) * icon.width + col * icon.width / width];
      winui::gdi::BlendDevice(dc, device.x + col, device.y + row, argb & 0xFFFFFF, static_cast<int>(argb >> 24));
    }
  }
}

}  // namespace

HICON CreateIconFromPixels(int width, int height, const std::uint32_t* argb) {
  if (!argb || width <= 0 || height <= 0 || width > kMaxIconSide || height > kMaxIconSide) return nullptr;
  IconData icon{width, height, std::vector<std::uint32_t>(argb, argb + static_cast<std::size_t>(width) * height)};
  return reinterpret_cast<HICON>(winui::gdi::Register(winui::gdi::GdiObject{std::move(icon)}));
}

namespace winui {

SIZE IconSize(HICON icon) {
  const IconData* data = gdi::LookupAs<IconData>(icon);
  return data ? SIZE{data->width, data->height} : SIZE{};
}

}  // namespace winui

BOOL DrawIconEx(HDC handle, int x, int y, HICON icon, int width, int height, UINT /*step*/, HBRUSH flickerFree,
                UINT flags) {
  DeviceContext* dc = winui::gdi::LookupDc(handle);
  const IconData* data = winui::gdi::LookupAs<IconData>(icon);
  if (!dc || !data) return FALSE;
  if (width == 0) width = (flags & DI_DEFAULTSIZE) ? GetSystemMetrics(SM_CXICON) : data->width;
  if (height == 0) height = (flags & DI_DEFAULTSIZE) ? GetSystemMetrics(SM_CYICON) : data->height;
  if (width < 0 || height < 0) return FALSE;
  if (flickerFree) {
    const RECT background{x, y, x + width, y + height};
    FillRect(handle, &background, flickerFree);
  }
  Draw(*dc, *data, winui::gdi::ToDevice(*dc, x, y), width, height);
  return TRUE;
}

BOOL DrawIcon(HDC dc, int x, int y, HICON icon) {
  // DrawIcon always draws at the system icon size, scaling other sizes as Windows does.
  return DrawIconEx(dc, x, y, icon, 0, 0, 0, nullptr, DI_NORMAL | DI_DEFAULTSIZE);
}

BOOL DestroyIcon(HICON icon) {
  return winui::gdi::LookupAs<IconData>(icon) && winui::gdi::Destroy(icon) ? TRUE : FALSE;
}

BOOL GetIconInfo(HICON icon, ICONINFO* info) {
  const IconData* data = winui::gdi::LookupAs<IconData>(icon);
  if (!data || !info) return FALSE;
  *info = ICONINFO{};
  info->xHotspot = static_cast<DWORD>(data->width / 2);
  info->yHotspot = static_cast<DWORD>(data->height / 2);
  std::vector<std::uint32_t> pixels(data->argb.size());
  for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = data->argb[i] & 0xFFFFFF;
  info->hbmColor = CreateBitmap(data->width, data->height, 1, 32, pixels.data());
  return TRUE;
}
