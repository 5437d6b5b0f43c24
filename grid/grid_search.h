#pragma once

#include <QString>

#include <string_view>

namespace kelvora {

// What an incremental search has typed so far. Without the incremental
// mode each character starts a new search of its own, upper-cased; with it
// characters add up and Backspace takes the last one back.
class TGridSearch {
 public:
  // Answers whether there is a text to look for afterwards.
  bool Type(char32_t ch, bool incremental);
  void Clear() { text_.clear(); }
  const QString& Text() const { return text_; }
  // Whether a cell's text starts with the search text, letter case aside,
  // the cell read by the display rule.
  bool Matches(std::string_view cell) const;

 private:
  QString text_;
  bool ascii_ = true;  // lets the usual cell be compared byte by byte
};

}  // namespace kelvora
