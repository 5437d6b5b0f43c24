#include "app/form1_grid.h"

#include "grid/cell_grid.h"

namespace kelvora {

namespace {

TFont MsSansSerif(int height, TColor color) {
  TFont font;
  font.Name = "MS Sans Serif";
  font.Height = height;
  font.Color = color;
  return font;
}

void ApplyDimensions(TCellGrid& grid) {
  // Fixed counts go first: the base keeps them below the counts.
  grid.SetFixedCols(0);
  grid.SetFixedRows(0);
  grid.SetColCount(1);
  grid.SetRowCount(1);
  grid.SetDefaultColWidth(115);
  grid.SetDefaultRowHeight(21);
  grid.SetOptions({goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect,
                   goColSizing, goEditing});
  grid.SetFixedColWidth(115);
  grid.SetFixedRowHeight(21);
}

void ApplyLook(TCellGrid& grid) {
  grid.SetFixedFont(MsSansSerif(-11, clWindowText));
  grid.SetFont(MsSansSerif(-9, clNavy));
  grid.SetColor(clWhite);
  grid.SetVAlignment(vtaTop);
  grid.SetHintColor(clYellow);
  grid.SetSelectionColor(clHighlight);
  grid.SetSelectionTextColor(clHighlightText);
  grid.SetURLColor(clBlue);
  grid.SetScrollType(ssNormal);
  grid.SetScrollColor(clActiveBorder);
  grid.SetScrollWidth(16);
  grid.SetHideFocusRect(false);
  grid.SetFixedAsButtons(false);
}

void ApplyBehaviour(TCellGrid& grid) {
  grid.SetEnableHTML(true);
  grid.SetEnableWheel(true);
  grid.SetEnableGraphics(false);
  grid.SetOleAcceptFiles(true);
  grid.SetOleAcceptText(true);
  grid.SetSortFull(true);
  grid.SetSortAutoFormat(true);
  grid.SetIntelliPan(ipVertical);
  grid.SetAutoSize(false);
  grid.SetFloatFormat("%.2f");
  grid.SetSizeWithForm(true);
  grid.SetAlign(alClient);
}

void ApplySubObjects(TCellGrid& grid) {
  TNavigation& navigation = grid.Navigation();
  navigation.AllowDeleteRow = true;
  navigation.AllowClipboardRowGrow = true;
  navigation.AllowClipboardColGrow = true;
  navigation.CopyHTMLTagsToClipboard = true;
  grid.HTMLSettings().Width = 100;
  grid.Bands().SetPrimaryColor(clInfoBk);
  grid.Bands().SetSecondaryColor(clWindow);
  grid.CellNode().Color = clSilver;
  grid.CellNode().NodeColor = clBlack;
}

}  // namespace

void ApplyGridDescription(TCellGrid& grid) {
  ApplyDimensions(grid);
  ApplyLook(grid);
  ApplyBehaviour(grid);
  ApplySubObjects(grid);
}

}  // namespace kelvora
