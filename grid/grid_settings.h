#pragma once

#include "toolkit/bitmap.h"
#include "toolkit/color.h"

namespace kelvora {

// The option sub-objects of the cell grid. Each is a plain value the grid owns;
// the grid reads its fields where it needs them.

enum TStepDirection { adLeftRight, adTopBottom };
enum TInsertPosition { pInsertBefore, pInsertAfter };

// Keyboard and editing behaviour.
struct TNavigation {
  bool AllowInsertRow = false;
  bool AllowDeleteRow = false;
  bool AdvanceOnEnter = false;
  bool AdvanceInsert = false;
  TStepDirection AdvanceDirection = adLeftRight;
  bool AllowClipboardShortCuts = false;
  bool AllowClipboardRowGrow = false;
  bool AllowClipboardColGrow = false;
  bool CopyHTMLTagsToClipboard = false;
  TInsertPosition InsertPosition = pInsertBefore;
  bool AutoGotoWhenSorted = false;
  bool AutoGotoIncremental = false;
  bool AlwaysEdit = false;
  bool AdvanceAuto = false;
  bool CursorWalkEditor = false;
  bool LineFeedOnEnter = false;
};

// Alternating row colours, counted from the first data row.
struct TBands {
  bool Active = false;
  TColor PrimaryColor = clInfoBk;
  int PrimaryLength = 1;
  TColor SecondaryColor = clWindow;
  int SecondaryLength = 1;
};

// The look of tree nodes in the fixed column.
struct TCellNode {
  TColor Color = clSilver;
  TColor NodeColor = clBlack;
};

// Saving and stretching column widths.
struct TColumnSize {
  bool Save = false;
  bool Stretch = false;
};

// Growing the cell while its text is typed.
struct TSizeWhileTyping {
  bool Width = false;
  bool Height = false;
};

// Mouse selection behaviour.
struct TMouseActions {
  bool DirectEdit = false;
  bool DisjunctRowSelect = false;
  bool CaretPositioning = false;
};

enum TBackgroundDisplay { bdTile, bdFixed };
enum TBackgroundCells { bcNormal, bcFixed };

// A picture behind the cells.
struct TBackGround {
  TBitmap Bitmap;
  TBackgroundDisplay Display = bdTile;
  TBackgroundCells Cells = bcNormal;
  int Top = 0;
  int Left = 0;
};

// Row filtering and printing are not part of this program; their objects exist
// so that the grid's configuration is complete, and grow fields when used.
struct TFilter {};
struct TPrintSettings {};

// Export as HTML: the table width in percent.
struct THTMLSettings {
  int Width = 100;
};

}  // namespace kelvora
