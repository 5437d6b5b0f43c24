#include "grid/print/print_fields.h"

#include <algorithm>
#include <cctype>

namespace kelvora {
namespace {

bool StartsWithField(std::string_view text, std::string_view field) {
  if (text.size() < field.size()) return false;
  return std::equal(field.begin(), field.end(), text.begin(), [](char f, char t) {
    return f == std::tolower(static_cast<unsigned char>(t));
  });
}

}  // namespace

std::string FillPrintFields(std::string_view text, const TPrintFields& fields) {
  const std::pair<std::string_view, std::string> values[] = {
      {"[pages]", std::to_string(fields.Pages)},
      {"[page]", std::to_string(fields.Page)},
      {"[date]", fields.Date},
      {"[time]", fields.Time},
  };
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    if (text[i] != '[') {
      out += text[i++];
      continue;
    }
    const auto field = std::find_if(std::begin(values), std::end(values),
                                    [&](const auto& value) { return StartsWithField(text.substr(i), value.first); });
    if (field == std::end(values)) {
      out += text[i++];
      continue;
    }
    out += field->second;
    i += field->first.size();
  }
  return out;
}

}  // namespace kelvora
