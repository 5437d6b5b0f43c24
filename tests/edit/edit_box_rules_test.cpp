#include <gtest/gtest.h>

#include <QString>

#include <optional>
#include <string>

#include "grid/edit/edit_box_rules.h"
#include "grid/edit/edit_validation.h"

// The editing rules that need no widget: the verdict of a commit, the text
// positions of the edit box, and what each editor kind takes.
namespace kelvora {
namespace {

// --- Validation verdicts -------------------------------------------------------------

struct TVerdictCase {
  const char* snapshot;
  const char* current;
  const char* newValue;  // what the handler sets Value to; nullptr leaves it
  bool handlerValid;
  bool valid;                  // the verdict
  std::optional<std::string> store;
};

TEST(EditVerdict, FollowsTheValidatorsValueAndValidity) {
  const TVerdictCase cases[] = {
      {"abc", "abc", "never asked", false, true, std::nullopt},  // unchanged: not validated
      {"abc", "x", nullptr, true, true, std::nullopt},
      {"abc", "x", "X", true, true, "X"},
      {"abc", "x", "x", true, true, std::nullopt},
      {"abc", "x", nullptr, false, false, "abc"},  // the snapshot comes back
      {"abc", "x", "fixed", false, false, "fixed"},
      {"", "x", nullptr, false, false, ""},
  };
  for (const TVerdictCase& c : cases) {
    int calls = 0;
    const TEditVerdict verdict = ValidateEdit(c.snapshot, c.current, [&](std::string& value, bool& valid) {
      ++calls;
      EXPECT_EQ(value, c.current);
      EXPECT_TRUE(valid);
      if (c.newValue) value = c.newValue;
      valid = c.handlerValid;
    });
    SCOPED_TRACE(std::string(c.snapshot) + " -> " + c.current);
    EXPECT_EQ(calls, std::string(c.snapshot) == c.current ? 0 : 1);
    EXPECT_EQ(verdict.Valid, c.valid);
    EXPECT_EQ(verdict.Store, c.store);
  }
}

TEST(EditVerdict, WithoutAValidatorEveryEditIsValid) {
  const TEditVerdict verdict = ValidateEdit("abc", "x", {});
  EXPECT_TRUE(verdict.Valid);
  EXPECT_FALSE(verdict.Store.has_value());
}

// --- Positions of the edit box's text -------------------------------------------------

TEST(EditBoxText, CountsCodePointsWithALineBreakAsTwo) {
  const std::string text = "a\xC3\xA9\r\n\xF0\x9F\x98\x80z";  // a, é, CR LF, an emoji, z
  EXPECT_EQ(CodePointCount(text), 6);
  EXPECT_EQ(CodePointOffset(text, 0), 0u);
  EXPECT_EQ(CodePointOffset(text, 2), 3u);
  EXPECT_EQ(CodePointOffset(text, 5), 9u);
  EXPECT_EQ(CodePointOffset(text, 6), text.size());
  EXPECT_EQ(CodePointOffset(text, 60), text.size());
  EXPECT_EQ(ReplaceRange(text, 1, 3, "-"), "a-\xF0\x9F\x98\x80z");
  EXPECT_EQ(ReplaceRange("abc", 3, 0, "d"), "abcd");
  EXPECT_EQ(ReplaceRange("abc", 1, 99, ""), "a");
}

TEST(EditBoxText, MendsLineBreaksAndCutsASingleLine) {
  EXPECT_EQ(EditBoxForm("a\nb\rc\r\nd", true), "a\r\nb\r\nc\r\nd");
  EXPECT_EQ(EditBoxForm("a\r\nb", false), "a");
  EXPECT_EQ(EditBoxForm("plain", false), "plain");
}

// --- Editor kinds ------------------------------------------------------------------------

TEST(EditorKinds, TextBoxKindsAreTheOnesTheBoxEdits) {
  for (TEditorType kind = 0; kind <= 30; ++kind) {
    const bool textBox = kind == 0 || (kind >= 11 && kind <= 16) || kind == 18 || kind == 19;
    EXPECT_EQ(IsTextBoxKind(kind), textBox) << kind;
  }
}

TEST(EditorKinds, NumericBoxesTakeOnlyWhatCanStillBecomeANumber) {
  struct TCase {
    TEditorType kind;
    const char* text;
    bool takes;
  };
  const TCase cases[] = {
      {ekSignedInteger, "-", true},     {ekSignedInteger, "-12", true},   {ekSignedInteger, "1-2", false},
      {ekSignedInteger, "--1", false},  {ekSignedInteger, "1.", false},   {ekUnsignedInteger, "12", true},
      {ekUnsignedInteger, "-1", false}, {ekUnsignedInteger, "a", false},  {ekDecimal, "-1.5", true},
      {ekDecimal, "1,", true},          {ekDecimal, ",5", true},          {ekDecimal, "1.5,", false},
      {ekDecimal, "1.-5", false},       {ekText, "anything", true},       {ekUpperCase, "1-.-", true},
  };
  for (const TCase& c : cases) EXPECT_EQ(KindTakesTyped(c.kind, QString::fromLatin1(c.text)), c.takes) << c.text;
}

TEST(EditorKinds, PastesMustMakeAWholeNumber) {
  struct TCase {
    TEditorType kind;
    const char* text;
    bool takes;
  };
  const TCase cases[] = {
      {ekSignedInteger, "-42", true},      {ekSignedInteger, "+7", true},         {ekSignedInteger, "-", false},
      {ekSignedInteger, "2147483647", true}, {ekSignedInteger, "2147483648", false}, {ekSignedInteger, "", false},
      {ekUnsignedInteger, "4 2", false},   {ekDecimal, "3,5", true},              {ekDecimal, ".5", true},
      {ekDecimal, "5.", true},             {ekDecimal, ".", false},               {ekDecimal, "1e5", false},
  };
  for (const TCase& c : cases) EXPECT_EQ(KindPastedText(c.kind, c.text).has_value(), c.takes) << c.text;
}

TEST(EditorKinds, CaseKindsShapeTypingAndPasting) {
  EXPECT_EQ(KindTypedChar(ekUpperTyped, U'\u00e9'), U'\u00c9');
  EXPECT_EQ(KindTypedChar(ekUpperCase, U'a'), U'A');
  EXPECT_EQ(KindTypedChar(ekLowerCase, U'A'), U'a');
  EXPECT_EQ(KindTypedChar(ekText, U'a'), U'a');
  EXPECT_EQ(KindTypedChar(ekUpperCase, U'\u00df'),
            U'\u00df');  // would be two letters
  EXPECT_EQ(KindPastedText(ekLowerCase, "\xC3\x89T\xC3\x89"), "\xC3\xA9t\xC3\xA9");
  EXPECT_EQ(KindPastedText(ekUpperCase, "abc"), "ABC");
  EXPECT_EQ(KindPastedText(ekUpperTyped, "abc"), "abc");
  EXPECT_EQ(Capitalised(QStringLiteral("hELLO wide-wORLD 2nd")), QStringLiteral("Hello Wide-World 2nd"));
}

// --- The length limit ----------------------------------------------------------------------

TEST(LengthLimitRule, DropsOnlyWhatWouldAddToAFullText) {
  struct TCase {
    char32_t ch;
    int length;
    int selected;
    bool enterTypes;
    bool advanceOnEnter;
    bool dropped;
  };
  const TCase cases[] = {
      {U'x', 3, 0, false, false, true}, {U'x', 2, 0, false, false, false}, {U'x', 3, 1, false, false, false},
      {8, 3, 0, false, false, false},   {27, 3, 0, false, false, false},   {3, 3, 0, false, false, false},
      {13, 3, 0, false, false, false},  {13, 3, 0, true, false, true},     {13, 3, 0, true, true, false},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(DroppedAtLimit(c.ch, 3, c.length, c.selected, c.enterTypes, c.advanceOnEnter), c.dropped)
        << static_cast<int>(c.ch) << " at " << c.length;
  EXPECT_FALSE(DroppedAtLimit(U'x', 0, 100, 0, false, false));
}

}  // namespace
}  // namespace kelvora
