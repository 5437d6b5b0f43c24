// The main window's grid, as the program's own description sets it up.

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "app/form1_grid.h"
#include "common/main_window_grid.h"
#include "grid/cell_grid.h"

namespace kelvora::testing {
namespace {

// The grid's tests take the main window's grid as written out beside them;
// the program must set up that same grid, or they test another one.
TEST(Form1Grid, TheDescriptionGivesTheGridTheGridTestsAssume) {
  TCellGrid program;
  ApplyGridDescription(program);
  program.Loaded();
  TCellGrid assumed;
  ApplyMainWindowColumn(assumed);
  const std::map<std::string, std::string> expected = PublishedSettings(assumed);
  for (const auto& [name, value] : PublishedSettings(program)) EXPECT_EQ(value, expected.at(name)) << name;
  // One empty cell at the form's width and height.
  EXPECT_EQ(program.Cells(0, 0), "");
  EXPECT_EQ(program.ColWidths(0), 115);
  EXPECT_EQ(program.RowHeights(0), 21);
}

}  // namespace
}  // namespace kelvora::testing
