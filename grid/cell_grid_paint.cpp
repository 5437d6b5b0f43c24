// The grid's side of painting a cell: it gathers its settings for the cell
// painter, answers its questions through the grid's events and hooks, and
// keeps an error in a handler from stopping the painting.
#include <QLocale>
#include <QPaintEvent>

#include "grid/cell_grid.h"
#include "grid/render/cell_content.h"

namespace kelvora {
namespace {

struct TNumberSeparators {
  char Decimal;
  char Thousand;
};

// A separator that is no single byte cannot stand in a byte text; a NUL
// byte, which no number holds, takes its place.
char SeparatorByte(const QString& separator) {
  return separator.size() == 1 && separator[0].unicode() < 0x80 ? static_cast<char>(separator[0].unicode()) : '\0';
}

// The user's locale, read once: painting asks for every cell.
const TNumberSeparators& LocaleSeparators() {
  static const TNumberSeparators separators{SeparatorByte(QLocale().decimalPoint()),
                                            SeparatorByte(QLocale().groupSeparator())};
  return separators;
}

TBandColours ColoursOf(const TBands& bands) {
  return {bands.Active(), bands.PrimaryColor(), bands.PrimaryLength(), bands.SecondaryColor(), bands.SecondaryLength()};
}

}  // namespace

// A handler that throws spoils its own cell only: the cell is left empty in
// its plain colour, the error is shown once, and the other cells paint.
void TCellGrid::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
  try {
    PaintCell(ACol, ARow, ARect, AState);
  } catch (...) {
    paintErrors_.Report();
    try {
      Canvas().Brush() = TBrush{AState.contains(gdFixed) ? FixedColor() : Color(), bsSolid};
      Canvas().FillRect(ARect);
    } catch (...) {
      // The surface itself failed; the error is shown already.
    }
  }
}

void TCellGrid::PaintCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
  const TCellPaintSettings settings = PaintSettings();
  const TCellPaintContext context{Canvas(), settings, *this, paintText_, PaintArea()};
  kelvora::PaintCell(context, {ACol, DisplayToDataColumn(ACol), ARow, ARect, AState});
}

void TCellGrid::paintEvent(QPaintEvent* event) {
  try {
    TCustomGrid::paintEvent(event);
  } catch (...) {
    paintErrors_.Report();
  }
}

TCellAreas TCellGrid::Areas() const {
  return {FixedCols(), FixedRows(), ColCount() + hiddenColumnCount_, RowCount(), fixedRightCols_, fixedFooters_};
}

TCellPaintSettings TCellGrid::PaintSettings() const {
  TCellPaintSettings s;
  s.Font = &Font();
  s.FixedFont = &fixedFont_;
  s.Color = Color();
  s.FixedColor = FixedColor();
  s.Areas = Areas();
  s.Options = Options();
  s.Flat = Flat();
  s.Selection = Selection();
  s.CurrentRow = Row();
  s.GridFocused = GridHasFocus();
  s.EditorShowing = EditorShowing();
  s.SelectionColor = SelectionColor();
  s.SelectionTextColor = SelectionTextColor();
  s.ShowSelection = ShowSelection();
  s.HideFocusRect = HideFocusRect();
  s.SelectionRectangle = SelectionRectangle();
  s.DisjunctRowSelect = mouseActions_.DisjunctRowSelect;
  s.VAlignment = VAlignment();
  s.WordWrap = WordWrap();
  s.Multilinecells = Multilinecells();
  s.EnableHTML = EnableHTML();
  s.EnhTextSize = EnhTextSize();
  s.URLShow = URLShow();
  s.URLFull = URLFull();
  s.URLColor = URLColor();
  s.RightToLeft = RightToLeftReading();
  s.Bands = ColoursOf(bands_);
  s.BackGround = {&backGround_.Bitmap, backGround_.Display, backGround_.Cells, backGround_.Left, backGround_.Top};
  s.SortShow = SortShow();
  s.SortColumn = SortColumn();
  s.SortFixedCols = SortFixedCols();
  s.SortMarks = sortMarks_;
  s.RowIndicator = &RowIndicator();
  s.GridImages = GridImages();
  s.EnableGraphics = EnableGraphics();
  s.PasswordChar = passwordChar_;
  s.FontSizeOffset = fontSizeOffset_;
  s.BlinkPhase = blinkPhase_;
  return s;
}

