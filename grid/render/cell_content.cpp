#include "grid/render/cell_content.h"

namespace kelvora {
namespace {

// The tests are exact and case-sensitive on purpose: a lower-case "<b>" alone
// stays plain text, and "<BR>" alone counts because it begins with "<B".
bool HoldsMarkup(std::string_view text) {
  return text.find("</") != std::string_view::npos || text.find("<B") != std::string_view::npos ||
         text.find("<I") != std::string_view::npos;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

TCellContentKind CellContentKind(std::string_view text, bool enableHTML) {
  if (text.size() < 2) return ckPlain;
  if (text.front() == '=') return ckFormula;
  if (text.starts_with("{\\")) return ckRichText;
  if (enableHTML && HoldsMarkup(text)) return ckMarkup;
  return ckPlain;
}

TCellContentKind MeasuredContentKind(std::string_view text, bool enableHTML) {
  const TCellContentKind kind = CellContentKind(text, enableHTML);
  return kind == ckFormula ? ckPlain : kind;
}

TNumberKind NumberKind(std::string_view text, char decimalSeparator, char thousandSeparator) {
  int minusCount = 0;
  int decimalCount = 0;
  bool hasSeparator = false;
  // Positions count from 1; 0 stands for "no thousand separator seen yet".
  std::size_t previousThousand = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const std::size_t position = i + 1;
    if (IsDigit(c)) continue;
    if (c == '-') {
      if (++minusCount > 1) return nkText;
    } else if (c == decimalSeparator) {
      if (++decimalCount > 1) return nkText;
      hasSeparator = true;
    } else if (c == thousandSeparator) {
      if (position == 1) return nkText;
      if (previousThousand != 0 && position - previousThousand < 3) return nkText;
      previousThousand = position;
      hasSeparator = true;
    } else {
      return nkText;
    }
  }
  return hasSeparator ? nkDecimal : nkInteger;
}

}  // namespace kelvora
