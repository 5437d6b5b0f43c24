#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace kelvora {

// The grid's validation handler as the commit step calls it: it may change
// Value and clear Valid.
using TEditValidator = std::function<void(std::string& Value, bool& Valid)>;

// What committing one edit comes to.
struct TEditVerdict {
  bool Valid = true;
  std::optional<std::string> Store;  // the text to write into the cell, if any
};

// Committing an edit: a cell whose text is still the snapshot was not
// edited and is not validated. Otherwise the validator sees the cell's text;
// a valid result stores its Value when that differs, and an invalid one
// stores its Value when that differs and otherwise the snapshot text back.
TEditVerdict ValidateEdit(std::string_view snapshot, std::string_view current,
                          const TEditValidator& validator);

}  // namespace kelvora
