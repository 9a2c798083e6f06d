// DrawText: text laid out in a rectangle, with mnemonic underlines, word wrapping and ellipses.
#include "raster.h"
#include "text_render.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

using winui::gdi::DeviceContext;
using winui::gdi::FontInstance;

namespace {

struct Line {
  std::string text;
  int mnemonic = -1;  // index of the underlined character, or -1
};

// Removes the '&' prefixes ("&&" stays as one '&') and remembers which character the first marks.
Line StripPrefixes(const std::string& raw, UINT format) {
  if (format & DT_NOPREFIX) return Line{raw, -1};
  Line line;
  for (std::size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] != '&') {
      line.text += raw[i];
      continue;
    }
    if (i + 1 == raw.size()) break;
    if (raw[i + 1] != '&' && line.mnemonic < 0 && !(format & DT_HIDEPREFIX))
      line.mnemonic = static_cast<int>(line.text.size());
    line.text += raw[++i];
  }
  return line;
}

std::string ExpandTabs(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\t') {
      out.append(8 - out.size() % 8, ' ');
    } else {
      out += c;
    }
  }
  return out;
}

std::vector<std::string> Paragraphs(const std::string& text, UINT format) {
  std::vector<std::string> out(1);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c != '\r' && c != '\n') {
      out.back() += c;
    } else if (!(format & DT_SINGLELINE)) {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out.emplace_back();
    }
  }
  return out;
}

int Width(const FontInstance& font, const std::string& text) {
  return winui::gdi::TextWidth(font, text.data(), static_cast<int>(text.size()));
}

// Greedy breaks at spaces; a word wider than the rectangle keeps a line of its own, as Windows does.
std::vector<Line> Wrap(const Line& paragraph, const FontInstance& font, int maxWidth) {
  std::vector<Line> lines;
  const std::string& text = paragraph.text;
  std::size_t start = 0;
  while (true) {
    std::size_t end = start, lastFit = std::string::npos;
    while (end < text.size()) {
      std::size_t wordEnd = text.find(' ', end);
      if (wordEnd == std::string::npos) wordEnd = text.size();
      if (Width(font, text.substr(start, wordEnd - start)) > maxWidth && lastFit != std::string::npos) break;
      lastFit = wordEnd;
      end = wordEnd == text.size() ? wordEnd : wordEnd + 1;
    }
    const std::size_t lineEnd = lastFit == std::string::npos ? text.size() : lastFit;
    Line line{text.substr(start, lineEnd - start), -1};
    if (paragraph.mnemonic >= static_cast<int>(start) && paragraph.mnemonic < static_cast<int>(lineEnd)) {
      line.mnemonic = paragraph.mnemonic - static_cast<int>(start);
    }
    lines.push_back(std::move(line));
    start = lineEnd;
    while (start < text.size() && text[start] == ' ') ++start;
    if (start >= text.size()) break;
  }
  return lines;
}

void AddEllipsis(Line& line, const FontInstance& font, int maxWidth) {
  if (Width(font, line.text) <= maxWidth) return;
  const int dots = Width(font, "...");
  std::size_t keep = line.text.size();
  while (keep > 0 && Width(font, line.text.substr(0, keep)) + dots > maxWidth) --keep;
  line.text = line.text.substr(0, keep) + "...";
  if (line.mnemonic >= static_cast<int>(keep)) line.mnemonic = -1;
}

std::vector<Line> Layout(const std::string& text, UINT format, const FontInstance& font, int maxWidth) {
  std::vector<Line> lines;
  for (const std::string& paragraph : Paragraphs(text, format)) {
    Line stripped = StripPrefixes((format & DT_EXPANDTABS) ? ExpandTabs(paragraph) : paragraph, format);
    if ((format & DT_WORDBREAK) && !(format & DT_SINGLELINE)) {
      for (Line& wrapped : Wrap(stripped, font, maxWidth)) lines.push_back(std::move(wrapped));
    } else {
      lines.push_back(std::move(stripped));
    }
  }
  if (format & DT_END_ELLIPSIS) {
    for (Line& line : lines) AddEllipsis(line, font, maxWidth);
  }
  return lines;
}

}  // namespace

int DrawText(HDC handle, LPCSTR text, int length, LPRECT rect, UINT format) {
  DeviceContext* dc = winui::gdi::LookupDc(handle);
  const FontInstance* font = dc ? winui::gdi::CurrentFont(*dc) : nullptr;
  if (!font || !rect || (!text && length != 0)) return 0;
  const std::string source(text ? text : "",
                           text ? (length < 0 ? std::strlen(text) : static_cast<std::size_t>(length)) : 0);
  const RECT box = *rect;
  const int boxWidth = box.right - box.left;
  const std::vector<Line> lines = Layout(source, format, *font, boxWidth);
  const int lineHeight = font->Metrics().tmHeight;
  const int textHeight = lineHeight * static_cast<int>(lines.size());

  if (format & DT_CALCRECT) {
    int widest = 0;
    for (const Line& line : lines) widest = std::max(widest, Width(*font, line.text));
    rect->right = rect->left + widest;
    rect->bottom = rect->top + textHeight;
    return textHeight;
  }

  int top = box.top;
  if (format & DT_SINGLELINE) {
    if (format & DT_VCENTER)
      top = box.top + (box.bottom - box.top - lineHeight) / 2;
    else if (format & DT_BOTTOM)
      top = box.bottom - lineHeight;
  }
  const RECT deviceBox = winui::gdi::ToDevice(*dc, box);
  const RECT* clip = (format & DT_NOCLIP) ? nullptr : &deviceBox;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const Line& line = lines[i];
    const int width = Width(*font, line.text);
    int left = box.left;
    if (format & DT_CENTER)
      left = box.left + (boxWidth - width) / 2;
    else if (format & DT_RIGHT)
      left = box.right - width;
    const POINT cell = winui::gdi::ToDevice(*dc, left, top + static_cast<int>(i) * lineHeight);
    if (dc->state.bkMode == OPAQUE) {
      const RECT background{cell.x, cell.y, cell.x + width, cell.y + lineHeight};
      winui::gdi::FillDevice(*dc, clip ? winui::gdi::Intersection(background, *clip) : background, dc->state.bkColor);
    }
    winui::gdi::RenderText(*dc, *font, cell.x, cell.y, line.text.data(), static_cast<int>(line.text.size()), clip,
                           nullptr);
    if (line.mnemonic >= 0) {
      const int offset = winui::gdi::TextWidth(*font, line.text.data(), line.mnemonic);
      const int charWidth = font->Advance(static_cast<unsigned char>(line.text[line.mnemonic]));
      winui::gdi::RenderUnderline(*dc, *font, cell.x + offset, cell.y, charWidth, clip);
    }
  }
  if ((format & DT_SINGLELINE) && (format & (DT_VCENTER | DT_BOTTOM))) return top + lineHeight - box.top;
  return textHeight;
}
