#pragma once

#include <array>
#include <string_view>

namespace kelvora {

inline constexpr int kDateColumnCount = 7;

// The seven cells cut from one "Date:" line: weekday, day, month, year, hour,
// minute and second. The pieces point into the line they were cut from.
struct TDateFields {
  // A line with a weekday ("Date: Tue, 11 Feb ...") fills column 0; one
  // without leaves that cell of the grid as it was.
  bool HasWeekday = false;
  std::array<std::string_view, kDateColumnCount> Pieces;
};

// What a date line begins with, byte for byte.
inline constexpr std::string_view kDateLinePrefix = "Date:";

// A line whose first five bytes are exactly "Date:".
inline bool IsDateLine(std::string_view line) { return line.starts_with(kDateLinePrefix); }

// Cuts by fixed byte counts, not by parsing: the usual header form comes out
// right, and any other form is still cut the same way, without complaint,
// into pieces that may be short or empty.
TDateFields CutDateLine(std::string_view line);

}  // namespace kelvora
