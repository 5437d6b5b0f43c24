#include "toolkit/hint_window.h"

#include <QPalette>
#include <QRect>
#include <QTextDocument>
#include <QToolTip>

#include "toolkit/byte_text.h"

namespace kelvora {
namespace {

// The tool tip fades out over a moment after it is told to hide; the hint
// counts as gone from that moment on.
bool hintWanted = false;

}  // namespace

void THintWindow::Show(QWidget* owner, QPoint at, std::string_view text, TColor color, const TRect& area) {
  QPalette palette = QToolTip::palette();
  palette.setColor(QPalette::ToolTipBase, ToQColor(color, owner->palette()));
  QToolTip::setPalette(palette);
  // As rich text, escaped, so that a "<" in a cell is shown and not read,
  // and a long line wraps instead of running off the screen.
  const QString shown = Qt::convertFromPlainText(DisplayText(text), Qt::WhiteSpaceNormal);
  const QRect rect(area.Left, area.Top, area.Width(), area.Height());
  QToolTip::showText(owner->mapToGlobal(at), shown, owner, rect);
  hintWanted = QToolTip::isVisible();
}

void THintWindow::Hide() {
  if (!hintWanted) return;
  hintWanted = false;
  QToolTip::hideText();
}

bool THintWindow::Showing() { return hintWanted && QToolTip::isVisible(); }

std::string THintWindow::Text() {
  if (!Showing()) return {};
  QTextDocument document;
  document.setHtml(QToolTip::text());
  return StoredText(document.toPlainText());
}

}  // namespace kelvora
