#include "grid/print/page_painter.h"

#include <algorithm>
#include <vector>

namespace kelvora {
namespace {

// Between the header (or the footer) and the grid.
constexpr int kFurnitureGap = 8;

TFont TitleFont(const TPrintSettings& settings) {
  TFont font = settings.HeaderFont;
  font.Style.insert(fsBold);
  return font;
}

int LineHeight(TCanvas& canvas, const TFont& font) {
  canvas.SetFont(font);
  return canvas.TextHeight("gh");
}

TTextFlags LineFlags(TPrintAlignment alignment) {
  TTextFlags flags{tfSingleLine, tfNoPrefix, tfExpandTabs};
  if (alignment == paCenter) flags.insert(tfCenter);
  if (alignment == paRight) flags.insert(tfRight);
  return flags;
}

// A printed row or column: where it starts on the page, at the scale.
struct TPlaced {
  int Index;
  int Start;
  int Size;
  bool Fixed;
  int End() const { return Start + Size; }
};

// Rows or columns that are all fixed or all not, one after the other.
struct TRun {
  int From;  // where the first starts
  int To;    // where the last ends
  bool Fixed;
};

std::vector<TRun> RunsOf(const std::vector<TPlaced>& placed) {
  std::vector<TRun> runs;
  for (const TPlaced& p : placed) {
    if (!runs.empty() && runs.back().Fixed == p.Fixed) runs.back().To = p.End();
    else runs.push_back({p.Start, p.End(), p.Fixed});
  }
  return runs;
}

class TPagePainter {
 public:
  TPagePainter(TPrintTarget& target, TPrintSource& grid, const TPageLayout& layout, const TPrintPage& page,
               const TPrintSettings& settings, const TPrintFields& fields)
      : target_(target), grid_(grid), layout_(layout), page_(page), settings_(settings), fields_(fields) {}

  void Paint() {
    target_.BeginPage();
    PaintFurniture(target_.Part(1.0));
    PaintGrid(target_.Part(layout_.Scale()));
    target_.EndPage();
  }

 private:
  void PaintFurniture(TCanvas& canvas) {
    canvas.SetTransparentText(true);
    int top = 0;
    if (!settings_.Title.empty()) top += DrawLine(canvas, TitleFont(settings_), settings_.Title, paCenter, top);
    if (!settings_.Header.empty())
      DrawLine(canvas, settings_.HeaderFont, settings_.Header, settings_.HeaderAlignment, top);
    if (settings_.Footer.empty()) return;
    const int bottom = target_.PageSize().cy - LineHeight(canvas, settings_.FooterFont);
    DrawLine(canvas, settings_.FooterFont, settings_.Footer, settings_.FooterAlignment, bottom);
  }

  int DrawLine(TCanvas& canvas, const TFont& font, const std::string& text, TPrintAlignment alignment, int top) {
    const int height = LineHeight(canvas, font);
    TRect line{0, top, target_.PageSize().cx, top + height};
    canvas.DrawText(FillPrintFields(text, fields_), line, LineFlags(alignment));
    return height;
  }

  void PaintGrid(TCanvas& canvas) {
    const TRect& area = layout_.GridArea();
    const std::vector<TPlaced> cols = Place(layout_.RepeatedCols(), layout_.Band(page_.Band), area.Left, false);
    const std::vector<TPlaced> rows = Place(layout_.RepeatedRows(), page_.Rows, area.Top, true);
    canvas.SetClipRect(area);
    for (const TPlaced& row : rows) {
      if (row.Start >= area.Bottom) break;
      for (const TPlaced& col : cols) {
        if (col.Start >= area.Right) break;
        if (row.Size == 0 || col.Size == 0) continue;
        grid_.PaintCell(canvas, col.Index, row.Index, {col.Start, row.Start, col.End(), row.End()}, area);
      }
    }
    if (settings_.GridLines) PaintLines(canvas, cols, rows);
    canvas.ResetClip();
  }

  std::vector<TPlaced> Place(TPrintSpan repeated, TPrintSpan flowing, int start, bool rows) const {
    std::vector<TPlaced> placed;
    const int gap = std::max(grid_.GridLineWidth(), 0);
    const int fixedCount = rows ? grid_.FixedRows() : grid_.FixedCols();
    for (const TPrintSpan span : {repeated, flowing}) {
      for (int i = span.First; i <= span.Last; ++i) {
        const int size = rows ? grid_.RowHeight(i) : grid_.ColWidth(i);
        placed.push_back({i, start, size, i < fixedCount});
        start += size + gap;
      }
    }
    return placed;
  }

  // In the gap after each row and column, as the screen has them: lines of
  // the fixed area in its options and colour, the others in theirs.
  void PaintLines(TCanvas& canvas, const std::vector<TPlaced>& cols, const std::vector<TPlaced>& rows) {
    const int gap = std::max(grid_.GridLineWidth(), 0);
    if (gap == 0 || cols.empty() || rows.empty()) return;
    canvas.Brush().Style = bsSolid;
    for (const TPlaced& col : cols)
      for (const TRun& run : RunsOf(rows))
        Line(canvas, col.Fixed || run.Fixed, true, {col.End(), run.From, col.End() + gap, run.To + gap});
    for (const TPlaced& row : rows)
      for (const TRun& run : RunsOf(cols))
        Line(canvas, row.Fixed || run.Fixed, false, {run.From, row.End(), run.To + gap, row.End() + gap});
  }

  void Line(TCanvas& canvas, bool fixedArea, bool vertical, const TRect& r) {
    const TGridOption option = vertical ? (fixedArea ? goFixedVertLine : goVertLine)
                                        : (fixedArea ? goFixedHorzLine : goHorzLine);
    if (!grid_.Options().contains(option)) return;
    canvas.Brush().Color = grid_.LineColor(fixedArea);
    canvas.FillRect(r);
  }

  TPrintTarget& target_;
  TPrintSource& grid_;
  const TPageLayout& layout_;
  const TPrintPage& page_;
  const TPrintSettings& settings_;
  const TPrintFields& fields_;
};

}  // namespace

TPrintArea MeasurePrintArea(TCanvas& measurer, TSize page, const TPrintSettings& settings) {
  TPrintArea area{page, 0, 0};
  if (!settings.Title.empty()) area.HeaderHeight += LineHeight(measurer, TitleFont(settings));
  if (!settings.Header.empty()) area.HeaderHeight += LineHeight(measurer, settings.HeaderFont);
  if (area.HeaderHeight > 0) area.HeaderHeight += kFurnitureGap;
  if (!settings.Footer.empty()) area.FooterHeight = LineHeight(measurer, settings.FooterFont) + kFurnitureGap;
  return area;
}

void PaintPage(TPrintTarget& target, TPrintSource& grid, const TPageLayout& layout, const TPrintPage& page,
               const TPrintSettings& settings, const TPrintFields& fields) {
  TPagePainter(target, grid, layout, page, settings, fields).Paint();
}

}  // namespace kelvora
