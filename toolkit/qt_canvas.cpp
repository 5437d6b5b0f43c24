#include "toolkit/qt_canvas.h"

#include <QIcon>
#include <QImage>
#include <QPaintDevice>
#include <QPaintEngine>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "toolkit/byte_text.h"
#include "toolkit/color.h"
#include "toolkit/text_ink_cache.h"
#include "toolkit/text_layout.h"

namespace kelvora {
namespace {

// Mark-up switches between a few faces word by word, and a grid has two.
constexpr std::size_t kSharedFaces = 8;
constexpr int kDefaultPixelHeight = 11;
// Far beyond any readable size; larger heights would only make Qt render
// glyphs that no screen can show.
constexpr int kLargestPixelHeight = 4096;
// Qt shapes a text in one piece. Past this many characters a text is measured
// in chunks and drawn only as far as it can be seen, so that a huge cell costs
// time in proportion to what shows.
constexpr qsizetype kLongText = 4096;
constexpr int kTabStopCharacters = 8;

bool SameFace(const TFont& a, const TFont& b) {
  return a.Height == b.Height && a.Style == b.Style && a.Name == b.Name;
}

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

QRect ToQRect(const TRect& r) { return QRect(r.Left, r.Top, r.Width(), r.Height()); }

Qt::PenStyle ToQtPenStyle(TPenStyle style) {
  switch (style) {
    case psDash: return Qt::DashLine;
    case psDot: return Qt::DotLine;
    case psClear: return Qt::NoPen;
    case psSolid: break;
  }
  return Qt::SolidLine;
}

int PixelHeightOf(const TFont& font) {
  if (font.Height == 0) return kDefaultPixelHeight;
  const long long height = std::llabs(static_cast<long long>(font.Height));
  return static_cast<int>(std::min<long long>(height, kLargestPixelHeight));
}

// The last pixel a line from a to b covers when b itself is left out.
QPoint PixelBeforeEnd(QPoint a, QPoint b, int steps) {
  const auto scaled = [steps](int d) {
    return static_cast<int>(std::lround(static_cast<double>(d) * (steps - 1) / steps));
  };
  return a + QPoint(scaled(b.x() - a.x()), scaled(b.y() - a.y()));
}

}  // namespace

QFont ToQFont(const TFont& font) {
  QFont q(DisplayText(font.Name));
  q.setPixelSize(PixelHeightOf(font));
  q.setBold(font.Style.contains(fsBold));
  q.setItalic(font.Style.contains(fsItalic));
  q.setUnderline(font.Style.contains(fsUnderline));
  q.setStrikeOut(font.Style.contains(fsStrikeOut));
  return q;
}

// A converted font with its metrics and the widths of texts drawn lately.
// A grid draws the same texts frame after frame; remembering their widths
// spares the second shaping that an opaque background or an alignment needs.
// The height is asked for with every text, and Qt's answer goes through its
// font engine each time.
struct TQtFace {
  explicit TQtFace(const TFont& source)
      : key(source), font(ToQFont(source)), metrics(font), height(metrics.height()) {}

  int Width(QStringView text) { return Remembered(text).width; }

  // With the overhangs, which only the first and last glyphs can have in
  // practice.
  TTextInk Ink(QStringView text) {
    TTextInk& ink = Remembered(text);
    if (ink.overhangsKnown || text.isEmpty()) return ink;
    const QChar first = text.front(), last = text.back();
    ink.overhangLeft = first.isSurrogate() ? height : std::max(0, -metrics.leftBearing(first));
    ink.overhangRight = last.isSurrogate() ? height : std::max(0, -metrics.rightBearing(last));
    ink.overhangsKnown = true;
    return ink;
  }

  TFont key;
  QFont font;
  QFontMetrics metrics;
  int height;

 private:
  TTextInk& Remembered(QStringView text) {
    return inks.Ink(text, [this](QStringView measured) {
      return metrics.horizontalAdvance(QString::fromRawData(measured.constData(), measured.size()));
    });
  }

