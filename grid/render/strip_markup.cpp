#include "grid/render/strip_markup.h"

#include "toolkit/ascii_case.h"

namespace kelvora {
namespace {

// True when text holds "<BR>" or "<HR>", in any letter case, at position i.
bool IsBreakTagAt(std::string_view text, std::size_t i) {
  if (i + 4 > text.size() || text[i] != '<' || text[i + 3] != '>') return false;
  const char first = AsciiUpper(text[i + 1]);
  return (first == 'B' || first == 'H') && AsciiUpper(text[i + 2]) == 'R';
}

// The breaks become CR LF before any tag is removed. Doing both in one pass
// would differ for a break inside another tag's brackets: "<a <BR> b>" is one
// tag here and vanishes whole, where a single pass would leave " b>" behind.
std::string ReplaceBreakTags(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    if (IsBreakTagAt(text, i)) {
      out += "\r\n";
      i += 4;
    } else {
      out += text[i++];
    }
  }
  return out;
}

std::string RemoveTags(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t open = text.find('<', i);
    if (open == std::string_view::npos) {
      out.append(text.substr(i));
      break;
    }
    out.append(text.substr(i, open - i));
    const std::size_t close = text.find('>', open + 1);
    if (close == std::string_view::npos) break;
    i = close + 1;
  }
  return out;
}

}  // namespace

std::string StripMarkup(std::string_view text) { return RemoveTags(ReplaceBreakTags(text)); }

}  // namespace kelvora
