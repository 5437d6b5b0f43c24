#include "grid/render/markup_hit.h"

namespace kelvora {
namespace {

bool StrictlyInside(const TRect& r, TPoint p) { return p.X > r.Left && p.X < r.Right && p.Y > r.Top && p.Y < r.Bottom; }

std::string_view TargetOf(const TMarkupLayout& layout, int link) {
  for (const auto& [index, target] : layout.Links)
    if (index == link) return target;
  return {};
}

TMarkupHit Hit(const TMarkupLayout& layout, int link, const TRect& box) {
  return {true, link, box, TargetOf(layout, link)};
}

}  // namespace

TMarkupHit HitTestMarkup(const TMarkupLayout& layout, TPoint point) {
  for (const TMarkupRun& run : layout.Runs)
    if (run.Link >= 0 && StrictlyInside(run.Box, point)) return Hit(layout, run.Link, run.Box);
  for (const TMarkupImage& image : layout.Images)
    if (image.Link >= 0 && image.Box.Contains(point)) return Hit(layout, image.Link, image.Box);
  return {};
}

}  // namespace kelvora
