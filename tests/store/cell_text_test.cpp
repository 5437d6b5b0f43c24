#include "grid/store/cell_text.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace kelvora {
namespace {

using namespace std::string_literals;

struct TextCase {
  std::string text;
  bool inlined;
};

class CellTextRoundTrip : public ::testing::TestWithParam<TextCase> {};

TEST_P(CellTextRoundTrip, ReadsBackEveryByte) {
  const TextCase& c = GetParam();
  TCellText cell(c.text);
  EXPECT_EQ(cell.View(), c.text);
  EXPECT_EQ(cell.Empty(), c.text.empty());
  EXPECT_EQ(cell.IsInline(), c.inlined);
  EXPECT_TRUE(cell.WellFormed());
  // What the store keeps inline is what every reader of the packed form
  // decodes: its length, and its bytes from the lowest up.
  if (!c.inlined) return;
  const std::uint64_t word = cell.Word();
  ASSERT_TRUE(TPackedText::WellFormed(word));
  EXPECT_EQ(word, TPackedText::Pack(c.text));
  ASSERT_EQ(TPackedText::Length(word), c.text.size());
  for (std::size_t i = 0; i < c.text.size(); ++i)
    EXPECT_EQ(static_cast<char>(TPackedText::Bytes(word) >> (8 * i)), c.text[i]) << "byte " << i;
}

INSTANTIATE_TEST_SUITE_P(
    CellText, CellTextRoundTrip,
    ::testing::Values(TextCase{"", true}, TextCase{"a", true}, TextCase{"Mon", true}, TextCase{"1234567", true},
                      TextCase{"12345678", false}, TextCase{"\0"s, true}, TextCase{"\0\0\0\0\0\0\0"s, true},
                      TextCase{"ab\0cd\0ef"s, false}, TextCase{"\xFF\xFE\x80\x01\x7F\xC3\xA9"s, true},
                      TextCase{std::string(100000, 'x') + "\0end"s, false}));

TEST(CellText, OverwritesBetweenShortAndLongTexts) {
  TCellText cell("short");
  const std::string longText(300, 'L');
  cell.Assign(longText);
  EXPECT_EQ(cell.View(), longText);
  cell.Assign("tiny");
  EXPECT_EQ(cell.View(), "tiny");
  EXPECT_TRUE(cell.IsInline());
  cell.Assign("1234567");
  cell.Assign("ab");  // no bytes of the longer text may linger
  EXPECT_EQ(cell.View(), "ab");
  EXPECT_TRUE(cell.WellFormed());
  cell.Assign(longText + "!");
  cell.Assign(longText);
  EXPECT_EQ(cell.View(), longText);
  cell.Assign("");
  EXPECT_TRUE(cell.Empty());
  EXPECT_TRUE(cell.WellFormed());
}

TEST(CellText, AssignsFromAViewOfItself) {
  TCellText shortCell("abcdef");
  shortCell.Assign(shortCell.View().substr(2));
  EXPECT_EQ(shortCell.View(), "cdef");

  TCellText longCell("the quick brown fox");
  longCell.Assign(longCell.View());
  EXPECT_EQ(longCell.View(), "the quick brown fox");
  longCell.Assign(longCell.View().substr(4, 5));
  EXPECT_EQ(longCell.View(), "quick");
}

TEST(CellText, MovingHandsOverTheTextAndEmptiesTheSource) {
  TCellText source(std::string(50, 'm'));
  TCellText moved(std::move(source));
  EXPECT_EQ(moved.View(), std::string(50, 'm'));
  EXPECT_TRUE(source.Empty());  // NOLINT(bugprone-use-after-move): the state after a move is the point

  TCellText target(std::string(40, 't'));
  target = std::move(moved);
  EXPECT_EQ(target.View(), std::string(50, 'm'));
  EXPECT_TRUE(moved.Empty());  // NOLINT(bugprone-use-after-move)

  target.Clear();
  EXPECT_TRUE(target.Empty());
}

}  // namespace
}  // namespace kelvora
