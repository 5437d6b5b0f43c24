// Hints: resting the mouse on a cell whose text does not fit shows the whole
// text in the hint window, after the desktop's tool-tip delay. A key, a
// click, the wheel, scrolling and leaving the grid hide it; a change of the
// cell's text shows the new text. A password cell never shows its text.
#include <QHelpEvent>

#include <algorithm>

#include "grid/cell_grid.h"
#include "grid/render/cell_content.h"
#include "grid/render/cell_font.h"
#include "grid/render/rich_text.h"
#include "grid/render/strip_markup.h"
#include "toolkit/application.h"
#include "toolkit/canvas_keeper.h"
#include "toolkit/hint_window.h"

namespace kelvora {
namespace {

// A hint is read at a glance; a cell of megabytes shows its beginning.
constexpr std::size_t kMaxHintBytes = 2000;
constexpr int kMaxHintLines = 25;
constexpr std::size_t kMeasuredHintBytes = 16384;

// Cut at a character's start, so that UTF-8 text stays UTF-8.
std::string CutHintText(std::string text) {
  std::size_t end = std::min(text.size(), kMaxHintBytes);
  int lines = 0;
  for (std::size_t i = 0; i < end; ++i)
    if (text[i] == '\n' && ++lines == kMaxHintLines) end = i;
  if (end == text.size()) return text;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  text.resize(end);
  return text.append("...");
}

}  // namespace

bool TCellGrid::viewportEvent(QEvent* event) {
  if (event->type() != QEvent::ToolTip) return TCustomGrid::viewportEvent(event);
  const QPoint at = static_cast<QHelpEvent*>(event)->pos();
  bool shown = false;
  RunGuarded([&] { shown = ShowHintAt(at.x(), at.y()); });
  if (!shown) event->ignore();
  return true;
}

void TCellGrid::TopLeftChanged() {
  TCustomGrid::TopLeftChanged();
  HideHint();
}

bool TCellGrid::ShowHintAt(int x, int y) {
  int col = -1;
  int row = -1;
  MouseToCell(x, y, col, row);
  if (col < 0 || row < 0 || Panning() || !HintFor(col, row)) {
    HideHint();
    return false;
  }
  hintCell_ = {DisplayToDataColumn(col), row};
  hintPoint_ = {x, y};
  THintWindow::Show(viewport(), {x, y}, CutHintText(HintText(hintCell_.X, row)), HintColor(), CellRect(col, row));
  return true;
}

void TCellGrid::HideHint() {
  hintCell_ = {-1, -1};
  THintWindow::Hide();
}

// The hinted cell changed: the hint shows what the cell holds now, or goes
// when the text fits.
void TCellGrid::RefreshHint(int dataCol) {
  if (dataCol != hintCell_.X) return;
  if (!THintWindow::Showing()) return HideHint();
  ShowHintAt(hintPoint_.X, hintPoint_.Y);
}

// Displayed column. A cell is worth a hint when its text, as painting sizes
// it, is wider or taller than the room inside the cell's visible part, or
// when painting shows only its first line.
bool TCellGrid::HintFor(int ACol, int ARow) {
  const int dataCol = DisplayToDataColumn(ACol);
  const std::string_view text = store_.TextView(dataCol, ARow);
  if (text.empty() || IsPasswordCell(dataCol, ARow)) return false;
  // No cell is that wide, and measuring megabytes would stall the mouse.
  if (text.size() > kMeasuredHintBytes) return true;
  const TCellContentKind kind = CellContentKind(text, EnableHTML());
  if (kind == ckPlain && !Multilinecells() && text.find_first_of("\r\n") != std::string_view::npos) return true;
  const TRect cell = CellRect(ACol, ARow);
  const int width = std::min(cell.Right, viewport()->width()) - cell.Left - 4;
  const int height = std::min(cell.Bottom, viewport()->height()) - cell.Top - 2;
  TCanvas& canvas = Canvas();
  const TCanvasKeeper keeper(canvas, {cpFont});
  const bool fixed = ACol < FixedCols() || ARow < FixedRows();
  TBrush brush;
  TFont font;
  ApplyCellFont(*this, {&Font(), &fixedFont_, fontSizeOffset_}, dataCol, ARow, fixed,
                fixed ? TGridDrawState{gdFixed} : TGridDrawState{}, brush, font);
  canvas.SetFont(font);
  const TSize extent = kelvora::CellTextExtent(canvas, text, CellTextOptions());
  return extent.cx > width || extent.cy > height;
}

// The words of the cell, without mark-up or rich-text codes.
std::string TCellGrid::HintText(int dataCol, int ARow) {
  const std::string_view text = store_.TextView(dataCol, ARow);
  switch (CellContentKind(text, EnableHTML())) {
    case ckMarkup: return StripMarkup(text);
    case ckRichText: return RichTextToPlainText(text);
    case ckFormula: {
      std::string shown(text);
      CalcFormula(dataCol, ARow, shown);
      return shown;
    }
    default: return std::string(text);
  }
}

}  // namespace kelvora