  TTextInkCache inks;
};

namespace {

// The faces every canvas converted lately. Painting makes a new canvas for
// each paint event, and the same few faces come back each time.
class TFaceCache {
 public:
  std::shared_ptr<TQtFace> Find(const TFont& font) {
    for (const auto& face : faces_)
      if (SameFace(face->key, font)) return face;
    auto face = std::make_shared<TQtFace>(font);
    if (faces_.size() < kSharedFaces) {
      faces_.push_back(face);
    } else {
      faces_[next_] = face;
      next_ = (next_ + 1) % kSharedFaces;
    }
    return face;
  }

 private:
  std::vector<std::shared_ptr<TQtFace>> faces_;
  std::size_t next_ = 0;
};

// Never destroyed: fonts must not outlive the application object's font
// machinery, and the program ends without tearing this down.
TFaceCache& SharedFaces() {
  static auto* cache = new TFaceCache;
  return *cache;
}

}  // namespace

TQtCanvas::TQtCanvas(QPainter& painter) {
  if (!painter.isActive()) return;
  painter_ = &painter;
  painter.save();
  if (painter.hasClipping()) baseClip_ = painter.clipBoundingRect().toAlignedRect();
  PreparePainter();
}

TQtCanvas::TQtCanvas(QPaintDevice& device) : ownedPainter_(std::make_unique<QPainter>()) {
  if (!ownedPainter_->begin(&device)) return;
  painter_ = ownedPainter_.get();
  PreparePainter();
}

TQtCanvas::TQtCanvas(MeasuringOnly) {}

TQtCanvas::TQtCanvas(TQtCanvas&& other) noexcept
    : TCanvas(other),
      painter_(std::exchange(other.painter_, nullptr)),
      ownedPainter_(std::move(other.ownedPainter_)),
      face_(std::move(other.face_)),
      painterFace_(std::move(other.painterFace_)),
      painterPenColor_(std::exchange(other.painterPenColor_, std::nullopt)),
      baseClip_(other.baseClip_),
      userClip_(other.userClip_),
      userRect_(other.userRect_) {}

TQtCanvas TQtCanvas::ForMeasuring() { return TQtCanvas(MeasuringOnly{}); }

TQtCanvas::~TQtCanvas() {
  if (painter_ && !ownedPainter_) painter_->restore();
}

void TQtCanvas::PreparePainter() {
  painter_->setBrush(Qt::NoBrush);
  painter_->setRenderHint(QPainter::Antialiasing, false);
  painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
  painter_->setLayoutDirection(Qt::LeftToRight);
}

// --- Fonts and measuring -------------------------------------------------

TQtFace& TQtCanvas::CurrentFace() {
  if (!face_ || !SameFace(face_->key, Font())) face_ = SharedFaces().Find(Font());
  return *face_;
}

const QFontMetrics& TQtCanvas::Metrics() { return CurrentFace().metrics; }

int TQtCanvas::Advance(QStringView text) {
  const QFontMetrics& metrics = Metrics();
  if (text.size() <= kLongText)
    return text.isEmpty() ? 0 : metrics.horizontalAdvance(QString::fromRawData(text.constData(), text.size()));
  long long total = 0;
  for (qsizetype start = 0; start < text.size();) {
    qsizetype end = std::min(text.size(), start + kLongText);
    if (end < text.size() && text[end].isLowSurrogate()) ++end;
    total += metrics.horizontalAdvance(QString::fromRawData(text.constData() + start, end - start));
    start = end;
  }
  return static_cast<int>(std::min<long long>(total, INT_MAX));
}

// Laid-out text is measured piece by piece (the runs between tabs, the
// words of a wrapped text), and the same pieces come back cell after cell.
int TQtCanvas::RememberedAdvance(QStringView text) {
  if (text.size() > kLongText) return Advance(text);
  return CurrentFace().Width(text);
}

int TQtCanvas::TabWidth() { return kTabStopCharacters * std::max(1, Metrics().averageCharWidth()); }

// Plain ASCII, the common case in a grid, is copied into a reused buffer
// rather than decoded into a new string each time.
const QString& TQtCanvas::Shown(std::string_view text) {
  if (!IsAscii(text)) {
    textBuffer_ = DisplayText(text);
    return textBuffer_;
  }
  textBuffer_.resize(static_cast<qsizetype>(text.size()));
  QChar* out = textBuffer_.data();
  for (char c : text) *out++ = QChar(static_cast<char16_t>(c));
  return textBuffer_;
}

TSize TQtCanvas::TextExtent(std::string_view text) {
  const int height = CurrentFace().height;
  const QString& shown = Shown(text);
  if (shown.size() > kLongText) return {Advance(shown), height};
  return {face_->Width(shown), height};
}

int TQtCanvas::TextFitCount(std::string_view text, int maxWidth, TSize* extent) {
  const QString& shown = Shown(text);
  const TTabbedMeasure measure([this](QStringView s) { return Advance(s); }, false, 1);
  const QStringView fitting = QStringView(shown).first(measure.Fit(0, shown, maxWidth));
  if (extent) *extent = {Advance(fitting), CurrentFace().height};
  const bool fromUtf8 = !IsAscii(text) && IsValidUtf8(text);
  return static_cast<int>(ByteLength(fitting, fromUtf8));
}

// --- Painter state ---------------------------------------------------------

void TQtCanvas::UsePainterFont() {
  CurrentFace();
  if (painterFace_ == face_) return;
  painter_->setFont(face_->font);
  painterFace_ = face_;
}

void TQtCanvas::UseTextPen() { UseSolidPen(ToQColor(Font().Color)); }

void TQtCanvas::UseSolidPen(const QColor& color) {
  if (painterPenColor_ == color) return;
  painter_->setPen(color);
  painterPenColor_ = color;
}

QColor TQtCanvas::BrushColor() const { return ToQColor(Brush().Color); }

bool TQtCanvas::OpaqueText() const { return !TransparentText() && Brush().Style == bsSolid; }

// --- Clipping ---------------------------------------------------------------

void TQtCanvas::SetClipRect(const TRect& r) {
  userClip_ = r.IsEmpty() ? QRect() : ToQRect(r);
  userRect_ = r;
  ApplyClip();
}

void TQtCanvas::ResetClip() {
  userClip_.reset();
  userRect_.reset();
  ApplyClip();
}

void TQtCanvas::ApplyClip() {
  if (!painter_) return;
  std::optional<QRect> clip = userClip_;
  if (baseClip_) clip = clip ? clip->intersected(*baseClip_) : *baseClip_;
  if (clip) painter_->setClipRect(*clip);
  else painter_->setClipping(false);
}

// Narrows the clip to r for one drawing; ApplyClip() undoes it.
void TQtCanvas::ClipTo(const QRect& r) {
  QRect clip = r;
  if (userClip_) clip = clip.intersected(*userClip_);
  if (baseClip_) clip = clip.intersected(*baseClip_);
  painter_->setClipRect(clip);
}

// The part of the device the painter can reach, in the painter's own
// coordinates (the painter it was lent may be translated or scaled).
QRect TQtCanvas::VisibleArea() const {
  const QPaintDevice* device = painter_->device();
  if (!device) return QRect();
  const QRect whole(0, 0, device->width(), device->height());
  const QTransform& transform = painter_->worldTransform();
  if (transform.isIdentity()) return whole;
  return transform.isInvertible() ? transform.inverted().mapRect(whole) : QRect();
}

int TQtCanvas::VisibleDiagonal() const {
  const QRect area = VisibleArea();
  return static_cast<int>(std::hypot(area.width(), area.height())) + 1;
}

// --- Shapes -----------------------------------------------------------------

void TQtCanvas::FillRect(const TRect& r) {
  if (!painter_ || Brush().Style == bsClear) return;
  painter_->fillRect(ToQRect(r), BrushColor());
}

void TQtCanvas::FrameRect(const TRect& r) {
  if (!painter_ || Brush().Style == bsClear || r.IsEmpty()) return;
  DrawOutline(ToQRect(r), BrushColor(), 1);
}

void TQtCanvas::Rectangle(const TRect& r) {
  if (!painter_ || r.IsEmpty()) return;
  const QRect box = ToQRect(r);
  if (Brush().Style == bsSolid) painter_->fillRect(box, BrushColor());
  if (Pen().Style == psClear) return;
  if (Pen().Style == psSolid) DrawOutline(box, ToQColor(Pen().Color), std::max(1, Pen().Width));
  else DrawStyledRectOutline(box);
}

// A frame of the given thickness inside r, drawn as four filled strips so
// that every pixel is hit once.
void TQtCanvas::DrawOutline(const QRect& r, const QColor& color, int thickness) {
  const int t = std::min(thickness, (std::min(r.width(), r.height()) + 1) / 2);
  painter_->fillRect(QRect(r.left(), r.top(), r.width(), t), color);
  painter_->fillRect(QRect(r.left(), r.bottom() - t + 1, r.width(), t), color);
  const int sideHeight = r.height() - 2 * t;
  if (sideHeight <= 0) return;
  painter_->fillRect(QRect(r.left(), r.top() + t, t, sideHeight), color);
  painter_->fillRect(QRect(r.right() - t + 1, r.top() + t, t, sideHeight), color);
}

// A pen of one pixel runs through the middle of the pixels it covers: on a
// whole coordinate it would straddle two device pixels of a scaled screen.
void TQtCanvas::DrawStyledRectOutline(const QRect& r) {
  painter_->setPen(QPen(ToQColor(Pen().Color), 1, ToQtPenStyle(Pen().Style)));
  painterPenColor_.reset();
  painter_->drawRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5));
}

