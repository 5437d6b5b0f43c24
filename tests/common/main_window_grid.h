#pragma once

// The cell grid as the main window sets it up, written out for the tests of
// the grid, so that they need nothing above the grid; the tests of the main
// window check that the program's own description gives this same grid.
// And every published setting of a grid read out as text, for both, with
// its value on a grid just made.

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

// One published setting: how to read it, and its value on a grid just made
// ("" where that is the machine's: the fonts and the colour).
struct TSetting {
  const char* name;
  std::function<std::string(TCellGrid&)> read;
  const char* constructed = "";
};

inline const std::vector<TSetting>& Settings() {
  static const std::vector<TSetting> settings = {
      {"ColCount", [](TCellGrid& g) { return Text(g.ColCount()); }, "5"},
      {"RowCount", [](TCellGrid& g) { return Text(g.RowCount()); }, "5"},
      {"FixedCols", [](TCellGrid& g) { return Text(g.FixedCols()); }, "1"},
      {"FixedRows", [](TCellGrid& g) { return Text(g.FixedRows()); }, "1"},
      {"DefaultColWidth", [](TCellGrid& g) { return Text(g.DefaultColWidth()); }, "64"},
      {"DefaultRowHeight", [](TCellGrid& g) { return Text(g.DefaultRowHeight()); }, "21"},
      {"FixedColWidth", [](TCellGrid& g) { return Text(g.FixedColWidth()); }, "64"},
      {"FixedRowHeight", [](TCellGrid& g) { return Text(g.FixedRowHeight()); }, "21"},
      {"Options", [](TCellGrid& g) { return Text(g.Options()); }, "0,1,2,3,4"},
      {"FixedFont", [](TCellGrid& g) { return Text(g.FixedFont()); }},
      {"Font", [](TCellGrid& g) { return Text(g.Font()); }},
      {"Color", [](TCellGrid& g) { return Colour(g.Color()); }},
      {"EnableHTML", [](TCellGrid& g) { return Text(g.EnableHTML()); }, "true"},
      {"EnableWheel", [](TCellGrid& g) { return Text(g.EnableWheel()); }, "true"},
      {"EnableGraphics", [](TCellGrid& g) { return Text(g.EnableGraphics()); }, "false"},
      {"OleAcceptFiles", [](TCellGrid& g) { return Text(g.OleAcceptFiles()); }, "true"},
      {"OleAcceptText", [](TCellGrid& g) { return Text(g.OleAcceptText()); }, "true"},
      {"OleDropTarget", [](TCellGrid& g) { return Text(g.OleDropTarget()); }, "false"},
      {"SortFull", [](TCellGrid& g) { return Text(g.SortFull()); }, "true"},
      {"SortAutoFormat", [](TCellGrid& g) { return Text(g.SortAutoFormat()); }, "true"},
      {"IntelliZoom", [](TCellGrid& g) { return Text(g.IntelliZoom()); }, "true"},
      {"IntelliPan", [](TCellGrid& g) { return Text(g.IntelliPan() == ipBoth ? 0 : g.IntelliPan() == ipVertical ? 1 : 2); }, "0"},
      {"ShowSelection", [](TCellGrid& g) { return Text(g.ShowSelection()); }, "true"},
      {"HideFocusRect", [](TCellGrid& g) { return Text(g.HideFocusRect()); }, "false"},
      {"FixedAsButtons", [](TCellGrid& g) { return Text(g.FixedAsButtons()); }, "false"},
      {"AutoSize", [](TCellGrid& g) { return Text(g.AutoSize()); }, "false"},
      {"VAlignment", [](TCellGrid& g) { return Text(g.VAlignment() == vtaTop); }, "true"},
      {"HintColor", [](TCellGrid& g) { return Colour(g.HintColor()); }, "clYellow"},
      {"SelectionColor", [](TCellGrid& g) { return Colour(g.SelectionColor()); }, "clHighlight"},
      {"SelectionTextColor", [](TCellGrid& g) { return Colour(g.SelectionTextColor()); }, "clHighlightText"},
      {"URLColor", [](TCellGrid& g) { return Colour(g.URLColor()); }, "clBlue"},
      {"ScrollType", [](TCellGrid& g) { return Text(g.ScrollType() == ssNormal); }, "true"},
      {"ScrollColor", [](TCellGrid& g) { return Colour(g.ScrollColor()); }, "clNone"},
      {"ScrollWidth", [](TCellGrid& g) { return Text(g.ScrollWidth()); }},
      {"FloatFormat", [](TCellGrid& g) { return Text(g.FloatFormat()); }, "\"%.2f\""},
      {"SizeWithForm", [](TCellGrid& g) { return Text(g.SizeWithForm()); }, "false"},
      {"Align", [](TCellGrid& g) { return Text(g.Align() == alClient); }, "false"},
      {"Navigation.AllowDeleteRow", [](TCellGrid& g) { return Text(g.Navigation().AllowDeleteRow); }, "false"},
      {"Navigation.AllowClipboardRowGrow", [](TCellGrid& g) { return Text(g.Navigation().AllowClipboardRowGrow); }, "false"},
      {"Navigation.AllowClipboardColGrow", [](TCellGrid& g) { return Text(g.Navigation().AllowClipboardColGrow); }, "false"},
      {"Navigation.CopyHTMLTagsToClipboard", [](TCellGrid& g) { return Text(g.Navigation().CopyHTMLTagsToClipboard); }, "false"},
      {"HTMLSettings.Width", [](TCellGrid& g) { return Text(g.HTMLSettings().Width); }, "100"},
      {"Bands.Active", [](TCellGrid& g) { return Text(g.Bands().Active()); }, "false"},
      {"Bands.PrimaryColor", [](TCellGrid& g) { return Colour(g.Bands().PrimaryColor()); }, "clInfoBk"},
      {"Bands.SecondaryColor", [](TCellGrid& g) { return Colour(g.Bands().SecondaryColor()); }, "clWindow"},
      {"Bands.PrimaryLength", [](TCellGrid& g) { return Text(g.Bands().PrimaryLength()); }, "1"},
      {"Bands.SecondaryLength", [](TCellGrid& g) { return Text(g.Bands().SecondaryLength()); }, "1"},
      {"CellNode.Color", [](TCellGrid& g) { return Colour(g.CellNode().Color); }, "clSilver"},
      {"CellNode.NodeColor", [](TCellGrid& g) { return Colour(g.CellNode().NodeColor); }, "clBlack"},
      {"Multilinecells", [](TCellGrid& g) { return Text(g.Multilinecells()); }, "false"},
      {"WordWrap", [](TCellGrid& g) { return Text(g.WordWrap()); }, "false"},
      {"URLShow", [](TCellGrid& g) { return Text(g.URLShow()); }, "false"},
      {"OemConvert", [](TCellGrid& g) { return Text(g.OemConvert()); }, "false"},
      {"MaxEditLength", [](TCellGrid& g) { return Text(g.MaxEditLength()); }, "0"},
      {"FixedRightCols", [](TCellGrid& g) { return Text(g.FixedRightCols()); }, "0"},
      {"FixedFooters", [](TCellGrid& g) { return Text(g.FixedFooters()); }, "0"},
      {"FixedColAlways", [](TCellGrid& g) { return Text(g.FixedColAlways()); }, "false"},
      {"FixedRowAlways", [](TCellGrid& g) { return Text(g.FixedRowAlways()); }, "false"},
      {"HiddenColumnCount", [](TCellGrid& g) { return Text(g.HiddenColumnCount()); }, "0"},
      {"FieldDelimiter", [](TCellGrid& g) { return Text(static_cast<int>(g.FieldDelimiter)); }, "0"},
      {"IncludeFixedCells", [](TCellGrid& g) { return Text(g.IncludeFixedCells); }, "true"},
      {"IncludeHiddenColumns", [](TCellGrid& g) { return Text(g.IncludeHiddenColumns); }, "false"},
      {"CaretTildeEncoding", [](TCellGrid& g) { return Text(g.CaretTildeEncoding); }, "false"},
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

// What a grid just made publishes, where that is not the machine's to say.
inline std::map<std::string, std::string> ConstructionDefaults() {
  std::map<std::string, std::string> values;
  for (const main_window_grid::TSetting& setting : main_window_grid::Settings())
    if (*setting.constructed) values[setting.name] = setting.constructed;
  return values;
}

}  // namespace kelvora::testing
