#pragma once

#include <string>
#include <string_view>

namespace kelvora {

// The text of a mark-up cell without its tags, wherever a cell is wanted as
// words: "<BR>" and "<HR>" in any letter case become CR LF, every other tag
// from "<" to the first ">" after it goes, and a "<" that no ">" follows ends
// the text. Entities stay as written.
std::string StripMarkup(std::string_view text);

}  // namespace kelvora
