#include "toolkit/text_layout.h"

#include <algorithm>

namespace kelvora {
namespace {

bool IsBlank(QChar c) { return c == u' ' || c == u'\t'; }

bool IsLineBreak(QChar c) { return c == u'\r' || c == u'\n'; }

// Moves a cut that would fall inside a surrogate pair to just after it.
qsizetype SnapUp(QStringView text, qsizetype k) {
  if (k > 0 && k < text.size() && text[k].isLowSurrogate() && text[k - 1].isHighSurrogate()) return k + 1;
  return k;
}

qsizetype NextCharacter(QStringView text, qsizetype i) {
  if (i + 1 < text.size() && text[i].isHighSurrogate() && text[i + 1].isLowSurrogate()) return i + 2;
  return i + 1;
}

// Wraps one paragraph (a piece without line breaks) into lines.
class ParagraphWrapper {
 public:
  ParagraphWrapper(QStringView paragraph, qsizetype base, int maxWidth, const TTabbedMeasure& measure,
                   bool cutWords, std::vector<TTextLine>& lines)
      : text_(paragraph), base_(base), maxWidth_(maxWidth), measure_(measure), cutWords_(cutWords),
        lines_(lines) {}

  void Run() {
    qsizetype i = 0;
    while (i < text_.size()) {
      const qsizetype blanksStart = i;
      while (i < text_.size() && IsBlank(text_[i])) ++i;
      const qsizetype wordStart = i;
      while (i < text_.size() && !IsBlank(text_[i])) ++i;
      if (wordStart == i) break;  // trailing blanks stay on the last line
      i = PlaceWord(blanksStart, wordStart, i);
    }
    Emit(text_.size());
  }

 private:
  // Puts the word [wordStart, wordEnd) with the blanks before it on the line
  // or starts a new one; returns where to go on scanning.
  qsizetype PlaceWord(qsizetype blanksStart, qsizetype wordStart, qsizetype wordEnd) {
    const int afterBlanks = measure_.Advance(x_, text_.sliced(blanksStart, wordStart - blanksStart));
    const QStringView word = text_.sliced(wordStart, wordEnd - wordStart);
    const int afterWord = measure_.Advance(afterBlanks, word);
    if (afterWord <= maxWidth_ || (!hasWord_ && !cutWords_)) return Accept(wordEnd, afterWord);
    if (hasWord_) {
      Emit(lineEnd_);
      StartLine(wordStart);
      return wordStart;
    }
    qsizetype fit = measure_.Fit(afterBlanks, word, maxWidth_);
    if (fit == 0) fit = NextCharacter(word, 0);  // every line takes at least one character
    if (fit >= word.size()) return Accept(wordEnd, afterWord);
    Emit(wordStart + fit);
    StartLine(wordStart + fit);
    return wordStart + fit;
  }

  qsizetype Accept(qsizetype wordEnd, int x) {
    lineEnd_ = wordEnd;
    x_ = x;
    hasWord_ = true;
    return wordEnd;
  }

  void Emit(qsizetype end) {
    const QStringView line = text_.sliced(lineStart_, end - lineStart_);
    lines_.push_back({base_ + lineStart_, line.size(), measure_.Width(line)});
  }

  void StartLine(qsizetype start) {
    lineStart_ = lineEnd_ = start;
    x_ = 0;
    hasWord_ = false;
  }

