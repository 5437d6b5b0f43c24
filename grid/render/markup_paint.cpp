#include "grid/render/markup_paint.h"

#include <algorithm>
#include <optional>

#include "toolkit/canvas_keeper.h"
#include "toolkit/picture_file.h"

namespace kelvora {
namespace {

// A background picture of a few pixels repeated over a huge rectangle would
// be drawn millions of times; past this many tiles the rest stays bare.
constexpr long long kMostTiles = 16384;

const TTextFlags kRunFlags{tfSingleLine, tfBottom, tfNoPrefix, tfExpandTabs, tfNoClip};

TRect Intersect(const TRect& a, const TRect& b) {
  return {std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right), std::min(a.Bottom, b.Bottom)};
}

bool Inside(const TRect& inner, const TRect& outer) {
  return inner.Left >= outer.Left && inner.Top >= outer.Top && inner.Right <= outer.Right &&
         inner.Bottom <= outer.Bottom;
}

TRect Offset(const TRect& r, int by) { return {r.Left + by, r.Top + by, r.Right + by, r.Bottom + by}; }

// Narrows the surface's clip to the rectangle while it lives, and puts the
// clip that was there back.
class TClipScope {
 public:
  TClipScope(TCanvas& canvas, const TRect& rect) : keeper_(canvas, {cpClip}) {
    const std::optional<TRect>& kept = keeper_.KeptClip();
    canvas.SetClipRect(kept ? Intersect(*kept, rect) : rect);
  }

 private:
  TCanvasKeeper keeper_;
};

class TMarkupPainter {
 public:
  TMarkupPainter(TCanvas& canvas, const TMarkupLayout& layout, const TMarkupPaintInput& input)
      : canvas_(canvas), layout_(layout), input_(input) {}

  void Paint() {
    if (!NeedsClip()) return PaintAll();
    const TClipScope clip(canvas_, input_.Rect);
    PaintAll();
  }

 private:
  // Most cells fit their rectangle, and are drawn without touching the clip.
  bool NeedsClip() const {
    if (layout_.BodyPicture) return true;
    for (const TMarkupRun& run : layout_.Runs) {
      const TMarkupStyle& style = layout_.Styles[static_cast<std::size_t>(run.Style)];
      if (style.Font.Orientation != 0 || !Inside(run.Box, input_.Rect)) return true;
      if (style.Shadow && !Inside(Offset(run.Box, input_.ShadowOffset), input_.Rect)) return true;
    }
    for (const TMarkupImage& image : layout_.Images)
      if (image.Picture.IsIcon && !Inside(image.Box, input_.Rect)) return true;
    return false;
  }

  void PaintAll() {
    PaintBody();
    for (const TMarkupLine& line : layout_.Lines) PaintFill(line);
    for (const TMarkupRun& run : layout_.Runs) PaintRun(run);
    for (const TMarkupImage& image : layout_.Images) PaintImage(image);
    for (const TMarkupLine& line : layout_.Lines) PaintRule(line);
  }

  void Fill(const TRect& r, TColor colour) {
    canvas_.Brush().Color = colour;
    canvas_.Brush().Style = bsSolid;
    canvas_.FillRect(r);
  }

  void PaintBody() {
    if (layout_.BodyColor != clNone) Fill(input_.Rect, layout_.BodyColor);
    if (layout_.BodyPicture) Tile(layout_.BodyPicture->Bitmap);
  }

  // Tiles from the rectangle's top left, over the part of it that can show.
  void Tile(const TBitmap& bitmap) {
    const int w = bitmap.Width();
    const int h = bitmap.Height();
    if (w <= 0 || h <= 0) return;
    const std::optional<TRect> clip = canvas_.ClipRect();
    const TRect area = clip ? Intersect(*clip, input_.Rect) : input_.Rect;
    if (area.IsEmpty()) return;
    const int firstX = input_.Rect.Left + (area.Left - input_.Rect.Left) / w * w;
    const int firstY = input_.Rect.Top + (area.Top - input_.Rect.Top) / h * h;
    long long tiles = 0;
    for (long long y = firstY; y < area.Bottom; y += h)
      for (long long x = firstX; x < area.Right; x += w) {
        if (++tiles > kMostTiles) return;
        canvas_.Draw(static_cast<int>(x), static_cast<int>(y), bitmap);
      }
  }

