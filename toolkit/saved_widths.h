#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kelvora {

// Column widths kept between runs in the desktop's configuration folder,
// under a key of the caller's. Loading gives nothing, without a word, for
// an entry that is missing, holds another number of widths than expected
// (the grid has changed since), or is not a list of sensible widths.
std::optional<std::vector<int>> LoadSavedWidths(const std::string& key, int expectedCount);
void SaveWidths(const std::string& key, const std::vector<int>& widths);

}  // namespace kelvora
