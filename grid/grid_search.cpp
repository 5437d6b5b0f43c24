#include "grid/grid_search.h"

#include <algorithm>

#include "toolkit/ascii_case.h"
#include "toolkit/byte_text.h"

namespace kelvora {
namespace {

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

void RemoveLastCharacter(QString& text) {
  if (text.isEmpty()) return;
  const bool pair = text.size() > 1 && text.back().isLowSurrogate() && text.at(text.size() - 2).isHighSurrogate();
  text.chop(pair ? 2 : 1);
}

}  // namespace

bool TGridSearch::Type(char32_t ch, bool incremental) {
  if (ch == 8) {
    if (incremental) RemoveLastCharacter(text_);
    else text_.clear();
  } else if (ch >= 32) {
    const QString typed = QString::fromUcs4(&ch, 1);
    text_ = incremental ? text_ + typed : typed.toUpper();
  } else {
    return false;
  }
  ascii_ = std::all_of(text_.begin(), text_.end(), [](QChar c) { return c.unicode() < 0x80; });
  return !text_.isEmpty();
}

// A cell whose first bytes are ASCII starts with the same characters under
// either reading of its bytes, so it is compared without decoding.
bool TGridSearch::Matches(std::string_view cell) const {
  const auto length = static_cast<std::size_t>(text_.size());
  if (ascii_ && cell.size() >= length && IsAscii(cell.substr(0, length))) {
    for (std::size_t i = 0; i < length; ++i)
      if (AsciiLower(cell[i]) != AsciiLower(static_cast<char>(text_.at(static_cast<qsizetype>(i)).unicode())))
        return false;
    return true;
  }
  return DisplayText(cell).startsWith(text_, Qt::CaseInsensitive);
}

}  // namespace kelvora
