// What a cell draws besides its text: background pictures, the selection's
// frame, borders, the row indicator, and the rows of a disjoint selection.
#include <QImage>

#include <algorithm>
#include <climits>

#include "cell_paint_fixture.h"

namespace kelvora::paint_test {
namespace {

TBitmap Picture(int width, int height) {
  QImage image(width, height, QImage::Format_Mono);
  image.fill(1);
  return TBitmap(image);
}

class CellPaintFrame : public CellPaint {
 protected:
  void ShowPicture(TBackgroundDisplay display, TBackgroundCells cells = bcNormal, int left = 0, int top = 0) {
    settings.BackGround = {&picture, display, cells, left, top};
  }
  TBitmap picture = Picture(16, 16);
};

TEST_F(CellPaintFrame, APictureIsTiledBehindTheText) {
  ShowPicture(bdTile);
  host.Text = "t";
  EXPECT_EQ(PaintNormal(),
            "FillRect 100,40,160,60 brush=clWhite\n"
            "DrawTiled 100,40,160,60 bitmap=16x16 origin=0,0\n"
            "DrawText \"t\" 102,42,158,60 flags=SingleLine|NoPrefix|ExpandTabs font=Sans/-10/clNavy");
  picture = Picture(1, 1);
  PaintNormal();
  EXPECT_EQ(Only("DrawTiled"), "DrawTiled 100,40,160,60 bitmap=1x1 origin=0,0");
}

TEST_F(CellPaintFrame, AFixedPictureStandsAtItsPlaceCutToTheCell) {
  picture = Picture(10'000, 10'000);
  ShowPicture(bdFixed, bcNormal, -5'000, -9'000);
  PaintNormal();
  EXPECT_EQ(Calls("SetClipRect"), (std::vector<std::string>{"SetClipRect 100,40,160,60", "SetClipRect 0,0,800,600"}));
  EXPECT_EQ(Only("Draw "), "Draw -5000,-9000 bitmap=10000x10000");
}

TEST_F(CellPaintFrame, APictureFarOutsideTheCellIsNotDrawn) {
  for (const TPoint at : {TPoint{INT_MIN, INT_MIN}, TPoint{INT_MAX, INT_MAX}, TPoint{INT_MAX, 0}, TPoint{0, INT_MIN},
                          TPoint{160, 40}, TPoint{84, 40}}) {
    ShowPicture(bdFixed, bcNormal, at.X, at.Y);
    PaintNormal();
    EXPECT_TRUE(Calls("Draw ").empty()) << at.X << "," << at.Y;
    EXPECT_EQ(Only("FillRect"), "FillRect 100,40,160,60 brush=clWhite");
  }
}

TEST_F(CellPaintFrame, ThePictureGoesBehindTheCellsItIsFor) {
  ShowPicture(bdTile, bcFixed);
  PaintNormal();
  EXPECT_TRUE(Calls("DrawTiled").empty());
  Paint(0, 5, {gdFixed}, kCell, clBtnFace);
  EXPECT_EQ(Calls("DrawTiled").size(), 1u);
  host.ExtraFixed = true;
  PaintNormal();
  EXPECT_EQ(Calls("DrawTiled").size(), 1u);
}

TEST_F(CellPaintFrame, SelectedCellsShowTheSelectionInsteadOfThePicture) {
  ShowPicture(bdTile);
  PaintNormal({gdSelected});
  EXPECT_TRUE(Calls("DrawTiled").empty());
  EXPECT_EQ(Only("FillRect"), "FillRect 100,40,160,60 brush=clHighlight");
  PaintNormal({gdSelected, gdFocused});  // the current cell is not highlighted
  EXPECT_EQ(Calls("DrawTiled").size(), 1u);
  settings.ShowSelection = false;
  PaintNormal({gdSelected});
  EXPECT_EQ(Calls("DrawTiled").size(), 1u);
}

TEST_F(CellPaintFrame, TheSelectionRectangleRunsAlongTheSelectionsOuterEdge) {
  settings.SelectionRectangle = true;
  settings.Selection = {2, 4, 4, 6};
  Paint(2, 4, {gdSelected});
  EXPECT_EQ(Calls("LineTo"), (std::vector<std::string>{"LineTo 101,59 from=101,41 pen=clBlack/2",
                                                       "LineTo 159,41 from=101,41 pen=clBlack/2"}));
  Paint(3, 5, {gdSelected});
  EXPECT_TRUE(Calls("LineTo").empty());
  Paint(4, 6, {gdSelected});
  EXPECT_EQ(Calls("LineTo"), (std::vector<std::string>{"LineTo 159,59 from=159,41 pen=clBlack/2",
                                                       "LineTo 159,59 from=101,59 pen=clBlack/2"}));
  Paint(5, 6, {});
  EXPECT_TRUE(Calls("LineTo").empty());
  settings.SelectionRectangle = false;
  Paint(2, 4, {gdSelected});
  EXPECT_TRUE(Calls("LineTo").empty());
}

TEST_F(CellPaintFrame, BordersAreMovedInByHalfThePenAndThePenComesBack) {
  host.Borders = {cbLeft, cbRight, cbTop, cbBottom};
  host.BorderPen = {clRed, 3, psSolid};
  PaintNormal();
  EXPECT_EQ(Calls("LineTo"), (std::vector<std::string>{"LineTo 101,59 from=101,41 pen=clRed/3",
                                                       "LineTo 158,59 from=158,41 pen=clRed/3",
                                                       "LineTo 159,41 from=101,41 pen=clRed/3",
                                                       "LineTo 159,58 from=101,58 pen=clRed/3"}));
  EXPECT_EQ(canvas.Pen(), (TPen{clBlack, 1, psSolid}));
}

TEST_F(CellPaintFrame, AHugeBorderPenStaysInsideTheCell) {
  host.Borders = {cbLeft, cbBottom};
  host.BorderPen = {clRed, INT_MAX, psSolid};
  PaintNormal();
  const std::vector<std::string> calls = canvas.Calls();
  const auto first = std::find(calls.begin(), calls.end(), "SetClipRect 100,40,160,60");
  const auto line = std::find_if(calls.begin(), calls.end(), [](const std::string& c) { return c.rfind("LineTo", 0) == 0; });
  ASSERT_NE(first, calls.end());
  EXPECT_LT(first, line);
  for (const std::string& call : Calls("LineTo")) EXPECT_NE(call.find("pen=clRed/60"), std::string::npos) << call;
  EXPECT_EQ(Calls("SetClipRect").back(), "SetClipRect 0,0,800,600");
}

TEST_F(CellPaintFrame, TheRowIndicatorTakesTheLeftOfTheCurrentRow) {
  const TBitmap marker = Picture(8, 10);
  settings.RowIndicator = &marker;
  host.Text = "r";
  EXPECT_EQ(Paint(0, 5, {gdFixed}, kCell, clBtnFace),
            "FillRect 100,40,108,60 brush=clBtnFace\n"
            "SetClipRect 100,40,108,60\n"
            "Draw 100,45 bitmap=8x10\n"
            "SetClipRect 0,0,800,600\n"
            "FillRect 108,40,160,60 brush=clBtnFace\n"
            "DrawText \"r\" 110,42,158,60 flags=SingleLine|NoPrefix|ExpandTabs font=Sans/-12/clWindowText");
  Paint(0, 6, {gdFixed}, kCell, clBtnFace);
  EXPECT_TRUE(Calls("Draw ").empty());
  settings.Areas.FixedCols = 0;
  Paint(0, 5, {}, kCell);
  EXPECT_TRUE(Calls("Draw ").empty());
}

TEST_F(CellPaintFrame, ARowIndicatorWiderThanTheCellIsCutToIt) {
  const TBitmap marker = Picture(100, 100);
  settings.RowIndicator = &marker;
  host.Text = "r";
  Paint(0, 5, {gdFixed}, kCell, clBtnFace);
  EXPECT_EQ(Calls("SetClipRect").front(), "SetClipRect 100,40,160,60");
  EXPECT_EQ(Only("Draw "), "Draw 100,40 bitmap=100x100");
  EXPECT_EQ(Calls("FillRect"), (std::vector<std::string>{"FillRect 100,40,160,60 brush=clBtnFace",
                                                         "FillRect 160,40,160,60 brush=clBtnFace"}));
  EXPECT_NE(Only("DrawText").find(" 160,42,160,60 "), std::string::npos);
  EXPECT_EQ(host.Log.back(), "draw 0,5 160,40,160,60 X");
}

TEST_F(CellPaintFrame, RowsOutsideTheDisjointSelectionLoseTheSelectionsColours) {
  settings.DisjunctRowSelect = true;
  settings.SelectionColor = clGreen;
  PaintNormal({gdSelected});
  EXPECT_EQ(Only("FillRect"), "FillRect 100,40,160,60 brush=clWhite");
  EXPECT_EQ(host.Log, (std::vector<std::string>{"colours S", "colours S", "draw 3,5 100,40,160,60 S"}));
  host.SelectedRows = {5};
  PaintNormal({gdSelected});
  EXPECT_EQ(Only("FillRect"), "FillRect 100,40,160,60 brush=clGreen");
}

TEST_F(CellPaintFrame, RowSelectCountsTheDisjointRowsAsSelected) {
  settings.Options.insert(goRowSelect);
  settings.SelectionColor = clGreen;
  host.SelectedRows = {5};
  PaintNormal();
  EXPECT_EQ(Only("FillRect"), "FillRect 100,40,160,60 brush=clGreen");
  Paint(0, 5, {gdFixed}, kCell, clBtnFace);  // not in a fixed column
  EXPECT_EQ(Only("FillRect"), "FillRect 100,40,160,60 brush=clBtnFace");
}

}  // namespace
}  // namespace kelvora::paint_test
