#include "grid/render/fixed_button.h"

#include "toolkit/canvas_keeper.h"

namespace kelvora {
namespace {

void Line(TCanvas& canvas, TColor color, int x1, int y1, int x2, int y2) {
  canvas.Pen().Color = color;
  canvas.MoveTo(x1, y1);
  canvas.LineTo(x2, y2);
}

}  // namespace

void PaintFixedButton(TCanvas& canvas, const TRect& r, bool pressed) {
  if (r.Width() < 2 || r.Height() < 2) return;
  const TCanvasKeeper keeper(canvas, {cpPen, cpPenPos});
  canvas.Pen().Width = 1;
  const int right = r.Right - 1;
  const int bottom = r.Bottom - 1;
  const TColor light = pressed ? clBtnShadow : clBtnHighlight;
  const TColor shade = pressed ? clBtnHighlight : cl3DDkShadow;
  Line(canvas, light, r.Left, bottom, r.Left, r.Top);
  Line(canvas, light, r.Left, r.Top, right, r.Top);
  Line(canvas, shade, right, r.Top, right, bottom);
  Line(canvas, shade, right, bottom, r.Left - 1, bottom);
  if (pressed) return;
  Line(canvas, clBtnShadow, right - 1, r.Top + 1, right - 1, bottom - 1);
  Line(canvas, clBtnShadow, right - 1, bottom - 1, r.Left, bottom - 1);
}

}  // namespace kelvora
