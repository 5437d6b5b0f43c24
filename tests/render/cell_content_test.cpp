#include "grid/render/cell_content.h"

#include <gtest/gtest.h>

#include <string>

namespace kelvora {
namespace {

struct KindCase {
  std::string text;
  bool enableHTML;
  TCellContentKind expected;
};

class CellContentKindTable : public ::testing::TestWithParam<KindCase> {};

TEST_P(CellContentKindTable, Classifies) {
  const KindCase& c = GetParam();
  EXPECT_EQ(CellContentKind(c.text, c.enableHTML), c.expected) << '"' << c.text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    CellContent, CellContentKindTable,
    ::testing::Values(
        KindCase{"", true, ckPlain}, KindCase{"=", true, ckPlain}, KindCase{"{", true, ckPlain},
        KindCase{"<", true, ckPlain}, KindCase{"Tue", true, ckPlain},
        KindCase{"=1+2", true, ckFormula}, KindCase{"=<B>x</B>", true, ckFormula},
        KindCase{"=<B>x</B>", false, ckFormula}, KindCase{"{\\rtf1 a}", true, ckRichText},
        KindCase{"{\\rtf1 <B>a</B>}", true, ckRichText}, KindCase{"{\\b x}", false, ckRichText},
        KindCase{"{not rich}", true, ckPlain}, KindCase{"<B>bold</B>", true, ckMarkup},
        KindCase{"<BR>", true, ckMarkup}, KindCase{"<I>x", true, ckMarkup},
        KindCase{"a</b>", true, ckMarkup}, KindCase{"x</", true, ckMarkup},
        KindCase{"<b>bold", true, ckPlain}, KindCase{"<i>it", true, ckPlain},
        KindCase{"<FONT color=\"clRed\">r", true, ckPlain}, KindCase{"<B>bold</B>", false, ckPlain},
        KindCase{"<BR>", false, ckPlain}, KindCase{"a < b", true, ckPlain},
        KindCase{" =1", true, ckPlain}, KindCase{" {\\rtf1}", true, ckPlain}));

TEST(CellContent, MeasuresAFormulaAsPlainAndKeepsTheOtherKinds) {
  EXPECT_EQ(MeasuredContentKind("=<B>x</B>", true), ckPlain);
  EXPECT_EQ(MeasuredContentKind("<B>x</B>", true), ckMarkup);
  EXPECT_EQ(MeasuredContentKind("{\\rtf1 x}", true), ckRichText);
  EXPECT_EQ(MeasuredContentKind("<B>x</B>", false), ckPlain);
}

struct NumberCase {
  std::string text;
  char decimalSeparator;
  char thousandSeparator;
  TNumberKind expected;
};

class NumberKindTable : public ::testing::TestWithParam<NumberCase> {};

TEST_P(NumberKindTable, Classifies) {
  const NumberCase& c = GetParam();
  EXPECT_EQ(NumberKind(c.text, c.decimalSeparator, c.thousandSeparator), c.expected)
      << '"' << c.text << "\" with '" << c.decimalSeparator << "' and '" << c.thousandSeparator
      << "'";
}

INSTANTIATE_TEST_SUITE_P(
    CellContent, NumberKindTable,
    ::testing::Values(
        // Integers, the empty text among them.
        NumberCase{"", '.', ',', nkInteger}, NumberCase{"42", '.', ',', nkInteger},
        NumberCase{"-42", '.', ',', nkInteger}, NumberCase{"2003", '.', ',', nkInteger},
        NumberCase{"--42", '.', ',', nkText}, NumberCase{"4-2-", '.', ',', nkText},
        // Decimals with the separators handed in.
        NumberCase{"3.14", '.', ',', nkDecimal}, NumberCase{"-3.14", '.', ',', nkDecimal},
        NumberCase{"1,234", '.', ',', nkDecimal}, NumberCase{"1,234,567.5", '.', ',', nkDecimal},
        NumberCase{"3,14", ',', '.', nkDecimal}, NumberCase{"1.234.567,5", ',', '.', nkDecimal},
        NumberCase{"3.14", ',', '.', nkDecimal}, NumberCase{"1.2.3", '.', ',', nkText},
        NumberCase{"1,2,3", ',', '.', nkText},
        // A thousand separator may not lead nor follow the previous one closely.
        NumberCase{",123", '.', ',', nkText}, NumberCase{"1,,234", '.', ',', nkText},
        NumberCase{"1,2,345", '.', ',', nkText}, NumberCase{"12,34,567", '.', ',', nkDecimal},
        // Anything else is text.
        NumberCase{"12a", '.', ',', nkText}, NumberCase{" 12", '.', ',', nkText},
        NumberCase{"+12", '.', ',', nkText}, NumberCase{"1 234", '.', ',', nkText},
        NumberCase{"Feb", '.', ',', nkText}, NumberCase{"1e5", '.', ',', nkText}));

}  // namespace
}  // namespace kelvora
