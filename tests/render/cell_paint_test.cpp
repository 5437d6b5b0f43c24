// The order of painting a cell, its fonts and colours, and what it leaves
// behind on the surface.
#include <stdexcept>

#include "cell_paint_fixture.h"

namespace kelvora::paint_test {
namespace {

TEST_F(CellPaint, APlainCellIsFilledAndGetsItsFirstLineInset) {
  host.Text = "Tue\r\nWed";
  EXPECT_EQ(PaintNormal(),
            "FillRect 100,40,160,60 brush=clWhite\n"
            "DrawText \"Tue\" 102,42,158,60 flags=SingleLine|NoPrefix|ExpandTabs font=Sans/-10/clNavy");
  EXPECT_EQ(host.Log, (std::vector<std::string>{"colours -", "draw 3,5 100,40,160,60 -"}));
}

TEST_F(CellPaint, EventsGetTheStoredColumn) {
  dataColShift = 4;
  host.Text = "x";
  PaintNormal();
  EXPECT_EQ(host.Log.back(), "draw 7,5 100,40,160,60 -");
}

TEST_F(CellPaint, FixedRowsAndColumnsTakeTheFixedFont) {
  host.Text = "h";
  Paint(0, 5, {gdFixed}, kCell, clBtnFace);
  EXPECT_NE(Only("DrawText").find("font=Sans/-12/clWindowText"), std::string::npos);
  Paint(3, 0, {gdFixed}, kCell, clBtnFace);
  EXPECT_NE(Only("DrawText").find("font=Sans/-12/clWindowText"), std::string::npos);
}

// One row per situation of the colour decision, later rows winning; each
// asserts the cell's fill and its text colour.
struct TColourCase {
  const char* situation;
  std::function<void(CellPaint&, TCellPaintSettings&, TFakeHost&)> arrange;
  TGridDrawState state;
  TColor baseBrush;  // what the grid base set
  const char* fill;
  const char* text;
};

void PrintTo(const TColourCase& c, std::ostream* out) { *out << c.situation; }

class CellPaintColours : public CellPaint, public ::testing::WithParamInterface<TColourCase> {};

TEST_P(CellPaintColours, DecidesBrushAndTextColour) {
  const TColourCase& c = GetParam();
  host.Text = "ab";
  c.arrange(*this, settings, host);
  Paint(3, 5, c.state, kCell, c.baseBrush);
  EXPECT_EQ(Only("FillRect"), std::string("FillRect 100,40,160,60 brush=") + c.fill) << c.situation;
  EXPECT_TRUE(Only("DrawText").ends_with(std::string("/") + c.text)) << c.situation << ": " << canvas.Text();
}

void Nothing(CellPaint&, TCellPaintSettings&, TFakeHost&) {}
void FixedArea(CellPaint&, TCellPaintSettings& s, TFakeHost&) { s.Areas.FixedRows = 6; }
void ExtraFixed(CellPaint&, TCellPaintSettings&, TFakeHost& h) { h.ExtraFixed = true; }
void Bands(CellPaint&, TCellPaintSettings&, TFakeHost& h) {
  h.Colours = [](TGridDrawState, TBrush& b, TFont&) { b.Color = clInfoBk; };
}
void HandlerColours(CellPaint&, TCellPaintSettings&, TFakeHost& h) {
  h.Colours = [](TGridDrawState, TBrush& b, TFont& f) {
    b.Color = clYellow;
    f.Color = clMaroon;
  };
}
void NoSelectionColour(CellPaint& f, TCellPaintSettings& s, TFakeHost& h) {
  HandlerColours(f, s, h);
  s.SelectionColor = clNone;
}
void SelectionColours(CellPaint& f, TCellPaintSettings& s, TFakeHost& h) {
  HandlerColours(f, s, h);
  s.SelectionColor = clGreen;
  s.SelectionTextColor = clLime;
}
void NoSelectionTextColour(CellPaint& f, TCellPaintSettings& s, TFakeHost& h) {
  SelectionColours(f, s, h);
  s.SelectionTextColor = clNone;
}
void FocusSelected(CellPaint& f, TCellPaintSettings& s, TFakeHost& h) {
  SelectionColours(f, s, h);
  s.Options.insert(goDrawFocusSelected);
}
void UnfocusedHidden(CellPaint& f, TCellPaintSettings& s, TFakeHost& h) {
  SelectionColours(f, s, h);
  s.GridFocused = false;
  s.ShowSelection = false;
}
void UnfocusedHiddenBands(CellPaint& f, TCellPaintSettings& s, TFakeHost& h) {
  UnfocusedHidden(f, s, h);
  s.Bands.Active = true;
  h.Colours = [](TGridDrawState, TBrush& b, TFont&) { b.Color = clInfoBk; };
}
void UnfocusedShown(CellPaint& f, TCellPaintSettings& s, TFakeHost& h) {
  SelectionColours(f, s, h);
  s.GridFocused = false;
}
void Link(CellPaint&, TCellPaintSettings& s, TFakeHost& h) {
  s.URLShow = true;
  h.Text = "http://x.y";
}
void SelectedLink(CellPaint& f, TCellPaintSettings& s, TFakeHost& h) {
  SelectionColours(f, s, h);
  Link(f, s, h);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CellPaintColours,
    ::testing::Values(
        TColourCase{"normal cell", Nothing, {}, clWhite, "clWhite", "clNavy"},
        TColourCase{"inside the fixed rows", FixedArea, {gdFixed}, clBtnFace, "clBtnFace", "clWindowText"},
        TColourCase{"extra fixed", ExtraFixed, {}, clWhite, "clBtnFace", "clNavy"},
        TColourCase{"band", Bands, {}, clWhite, "clInfoBk", "clNavy"},
        TColourCase{"handler", HandlerColours, {}, clWhite, "clYellow", "clMaroon"},
        TColourCase{"selected, no selection colour", NoSelectionColour, {gdSelected}, clHighlight, "clHighlight",
                    "clHighlightText"},
        TColourCase{"selected", SelectionColours, {gdSelected}, clHighlight, "clGreen", "clLime"},
        TColourCase{"selected, no selection text colour", NoSelectionTextColour, {gdSelected}, clHighlight,
                    "clGreen", "clMaroon"},
        TColourCase{"focused keeps its colours", SelectionColours, {gdSelected, gdFocused}, clWhite, "clYellow",
                    "clMaroon"},
        TColourCase{"focused with goDrawFocusSelected", FocusSelected, {gdSelected, gdFocused}, clHighlight,
                    "clGreen", "clLime"},
        TColourCase{"unfocused, selection hidden", UnfocusedHidden, {gdSelected}, clHighlight, "clWhite", "clNavy"},
        TColourCase{"unfocused, selection hidden, bands", UnfocusedHiddenBands, {gdSelected}, clHighlight,
                    "clInfoBk", "clNavy"},
        TColourCase{"unfocused, selection shown", UnfocusedShown, {gdSelected}, clHighlight, "clGreen", "clLime"},
        TColourCase{"link", Link, {}, clWhite, "clWhite", "clBlue/U"},
        TColourCase{"selected link", SelectedLink, {gdSelected}, clHighlight, "clGreen", "clLime/U"}));

// With neither selection colour a selected cell shows clHighlight behind
// the text colour the handler gave it.
TEST_F(CellPaint, TheSelectionWithoutItsColourKeepsTheHandlersText) {
  host.Text = "ab";
  NoSelectionColour(*this, settings, host);
  settings.SelectionTextColor = clNone;
  Paint(3, 5, {gdSelected}, kCell, clHighlight);
  EXPECT_EQ(Only("FillRect"), "FillRect 100,40,160,60 brush=clHighlight");
  EXPECT_TRUE(Only("DrawText").ends_with("/clMaroon"));
}

TEST_F(CellPaint, AnExtraFixedCellIsPaintedAsFixedAloneWithRaisedEdges) {
  host.ExtraFixed = true;
  host.Text = "f";
  settings.HideFocusRect = true;
  PaintNormal({gdSelected, gdFocused});
  EXPECT_EQ(host.Log.front(), "colours X");
  EXPECT_EQ(host.Log.back(), "draw 3,5 100,40,160,60 X");
  EXPECT_EQ(Calls("DrawEdge"), (std::vector<std::string>{"DrawEdge 100,40,160,60 sides=Right|Bottom",
                                                         "DrawEdge 100,40,160,60 sides=Left|Top"}));
  EXPECT_TRUE(Calls("DrawFocusRect").empty());
}

TEST_F(CellPaint, FlatEdgesAreBlackLinesOnePixelOutside) {
  host.ExtraFixed = true;
  settings.Flat = true;
  settings.Options.erase(goFixedVertLine);
  PaintNormal();
  EXPECT_EQ(Calls("LineTo"), (std::vector<std::string>{"LineTo 161,39 from=99,39 pen=clBlack/1",
                                                       "LineTo 161,61 from=99,61 pen=clBlack/1"}));
  EXPECT_TRUE(Calls("DrawEdge").empty());
}

TEST_F(CellPaint, RightFixedColumnsGetEdgesWhateverTheHandlerSays) {
  settings.Areas.FixedRightCols = 7;  // stored columns 3 to 9
  settings.Options.erase(goFixedHorzLine);
  PaintNormal();
  EXPECT_EQ(Calls("DrawEdge"), (std::vector<std::string>{"DrawEdge 100,40,160,60 sides=Right",
                                                         "DrawEdge 100,40,160,60 sides=Left"}));
}

TEST_F(CellPaint, TheFontSizeOffsetEnlargesEveryCellFont) {
  settings.FontSizeOffset = 3;  // 10 pixels are 8 points; 11 points are 15 pixels
  host.Text = "z";
  PaintNormal();
  EXPECT_NE(Only("DrawText").find("font=Sans/-15/clNavy"), std::string::npos);
}

TEST_F(CellPaint, TheFocusRectangleIsCancelledOnlyWhenAsked) {
  PaintNormal({gdSelected, gdFocused});
  EXPECT_TRUE(Calls("DrawFocusRect").empty());
  settings.HideFocusRect = true;
  PaintNormal({gdSelected, gdFocused});
  EXPECT_EQ(canvas.Calls().back(), "DrawFocusRect 100,40,160,60");
  settings.EditorShowing = true;  // the base draws none over the edit window
  PaintNormal({gdSelected, gdFocused});
  EXPECT_TRUE(Calls("DrawFocusRect").empty());
  settings.EditorShowing = false;
  settings.Options.insert(goRowSelect);
  PaintNormal({gdSelected, gdFocused});
  EXPECT_TRUE(Calls("DrawFocusRect").empty());
}

TEST_F(CellPaint, CellGraphicsAreDrawnOnlyWhenEnabled) {
  host.Text = "g";
  PaintNormal();
  EXPECT_EQ(host.Log.size(), 2u);
  settings.EnableGraphics = true;
  PaintNormal();
  EXPECT_EQ(host.Log[3], "graphic 3,5 100,40,160,60");
  host.GraphicFillsCell = true;
  PaintNormal();
  EXPECT_TRUE(Calls("DrawText").empty());
}

// The pen, the clip and the text background belong to the surface: a
// handler that throws half-way through a cell must not leave them changed.
TEST_F(CellPaint, LeavesPenClipAndTextBackgroundAsItFoundThem) {
  host.Text = "t";
  host.Borders = {cbLeft};
  host.BorderPen = {clRed, 3, psDot};
  settings.SelectionRectangle = true;
  PaintNormal();
  EXPECT_EQ(canvas.Pen(), (TPen{clBlack, 1, psSolid}));
  EXPECT_FALSE(canvas.TransparentText());
  EXPECT_EQ(Calls("SetClipRect").back(), "SetClipRect 0,0,800,600");

  host.OnDraw = [] { throw std::runtime_error("no drawing"); };
  canvas.Pen() = {clTeal, 4, psDash};
  EXPECT_THROW(PaintNormal(), std::runtime_error);
  EXPECT_EQ(canvas.Pen(), (TPen{clTeal, 4, psDash}));
  EXPECT_FALSE(canvas.TransparentText());
}

TEST_F(CellPaint, BandsCountFromTheFirstDataRow) {
  TBandColours bands{true, clRed, 2, clBlue, 1};
  EXPECT_EQ(BandColour(bands, 1, 1), clRed);
  EXPECT_EQ(BandColour(bands, 2, 1), clRed);
  EXPECT_EQ(BandColour(bands, 3, 1), clBlue);
  EXPECT_EQ(BandColour(bands, 4, 1), clRed);
  EXPECT_EQ(BandColour({true, clRed, 1, clBlue, 1}, 0, 0), clRed);
  EXPECT_EQ(BandColour({true, clRed, 0, clBlue, 0}, 7, 1), clNone);
  EXPECT_EQ(BandColour({false, clRed, 1, clBlue, 1}, 7, 1), clNone);
  EXPECT_EQ(BandColour({true, clRed, INT_MAX, clBlue, INT_MAX}, INT_MAX, 0), clBlue);
  EXPECT_EQ(BandColour({true, clRed, INT_MAX, clBlue, INT_MAX}, INT_MAX - 1, 0), clRed);
}

TEST_F(CellPaint, AreasTellFootersRightColumnsAndDataCells) {
  const TCellAreas areas{1, 2, 10, 20, 3, 2};
  EXPECT_TRUE(areas.IsRightFixedCol(7));
  EXPECT_FALSE(areas.IsRightFixedCol(6));
  EXPECT_TRUE(areas.IsFooterRow(18));
  EXPECT_FALSE(areas.IsFooterRow(17));
  EXPECT_TRUE(areas.IsNormalDataCell(1, 2));
  EXPECT_FALSE(areas.IsNormalDataCell(0, 2));
  EXPECT_FALSE(areas.IsNormalDataCell(1, 1));
  EXPECT_FALSE(areas.IsNormalDataCell(7, 5));
  EXPECT_FALSE(areas.IsNormalDataCell(1, 18));
  const TCellAreas huge{0, 0, INT_MAX, INT_MAX, INT_MAX, INT_MAX};
  EXPECT_TRUE(huge.IsFooterRow(0));
  EXPECT_TRUE(huge.IsRightFixedCol(0));
}

}  // namespace
}  // namespace kelvora::paint_test