  QStringView text_;
  qsizetype base_;
  int maxWidth_;
  const TTabbedMeasure& measure_;
  bool cutWords_;
  std::vector<TTextLine>& lines_;
  qsizetype lineStart_ = 0;
  qsizetype lineEnd_ = 0;
  int x_ = 0;
  bool hasWord_ = false;
};

void AddParagraph(QStringView all, qsizetype start, qsizetype end, TTextFlags flags, int maxWidth,
                  const TTabbedMeasure& measure, std::vector<TTextLine>& lines) {
  const QStringView paragraph = all.sliced(start, end - start);
  if (flags.contains(tfWordBreak)) {
    ParagraphWrapper(paragraph, start, maxWidth, measure, flags.contains(tfEditControl), lines).Run();
  } else {
    lines.push_back({start, paragraph.size(), measure.Width(paragraph)});
  }
}

}  // namespace

int TTabbedMeasure::Advance(int x, QStringView piece) const {
  if (!expandTabs_) return piece.isEmpty() ? x : x + measure_(piece);
  qsizetype start = 0;
  for (qsizetype i = 0; i < piece.size(); ++i) {
    if (piece[i] != u'\t') continue;
    if (i > start) x += measure_(piece.sliced(start, i - start));
    x = (x / tabWidth_ + 1) * tabWidth_;
    start = i + 1;
  }
  if (start < piece.size()) x += measure_(piece.sliced(start));
  return x;
}

void TTabbedMeasure::ForEachRun(QStringView line, const std::function<void(QStringView, int)>& draw) const {
  if (!expandTabs_) {
    draw(line, 0);
    return;
  }
  int x = 0;
  qsizetype start = 0;
  for (qsizetype i = 0; i <= line.size(); ++i) {
    if (i < line.size() && line[i] != u'\t') continue;
    const QStringView run = line.sliced(start, i - start);
    if (!run.isEmpty()) draw(run, x);
    x = Advance(x, line.sliced(start, std::min(i + 1, line.size()) - start));
    start = i + 1;
  }
}

qsizetype TTabbedMeasure::Fit(int x, QStringView text, int maxWidth) const {
  const auto fits = [&](qsizetype k) { return Advance(x, text.first(k)) <= maxWidth; };
  if (x > maxWidth) return 0;
  // Grow the step until a prefix no longer fits, then halve the gap; the cost
  // follows the length that fits, not the length of the text.
  qsizetype lo = 0;
  qsizetype hi = -1;
  for (qsizetype step = 1;; step *= 2) {
    const qsizetype candidate = std::min(SnapUp(text, lo + step), text.size());
    if (candidate <= lo) return lo;
    if (!fits(candidate)) {
      hi = candidate;
      break;
    }
    lo = candidate;
  }
  for (;;) {
    qsizetype mid = SnapUp(text, lo + (hi - lo) / 2);
    if (mid <= lo) mid = NextCharacter(text, lo);
    if (mid >= hi) return lo;
    (fits(mid) ? lo : hi) = mid;
  }
}

QString ResolvePrefixes(QStringView text, std::vector<qsizetype>* mnemonics) {
  QString shown;
  shown.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == u'&' && i + 1 < text.size()) {
      ++i;
      if (text[i] != u'&' && mnemonics) mnemonics->push_back(shown.size());
    }
    shown.append(text[i]);
  }
  return shown;
}

TTextLayout LayoutText(QStringView text, TTextFlags flags, int maxWidth, const TTabbedMeasure& measure) {
  TTextLayout layout;
  layout.Text = flags.contains(tfNoPrefix) ? text.toString() : ResolvePrefixes(text, &layout.Mnemonics);
  const QStringView all(layout.Text);
  if (flags.contains(tfSingleLine)) {
    layout.Lines.push_back({0, all.size(), measure.Width(all)});
  } else {
    qsizetype start = 0;
    for (qsizetype i = 0; i < all.size(); ++i) {
      if (!IsLineBreak(all[i])) continue;
      AddParagraph(all, start, i, flags, maxWidth, measure, layout.Lines);
      if (all[i] == u'\r' && i + 1 < all.size() && all[i + 1] == u'\n') ++i;
      start = i + 1;
    }
    AddParagraph(all, start, all.size(), flags, maxWidth, measure, layout.Lines);
  }
  for (const TTextLine& line : layout.Lines) layout.Width = std::max(layout.Width, line.Width);
  return layout;
}

qsizetype ByteLength(QStringView shown, bool fromUtf8) {
  if (!fromUtf8) return shown.size();
  qsizetype bytes = 0;
  for (QChar c : shown) {
    const char16_t u = c.unicode();
    if (u < 0x80) bytes += 1;
    else if (u < 0x800) bytes += 2;
    else if (c.isSurrogate()) bytes += 2;  // a pair is one four-byte character
    else bytes += 3;
  }
  return bytes;
}

int AlignedLeft(const TRect& rect, TTextFlags flags, int lineWidth) {
  if (flags.contains(tfRight)) return rect.Right - lineWidth;
  if (flags.contains(tfCenter)) return rect.Left + (rect.Width() - lineWidth) / 2;
  return rect.Left;
}

int AlignedTop(const TRect& rect, TTextFlags flags, int textHeight) {
  if (flags.contains(tfBottom)) return rect.Bottom - textHeight;
  if (flags.contains(tfVCenter)) return rect.Top + (rect.Height() - textHeight) / 2;
  return rect.Top;
}

}  // namespace kelvora
