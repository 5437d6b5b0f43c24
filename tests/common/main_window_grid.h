#pragma once

// The cell grid as the main window sets it up, written out for the tests of
// the grid, so that they need nothing above the grid; the tests of the main
// window check that the program's own description gives this same grid.
// And every published setting of a grid read out as text, for both.

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "common/fonts.h"
#include "grid/cell_grid.h"

namespace kelvora::testing {

// Where the main window's grid differs from a grid just made; settings it
// leaves as they were made are left here too.
inline void ApplyMainWindowColumn(TCellGrid& grid) {
  const auto sansSerif = [](int height, TColor color) { return FontOf("MS Sans Serif", height, color); };
  grid.SetFixedCols(0);  // before the counts, which the base keeps above them
  grid.SetFixedRows(0);
  grid.SetColCount(1);
  grid.SetRowCount(1);
  grid.SetDefaultColWidth(115);
  grid.SetFixedColWidth(115);
  grid.SetOptions({goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect, goColSizing, goEditing});
  grid.SetFont(sansSerif(-9, clNavy));
  grid.SetFixedFont(sansSerif(-11, clWindowText));
  grid.SetColor(clWhite);
  grid.SetScrollColor(clActiveBorder);
  grid.SetScrollWidth(16);
  grid.SetIntelliPan(ipVertical);
  grid.SetSizeWithForm(true);
  grid.SetAlign(alClient);
  TNavigation& navigation = grid.Navigation();
  navigation.AllowDeleteRow = true;
  navigation.AllowClipboardRowGrow = true;
  navigation.AllowClipboardColGrow = true;
  navigation.CopyHTMLTagsToClipboard = true;
  grid.Loaded();
}

namespace main_window_grid {

inline std::string Text(bool v) { return v ? "true" : "false"; }
inline std::string Text(int v) { return std::to_string(v); }
inline std::string Text(const std::string& v) { return "\"" + v + "\""; }
inline std::string Colour(TColor c) { return ColorToString(c); }
inline std::string Text(const TFont& f) { return f.Name + "/" + std::to_string(f.Height) + "/" + ColorToString(f.Color); }
inline std::string Text(TGridOptions options) {
  std::string text;
  for (int option = goFixedVertLine; option <= goThumbTracking; ++option)
    if (options.contains(static_cast<TGridOption>(option))) text += (text.empty() ? "" : ",") + std::to_string(option);
  return text;
}

struct TSetting {
  const char* name;
  std::function<std::string(TCellGrid&)> read;
};

inline const std::vector<TSetting>& Settings() {
  static const std::vector<TSetting> settings = {
      {"ColCount", [](TCellGrid& g) { return Text(g.ColCount()); }},
      {"RowCount", [](TCellGrid& g) { return Text(g.RowCount()); }},
      {"FixedCols", [](TCellGrid& g) { return Text(g.FixedCols()); }},
      {"FixedRows", [](TCellGrid& g) { return Text(g.FixedRows()); }},
      {"DefaultColWidth", [](TCellGrid& g) { return Text(g.DefaultColWidth()); }},
      {"DefaultRowHeight", [](TCellGrid& g) { return Text(g.DefaultRowHeight()); }},
      {"FixedColWidth", [](TCellGrid& g) { return Text(g.FixedColWidth()); }},
      {"FixedRowHeight", [](TCellGrid& g) { return Text(g.FixedRowHeight()); }},
      {"Options", [](TCellGrid& g) { return Text(g.Options()); }},
      {"FixedFont", [](TCellGrid& g) { return Text(g.FixedFont()); }},
      {"Font", [](TCellGrid& g) { return Text(g.Font()); }},
      {"Color", [](TCellGrid& g) { return Colour(g.Color()); }},
      {"EnableHTML", [](TCellGrid& g) { return Text(g.EnableHTML()); }},
      {"EnableWheel", [](TCellGrid& g) { return Text(g.EnableWheel()); }},
      {"EnableGraphics", [](TCellGrid& g) { return Text(g.EnableGraphics()); }},
      {"OleAcceptFiles", [](TCellGrid& g) { return Text(g.OleAcceptFiles()); }},
      {"OleAcceptText", [](TCellGrid& g) { return Text(g.OleAcceptText()); }},
      {"OleDropTarget", [](TCellGrid& g) { return Text(g.OleDropTarget()); }},
      {"SortFull", [](TCellGrid& g) { return Text(g.SortFull()); }},
      {"SortAutoFormat", [](TCellGrid& g) { return Text(g.SortAutoFormat()); }},
      {"IntelliZoom", [](TCellGrid& g) { return Text(g.IntelliZoom()); }},
      {"IntelliPan", [](TCellGrid& g) { return Text(g.IntelliPan() == ipBoth ? 0 : g.IntelliPan() == ipVertical ? 1 : 2); }},
      {"ShowSelection", [](TCellGrid& g) { return Text(g.ShowSelection()); }},
      {"HideFocusRect", [](TCellGrid& g) { return Text(g.HideFocusRect()); }},
      {"FixedAsButtons", [](TCellGrid& g) { return Text(g.FixedAsButtons()); }},
      {"AutoSize", [](TCellGrid& g) { return Text(g.AutoSize()); }},
      {"VAlignment", [](TCellGrid& g) { return Text(g.VAlignment() == vtaTop); }},
      {"HintColor", [](TCellGrid& g) { return Colour(g.HintColor()); }},
      {"SelectionColor", [](TCellGrid& g) { return Colour(g.SelectionColor()); }},
      {"SelectionTextColor", [](TCellGrid& g) { return Colour(g.SelectionTextColor()); }},
      {"URLColor", [](TCellGrid& g) { return Colour(g.URLColor()); }},
      {"ScrollType", [](TCellGrid& g) { return Text(g.ScrollType() == ssNormal); }},
      {"ScrollColor", [](TCellGrid& g) { return Colour(g.ScrollColor()); }},
      {"ScrollWidth", [](TCellGrid& g) { return Text(g.ScrollWidth()); }},
      {"FloatFormat", [](TCellGrid& g) { return Text(g.FloatFormat()); }},
      {"SizeWithForm", [](TCellGrid& g) { return Text(g.SizeWithForm()); }},
      {"Align", [](TCellGrid& g) { return Text(g.Align() == alClient); }},
      {"Navigation.AllowDeleteRow", [](TCellGrid& g) { return Text(g.Navigation().AllowDeleteRow); }},
      {"Navigation.AllowClipboardRowGrow", [](TCellGrid& g) { return Text(g.Navigation().AllowClipboardRowGrow); }},
      {"Navigation.AllowClipboardColGrow", [](TCellGrid& g) { return Text(g.Navigation().AllowClipboardColGrow); }},
      {"Navigation.CopyHTMLTagsToClipboard", [](TCellGrid& g) { return Text(g.Navigation().CopyHTMLTagsToClipboard); }},
      {"HTMLSettings.Width", [](TCellGrid& g) { return Text(g.HTMLSettings().Width); }},
      {"Bands.Active", [](TCellGrid& g) { return Text(g.Bands().Active()); }},
      {"Bands.PrimaryColor", [](TCellGrid& g) { return Colour(g.Bands().PrimaryColor()); }},
      {"Bands.SecondaryColor", [](TCellGrid& g) { return Colour(g.Bands().SecondaryColor()); }},
      {"Bands.PrimaryLength", [](TCellGrid& g) { return Text(g.Bands().PrimaryLength()); }},
      {"Bands.SecondaryLength", [](TCellGrid& g) { return Text(g.Bands().SecondaryLength()); }},
      {"CellNode.Color", [](TCellGrid& g) { return Colour(g.CellNode().Color); }},
      {"CellNode.NodeColor", [](TCellGrid& g) { return Colour(g.CellNode().NodeColor); }},
      {"Multilinecells", [](TCellGrid& g) { return Text(g.Multilinecells()); }},
      {"WordWrap", [](TCellGrid& g) { return Text(g.WordWrap()); }},
      {"URLShow", [](TCellGrid& g) { return Text(g.URLShow()); }},
      {"OemConvert", [](TCellGrid& g) { return Text(g.OemConvert()); }},
      {"MaxEditLength", [](TCellGrid& g) { return Text(g.MaxEditLength()); }},
      {"FixedRightCols", [](TCellGrid& g) { return Text(g.FixedRightCols()); }},
      {"FixedFooters", [](TCellGrid& g) { return Text(g.FixedFooters()); }},
      {"FixedColAlways", [](TCellGrid& g) { return Text(g.FixedColAlways()); }},
      {"FixedRowAlways", [](TCellGrid& g) { return Text(g.FixedRowAlways()); }},
      {"HiddenColumnCount", [](TCellGrid& g) { return Text(g.HiddenColumnCount()); }},
      {"FieldDelimiter", [](TCellGrid& g) { return Text(static_cast<int>(g.FieldDelimiter)); }},
      {"IncludeFixedCells", [](TCellGrid& g) { return Text(g.IncludeFixedCells); }},
      {"IncludeHiddenColumns", [](TCellGrid& g) { return Text(g.IncludeHiddenColumns); }},
      {"CaretTildeEncoding", [](TCellGrid& g) { return Text(g.CaretTildeEncoding); }},
  };
  return settings;
}

}  // namespace main_window_grid

// Every published setting of the grid, by name, as text.
inline std::map<std::string, std::string> PublishedSettings(TCellGrid& grid) {
  std::map<std::string, std::string> values;
  for (const main_window_grid::TSetting& setting : main_window_grid::Settings())
    values[setting.name] = setting.read(grid);
  return values;
}

}  // namespace kelvora::testing
