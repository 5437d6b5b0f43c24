#pragma once

#include <QDate>
#include <QTime>

#include <optional>
#include <string>
#include <string_view>

namespace kelvora {

// How the special editors read a cell's text and write it back. A text an
// editor cannot read is kept as it is until the person changes the value;
// a value read is written back in the form it was read in.

std::optional<int> IntegerOf(std::string_view text);

// A decimal number with either separator; the one it used comes back.
struct TDecimal {
  double Value = 0;
  char Separator = '.';
};
std::optional<TDecimal> DecimalOf(std::string_view text);
std::string DecimalText(double value, char separator);

// "9:05" or "09:05:30"; Seconds says whether they were written.
struct TTimeText {
  QTime Time;
  bool Seconds = true;
};
std::optional<TTimeText> TimeOf(std::string_view text);
std::string TimeText(const TTimeText& time);

// "2009-03-05", "5.3.2009", "5/3/2009" (day first) or "5 Mar 2009"; Format
// is the form to write it back in.
struct TDateText {
  QDate Date;
  QString Format;
};
std::optional<TDateText> DateOf(std::string_view text);
std::string DateText(const TDateText& date);

// The words a check-box cell uses: "1" and "0", "true" and "false", "yes"
// and "no", "on" and "off", "x" and "", keeping their case as written. Any
// other text reads as unchecked and is written as "1" or "0".
struct TCheckWords {
  bool Checked = false;
  std::string On = "1";
  std::string Off = "0";
};
TCheckWords CheckWordsOf(std::string_view text);

// A number and its unit, "12.5 kg": the leading digits, signs and
// separators are the value, the rest without its leading spaces the unit.
struct TValueUnit {
  std::string Value;
  std::string Unit;
};
TValueUnit SplitUnit(std::string_view text);
std::string JoinUnit(const TValueUnit& parts);
bool IsValueChar(char32_t ch);

}  // namespace kelvora