void TCellGrid::ApplyCellColours(int ACol, int ARow, TGridDrawState AState, TBrush& ABrush, TFont& AFont) {
  CheckAddress(ACol, ARow);
  if (bands_.Active() && Areas().IsNormalDataCell(ACol, ARow)) {
    const TColor band = BandColour(ColoursOf(bands_), ARow, FixedRows());
    if (band != clNone) ABrush.Color = band;
  }
  const TColor own = store_.Color(ACol, ARow);
  if (own != clNone) ABrush.Color = own;
  if (OnGetCellColor) OnGetCellColor(this, ARow, ACol, AState, ABrush, AFont);
}

// The base's own fixed cells are not extra fixed. A grid kept with a fixed
// row (column) that has only one row (column) cannot fix it in the base, so
// the answer for it starts true.
bool TCellGrid::IsExtraFixedCell(int ACol, int ARow) {
  if (ACol < TCustomGrid::FixedCols() || ARow < TCustomGrid::FixedRows()) return false;
  const TCellAreas areas = Areas();
  if (areas.IsFooterRow(ARow) || areas.IsRightFixedCol(ACol)) return true;
  bool fixed = (ARow == 0 && fixedRowAlways_ && RowCount() == 1) || (ACol == 0 && fixedColAlways_ && ColCount() == 1);
  if (OnIsFixedCell) OnIsFixedCell(this, ARow, ACol, fixed);
  return fixed;
}

TAlignment TCellGrid::CellAlignment(int ACol, int ARow) {
  CheckAddress(ACol, ARow);
  TAlignment alignment = taLeftJustify;
  if (AutoNumAlign()) {
    const TNumberSeparators& separators = LocaleSeparators();
    if (NumberKind(store_.TextView(ACol, ARow), separators.Decimal, separators.Thousand) != nkText)
      alignment = taRightJustify;
  }
  if (OnGetAlignment) OnGetAlignment(this, ARow, ACol, alignment);
  return alignment;
}

void TCellGrid::CalcFormula(int /*ACol*/, int /*ARow*/, std::string& /*Text*/) {}

bool TCellGrid::IsPasswordCell(int ACol, int ARow) {
  bool password = false;
  if (OnIsPasswordCell) OnIsPasswordCell(this, ARow, ACol, password);
  return password;
}

TCellBorders TCellGrid::CellBorders(int ACol, int ARow, TPen& APen) {
  TCellBorders borders;
  if (OnGetCellBorder) OnGetCellBorder(this, ARow, ACol, APen, borders);
  return borders;
}

bool TCellGrid::CellGraphicFillsCell(int ACol, int ARow) {
  const TCellGraphic* graphic = static_cast<const TCellGraphic*>(store_.Object(ACol, ARow));
  return graphic && graphic->FillsCell();
}

void TCellGrid::DrawCellGraphic(int ACol, int ARow, const TRect& ARect) {
  if (TCellGraphic* graphic = static_cast<TCellGraphic*>(store_.Object(ACol, ARow))) graphic->Draw(Canvas(), ARect);
}

void TCellGrid::DrawCellEvent(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
  if (OnDrawCell) OnDrawCell(this, ACol, ARow, ARect, AState);
}

void TCellGrid::SetPasswordChar(char c) {
  passwordChar_ = c;
  InvalidateGrid();
}

void TCellGrid::SetRowSelect(int ARow, bool selected) {
  rowSelection_.Set(ARow, selected);
  InvalidateRow(ARow);
}

void TCellGrid::ClearRowSelect() {
  if (rowSelection_.Empty()) return;
  rowSelection_.Clear();
  InvalidateGrid();
}

}  // namespace kelvora
