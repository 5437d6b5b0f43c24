#pragma once

#include <string>
#include <string_view>

namespace kelvora {

// What the fields of a header, footer or title stand for on one page.
struct TPrintFields {
  int Page = 1;
  int Pages = 1;
  std::string Date;
  std::string Time;
};

// The text with "[page]", "[pages]", "[date]" and "[time]", in any letter
// case, filled in. Any other text in brackets stays as it is.
std::string FillPrintFields(std::string_view text, const TPrintFields& fields);

}  // namespace kelvora
