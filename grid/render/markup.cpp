#include "grid/render/markup.h"

#include "grid/render/markup_measure.h"
#include "grid/render/strip_markup.h"

namespace kelvora {

// STAND-IN until the renderer lands: the plain text in the surface's font.
TMarkupResult DrawMarkup(TCanvas& canvas, const TMarkupInput& input) {
  TMarkupResult result;
  result.PlainText = StripMarkup(input.Text);
  const TSize size = MeasureMarkup(canvas, input.Text, input.Rect.Width(), input.Rect.Height());
  result.Width = size.cx;
  result.Height = size.cy;
  if (!input.MeasureOnly) {
    TRect rect = input.Rect;
    canvas.DrawText(result.PlainText, rect, {tfNoPrefix, tfExpandTabs});
  }
  return result;
}

}  // namespace kelvora
