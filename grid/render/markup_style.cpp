#include "grid/render/markup_style.h"

#include <algorithm>

#include "grid/render/markup_colour.h"

namespace kelvora {
namespace {

constexpr std::size_t kDeepestFont = 1024;
// A face name longer than any font's can only cost time in font matching.
constexpr std::size_t kLongestFaceName = 255;
constexpr int kDegreesInTurn = 360;
constexpr int kTenthsInDegree = 10;

}  // namespace

TMarkupStyler::TMarkupStyler(const TFont& entryFont, const TMarkupLinkColours& links)
    : entryFont_(entryFont), links_(links) {
  style_.Font = entryFont;
}

bool TMarkupStyler::Apply(const TMarkupTag& tag) {
  const bool on = !tag.Closing;
  switch (tag.Kind) {
    case mtBold: SetStyle(fsBold, on); return true;
    case mtItalic: SetStyle(fsItalic, on); return true;
    case mtUnderline: SetStyle(fsUnderline, on); return true;
    case mtStrikeOut: SetStyle(fsStrikeOut, on); return true;
    case mtSubscript: subscript_ = true; return true;
    case mtSuperscript: superscript_ = true; return true;
    case mtScripts: subscript_ = superscript_ = false; return true;
    case mtShadow: style_.Shadow = on; return true;
    case mtHidden: hidden_ = on; return true;
    case mtBlink: style_.Blink = on; return true;
    case mtLink: on ? StartLink(tag) : EndLink(); return true;
    case mtFont: on ? StartFont(tag) : EndFont(); return true;
    case mtRotate: Rotate(tag); return true;
    default: return false;
  }
}

void TMarkupStyler::SetStyle(TFontStyle style, bool on) {
  if (on) style_.Font.Style.insert(style);
  else style_.Font.Style.erase(style);
}

void TMarkupStyler::StartLink(const TMarkupTag& tag) {
  if (!inLink_) {
    colourBeforeLink_ = style_.Font.Color;
    backgroundBeforeLink_ = style_.Background;
  }
  inLink_ = true;
  ++linkCount_;
  linkTarget_ = AttributeValue(tag, "href");
  const bool hovered = Link() == links_.HoverLink;
  style_.Font.Style.insert(fsUnderline);
  style_.Font.Color = hovered && links_.HoverText != clNone ? links_.HoverText : links_.Text;
  if (hovered && links_.HoverBackground != clNone) style_.Background = links_.HoverBackground;
}

void TMarkupStyler::EndLink() {
  if (!inLink_) {
    style_.Font.Style.erase(fsUnderline);
    return;
  }
  inLink_ = false;
  linkTarget_ = {};
  style_.Font.Style.erase(fsUnderline);
  style_.Font.Color = colourBeforeLink_;
  style_.Background = backgroundBeforeLink_;
}

void TMarkupStyler::StartFont(const TMarkupTag& tag) {
  const TSavedFont saved{faceName_, style_.Font.Height, style_.Font.Color, style_.Background};
  if (fonts_.size() < kDeepestFont) fonts_.push_back(saved);
  else ++unsavedFonts_;
  const std::string_view face = AttributeValue(tag, "face");
  if (!face.empty() && face.size() <= kLongestFaceName) {
    faceName_ = face;
    style_.Font.Name.assign(face);
  }
  if (const auto colour = MarkupColour(AttributeValue(tag, "color"))) style_.Font.Color = *colour;
  if (const auto colour = MarkupColour(AttributeValue(tag, "bgcolor"))) style_.Background = *colour;
  const std::string_view size = AttributeValue(tag, "size");
  if (!size.empty()) style_.Font.SetSize(std::clamp(MarkupNumber(size), kMarkupMinPoints, kMarkupMaxPoints));
}

void TMarkupStyler::EndFont() {
  if (unsavedFonts_ > 0) {
    --unsavedFonts_;
    Restore(fonts_.back());
    return;
  }
  if (fonts_.empty()) {
    Restore({{}, entryFont_.Height, entryFont_.Color, clNone});
    return;
  }
  Restore(fonts_.back());
  fonts_.pop_back();
}

void TMarkupStyler::Restore(const TSavedFont& saved) {
  faceName_ = saved.Name;
  if (saved.Name.empty()) style_.Font.Name = entryFont_.Name;
  else style_.Font.Name.assign(saved.Name);
  style_.Font.Height = saved.Height;
  style_.Font.Color = saved.Color;
  style_.Background = saved.Background;
}

// Any number of degrees is the same as one within a turn, which keeps the
// orientation (in tenths of a degree) far from overflowing.
void TMarkupStyler::Rotate(const TMarkupTag& tag) {
  if (tag.Closing) {
    style_.Font.Orientation = 0;
    return;
  }
  const int degrees = MarkupNumber(AttributeValue(tag, "a")) % kDegreesInTurn;
  style_.Font.Orientation = (degrees < 0 ? degrees + kDegreesInTurn : degrees) * kTenthsInDegree;
}

}  // namespace kelvora