void TQtCanvas::LineTo(int x, int y) {
  const QPoint from(PenPos().X, PenPos().Y);
  const QPoint to(x, y);
  MoveTo(x, y);
  if (!painter_ || Pen().Style == psClear || from == to) return;
  const QColor color = ToQColor(Pen().Color);
  if (Pen().Width > 1) {
    // A flat cap ends a wide line at its end point instead of beyond it.
    painter_->setPen(QPen(color, Pen().Width, ToQtPenStyle(Pen().Style), Qt::FlatCap));
    painterPenColor_.reset();
    painter_->drawLine(from, to);
    return;
  }
  const int steps = std::max(std::abs(to.x() - from.x()), std::abs(to.y() - from.y()));
  const QPoint last = PixelBeforeEnd(from, to, steps);
  if (Pen().Style == psSolid && (from.x() == to.x() || from.y() == to.y())) {
    const QPoint topLeft(std::min(from.x(), last.x()), std::min(from.y(), last.y()));
    const QPoint bottomRight(std::max(from.x(), last.x()), std::max(from.y(), last.y()));
    painter_->fillRect(QRect(topLeft, bottomRight), color);
    return;
  }
  if (Pen().Style == psSolid) {
    UseSolidPen(color);
  } else {
    painter_->setPen(QPen(color, 1, ToQtPenStyle(Pen().Style), Qt::SquareCap));
    painterPenColor_.reset();
  }
  const QPointF middle(0.5, 0.5);  // of the pixel, as for an outline
  if (last == from) painter_->drawPoint(QPointF(from) + middle);
  else painter_->drawLine(QPointF(from) + middle, QPointF(last) + middle);
}

