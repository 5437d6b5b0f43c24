// The mouse's ways of moving through the grid besides clicking: the ways a
// middle-button pan may go, and zooming. Ctrl with the wheel, or with plus, minus and 0, changes the
// points added to every cell font; the rows grow or shrink with the text
// and the current cell stays in view. The wheel without Ctrl scrolls while
// EnableWheel is on.
#include <QWheelEvent>

#include <algorithm>

#include "grid/cell_grid.h"
#include "toolkit/application.h"
#include "toolkit/canvas_keeper.h"
#include "toolkit/keys.h"

namespace kelvora {

void TCellGrid::wheelEvent(QWheelEvent* event) {
  HideHint();
  if (IntelliZoom() && (event->modifiers() & Qt::ControlModifier)) {
    event->accept();
    const QPoint angle = event->angleDelta();
    const int steps = angle.y() != 0 ? zoomWheel_.Add(angle.y(), TWheelSteps::kNotch)
                                     : zoomWheel_.Add(event->pixelDelta().y(), DefaultRowHeight());
    if (steps != 0) RunGuarded([&] { Zoom(steps); });
    return;
  }
  // Off, the wheel is left to whatever holds the grid.
  if (!EnableWheel()) return event->ignore();
  TCustomGrid::wheelEvent(event);
}

TPanAxes TCellGrid::PanAxes() const {
  switch (IntelliPan()) {
    case ipBoth: return {true, true};
    case ipVertical: return {true, false};
    case ipHorizontal: return {false, true};
    case ipNone: break;
  }
  return {};
}

// Ctrl with plus or minus on either part of the keyboard, and Ctrl+0 back to
// the unzoomed size.
bool TCellGrid::ZoomKey(int Key, TShiftState Shift) {
  if (!IntelliZoom() || !Shift.contains(ssCtrl) || Shift.contains(ssAlt)) return false;
  switch (Key) {
    case VK_OEM_PLUS:
    case VK_ADD: Zoom(1); return true;
    case VK_OEM_MINUS:
    case VK_SUBTRACT: Zoom(-1); return true;
    case '0':
    case VK_NUMPAD0: Zoom(-fontSizeOffset_); return true;
    default: return false;
  }
}

void TCellGrid::Zoom(int steps) {
  const int before = fontSizeOffset_;
  SetFontSizeOffset(static_cast<int>(std::clamp<std::int64_t>(std::int64_t{before} + steps, -10, 10)));
  if (fontSizeOffset_ == before) return;
  FitRowsToZoom();
  ScrollIntoView(Col(), Row());
}

// A zoomed row keeps the room around its text that the unzoomed row had: it
// is as many pixels taller as the zoomed text is. The unzoomed height is
// remembered while zoomed, so that zooming back gives it exactly.
void TCellGrid::FitRowsToZoom() {
  if (unzoomedRowHeight_ == 0) unzoomedRowHeight_ = DefaultRowHeight();
  const int height = unzoomedRowHeight_ + ZoomedTextHeight(fontSizeOffset_) - ZoomedTextHeight(0);
  SetDefaultRowHeight(std::max(height, 1));
  if (fontSizeOffset_ == 0) unzoomedRowHeight_ = 0;
}

// The taller of the two cell fonts at the zoom, as painting sizes them.
int TCellGrid::ZoomedTextHeight(int offset) {
  TCanvas& canvas = Canvas();
  const TCanvasKeeper keeper(canvas, {cpFont});
  int tallest = 0;
  for (const TFont* base : {&Font(), static_cast<const TFont*>(&fixedFont_)}) {
    TFont font = *base;
    font.SetSize(std::max(font.Size() + offset, 1));
    canvas.SetFont(font);
    tallest = std::max(tallest, canvas.TextHeight("Hg"));
  }
  return tallest;
}

}  // namespace kelvora
