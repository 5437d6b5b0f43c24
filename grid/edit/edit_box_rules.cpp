#include "grid/edit/edit_box_rules.h"

#include <QList>

#include <climits>
#include <cstdint>

#include "toolkit/byte_text.h"

namespace kelvora {
namespace {

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

bool IsDigit(QChar c) { return c >= u'0' && c <= u'9'; }
bool IsSeparator(QChar c) { return c == u'.' || c == u','; }

// Digits from `at` on; answers where they stop.
qsizetype SkipDigits(const QString& text, qsizetype at) {
  while (at < text.size() && IsDigit(text.at(at))) ++at;
  return at;
}

// What can still be typed on to a number: an optional minus (when signed),
// digits, and with `decimal` one separator followed by digits.
bool IsNumberSoFar(const QString& text, bool signedNumber, bool decimal) {
  qsizetype at = signedNumber && text.startsWith(u'-') ? 1 : 0;
  at = SkipDigits(text, at);
  if (decimal && at < text.size() && IsSeparator(text.at(at))) at = SkipDigits(text, at + 1);
  return at == text.size();
}

// A whole integer: a sign, then digits, within 32 bits.
bool IsInteger(const QString& text) {
  const qsizetype digitsFrom = text.startsWith(u'-') || text.startsWith(u'+') ? 1 : 0;
  if (digitsFrom == text.size() || SkipDigits(text, digitsFrom) != text.size()) return false;
  bool ok = false;
  const qlonglong value = text.toLongLong(&ok);
  return ok && value >= INT_MIN && value <= INT_MAX;
}

// A whole number: a sign, digits with at most one separator, and a digit
// somewhere.
bool IsNumber(const QString& text) {
  qsizetype at = text.startsWith(u'-') || text.startsWith(u'+') ? 1 : 0;
  const qsizetype from = at;
  at = SkipDigits(text, at);
  qsizetype digits = at - from;
  if (at < text.size() && IsSeparator(text.at(at))) {
    const qsizetype fraction = at + 1;
    at = SkipDigits(text, fraction);
    digits += at - fraction;
  }
  return digits > 0 && at == text.size();
}

std::string Stored(const QString& text) { return StoredText(text); }

}  // namespace

bool IsNumericKind(TEditorType kind) { return kind >= ekSignedInteger && kind <= ekDecimal; }

bool KindShapesPaste(TEditorType kind) {
  return IsNumericKind(kind) || kind == ekCapitalised || kind == ekLowerCase || kind == ekUpperCase;
}

int CodePointCount(std::string_view text) {
  int count = 0;
  for (const char c : text) count += IsContinuationByte(c) ? 0 : 1;
  return count;
}

std::size_t CodePointOffset(std::string_view text, int pos) {
  std::size_t at = 0;
  for (int seen = 0; at < text.size(); ++at) {
    if (IsContinuationByte(text[at])) continue;
    if (seen++ == pos) return at;
  }
  return text.size();
}

std::string EditBoxForm(std::string_view text, bool multiLine) {
  std::string form;
  form.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c != '\r' && c != '\n') {
      form.push_back(c);
      continue;
    }
    if (!multiLine) break;
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    form.append("\r\n");
  }
  return form;
}

std::string ReplaceRange(std::string_view text, int start, int length, std::string_view with) {
  const std::size_t from = CodePointOffset(text, start);
  const std::size_t to = from + CodePointOffset(text.substr(from), length);
  std::string result;
  result.reserve(text.size() - (to - from) + with.size());
  result.append(text.substr(0, from)).append(with).append(text.substr(to));
  return result;
}

bool KindTakesTyped(TEditorType kind, const QString& resulting) {
  switch (kind) {
    case ekSignedInteger: return IsNumberSoFar(resulting, true, false);
    case ekUnsignedInteger: return IsNumberSoFar(resulting, false, false);
    case ekDecimal: return IsNumberSoFar(resulting, true, true);
    default: return true;
  }
}

// A character whose other case is more than one character (German sharp s
// upper-cased) keeps its case: one key types one character.
char32_t KindTypedChar(TEditorType kind, char32_t ch) {
  QString mapped;
  if (kind == ekUpperTyped || kind == ekUpperCase) mapped = QString::fromUcs4(&ch, 1).toUpper();
  else if (kind == ekLowerCase) mapped = QString::fromUcs4(&ch, 1).toLower();
  else return ch;
  const QList<uint> points = mapped.toUcs4();
  return points.size() == 1 ? static_cast<char32_t>(points.front()) : ch;
}

std::optional<std::string> KindPastedText(TEditorType kind, const std::string& resulting) {
  switch (kind) {
    case ekSignedInteger:
    case ekUnsignedInteger:
      if (!IsInteger(QString::fromStdString(resulting))) return std::nullopt;
      return resulting;
    case ekDecimal:
      if (!IsNumber(QString::fromStdString(resulting))) return std::nullopt;
      return resulting;
    case ekCapitalised: return Stored(Capitalised(QString::fromStdString(resulting)));
    case ekLowerCase: return Stored(QString::fromStdString(resulting).toLower());
    case ekUpperCase: return Stored(QString::fromStdString(resulting).toUpper());
    default: return resulting;
  }
}

QString Capitalised(const QString& text) {
  QString result = text;
  bool wordStart = true;
  for (QChar& c : result) {
    if (c.isLetter()) {
      c = wordStart ? c.toUpper() : c.toLower();
      wordStart = false;
    } else {
      wordStart = !c.isDigit();
    }
  }
  return result;
}

bool DroppedAtLimit(char32_t ch, int limit, int length, int selLength, bool enterTypes,
                    bool advanceOnEnter) {
  if (limit <= 0 || length < limit || selLength > 0) return false;
  if (ch == 13) return enterTypes && !advanceOnEnter;
  return ch >= 32;
}

}  // namespace kelvora