QPainter::CompositionMode TQtCanvas::InvertingMode() const {
  const QPaintEngine* engine = painter_->paintEngine();
  if (engine && engine->hasFeature(QPaintEngine::RasterOpModes))
    return QPainter::RasterOp_SourceXorDestination;
  return QPainter::CompositionMode_Difference;  // white minus white minus x is x again
}

// Every other pixel of the outline, chosen by the parity of x + y so that the
// dots run on unbroken around the corners, inverted so that a second call
// takes the rectangle away again. Each dot is a filled square of one pixel
// rather than a point: a point is a pen's mark centred on a corner of the
// pixel, which at a device pixel ratio of 2 lands half a pixel off.
void TQtCanvas::DrawFocusRect(const TRect& r) {
  if (!painter_ || r.IsEmpty()) return;
  const QRect visible = VisibleArea().intersected(ToQRect(r));
  focusDots_.clear();
  const auto add = [&](int x, int y) {
    if (((x + y) & 1) == 0 && visible.contains(x, y)) focusDots_.emplace_back(x, y, 1, 1);
  };
  const int left = std::max(r.Left, visible.left()), right = std::min(r.Right, visible.right() + 1);
  for (int x = left; x < right; ++x) {
    add(x, r.Top);
    if (r.Bottom - 1 != r.Top) add(x, r.Bottom - 1);
  }
  const int top = std::max(r.Top + 1, visible.top()), bottom = std::min(r.Bottom - 1, visible.bottom() + 1);
  for (int y = top; y < bottom; ++y) {
    add(r.Left, y);
    if (r.Right - 1 != r.Left) add(r.Right - 1, y);
  }
  const QPainter::CompositionMode previous = painter_->compositionMode();
  painter_->setCompositionMode(InvertingMode());
  painter_->setPen(Qt::NoPen);
  painterPenColor_.reset();
  painter_->setBrush(Qt::white);
  painter_->drawRects(focusDots_.data(), static_cast<int>(focusDots_.size()));
  painter_->setBrush(Qt::NoBrush);
  painter_->setCompositionMode(previous);
}

