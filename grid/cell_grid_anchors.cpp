// Links in mark-up cells under the mouse: the pointing hand and the enter
// and exit events while it moves over them, the click event, and opening
// web and mail links with the desktop's handler.
#include <QMouseEvent>

#include <algorithm>

#include "grid/cell_grid.h"
#include "grid/render/cell_content.h"
#include "grid/render/markup.h"
#include "toolkit/application.h"
#include "toolkit/web_link.h"

namespace kelvora {

void TCellGrid::mouseMoveEvent(QMouseEvent* event) {
  if (DragOutOnMove(event)) return;
  TCustomGrid::mouseMoveEvent(event);
  const QPoint p = event->position().toPoint();
  if (event->buttons() & Qt::LeftButton) RunGuarded([&] { TrackPressedCell(p.x(), p.y()); });
  if (event->buttons() != Qt::NoButton || Panning()) return;
  RunGuarded([&] { TrackAnchor(p.x(), p.y()); });
}

void TCellGrid::leaveEvent(QEvent* event) {
  TCustomGrid::leaveEvent(event);
  HideHint();
  RunGuarded([&] { LeaveAnchor(); });
}

// The font the cell's mark-up starts from, chosen as painting chooses it.
TFont TCellGrid::MarkupCellFont(int ACol, int ARow) {
  const bool fixed = ACol < FixedCols() || ARow < FixedRows();
  TFont font = fixed ? fixedFont_ : Font();
  TBrush brush;
  ApplyCellColours(DisplayToDataColumn(ACol), ARow, fixed ? TGridDrawState{gdFixed} : TGridDrawState{}, brush, font);
  if (fontSizeOffset_ != 0) font.SetSize(std::max(font.Size() + fontSizeOffset_, 1));
  return font;
}

std::optional<TCellGrid::TAnchorSpot> TCellGrid::AnchorAt(int x, int y) {
  int col = -1;
  int row = -1;
  MouseToCell(x, y, col, row);
  if (col < 0 || row < 0 || !EnableHTML()) return std::nullopt;
  const int dataCol = DisplayToDataColumn(col);
  const std::string_view text = store_.TextView(dataCol, row);
  if (CellContentKind(text, EnableHTML()) != ckMarkup) return std::nullopt;
  TCanvas& canvas = Canvas();
  const TFont kept = canvas.Font();
  canvas.SetFont(MarkupCellFont(col, row));
  TMarkupInput input;
  input.Text = text;
  input.Rect = MarkupTextRect(CellRect(col, row));
  input.Images = GridImages();
  input.HitPoint = {x, y};
  input.MeasureOnly = true;
  const TMarkupResult hit = DrawMarkup(canvas, input);
  canvas.SetFont(kept);
  if (!hit.OnLink) return std::nullopt;
  return TAnchorSpot{dataCol, row, hit.LinkIndex, hit.Anchor};
}

void TCellGrid::TrackAnchor(int x, int y) {
  std::optional<TAnchorSpot> spot = AnchorAt(x, y);
  if (spot) viewport()->setCursor(Qt::PointingHandCursor);
  if (spot == hoveredAnchor_) return;
  LeaveAnchor();
  if (!spot) return;
  hoveredAnchor_ = spot;
  if (OnAnchorEnter) OnAnchorEnter(this, spot->Row, spot->Col, spot->Anchor);
}

void TCellGrid::LeaveAnchor() {
  if (!hoveredAnchor_) return;
  const TAnchorSpot left = *hoveredAnchor_;
  hoveredAnchor_.reset();
  // The base may have set a sizing cursor for where the mouse is now.
  if (viewport()->cursor().shape() == Qt::PointingHandCursor) viewport()->unsetCursor();
  if (OnAnchorExit) OnAnchorExit(this, left.Row, left.Col, left.Anchor);
}

bool TCellGrid::ClickAnchor(int x, int y) {
  const std::optional<TAnchorSpot> spot = AnchorAt(x, y);
  if (!spot) return false;
  bool autoHandle = true;
  if (OnAnchorClick) OnAnchorClick(this, spot->Row, spot->Col, spot->Anchor, autoHandle);
  if (autoHandle) OpenWebLink(spot->Anchor);
  return true;
}

}  // namespace kelvora
