#pragma once

#include <optional>
#include <string_view>

#include "toolkit/bitmap.h"
#include "toolkit/font.h"
#include "toolkit/geometry.h"
#include "toolkit/set.h"

namespace kelvora {

// Layout flags for DrawText. Left and top are what a text gets without the
// horizontal and vertical flags.
enum TTextFlag {
  tfSingleLine,
  tfWordBreak,
  tfEditControl,  // with word break: break a word longer than the line
  tfCenter,
  tfRight,
  tfVCenter,
  tfBottom,
  tfNoPrefix,  // "&" is a plain character
  tfExpandTabs,
  tfRtlReading,
  tfCalcRect,  // measure only: widen or heighten the rectangle, draw nothing
  tfNoClip,
};
using TTextFlags = TSet<TTextFlag>;

enum TEdgeSide { esLeft, esTop, esRight, esBottom };
using TEdgeSides = TSet<TEdgeSide>;
inline const TEdgeSides kAllEdges{esLeft, esTop, esRight, esBottom};

// The drawing surface. Every measure and every stroke of the grid goes through
// it, so that painting code can be checked against a recording surface. Texts
// are byte strings, shown and measured through the toolkit's display decoding.
class TCanvas {
 public:
  virtual ~TCanvas() = default;

  TFont& Font() { return font_; }
  const TFont& Font() const { return font_; }
  void SetFont(const TFont& font) { font_ = font; }
  TBrush& Brush() { return brush_; }
  const TBrush& Brush() const { return brush_; }
  TPen& Pen() { return pen_; }
  const TPen& Pen() const { return pen_; }

  // Opaque text (the default) fills the background of each text with the brush.
  bool TransparentText() const { return transparentText_; }
  void SetTransparentText(bool on) { transparentText_ = on; }

  TPoint PenPos() const { return penPos_; }
  void MoveTo(int x, int y) { penPos_ = {x, y}; }
  // Draws from the pen position to (x, y), leaving out the end point.
  virtual void LineTo(int x, int y) = 0;

  virtual void FillRect(const TRect& r) = 0;   // with the brush, no outline
  virtual void Rectangle(const TRect& r) = 0;  // outline with the pen, inside with the brush
  virtual void FrameRect(const TRect& r) = 0;  // 1-pixel outline in the brush colour
  virtual void DrawFocusRect(const TRect& r) = 0;  // dotted, exclusive-or: twice undoes it
  // The raised inner edge of a classic three-dimensional frame.
  virtual void DrawEdge(const TRect& r, TEdgeSides sides) = 0;

  // (x, y) is the top left of the text; a font with an Orientation turns it
  // about that point.
  virtual void TextOut(int x, int y, std::string_view text) = 0;
  // Returns the height of the text drawn. Without tfSingleLine the text breaks
  // at CR LF, CR and LF, and the vertical flags place the whole block. With
  // tfCalcRect nothing is drawn and the rectangle's right and bottom are set
  // to the text's extent (its widest line, all its lines).
  virtual int DrawText(std::string_view text, TRect& rect, TTextFlags flags) = 0;
  virtual TSize TextExtent(std::string_view text) = 0;
  int TextWidth(std::string_view text) { return TextExtent(text).cx; }
  int TextHeight(std::string_view text) { return TextExtent(text).cy; }
  // How many bytes of the text fit into maxWidth pixels, never cutting a
  // character; extent receives the size of that part when given.
  virtual int TextFitCount(std::string_view text, int maxWidth, TSize* extent = nullptr) = 0;

  virtual void SetClipRect(const TRect& r) = 0;
  virtual void ResetClip() = 0;
  // The clip last set, none after ResetClip. Whoever narrows the clip for a
  // piece of drawing puts this one back afterwards.
  virtual std::optional<TRect> ClipRect() const { return std::nullopt; }

  virtual void Draw(int x, int y, const TBitmap& bitmap) = 0;
  virtual void StretchDraw(const TRect& r, const TBitmap& bitmap) = 0;
  void DrawImage(const TImageList& list, int index, int x, int y) {
    if (index >= 0 && index < list.Count()) Draw(x, y, list.Item(index));
  }
  virtual void DrawIcon(int x, int y, const TIcon& icon, int size) = 0;
  // Fills r, and nothing outside it, with copies of the bitmap laid edge to
  // edge, one of them with its top left at origin.
  virtual void DrawTiled(const TRect& r, const TBitmap& bitmap, TPoint origin) = 0;

 private:
  TFont font_;
  TBrush brush_;
  TPen pen_;
  TPoint penPos_;
  bool transparentText_ = false;
};

}  // namespace kelvora