void TQtCanvas::DrawEdge(const TRect& r, TEdgeSides sides) {
  if (!painter_ || r.IsEmpty()) return;
  const QColor highlight = ToQColor(clBtnHighlight);
  const QColor shadow = ToQColor(clBtnShadow);
  if (sides.contains(esLeft)) painter_->fillRect(QRect(r.Left, r.Top, 1, r.Height()), highlight);
  if (sides.contains(esTop)) painter_->fillRect(QRect(r.Left, r.Top, r.Width(), 1), highlight);
  if (sides.contains(esRight)) painter_->fillRect(QRect(r.Right - 1, r.Top, 1, r.Height()), shadow);
  if (sides.contains(esBottom)) painter_->fillRect(QRect(r.Left, r.Bottom - 1, r.Width(), 1), shadow);
}

// --- Text -------------------------------------------------------------------

void TQtCanvas::TextOut(int x, int y, std::string_view text) {
  if (!painter_) return;
  const QString& shown = Shown(text);
  UsePainterFont();
  UseTextPen();
  const bool longText = shown.size() > kLongText;
  if (Font().Orientation != 0) {
    painter_->save();
    TurnAbout(x, y);
    DrawRun(0, 0, longText ? VisiblePrefix(shown, VisibleDiagonal()) : shown, -1);
    painter_->restore();
    return;
  }
  if (longText) DrawRun(x, y, VisiblePrefix(shown, VisibleArea().right() + 1 - x), -1);
  else DrawRun(x, y, shown, OpaqueText() ? face_->Width(shown) : -1);
}

// Draws one piece of text with its top-left at (x, y); width is its advance
// when already known, else -1.
void TQtCanvas::DrawRun(int x, int y, const QString& text, int width) {
  const QFontMetrics& metrics = Metrics();
  if (OpaqueText()) {
    if (width < 0) width = Advance(text);
    painter_->fillRect(QRect(x, y, width, metrics.height()), BrushColor());
  }
  painter_->drawText(QPoint(x, y + metrics.ascent()), text);
}

// Turns the painter counter-clockwise about (x, y) by the font's orientation.
void TQtCanvas::TurnAbout(int x, int y) {
  painter_->translate(x, y);
  painter_->rotate(-Font().Orientation / 10.0);
}

QString TQtCanvas::VisiblePrefix(const QString& text, int visibleWidth) {
  const TTabbedMeasure measure([this](QStringView s) { return Advance(s); }, false, 1);
  // Two more characters than fit, so that a glyph cut by the edge still shows.
  const qsizetype count = measure.Fit(0, text, std::max(0, visibleWidth)) + 2;
  if (count >= text.size()) return text;
  return text.first(text[count - 1].isHighSurrogate() ? count + 1 : count);
}

bool TQtCanvas::NeedsLayout(std::string_view text, TTextFlags flags) const {
  if (Font().Orientation != 0 || flags.contains(tfRtlReading)) return true;
  const bool prefixes = !flags.contains(tfNoPrefix);
  const bool tabs = flags.contains(tfExpandTabs);
  const bool lines = !flags.contains(tfSingleLine);
  for (char c : text) {
    if ((c == '&' && prefixes) || (c == '\t' && tabs) || ((c == '\r' || c == '\n') && lines)) return true;
  }
  return false;
}

