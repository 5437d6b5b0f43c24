#include "grid/render/markup_measure.h"

#include <algorithm>
#include <string>

#include "grid/render/strip_markup.h"

namespace kelvora {
namespace {

// Lines end at each carriage return, and a line feed right after it belongs
// to the same break: the rule plain cells are measured by.
template <typename Visit>
void ForEachLine(std::string_view text, Visit visit) {
  std::size_t start = 0;
  while (true) {
    const std::size_t cr = text.find('\r', start);
    if (cr == std::string_view::npos) {
      visit(text.substr(start));
      return;
    }
    visit(text.substr(start, cr - start));
    start = cr + 1;
    if (start < text.size() && text[start] == '\n') ++start;
  }
}

}  // namespace

TSize MeasureMarkup(TCanvas& canvas, std::string_view text, int maxWidth, int maxHeight) {
  const std::string plain = StripMarkup(text);
  int widest = 0;
  int lines = 0;
  ForEachLine(plain, [&](std::string_view line) {
    widest = std::max(widest, canvas.TextWidth(line));
    ++lines;
  });
  const long long height = static_cast<long long>(lines) * canvas.TextHeight("gh");
  return {std::clamp(widest, 0, std::max(maxWidth, 0)),
          static_cast<int>(std::clamp<long long>(height, 0, std::max(maxHeight, 0)))};
}

}  // namespace kelvora
