#include "toolkit/recording_canvas.h"

#include <QString>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdio>

#include "toolkit/byte_text.h"
#include "toolkit/color.h"
#include "toolkit/text_layout.h"

namespace kelvora {
namespace {

constexpr int kTabStopCharacters = 8;

std::string Point(int x, int y) { return std::to_string(x) + "," + std::to_string(y); }

std::string Box(const TRect& r) { return Point(r.Left, r.Top) + "," + Point(r.Right, r.Bottom); }

std::string BrushText(const TBrush& brush) {
  return brush.Style == bsClear ? std::string("clear") : ColorToString(brush.Color);
}

std::string PenText(const TPen& pen) {
  std::string text = ColorToString(pen.Color) + "/" + std::to_string(pen.Width);
  switch (pen.Style) {
    case psDash: return text + "/dash";
    case psDot: return text + "/dot";
    case psClear: return text + "/clear";
    case psSolid: break;
  }
  return text;
}

std::string SidesText(TEdgeSides sides) {
  static constexpr std::array<const char*, 4> kNames{"Left", "Top", "Right", "Bottom"};
  std::string text;
  for (int side = esLeft; side <= esBottom; ++side) {
    if (!sides.contains(static_cast<TEdgeSide>(side))) continue;
    if (!text.empty()) text += "|";
    text += kNames[static_cast<std::size_t>(side)];
  }
  return text.empty() ? "none" : text;
}

std::string Escaped(unsigned char byte) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "\\x%02X", byte);
  return buffer;
}

int Clamped(long long value) { return static_cast<int>(std::min<long long>(value, INT_MAX)); }

}  // namespace

std::string RecordedText(std::string_view text) {
  const bool utf8 = IsValidUtf8(text);
  std::string out = "\"";
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\\' || c == '"') out += std::string("\\") + c;
    else if (c == '\r') out += "\\r";
    else if (c == '\n') out += "\\n";
    else if (c == '\t') out += "\\t";
    else if (byte < 0x20 || byte == 0x7F || (byte >= 0x80 && !utf8)) out += Escaped(byte);
    else out += c;
  }
  return out + "\"";
}

std::string RecordedFont(const TFont& font) {
  std::string text = font.Name + "/" + std::to_string(font.Height) + "/" + ColorToString(font.Color);
  std::string styles;
  if (font.Style.contains(fsBold)) styles += "B";
  if (font.Style.contains(fsItalic)) styles += "I";
  if (font.Style.contains(fsUnderline)) styles += "U";
  if (font.Style.contains(fsStrikeOut)) styles += "S";
  if (!styles.empty()) text += "/" + styles;
  if (font.Orientation != 0) text += "/turn=" + std::to_string(font.Orientation);
  return text;
}

std::string RecordedFlags(TTextFlags flags) {
  static constexpr std::array<const char*, 12> kNames{
      "SingleLine", "WordBreak", "EditControl", "Center",     "Right",    "VCenter",
      "Bottom",     "NoPrefix",  "ExpandTabs",  "RtlReading", "CalcRect", "NoClip"};
  std::string text;
  for (int flag = tfSingleLine; flag <= tfNoClip; ++flag) {
    if (!flags.contains(static_cast<TTextFlag>(flag))) continue;
    if (!text.empty()) text += "|";
    text += kNames[static_cast<std::size_t>(flag)];
  }
  return text.empty() ? "none" : text;
}

std::string TRecordingCanvas::Text() const {
  std::string text;
  for (const std::string& call : calls_) {
    if (!text.empty()) text += "\n";
    text += call;
  }
  return text;
}

int TRecordingCanvas::CharWidth() const { return std::max(1, Font().PixelHeight() / 2); }

int TRecordingCanvas::LineHeight() const { return Font().PixelHeight() + 2; }

std::string TRecordingCanvas::BackgroundField() const {
  if (TransparentText() || Brush().Style == bsClear) return "";
  return " bg=" + ColorToString(Brush().Color);
}

void TRecordingCanvas::LineTo(int x, int y) {
  const TPoint from = PenPos();
  MoveTo(x, y);
  Record("LineTo " + Point(x, y) + " from=" + Point(from.X, from.Y) + " pen=" + PenText(Pen()));
}