// The fast path: one line, nothing to resolve, drawn at its baseline, and
// clipped only when its ink would leave the rectangle. Everything else is
// laid out line by line.
int TQtCanvas::DrawText(std::string_view text, TRect& rect, TTextFlags flags) {
  const int height = CurrentFace().height;
  const QString& shown = Shown(text);
  if (NeedsLayout(text, flags)) return DrawLaidOut(shown, rect, flags);
  if (shown.size() > kLongText) return DrawLongLine(shown, rect, flags);
  const int width = face_->Width(shown);
  if (flags.contains(tfWordBreak) && !flags.contains(tfSingleLine) && width > rect.Width())
    return DrawLaidOut(shown, rect, flags);
  if (flags.contains(tfCalcRect)) {
    rect.Right = rect.Left + width;
    rect.Bottom = rect.Top + height;
    return height;
  }
  if (!painter_) return height;
  const TTextInk ink = face_->Ink(shown);
  UsePainterFont();
  UseTextPen();
  const int x = AlignedLeft(rect, flags, ink.width);
  const int y = AlignedTop(rect, flags, height);
  const bool inside = x - ink.overhangLeft >= rect.Left && x + ink.width + ink.overhangRight <= rect.Right &&
                      y >= rect.Top && y + height <= rect.Bottom;
  const bool clips = !flags.contains(tfNoClip) && !inside;
  if (clips) ClipTo(ToQRect(rect));
  DrawRun(x, y, shown, ink.width);
  if (clips) ApplyClip();
  return height;
}

// A single line too long to shape whole: measured in chunks, and drawn only
// as far as it shows when it starts at the left.
int TQtCanvas::DrawLongLine(const QString& shown, TRect& rect, TTextFlags flags) {
  const int height = CurrentFace().height;
  if (flags.contains(tfWordBreak) && !flags.contains(tfSingleLine)) return DrawLaidOut(shown, rect, flags);
  const bool leftAligned = !flags.contains(tfRight) && !flags.contains(tfCenter);
  const bool measureFirst = flags.contains(tfCalcRect) || !leftAligned || OpaqueText();
  const int width = measureFirst ? Advance(shown) : -1;
  if (flags.contains(tfCalcRect)) {
    rect.Right = rect.Left + width;
    rect.Bottom = rect.Top + height;
    return height;
  }
  if (!painter_) return height;
  UsePainterFont();
  UseTextPen();
  const int x = AlignedLeft(rect, flags, width);
  const int y = AlignedTop(rect, flags, height);
  const bool clips = !flags.contains(tfNoClip);
  if (clips) ClipTo(ToQRect(rect));
  if (leftAligned) {
    const int visibleRight = clips ? rect.Right : VisibleArea().right() + 1;
    DrawRun(x, y, VisiblePrefix(shown, visibleRight - x), -1);
  } else {
    DrawRun(x, y, shown, width);
  }
  if (clips) ApplyClip();
  return height;
}

int TQtCanvas::DrawLaidOut(const QString& shown, TRect& rect, TTextFlags flags) {
  const int lineHeight = CurrentFace().height;
  const TTabbedMeasure measure([this](QStringView s) { return RememberedAdvance(s); }, flags.contains(tfExpandTabs),
                               TabWidth());
  const TTextLayout layout = LayoutText(shown, flags, rect.Width(), measure);
  const long long total = static_cast<long long>(lineHeight) * static_cast<long long>(layout.Lines.size());
  const int height = static_cast<int>(std::min<long long>(total, INT_MAX));
  if (flags.contains(tfCalcRect)) {
    rect.Right = rect.Left + layout.Width;
    rect.Bottom = rect.Top + height;
    return height;
  }
  if (!painter_) return height;
  UsePainterFont();
  UseTextPen();
  // A turned text leaves its rectangle by its nature, so only the canvas's
  // own clip applies to it.
  const bool turned = Font().Orientation != 0;
  const bool clips = !flags.contains(tfNoClip) && !turned;
  if (clips) ClipTo(ToQRect(rect));
  if (flags.contains(tfRtlReading)) painter_->setLayoutDirection(Qt::RightToLeft);
  int y = AlignedTop(rect, flags, height);
  for (const TTextLine& line : layout.Lines) {
    if (clips && y >= rect.Bottom) break;
    if (!clips || y + lineHeight > rect.Top)
      DrawLaidOutLine(layout, line, measure, AlignedLeft(rect, flags, line.Width), y);
    y += lineHeight;
  }
  painter_->setLayoutDirection(Qt::LeftToRight);
  if (clips) ApplyClip();
  return height;
}

