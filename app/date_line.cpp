#include "app/date_line.h"

namespace kelvora {
namespace {

// Both take at most what is there, so a short line gives short pieces.
std::string_view Take(std::string_view text, std::size_t count) { return text.substr(0, count); }

void Drop(std::string_view& text, std::size_t count) {
  text.remove_prefix(count < text.size() ? count : text.size());
}

// "Date: Tue, " puts the weekday's comma at the tenth byte.
bool HasWeekday(std::string_view line) { return line.size() >= 10 && line[9] == ','; }

}  // namespace

TDateFields CutDateLine(std::string_view line) {
  TDateFields fields;
  fields.HasWeekday = HasWeekday(line);
  std::string_view rest = line;
  Drop(rest, 6);  // "Date: "
  if (fields.HasWeekday) {
    fields.Pieces[0] = Take(rest, 3);
    Drop(rest, 5);  // weekday, comma, blank
  }
  fields.Pieces[1] = Take(rest, 2);
  // A one-digit day is followed by its blank at once; a two-digit day by one
  // byte later.
  Drop(rest, rest.size() >= 2 && rest[1] == ' ' ? 2 : 3);
  fields.Pieces[2] = Take(rest, 3);  // month
  Drop(rest, 4);
  fields.Pieces[3] = Take(rest, 4);  // year
  Drop(rest, 5);
  fields.Pieces[4] = Take(rest, 2);  // hour
  Drop(rest, 3);
  fields.Pieces[5] = Take(rest, 2);  // minute
  Drop(rest, 3);
  fields.Pieces[6] = Take(rest, 2);  // second
  return fields;
}

}  // namespace kelvora
