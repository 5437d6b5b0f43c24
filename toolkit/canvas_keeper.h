#pragma once

#include <optional>

#include "toolkit/canvas.h"
#include "toolkit/set.h"

namespace kelvora {

enum TCanvasPart { cpFont, cpBrush, cpPen, cpPenPos, cpTransparentText, cpClip };
using TCanvasParts = TSet<TCanvasPart>;

// Keeps the named parts of a surface's state while it lives and puts them
// back when it goes, also after an exception: whoever draws next finds the
// surface as it was. Only the parts named are copied, since painters keep a
// part or two around every cell of a frame.
class TCanvasKeeper {
 public:
  TCanvasKeeper(TCanvas& canvas, TCanvasParts parts) : canvas_(canvas), parts_(parts) {
    if (parts.contains(cpFont)) font_ = canvas.Font();
    if (parts.contains(cpBrush)) brush_ = canvas.Brush();
    if (parts.contains(cpPen)) pen_ = canvas.Pen();
    if (parts.contains(cpPenPos)) penPos_ = canvas.PenPos();
    if (parts.contains(cpTransparentText)) transparentText_ = canvas.TransparentText();
    if (parts.contains(cpClip)) clip_ = canvas.ClipRect();
  }
  ~TCanvasKeeper() {
    if (parts_.contains(cpFont)) canvas_.SetFont(*font_);
    if (parts_.contains(cpBrush)) canvas_.Brush() = *brush_;
    if (parts_.contains(cpPen)) canvas_.Pen() = *pen_;
    if (parts_.contains(cpPenPos)) canvas_.MoveTo(penPos_.X, penPos_.Y);
    if (parts_.contains(cpTransparentText)) canvas_.SetTransparentText(transparentText_);
    if (parts_.contains(cpClip)) RestoreClip();
  }
  TCanvasKeeper(const TCanvasKeeper&) = delete;
  TCanvasKeeper& operator=(const TCanvasKeeper&) = delete;

  // The clip as it was when the keeper was made; none when there was none.
  const std::optional<TRect>& KeptClip() const { return clip_; }

 private:
  void RestoreClip() {
    if (clip_) canvas_.SetClipRect(*clip_);
    else canvas_.ResetClip();
  }

  TCanvas& canvas_;
  TCanvasParts parts_;
  std::optional<TFont> font_;
  std::optional<TBrush> brush_;
  std::optional<TPen> pen_;
  TPoint penPos_;
  bool transparentText_ = false;
  std::optional<TRect> clip_;
};

}  // namespace kelvora
