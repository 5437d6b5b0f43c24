#pragma once

// Painting one cell on the recording canvas, with a grid that is only a set
// of answers: what each hook and event of the grid is asked is logged, and
// what the mark-up renderer is handed is kept.

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "common/fonts.h"
#include "common/recorded_calls.h"
#include "grid/render/cell_paint.h"
#include "toolkit/recording_canvas.h"

namespace kelvora::paint_test {

class TFakeHost : public TCellPaintHost {
 public:
  std::string Text;
  bool ExtraFixed = false;
  bool Password = false;
  TAlignment Alignment = taLeftJustify;
  std::set<int> SelectedRows;
  TCellBorders Borders;
  TPen BorderPen{clBlack, 1, psSolid};
  bool GraphicFillsCell = false;
  std::function<void(TGridDrawState, TBrush&, TFont&)> Colours;
  std::function<void(std::string&)> Formula;
  std::function<void()> OnDraw;
  std::vector<std::string> Log;

  std::string_view StoredText(int, int) const override { return Text; }
  bool IsExtraFixedCell(int, int) override { return ExtraFixed; }
  void ApplyCellColours(int, int, TGridDrawState state, TBrush& brush, TFont& font) override {
    Log.push_back("colours " + StateText(state));
    if (Colours) Colours(state, brush, font);
  }
  TAlignment CellAlignment(int, int) override { return Alignment; }
  bool IsPasswordCell(int, int) override { return Password; }
  bool RowSelect(int row) const override { return SelectedRows.count(row) > 0; }
  void CalcFormula(int, int, std::string& text) override {
    if (Formula) Formula(text);
  }
  TCellBorders CellBorders(int, int, TPen& pen) override {
    if (!Borders.empty()) pen = BorderPen;
    return Borders;
  }
  bool CellGraphicFillsCell(int, int) override { return GraphicFillsCell; }
  void DrawCellGraphic(int col, int row, const TRect& r) override { Log.push_back("graphic " + Cell(col, row, r)); }
  void DrawCellEvent(int col, int row, const TRect& r, TGridDrawState state) override {
    Log.push_back("draw " + Cell(col, row, r) + " " + StateText(state));
    if (OnDraw) OnDraw();
  }

  static std::string StateText(TGridDrawState state) {
    std::string text;
    if (state.contains(gdSelected)) text += "S";
    if (state.contains(gdFocused)) text += "F";
    if (state.contains(gdFixed)) text += "X";
    return text.empty() ? "-" : text;
  }

 private:
  static std::string Cell(int col, int row, const TRect& r) {
    return std::to_string(col) + "," + std::to_string(row) + " " + std::to_string(r.Left) + "," +
           std::to_string(r.Top) + "," + std::to_string(r.Right) + "," + std::to_string(r.Bottom);
  }
};

// What one call of the renderer was given.
struct TMarkupCall {
  std::string Text;
  TRect Rect;
  const TImageList* Images;
  TPoint HitPoint;
  TColor LinkColor;
  bool BlinkPhase;
  bool MeasureOnly;
  std::string Font;
  TColor Brush;
};

inline std::vector<TMarkupCall>& MarkupCalls() {
  static std::vector<TMarkupCall> calls;
  return calls;
}

inline TMarkupResult RecordMarkup(TCanvas& canvas, const TMarkupInput& input) {
  MarkupCalls().push_back({std::string(input.Text), input.Rect, input.Images, input.HitPoint, input.LinkColor,
                           input.BlinkPhase, input.MeasureOnly, RecordedFont(canvas.Font()), canvas.Brush().Color});
  return {};
}

inline TFont MakeFont(int height, TColor color) { return testing::FontOf("Sans", height, color); }

// A cell of 60 x 20 pixels at (100, 40); the normal font is 10 pixels high
// (5 pixels a byte on the recording canvas), the fixed one 12.
class CellPaint : public ::testing::Test {
 protected:
  static constexpr TRect kCell{100, 40, 160, 60};
  static constexpr TRect kArea{0, 0, 800, 600};

  CellPaint() {
    settings.Font = &font;
    settings.FixedFont = &fixedFont;
    settings.Color = clWhite;
    settings.FixedColor = clBtnFace;
    settings.Areas = {1, 1, 10, 20, 0, 0};
    settings.Options = {goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect};
    settings.Selection = {3, 5, 3, 5};
    settings.CurrentRow = 5;
    settings.GridFocused = true;
    MarkupCalls().clear();
  }

  // Paints the cell at displayed column `col` (stored column col + 1 when
  // `shifted`) and row `row`, on a brush of `baseBrush` as the grid base
  // leaves it, and answers the record.
  std::string Paint(int col, int row, TGridDrawState state, TRect rect = kCell, TColor baseBrush = clWhite) {
    canvas.Clear();
    canvas.Brush().Color = baseBrush;
    canvas.Font() = font;
    const TCellPaintContext context{canvas, settings, host, buffer, kArea, &RecordMarkup};
    PaintCell(context, {col, dataColShift + col, row, rect, state});
    return canvas.Text();
  }
  std::string PaintNormal(TGridDrawState state = {}) { return Paint(3, 5, state); }

  // The record's lines that start with `prefix`.
  std::vector<std::string> Calls(const std::string& prefix) const { return testing::CallsStartingWith(canvas, prefix); }
  std::string Only(const std::string& prefix) const {
    const std::vector<std::string> calls = Calls(prefix);
    EXPECT_EQ(calls.size(), 1u) << canvas.Text();
    return calls.empty() ? std::string() : calls.front();
  }

  TRecordingCanvas canvas;
  TFont font = MakeFont(-10, clNavy);
  TFont fixedFont = MakeFont(-12, clWindowText);
  TCellPaintSettings settings;
  TFakeHost host;
  std::string buffer;
  int dataColShift = 0;
};

}  // namespace kelvora::paint_test
