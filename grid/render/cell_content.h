#pragma once

#include <string_view>

namespace kelvora {

// How a cell's text is drawn and measured. Column fitting and painting both
// classify through CellContentKind, so a cell can never be measured one way
// and drawn another.
enum TCellContentKind { ckPlain, ckMarkup, ckRichText, ckFormula };

TCellContentKind CellContentKind(std::string_view text, bool enableHTML);

// Column fitting has no formula hook to run, so a formula is measured as the
// plain text it is drawn as.
TCellContentKind MeasuredContentKind(std::string_view text, bool enableHTML);

// Decides right alignment of numbers. The separators are the user's locale's,
// handed in by the caller.
enum TNumberKind { nkInteger, nkDecimal, nkText };

TNumberKind NumberKind(std::string_view text, char decimalSeparator, char thousandSeparator);

}  // namespace kelvora
