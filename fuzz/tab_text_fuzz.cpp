// The tab-separated reader on any bytes: it ends, gives its cells in row
// order, agrees with its own measure of the text, and what it read, written
// back, reads the same again. The one thing writing cannot carry is a last
// row that is a single empty cell: it writes as nothing.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "grid/textio/tab_separated.h"

namespace {

using TTable = std::vector<std::vector<std::string>>;

TTable Read(std::string_view text) {
  TTable table;
  kelvora::TTabReader reader(text);
  kelvora::TTabField field;
  while (reader.Next(field)) {
    if (field.Row == static_cast<std::int64_t>(table.size())) table.emplace_back();
    else if (field.Row + 1 != static_cast<std::int64_t>(table.size())) std::abort();
    if (field.Col != static_cast<std::int64_t>(table.back().size())) std::abort();
    table.back().emplace_back(field.Text);
    // Every cell takes at least one byte of the text, a separator or its own.
    if (table.back().size() > text.size() + 1) std::abort();
  }
  return table;
}

std::string Written(const TTable& table) {
  std::string out;
  for (std::size_t r = 0; r < table.size(); ++r) {
    if (r > 0) out += "\r\n";
    for (std::size_t c = 0; c < table[r].size(); ++c) {
      if (c > 0) out += '\t';
      kelvora::AppendTabField(out, table[r][c]);
    }
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  TTable table = Read(text);

  const kelvora::TTabShape shape = kelvora::MeasureTabText(text);
  std::size_t widest = 0;
  for (const auto& row : table) widest = std::max(widest, row.size());
  if (shape.Rows != static_cast<std::int64_t>(table.size()) || shape.Cols != static_cast<std::int64_t>(widest))
    std::abort();
  if (text.empty() != table.empty()) std::abort();

  const TTable again = Read(Written(table));
  if (!table.empty() && table.back() == std::vector<std::string>{""}) table.pop_back();
  if (again != table) std::abort();
  return 0;
}