  void PaintFill(const TMarkupLine& line) {
    if (line.Fill == clNone || line.Height <= 0) return;
    Fill(Intersect({input_.Rect.Left, line.Top, input_.Rect.Right, line.Top + line.Height}, input_.Rect), line.Fill);
  }

  void PaintRun(const TMarkupRun& run) {
    const TMarkupStyle& style = layout_.Styles[static_cast<std::size_t>(run.Style)];
    const std::string_view text = layout_.RunText(run);
    if (text.empty() || run.Box.Top >= input_.Rect.Bottom) return;
    if (style.Background != clNone) Fill(run.Box, style.Background);
    canvas_.Font() = style.Font;
    // Blinking text takes the cell's background while the phase is off, and
    // so does its shadow: the text vanishes whole.
    const bool vanished = style.Blink && !input_.BlinkPhase;
    if (style.Shadow) {
      canvas_.Font().Color = vanished ? input_.EntryBrush : input_.ShadowColor;
      TRect shadow = Offset(run.Box, input_.ShadowOffset);
      canvas_.DrawText(text, shadow, kRunFlags);
      canvas_.Font().Color = style.Font.Color;
    }
    if (vanished) canvas_.Font().Color = input_.EntryBrush;
    TRect box = run.Box;
    canvas_.DrawText(text, box, kRunFlags);
  }

  void PaintImage(const TMarkupImage& image) {
    const TRect visible = Intersect(image.Box, input_.Rect);
    if (visible.IsEmpty()) return;
    if (image.Picture.IsIcon) {
      canvas_.DrawIcon(image.Box.Left, image.Box.Top, image.Picture.Icon, image.Box.Width());
      return;
    }
    const TBitmap& bitmap = image.Picture.Bitmap;
    if (bitmap.Empty()) return;
    if (image.Box.Width() == bitmap.Width() && image.Box.Height() == bitmap.Height()) {
      DrawPart(bitmap, image.Box, visible);
      return;
    }
    StretchPart(bitmap, image.Box, visible);
  }

  // Only the part that shows is drawn, so that a picture far larger than its
  // cell costs no more than the cell.
  void DrawPart(const TBitmap& bitmap, const TRect& box, const TRect& visible) {
    if (visible == box) return canvas_.Draw(box.Left, box.Top, bitmap);
    const TBitmap part = PicturePart(bitmap, {visible.Left - box.Left, visible.Top - box.Top,
                                              visible.Right - box.Left, visible.Bottom - box.Top});
    if (!part.Empty()) canvas_.Draw(visible.Left, visible.Top, part);
  }

  // The source pixels behind the visible part of a stretched picture, drawn
  // stretched over that part alone: a picture stretched to millions of
  // pixels draws no more than its cell.
  void StretchPart(const TBitmap& bitmap, const TRect& box, const TRect& visible) {
    if (visible == box) return canvas_.StretchDraw(box, bitmap);
    const double sx = static_cast<double>(bitmap.Width()) / box.Width();
    const double sy = static_cast<double>(bitmap.Height()) / box.Height();
    const auto sourceX = [&](int x) { return static_cast<int>((static_cast<double>(x) - box.Left) * sx); };
    const auto sourceY = [&](int y) { return static_cast<int>((static_cast<double>(y) - box.Top) * sy); };
    TRect source{sourceX(visible.Left), sourceY(visible.Top), sourceX(visible.Right), sourceY(visible.Bottom)};
    source.Right = std::max(source.Right, source.Left + 1);
    source.Bottom = std::max(source.Bottom, source.Top + 1);
    const TBitmap part = PicturePart(bitmap, source);
    if (!part.Empty()) canvas_.StretchDraw(visible, part);
  }

  void PaintRule(const TMarkupLine& line) {
    if (!line.Rule) return;
    const int y = line.Top + line.Height;
    if (y < input_.Rect.Top || y >= input_.Rect.Bottom) return;
    canvas_.Pen() = TPen{clBlack, 1, psSolid};
    canvas_.MoveTo(input_.Rect.Left, y);
    canvas_.LineTo(input_.Rect.Right, y);
  }

  TCanvas& canvas_;
  const TMarkupLayout& layout_;
  const TMarkupPaintInput& input_;
};

}  // namespace

void PaintMarkup(TCanvas& canvas, const TMarkupLayout& layout, const TMarkupPaintInput& input) {
  TMarkupPainter(canvas, layout, input).Paint();
}

}  // namespace kelvora
