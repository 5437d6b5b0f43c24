#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QRect>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

#include "toolkit/canvas.h"

class QPaintDevice;

namespace kelvora {

struct TTextLayout;
struct TQtFace;
struct TTextLine;
class TTabbedMeasure;

// The font Qt draws for a TFont: the family by name (Qt's matching finds a
// stand-in for a missing one), the pixel height, and the styles. Orientation
// is not a font property in Qt; the canvas turns the painter instead.
QFont ToQFont(const TFont& font);

// The drawing surface on Qt. It draws through a painter it is lent (whose
// state it restores when it ends) or one it opens on a device such as a
// QImage; made with ForMeasuring() it has no device, measures with the font's
// metrics, and its drawing calls do nothing.
//
// A grid repaints hundreds of cells a frame through this class, so it keeps
// the converted font and its metrics until Font() changes (converted faces
// are shared by all canvases, with the widths of texts drawn lately), tells
// the painter only what changed, and draws a plain one-line text straight at
// its baseline, clipping only a text that would leave its rectangle. Canvases
// belong to the GUI thread.
class TQtCanvas : public TCanvas {
 public:
  explicit TQtCanvas(QPainter& painter);
  explicit TQtCanvas(QPaintDevice& device);
  static TQtCanvas ForMeasuring();
  ~TQtCanvas() override;

  TQtCanvas(const TQtCanvas&) = delete;
  TQtCanvas& operator=(const TQtCanvas&) = delete;
  TQtCanvas(TQtCanvas&& other) noexcept;  // the moved-from canvas only measures

  bool CanDraw() const { return painter_ != nullptr; }

  void LineTo(int x, int y) override;
  void FillRect(const TRect& r) override;
  void Rectangle(const TRect& r) override;
  void FrameRect(const TRect& r) override;
  void DrawFocusRect(const TRect& r) override;
  void DrawEdge(const TRect& r, TEdgeSides sides) override;

  void TextOut(int x, int y, std::string_view text) override;
  int DrawText(std::string_view text, TRect& rect, TTextFlags flags) override;
  TSize TextExtent(std::string_view text) override;
  int TextFitCount(std::string_view text, int maxWidth, TSize* extent = nullptr) override;

  void SetClipRect(const TRect& r) override;
  void ResetClip() override;
  std::optional<TRect> ClipRect() const override { return userRect_; }

  void Draw(int x, int y, const TBitmap& bitmap) override;
  void StretchDraw(const TRect& r, const TBitmap& bitmap) override;
  void DrawIcon(int x, int y, const TIcon& icon, int size) override;
  void DrawTiled(const TRect& r, const TBitmap& bitmap, TPoint origin) override;

 private:
  struct MeasuringOnly {};
  explicit TQtCanvas(MeasuringOnly);

  TQtFace& CurrentFace();
  const QFontMetrics& Metrics();
  int Advance(QStringView text);
  int RememberedAdvance(QStringView text);
  int TabWidth();
  const QString& Shown(std::string_view text);

  // Painter state, set only when it differs from what was last set.
  void UsePainterFont();
  void UseTextPen();
  void UseSolidPen(const QColor& color);
  void PreparePainter();
  QColor BrushColor() const;
  bool OpaqueText() const;

  void ApplyClip();
  void ClipTo(const QRect& r);
  QRect VisibleArea() const;
  int VisibleDiagonal() const;

  bool NeedsLayout(std::string_view text, TTextFlags flags) const;
  int DrawLaidOut(const QString& shown, TRect& rect, TTextFlags flags);
  int DrawLongLine(const QString& shown, TRect& rect, TTextFlags flags);
  void DrawLaidOutLine(const TTextLayout& layout, const TTextLine& line, const TTabbedMeasure& measure,
                       int x, int y);
  void DrawMnemonic(QStringView line, qsizetype offset, const TTabbedMeasure& measure, int x, int y);
  void DrawRun(int x, int y, const QString& text, int width);
  void TurnAbout(int x, int y);
  QString VisiblePrefix(const QString& text, int visibleWidth);
  QPainter::CompositionMode InvertingMode() const;

  void DrawOutline(const QRect& r, const QColor& color, int thickness);
  void DrawStyledRectOutline(const QRect& r);

  QPainter* painter_ = nullptr;
  std::unique_ptr<QPainter> ownedPainter_;

  std::shared_ptr<TQtFace> face_;
  std::shared_ptr<TQtFace> painterFace_;  // the face the painter has
  QString textBuffer_;

  std::optional<QColor> painterPenColor_;  // set when the pen is a plain 1-pixel one

  std::optional<QRect> baseClip_;  // the lent painter's own clip
  std::optional<QRect> userClip_;
  std::optional<TRect> userRect_;  // userClip_ as it was given
  std::vector<QRect> focusDots_;
};

}  // namespace kelvora
