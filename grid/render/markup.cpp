#include "grid/render/markup.h"

#include "grid/render/markup_flow.h"
#include "grid/render/markup_hit.h"
#include "grid/render/markup_layout.h"
#include "grid/render/markup_paint.h"

namespace kelvora {
namespace {

// The renderer changes the surface's font, brush, pen and text background
// as it goes; whoever draws next finds them as they were, also after an
// exception.
class TCanvasStateKeeper {
 public:
  explicit TCanvasStateKeeper(TCanvas& canvas)
      : canvas_(canvas),
        font_(canvas.Font()),
        brush_(canvas.Brush()),
        pen_(canvas.Pen()),
        penPos_(canvas.PenPos()),
        transparent_(canvas.TransparentText()) {}
  ~TCanvasStateKeeper() {
    canvas_.SetFont(font_);
    canvas_.Brush() = brush_;
    canvas_.Pen() = pen_;
    canvas_.MoveTo(penPos_.X, penPos_.Y);
    canvas_.SetTransparentText(transparent_);
  }
  TCanvasStateKeeper(const TCanvasStateKeeper&) = delete;
  TCanvasStateKeeper& operator=(const TCanvasStateKeeper&) = delete;

 private:
  TCanvas& canvas_;
  TFont font_;
  TBrush brush_;
  TPen pen_;
  TPoint penPos_;
  bool transparent_;
};

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
  const TCanvasStateKeeper keeper(canvas);
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