void TQtCanvas::DrawLaidOutLine(const TTextLayout& layout, const TTextLine& line, const TTabbedMeasure& measure,
                                int x, int y) {
  const bool turned = Font().Orientation != 0;
  if (turned) {
    painter_->save();
    TurnAbout(x, y);
    x = y = 0;
  }
  const QFontMetrics& metrics = Metrics();
  if (OpaqueText()) painter_->fillRect(QRect(x, y, line.Width, metrics.height()), BrushColor());
  const QStringView text = layout.LineText(line);
  const int reach = turned ? VisibleDiagonal() : VisibleArea().right() + 1;
  measure.ForEachRun(text, [&](QStringView run, int offset) {
    const QString piece = run.toString();
    const int visibleWidth = reach - (turned ? offset : x + offset);
    painter_->drawText(QPoint(x + offset, y + metrics.ascent()),
                       piece.size() > kLongText ? VisiblePrefix(piece, visibleWidth) : piece);
  });
  for (qsizetype position : layout.Mnemonics) {
    if (position >= line.Start && position < line.Start + line.Length)
      DrawMnemonic(text, position - line.Start, measure, x, y);
  }
  if (turned) painter_->restore();
}

// The underline under the character that followed an "&".
void TQtCanvas::DrawMnemonic(QStringView line, qsizetype offset, const TTabbedMeasure& measure, int x, int y) {
  const QFontMetrics& metrics = Metrics();
  const qsizetype length = line[offset].isHighSurrogate() && offset + 1 < line.size() ? 2 : 1;
  const int left = x + measure.Width(line.first(offset));
  const int width = measure.Advance(left - x, line.sliced(offset, length)) - (left - x);
  const int top = y + metrics.ascent() + metrics.underlinePos();
  painter_->fillRect(QRect(left, top, width, std::max(1, metrics.lineWidth())), ToQColor(Font().Color));
}

// --- Pictures ---------------------------------------------------------------

void TQtCanvas::Draw(int x, int y, const TBitmap& bitmap) {
  if (!painter_ || bitmap.Empty()) return;
  painter_->drawImage(QPoint(x, y), bitmap.Image());
}

void TQtCanvas::StretchDraw(const TRect& r, const TBitmap& bitmap) {
  if (!painter_ || bitmap.Empty() || r.IsEmpty()) return;
  painter_->drawImage(ToQRect(r), bitmap.Image());
}

void TQtCanvas::DrawIcon(int x, int y, const TIcon& icon, int size) {
  if (!painter_ || icon.Empty() || size <= 0) return;
  icon.Icon().paint(painter_, QRect(x, y, size, size));
}

// A texture brush lays the tiles in one fill, however small the bitmap. The
// origin is taken modulo the tile size first, as a far one would lose
// precision in the brush's transform.
void TQtCanvas::DrawTiled(const TRect& r, const TBitmap& bitmap, TPoint origin) {
  if (!painter_ || bitmap.Empty() || r.IsEmpty()) return;
  const auto phase = [](int at, int size) { return static_cast<int>(((at % size) + size) % size); };
  QBrush tiles(bitmap.Image());
  tiles.setTransform(QTransform::fromTranslate(phase(origin.X, bitmap.Width()), phase(origin.Y, bitmap.Height())));
  painter_->fillRect(ToQRect(r), tiles);
}

}  // namespace kelvora
