// ColumnSize.Save: the column widths a person set, kept between runs.
#include "grid/cell_grid.h"
#include "toolkit/saved_widths.h"

namespace kelvora {
namespace {

// Widths of a grid wider than this are not kept: an entry of a million
// numbers would cost every start of the program.
constexpr int kWidestSavedGrid = 4096;

std::string NameOr(const QString& name, const char* unnamed) {
  return name.isEmpty() ? std::string(unnamed) : name.toStdString();
}

}  // namespace

void TCellGrid::LoadColumnWidths() {
  columnWidthsKey_ = NameOr(window()->objectName(), "Form") + "/" + NameOr(objectName(), "Grid");
  if (!columnSize_.Save || ColCount() > kWidestSavedGrid) return;
  const auto widths = LoadSavedWidths(columnWidthsKey_, ColCount());
  if (!widths) return;
  for (int col = 0; col < ColCount(); ++col) SetColWidths(col, (*widths)[col]);
}

// Only a grid whose window was made has loaded its widths; one that never
// showed keeps an entry saved by an earlier run as it was.
void TCellGrid::SaveColumnWidths() noexcept {
  if (!columnSize_.Save || !windowCreated_ || ColCount() > kWidestSavedGrid) return;
  try {
    std::vector<int> widths;
    for (int col = 0; col < ColCount(); ++col) widths.push_back(ColWidths(col));
    SaveWidths(columnWidthsKey_, widths);
  } catch (...) {
    // A grid being destroyed has no one left to tell.
  }
}

}  // namespace kelvora
