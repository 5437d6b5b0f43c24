// What the special editors read from a cell and write back: a value read is
// written in the form it was read in, and a text no form reads is refused.
#include <gtest/gtest.h>

#include "toolkit/editors/widget_editor_text.h"

namespace kelvora {
namespace {

TEST(SpecialEditorText, ValuesComeBackInTheFormTheyWereReadIn) {
  struct TCase {
    const char* text;
    std::string (*roundTrip)(const char*);  // empty when the text is refused
    const char* back;
  };
  const auto decimal = [](const char* t) {
    const auto d = DecimalOf(t);
    return d ? DecimalText(d->Value + 1, d->Separator) : std::string();
  };
  const auto time = [](const char* t) {
    auto v = TimeOf(t);
    if (!v) return std::string();
    v->Time = v->Time.addSecs(3600);
    return TimeText(*v);
  };
  const auto date = [](const char* t) {
    auto v = DateOf(t);
    if (!v) return std::string();
    v->Date = v->Date.addDays(1);
    return DateText(*v);
  };
  const TCase cases[] = {
      {"1,5", decimal, "2,5"},          {" 2.25 ", decimal, "3.25"},      {"1,5.0", decimal, ""},
      {"abc", decimal, ""},             {"inf", decimal, ""},             {"9:05", time, "10:05"},
      {"09:05:30", time, "10:05:30"},   {"25:00", time, ""},              {"2009-03-05", date, "2009-03-06"},
      {"5.3.2009", date, "6.3.2009"},   {"28/2/2009", date, "1/3/2009"},  {"5 Mar 2009", date, "6 Mar 2009"},
      {"31 Feb 2009", date, ""},        {"Mar 5", date, ""},
  };
  for (const TCase& c : cases) EXPECT_EQ(c.roundTrip(c.text), c.back) << c.text;
  EXPECT_EQ(IntegerOf(" -12 "), -12);
  EXPECT_FALSE(IntegerOf("12a").has_value());
  EXPECT_FALSE(IntegerOf("99999999999").has_value());
}

TEST(SpecialEditorText, CheckBoxesKeepTheirCellsWords) {
  struct TCase {
    const char* text;
    bool checked;
    const char* on;
    const char* off;
  };
  const TCase cases[] = {{"1", true, "1", "0"},       {"No", false, "Yes", "No"}, {"TRUE", true, "TRUE", "FALSE"},
                         {"x", true, "x", ""},        {"", false, "x", ""},      {"maybe", false, "1", "0"},
                         {"off", false, "on", "off"}};
  for (const TCase& c : cases) {
    const TCheckWords words = CheckWordsOf(c.text);
    EXPECT_EQ(words.Checked, c.checked) << c.text;
    EXPECT_EQ(words.On, c.on) << c.text;
    EXPECT_EQ(words.Off, c.off) << c.text;
  }
}

TEST(SpecialEditorText, AUnitFollowsItsValue) {
  const TValueUnit parts = SplitUnit("-12.5  kg");
  EXPECT_EQ(parts.Value, "-12.5");
  EXPECT_EQ(parts.Unit, "kg");
  EXPECT_EQ(JoinUnit(parts), "-12.5 kg");
  EXPECT_EQ(JoinUnit(SplitUnit("kg")), "kg");
  EXPECT_EQ(JoinUnit(SplitUnit("7")), "7");
}

}  // namespace
}  // namespace kelvora