void TRecordingCanvas::FillRect(const TRect& r) { Record("FillRect " + Box(r) + " brush=" + BrushText(Brush())); }

void TRecordingCanvas::Rectangle(const TRect& r) {
  Record("Rectangle " + Box(r) + " pen=" + PenText(Pen()) + " brush=" + BrushText(Brush()));
}

void TRecordingCanvas::FrameRect(const TRect& r) { Record("FrameRect " + Box(r) + " brush=" + BrushText(Brush())); }

void TRecordingCanvas::DrawFocusRect(const TRect& r) { Record("DrawFocusRect " + Box(r)); }

void TRecordingCanvas::DrawEdge(const TRect& r, TEdgeSides sides) {
  Record("DrawEdge " + Box(r) + " sides=" + SidesText(sides));
}

void TRecordingCanvas::TextOut(int x, int y, std::string_view text) {
  Record("TextOut " + Point(x, y) + " " + RecordedText(text) + " font=" + RecordedFont(Font()) + BackgroundField());
}

int TRecordingCanvas::DrawText(std::string_view text, TRect& rect, TTextFlags flags) {
  const int charWidth = CharWidth();
  const bool utf8 = IsValidUtf8(text);
  const TTabbedMeasure measure(
      [charWidth, utf8](QStringView s) { return Clamped(ByteLength(s, utf8) * charWidth); },
      flags.contains(tfExpandTabs), kTabStopCharacters * charWidth);
  const TTextLayout layout = LayoutText(DisplayText(text), flags, rect.Width(), measure);
  const int height = Clamped(static_cast<long long>(layout.Lines.size()) * LineHeight());
  if (flags.contains(tfCalcRect)) {
    rect.Right = rect.Left + layout.Width;
    rect.Bottom = rect.Top + height;
    return height;
  }
  Record("DrawText " + RecordedText(text) + " " + Box(rect) + " flags=" + RecordedFlags(flags) +
         " font=" + RecordedFont(Font()) + BackgroundField());
  return height;
}

TSize TRecordingCanvas::TextExtent(std::string_view text) {
  return {Clamped(static_cast<long long>(text.size()) * CharWidth()), LineHeight()};
}

int TRecordingCanvas::TextFitCount(std::string_view text, int maxWidth, TSize* extent) {
  std::size_t count = maxWidth < 0 ? 0 : std::min(text.size(), static_cast<std::size_t>(maxWidth / CharWidth()));
  if (IsValidUtf8(text)) {
    while (count > 0 && count < text.size() && (static_cast<unsigned char>(text[count]) & 0xC0) == 0x80) --count;
  }
  if (extent) *extent = TextExtent(text.substr(0, count));
  return static_cast<int>(count);
}

void TRecordingCanvas::SetClipRect(const TRect& r) {
  clip_ = r;
  Record("SetClipRect " + Box(r));
}

void TRecordingCanvas::ResetClip() {
  clip_.reset();
  Record("ResetClip");
}

void TRecordingCanvas::Draw(int x, int y, const TBitmap& bitmap) {
  Record("Draw " + Point(x, y) + " bitmap=" + std::to_string(bitmap.Width()) + "x" + std::to_string(bitmap.Height()));
}

void TRecordingCanvas::StretchDraw(const TRect& r, const TBitmap& bitmap) {
  Record("StretchDraw " + Box(r) + " bitmap=" + std::to_string(bitmap.Width()) + "x" +
         std::to_string(bitmap.Height()));
}

void TRecordingCanvas::DrawIcon(int x, int y, const TIcon& icon, int size) {
  Record("DrawIcon " + Point(x, y) + " size=" + std::to_string(size) + (icon.Empty() ? " empty" : ""));
}

void TRecordingCanvas::DrawTiled(const TRect& r, const TBitmap& bitmap, TPoint origin) {
  Record("DrawTiled " + Box(r) + " bitmap=" + std::to_string(bitmap.Width()) + "x" +
         std::to_string(bitmap.Height()) + " origin=" + Point(origin.X, origin.Y));
}

}  // namespace kelvora
