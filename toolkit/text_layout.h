#pragma once

#include <QString>
#include <QStringView>

#include <functional>
#include <vector>

#include "toolkit/canvas.h"

namespace kelvora {

// How DrawText turns a text into lines. Every canvas lays out through this one
// routine with its own measure, so that a canvas that only measures and one
// that draws cannot disagree about where a line breaks.

// Width in pixels of a piece of one line. Tabs reach it only when they are not
// being expanded.
using TTextMeasure = std::function<int(QStringView)>;

struct TTextLine {
  qsizetype Start = 0;  // into TTextLayout::Text
  qsizetype Length = 0;
  int Width = 0;
};

struct TTextLayout {
  QString Text;                      // what is shown, prefix marks resolved
  std::vector<qsizetype> Mnemonics;  // positions in Text drawn underlined
  std::vector<TTextLine> Lines;      // never empty
  int Width = 0;                     // of the widest line

  QStringView LineText(const TTextLine& line) const {
    return QStringView(Text).sliced(line.Start, line.Length);
  }
};

// Tab stops and the measure of one canvas, with tabs expanded on request.
class TTabbedMeasure {
 public:
  TTabbedMeasure(const TTextMeasure& measure, bool expandTabs, int tabWidth)
      : measure_(measure), expandTabs_(expandTabs), tabWidth_(tabWidth > 0 ? tabWidth : 1) {}

  // The x position after drawing piece from x.
  int Advance(int x, QStringView piece) const;
  int Width(QStringView piece) const { return Advance(0, piece); }
  // Calls draw(run, x) for each tab-free run of a line, x counted from the
  // line's start.
  void ForEachRun(QStringView line, const std::function<void(QStringView, int)>& draw) const;
  // How many UTF-16 units of text fit into maxWidth from x, never splitting
  // a surrogate pair.
  qsizetype Fit(int x, QStringView text, int maxWidth) const;

 private:
  TTextMeasure measure_;
  bool expandTabs_;
  int tabWidth_;
};

// "&x" shows x underlined, "&&" a single "&"; a lone "&" at the end stays.
QString ResolvePrefixes(QStringView text, std::vector<qsizetype>* mnemonics);

// Lines split at CR LF, CR and LF unless tfSingleLine; with tfWordBreak, wrapped
// at blanks to maxWidth, and with tfEditControl a word wider than a line is cut
// between characters. Blanks at a wrap point are dropped.
TTextLayout LayoutText(QStringView text, TTextFlags flags, int maxWidth, const TTabbedMeasure& measure);

// Number of bytes the shown text had: its UTF-8 length when the bytes were
// UTF-8, else one byte per character (the single-byte reading).
qsizetype ByteLength(QStringView shown, bool fromUtf8);

// The start of the line for the alignment flags.
int AlignedLeft(const TRect& rect, TTextFlags flags, int lineWidth);
int AlignedTop(const TRect& rect, TTextFlags flags, int textHeight);

}  // namespace kelvora
