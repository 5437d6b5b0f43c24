#pragma once

#include <string>
#include <vector>

#include "toolkit/canvas.h"

namespace kelvora {

// A canvas for tests. It draws nothing: it measures by fixed rules and keeps
// each drawing call as one line of text, so that a test can compare what was
// drawn where, as text, on any machine.
//
// Metrics, for a font of pixel height h (TFont::PixelHeight()) whatever its
// name or style: a text is (number of bytes) x max(1, h / 2) wide and h + 2
// high. DrawText lays out as the Qt canvas does (lines at CR LF, CR and LF,
// word break at blanks, "&" prefixes resolved, tab stops every 8 character
// widths) with these metrics, so a multi-line text is as wide as its widest
// line and as high as (lines x (h + 2)). TextFitCount answers the whole
// characters that fit.
//
// The record, one line per call, fields apart by one space:
//   FillRect L,T,R,B brush=COLOR
//   FrameRect L,T,R,B brush=COLOR
//   Rectangle L,T,R,B pen=PEN brush=COLOR
//   LineTo X,Y from=X0,Y0 pen=PEN
//   DrawFocusRect L,T,R,B
//   DrawEdge L,T,R,B sides=Left|Top|Right|Bottom
//   TextOut X,Y "TEXT" font=FONT[ bg=COLOR]
//   DrawText "TEXT" L,T,R,B flags=FLAGS font=FONT[ bg=COLOR]
//   SetClipRect L,T,R,B
//   ResetClip
//   Draw X,Y bitmap=WxH
//   StretchDraw L,T,R,B bitmap=WxH
//   DrawIcon X,Y size=N[ empty]
//   DrawTiled L,T,R,B bitmap=WxH origin=X,Y
// COLOR is ColorToString's name ("clNavy", "$00102030"), or "clear" for a
// clear brush. PEN is COLOR/WIDTH, followed by /dash, /dot or /clear for those
// styles. FONT is NAME/HEIGHT/COLOR, then /B, /I, /U, /S letters together for
// the styles (as in "/BI") and /turn=N for an orientation. FLAGS are the
// tf names without "tf" joined by "|" in declaration order ("SingleLine|NoPrefix"),
// or "none". bg= shows an opaque text background in the brush colour. TEXT
// escapes \\, \", \r, \n, \t, other control bytes as \xNN, and bytes from
// 0x80 on as \xNN too when the text is not UTF-8. Measuring (TextExtent,
// TextFitCount, DrawText with tfCalcRect) leaves no record.
class TRecordingCanvas : public TCanvas {
 public:
  const std::vector<std::string>& Calls() const { return calls_; }
  void Clear() { calls_.clear(); }
  std::string Text() const;  // the calls joined by newlines

  // The metrics of the current font.
  int CharWidth() const;
  int LineHeight() const;

  void LineTo(int x, int y) override;
  void FillRect(const TRect& r) override;
  void Rectangle(const TRect& r) override;
  void FrameRect(const TRect& r) override;
  void DrawFocusRect(const TRect& r) override;
  void DrawEdge(const TRect& r, TEdgeSides sides) override;

  void TextOut(int x, int y, std::string_view text) override;
  int DrawText(std::string_view text, TRect& rect, TTextFlags flags) override;
  TSize TextExtent(std::string_view text) override;
  int TextFitCount(std::string_view text, int maxWidth, TSize* extent = nullptr) override;

  void SetClipRect(const TRect& r) override;
  void ResetClip() override;
  std::optional<TRect> ClipRect() const override { return clip_; }

  void Draw(int x, int y, const TBitmap& bitmap) override;
  void StretchDraw(const TRect& r, const TBitmap& bitmap) override;
  void DrawIcon(int x, int y, const TIcon& icon, int size) override;
  void DrawTiled(const TRect& r, const TBitmap& bitmap, TPoint origin) override;

 private:
  void Record(std::string call) { calls_.push_back(std::move(call)); }
  std::string BackgroundField() const;

  std::vector<std::string> calls_;
  std::optional<TRect> clip_;
};

// The pieces of the record, for tests that build an expected line.
std::string RecordedText(std::string_view text);
std::string RecordedFont(const TFont& font);
std::string RecordedFlags(TTextFlags flags);

}  // namespace kelvora
