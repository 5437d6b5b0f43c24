// Reading cell texts as the values a sort compares: numbers, times, dates
// as mail and news headers write them, and month and weekday names.
#include "grid/sort/sort_value.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <memory>

#include "grid/sort/short_text_memo.h"
#include "toolkit/ascii_case.h"

namespace kelvora {
namespace {

constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }
constexpr bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
constexpr bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Digits only, at most 18 of them, so that the value cannot overflow.
std::optional<std::int64_t> ReadDigits(std::string_view text) {
  if (text.empty() || text.size() > 18) return std::nullopt;
  std::int64_t value = 0;
  for (char c : text) {
    if (!IsDigit(c)) return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

std::optional<std::int64_t> ReadInteger(std::string_view text) {
  const bool negative = !text.empty() && text.front() == '-';
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
  const auto digits = ReadDigits(text);
  if (!digits) return std::nullopt;
  return negative ? -*digits : *digits;
}

// Groups after a thousands separator hold three digits each.
bool GroupsOfThree(std::string_view digits, char separator) {
  std::size_t start = digits.find(separator);
  if (start == 0) return false;
  while (start != std::string_view::npos) {
    const std::size_t next = digits.find(separator, start + 1);
    const std::size_t end = next == std::string_view::npos ? digits.size() : next;
    if (end - start - 1 != 3) return false;
    start = next;
  }
  return true;
}

// The decimal separator is the last of point and comma when both appear;
// one separator that appears once is a decimal separator ("3,5" and "3.5"
// alike); one that appears more often separates thousands.
std::optional<char> DecimalSeparator(std::string_view body, char& thousands) {
  const std::size_t point = body.rfind('.');
  const std::size_t comma = body.rfind(',');
  thousands = '\0';
  if (point == std::string_view::npos && comma == std::string_view::npos) return '\0';
  if (point != std::string_view::npos && comma != std::string_view::npos) {
    const char decimal = point > comma ? '.' : ',';
    thousands = point > comma ? ',' : '.';
    if (std::count(body.begin(), body.end(), decimal) != 1) return std::nullopt;
    return decimal;
  }
  const char only = point != std::string_view::npos ? '.' : ',';
  if (std::count(body.begin(), body.end(), only) == 1) return only;
  thousands = only;
  return '\0';
}

// A double's bits turned so that signed integer order is the number order.
std::int64_t OrderedBits(double value) {
  if (value == 0) value = 0;  // -0 and 0 are one value
  const auto bits = std::bit_cast<std::int64_t>(value);
  return bits < 0 ? bits ^ INT64_MAX : bits;
}

std::optional<std::int64_t> ReadDecimal(std::string_view text) {
  std::string_view body = text;
  if (!body.empty() && (body.front() == '-' || body.front() == '+')) body.remove_prefix(1);
  if (body.empty() || body.size() > 60) return std::nullopt;
  char thousands = '\0';
  const auto decimal = DecimalSeparator(body, thousands);
  if (!decimal) return std::nullopt;
  const std::size_t decimalAt = *decimal ? body.find(*decimal) : body.size();
  const std::string_view whole = body.substr(0, decimalAt);
  if (thousands && !GroupsOfThree(whole, thousands)) return std::nullopt;
  std::array<char, 64> plain{};
  std::size_t used = 0;
  if (text.front() == '-') plain[used++] = '-';
  bool anyDigit = false;
  for (std::size_t i = 0; i < body.size(); ++i) {
    const char c = body[i];
    if (IsDigit(c)) {
      plain[used++] = c;
      anyDigit = true;
    } else if (i == decimalAt) {
      plain[used++] = '.';
    } else if (c != thousands) {
      return std::nullopt;
    }
  }
  if (!anyDigit) return std::nullopt;
  double value = 0;
  const auto [end, error] = std::from_chars(plain.data(), plain.data() + used, value);
  if (error != std::errc() || end != plain.data() + used) return std::nullopt;
  return OrderedBits(value);
}

// "h:mm", "hh:mm:ss" and "hh:mm:ss.fff", as milliseconds of the day.
std::optional<std::int64_t> ReadTime(std::string_view text) {
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos || colon == 0 || colon > 2) return std::nullopt;
  const auto hours = ReadDigits(text.substr(0, colon));
  std::string_view rest = text.substr(colon + 1);
  if (!hours || *hours > 23 || rest.size() < 2) return std::nullopt;
  const auto minutes = ReadDigits(rest.substr(0, 2));
  if (!minutes || *minutes > 59) return std::nullopt;
  rest.remove_prefix(2);
  std::int64_t seconds = 0;
  std::int64_t millis = 0;
  if (!rest.empty()) {
    if (rest.size() < 3 || rest.front() != ':') return std::nullopt;
    const auto read = ReadDigits(rest.substr(1, 2));
    if (!read || *read > 60) return std::nullopt;  // 60: a leap second
    seconds = *read;
    rest.remove_prefix(3);
    if (!rest.empty()) {
      if (rest.front() != '.' || rest.size() < 2 || rest.size() > 4) return std::nullopt;
      const auto fraction = ReadDigits(rest.substr(1));
      if (!fraction) return std::nullopt;
      millis = *fraction * (rest.size() == 2 ? 100 : rest.size() == 3 ? 10 : 1);
    }
  }
  return ((*hours * 60 + *minutes) * 60 + seconds) * 1000 + millis;
}

constexpr std::array<std::string_view, 12> kMonths = {"january", "february", "march",     "april",   "may",      "june",
                                                      "july",    "august",   "september", "october", "november", "december"};
constexpr std::array<std::string_view, 7> kWeekdays = {"monday", "tuesday",  "wednesday", "thursday",
                                                       "friday", "saturday", "sunday"};

// A name in its three-letter form or in full, letter case aside: its place
// from 1.
template <std::size_t N>
std::optional<std::int64_t> ReadName(const std::array<std::string_view, N>& names, std::string_view word) {
  for (std::size_t i = 0; i < N; ++i) {
    if ((word.size() == 3 && StartsWithIgnoringAsciiCase(names[i], word)) || EqualsIgnoringAsciiCase(names[i], word))
      return static_cast<std::int64_t>(i) + 1;
  }
  return std::nullopt;
}

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar.
std::int64_t DaysFromCivil(std::int64_t year, std::int64_t month, std::int64_t day) {
  year -= month <= 2;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const std::int64_t yearOfEra = year - era * 400;
  const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

bool ValidDay(std::int64_t year, std::int64_t month, std::int64_t day) {
  if (month < 1 || month > 12 || day < 1) return false;
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  constexpr std::array<int, 12> kLength = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return day <= kLength[month - 1] + (month == 2 && leap);
}

// Two-digit years of old headers: 00-49 are this century, 50-99 the last;
// three digits count from 1900.
std::int64_t FullYear(std::int64_t year, std::size_t digits) {
  if (digits == 2) return year < 50 ? 2000 + year : 1900 + year;
  if (digits == 3) return 1900 + year;
  return year;
}

// The words of a header date: letters, digits, a time with colons, or a
// signed zone offset; blanks and commas part them, a comment in brackets
// ends the text.
class TDateWords {
 public:
  explicit TDateWords(std::string_view text) : rest_(text) {}
  std::string_view Next() {
    while (!rest_.empty() && (IsBlank(rest_.front()) || rest_.front() == ',' || rest_.front() == '-')) {
      if (rest_.front() == '-' && rest_.size() > 1 && IsDigit(rest_[1]) && afterTime_) break;
      rest_.remove_prefix(1);
    }
    if (rest_.empty() || rest_.front() == '(') return {};
    std::size_t length = 1;
    const char first = rest_.front();
    const auto same = [first](char c) {
      if (IsLetter(first)) return IsLetter(c);
      if (first == '+' || first == '-') return IsDigit(c);
      return IsDigit(c) || c == ':';
    };
    while (length < rest_.size() && same(rest_[length])) ++length;
    const std::string_view word = rest_.substr(0, length);
    rest_.remove_prefix(length);
    afterTime_ = word.find(':') != std::string_view::npos;
    return word;
  }

 private:
  std::string_view rest_;
  bool afterTime_ = false;
};

std::optional<std::int64_t> ZoneOffsetSeconds(std::string_view zone) {
  if (zone.empty()) return 0;
  if (zone.front() == '+' || zone.front() == '-') {
    const auto value = zone.size() == 5 ? ReadDigits(zone.substr(1)) : std::nullopt;
    if (!value || *value % 100 > 59) return std::nullopt;
    const std::int64_t seconds = (*value / 100 * 60 + *value % 100) * 60;
    return zone.front() == '-' ? -seconds : seconds;
  }
  struct TZone {
    std::string_view Name;
    int Hours;
  };
  static constexpr std::array<TZone, 12> kZones = {{{"GMT", 0}, {"UT", 0}, {"UTC", 0}, {"Z", 0}, {"EST", -5},
                                                    {"EDT", -4}, {"CST", -6}, {"CDT", -5}, {"MST", -7},
                                                    {"MDT", -6}, {"PST", -8}, {"PDT", -7}}};
  for (const TZone& known : kZones) {
    if (EqualsIgnoringAsciiCase(known.Name, zone)) return std::int64_t{known.Hours} * 3600;
  }
  // Other letters are military or local names whose offset is not known:
  // the time is taken as it stands.
  const bool name = zone.size() <= 5 && std::all_of(zone.begin(), zone.end(), IsLetter);
  return name ? std::optional<std::int64_t>(0) : std::nullopt;
}

struct TDateParts {
  std::int64_t Year = 0, Month = 0, Day = 0, TimeMillis = 0, ZoneSeconds = 0;
};

std::optional<std::int64_t> DateValue(const TDateParts& p) {
  if (!ValidDay(p.Year, p.Month, p.Day)) return std::nullopt;
  return (DaysFromCivil(p.Year, p.Month, p.Day) * 86400 - p.ZoneSeconds) * 1000 + p.TimeMillis;
}

// What may follow the date: a time, then a zone, then nothing.
bool ReadTimeAndZone(TDateWords& words, std::string_view word, TDateParts& parts) {
  if (word.empty()) return true;
  if (const auto time = ReadTime(word)) {
    parts.TimeMillis = *time;
    word = words.Next();
  }
  if (word.empty()) return true;
  const auto zone = ZoneOffsetSeconds(word);
  if (!zone) return false;
  parts.ZoneSeconds = *zone;
  return words.Next().empty();
}

// "[Wkd,] D Mon YYYY [time] [zone]" and "Wkd Mon D time YYYY".
std::optional<std::int64_t> ReadHeaderDate(std::string_view text) {
  TDateWords words(text);
  std::string_view word = words.Next();
  if (ReadName(kWeekdays, word)) word = words.Next();
  TDateParts parts;
  if (const auto month = ReadName(kMonths, word)) {
    const auto day = ReadDigits(words.Next());
    const std::string_view time = words.Next();
    const std::string_view yearWord = words.Next();
    const auto year = ReadDigits(yearWord);
    const auto millis = ReadTime(time);
    if (!day || !year || !millis || yearWord.size() != 4) return std::nullopt;
    parts = {*year, *month, *day, *millis, 0};
    if (!ReadTimeAndZone(words, words.Next(), parts)) return std::nullopt;
    return DateValue(parts);
  }
  const auto day = word.size() <= 2 ? ReadDigits(word) : std::nullopt;
  const auto month = ReadName(kMonths, words.Next());
  const std::string_view yearWord = words.Next();
  const auto year = yearWord.size() >= 2 && yearWord.size() <= 4 ? ReadDigits(yearWord) : std::nullopt;
  if (!day || !month || !year) return std::nullopt;
  parts = {FullYear(*year, yearWord.size()), *month, *day, 0, 0};
  if (!ReadTimeAndZone(words, words.Next(), parts)) return std::nullopt;
  return DateValue(parts);
}

// "YYYY-MM-DD", with a time after "T" or a blank and a zone ("Z", "+hh:mm").
std::optional<std::int64_t> ReadIsoDate(std::string_view text) {
  if (text.size() < 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  const auto year = ReadDigits(text.substr(0, 4));
  const auto month = ReadDigits(text.substr(5, 2));
  const auto day = ReadDigits(text.substr(8, 2));
  if (!year || !month || !day) return std::nullopt;
  TDateParts parts{*year, *month, *day, 0, 0};
  std::string_view rest = text.substr(10);
  if (!rest.empty()) {
    if (rest.front() != 'T' && rest.front() != ' ') return std::nullopt;
    rest.remove_prefix(1);
    std::size_t timeEnd = rest.find_first_of("Z+-");
    const auto time = ReadTime(rest.substr(0, timeEnd));
    if (!time) return std::nullopt;
    parts.TimeMillis = *time;
    if (timeEnd != std::string_view::npos) {
      std::string_view zone = rest.substr(timeEnd);
      if (zone.size() == 6 && zone[3] == ':') {
        std::array<char, 5> compact = {zone[0], zone[1], zone[2], zone[4], zone[5]};
        zone = std::string_view(compact.data(), compact.size());
        const auto offset = ZoneOffsetSeconds(zone);
        if (!offset) return std::nullopt;
        parts.ZoneSeconds = *offset;
      } else if (zone != "Z") {
        return std::nullopt;
      }
    }
  }
  return DateValue(parts);
}

std::optional<std::int64_t> ReadDate(std::string_view text) {
  if (text.size() < 5) return std::nullopt;
  if (IsDigit(text[0]) && text.size() >= 10 && text[4] == '-') return ReadIsoDate(text);
  return ReadHeaderDate(text);
}

}  // namespace

std::optional<std::int64_t> ReadSortValue(TValueKind kind, std::string_view text) {
  text = Trimmed(text);
  if (text.empty()) return std::nullopt;
  switch (kind) {
    case TValueKind::vkInteger: return ReadInteger(text);
    case TValueKind::vkDecimal: return ReadDecimal(text);
    case TValueKind::vkTime: return ReadTime(text);
    case TValueKind::vkDate: return ReadDate(text);
    case TValueKind::vkMonth: return ReadName(kMonths, text);
    case TValueKind::vkWeekday: return ReadName(kWeekdays, text);
    case TValueKind::vkText: break;
  }
  return std::nullopt;
}

unsigned ReadableKinds(std::string_view text) {
  unsigned kinds = 0;
  for (int kind = 0; kind < kValueKindCount - 1; ++kind) {
    if (ReadSortValue(static_cast<TValueKind>(kind), text)) kinds |= 1u << kind;
  }
  return kinds;
}

void TKindTally::Add(std::string_view text) { AddKinds(ReadableKinds(text)); }

void TKindTally::AddKinds(unsigned kinds) {
  ++cells_;
  for (int kind = 0; kind < kValueKindCount - 1; ++kind) counts_[kind] += (kinds >> kind) & 1u;
}

TValueKind TKindTally::Chosen() const {
  int best = kValueKindCount - 1;
  std::int64_t most = (cells_ - 1) / 2;  // a kind must read at least half the cells
  for (int kind = 0; kind < kValueKindCount - 1; ++kind) {
    if (counts_[kind] > most) {
      most = counts_[kind];
      best = kind;
    }
  }
  return static_cast<TValueKind>(best);
}

int CompareTextIgnoringCase(std::string_view a, std::string_view b) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    const auto x = static_cast<unsigned char>(AsciiLower(a[i]));
    const auto y = static_cast<unsigned char>(AsciiLower(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

TValueKind ColumnKind(const TRowSource& source, int col) {
  TKindTally tally;
  const auto kinds = std::make_unique<TShortTextMemo<unsigned>>();
  for (int row = 0, rows = source.RowCount(); row < rows; ++row) {
    const std::string_view text = source.Text(col, row);
    if (!text.empty()) tally.AddKinds(kinds->Of(text, ReadableKinds));
  }
  return tally.Chosen();
}

}  // namespace kelvora
