// The date-line cutter against the same fixed counts worked out another way:
// as absolute positions in the line instead of a working copy that is cut
// from the front. Both must give the same seven pieces for any line.

#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/date_line.h"

namespace {

struct TExpected {
  bool isDateLine = false;
  bool hasWeekday = false;
  std::array<std::string, kelvora::kDateColumnCount> pieces;
};

// At most `count` bytes from `from`, none past the end of the line.
std::string Piece(const std::string& line, std::size_t from, std::size_t count) {
  if (from >= line.size()) return {};
  return line.substr(from, count);
}

TExpected Expected(const std::string& line) {
  TExpected e;
  e.isDateLine = line.size() >= 5 && line.compare(0, 5, "Date:") == 0;
  e.hasWeekday = line.size() >= 10 && line[9] == ',';
  // "Date: " is 6 bytes; "Tue, " 5 more. The day's second byte decides
  // whether 2 or 3 bytes go before the month.
  const std::size_t day = e.hasWeekday ? 11 : 6;
  if (e.hasWeekday) e.pieces[0] = Piece(line, 6, 3);
  e.pieces[1] = Piece(line, day, 2);
  const bool oneDigitDay = line.size() > day + 1 && line[day + 1] == ' ';
  const std::size_t month = day + (oneDigitDay ? 2 : 3);
  e.pieces[2] = Piece(line, month, 3);
  e.pieces[3] = Piece(line, month + 4, 4);
  e.pieces[4] = Piece(line, month + 9, 2);
  e.pieces[5] = Piece(line, month + 12, 2);
  e.pieces[6] = Piece(line, month + 15, 2);
  return e;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string line(reinterpret_cast<const char*>(data), size);
  const TExpected expected = Expected(line);
  if (kelvora::IsDateLine(line) != expected.isDateLine) std::abort();
  const kelvora::TDateFields fields = kelvora::CutDateLine(line);
  if (fields.HasWeekday != expected.hasWeekday) std::abort();
  for (int col = 0; col < kelvora::kDateColumnCount; ++col) {
    const std::string_view piece = fields.Pieces[col];
    if (piece != expected.pieces[col]) std::abort();
    // Every piece lies inside the line it was cut from.
    if (!piece.empty() && (piece.data() < line.data() || piece.data() + piece.size() > line.data() + line.size()))
      std::abort();
  }
  return 0;
}
