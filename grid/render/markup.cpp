#include "grid/render/markup.h"

#include "grid/render/markup_flow.h"
#include "grid/render/markup_hit.h"
#include "grid/render/markup_layout.h"
#include "grid/render/markup_paint.h"
#include "toolkit/canvas_keeper.h"

namespace kelvora {
namespace {

int ScaledShadowOffset(const TMarkupInput& input) {
  if (!input.Printing || !(input.PrintScale > 0) || input.PrintScale > 100) return input.ShadowOffset;
  return static_cast<int>(input.ShadowOffset * input.PrintScale + 0.5);
}

}  // namespace

TMarkupResult DrawMarkup(TCanvas& canvas, const TMarkupInput& input) {
  TMarkupTextFlow flow(input.Text, canvas.Font(), MarkupLinkColours(input));
  return DrawFlow(canvas, input, flow);
}

TMarkupResult DrawFlow(TCanvas& canvas, const TMarkupInput& input, TMarkupFlow& flow) {
  // The renderer changes the surface's font, brush, pen and text background
  // as it goes.
  const TCanvasKeeper keeper(canvas, {cpFont, cpBrush, cpPen, cpPenPos, cpTransparentText});
  const TColor entryBrush = canvas.Brush().Color;
  canvas.SetTransparentText(true);
  canvas.Brush().Style = bsClear;
  TMarkupLayout layout = LayoutFlow(canvas, input, flow);
  if (!input.MeasureOnly)
    PaintMarkup(canvas, layout,
                {input.Rect, entryBrush, input.BlinkPhase, input.ShadowColor, ScaledShadowOffset(input)});
  const TMarkupHit hit = HitTestMarkup(layout, input.HitPoint);
  TMarkupResult result;
  result.OnLink = hit.OnLink;
  result.Anchor = std::string(hit.Target);
  result.LinkRect = hit.Box;
  result.LinkIndex = hit.Link;
  result.Width = layout.Width;
  result.Height = layout.Height;
  result.PlainText = std::move(layout.PlainText);
  return result;
}

}  // namespace kelvora
