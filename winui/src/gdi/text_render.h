// Measuring and drawing one line of text in a DC's font and colours.
#pragma once

#include "device_context.h"
#include "font_engine.h"

namespace winui::gdi {

int TextWidth(const FontInstance& font, const char* text, int length);

// Glyphs of `text` with the top-left of the first cell at device (x, y), blended in the text
// colour; `clip` (device coordinates, may be null) narrows the DC's clip; `dx` (may be null) gives
// each character's advance instead of the font's.
void RenderText(DeviceContext& dc, const FontInstance& font, int x, int y, const char* text, int length,
                const RECT* clip, const INT* dx);

// The one-pixel mnemonic underline under `width` pixels starting at device x, for the cell at y.
void RenderUnderline(DeviceContext& dc, const FontInstance& font, int x, int y, int width, const RECT* clip);

}  // namespace winui::gdi
