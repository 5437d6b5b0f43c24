#pragma once

#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

#include "grid/print/print_settings.h"
#include "grid/sort/row_filter.h"
#include "grid/render/cell_paint_types.h"
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

// Alternating row colours, counted from the first data row. The grid shows
// every change at once, so each setting has a setter that tells it; a
// change while the bands are off shows nothing and repaints nothing.
class TBands {
 public:
  explicit TBands(std::function<void()> repaint) : repaint_(std::move(repaint)) {}
  TBands(const TBands&) = delete;
  TBands& operator=(const TBands&) = delete;

  bool Active() const { return active_; }
  void SetActive(bool on) {
    if (on == active_) return;
    active_ = on;
    Repaint();
  }
  TColor PrimaryColor() const { return primaryColor_; }
  void SetPrimaryColor(TColor color) { Change(primaryColor_, color); }
  TColor SecondaryColor() const { return secondaryColor_; }
  void SetSecondaryColor(TColor color) { Change(secondaryColor_, color); }
  // Lengths count rows; a negative one is taken as 0.
  int PrimaryLength() const { return primaryLength_; }
  void SetPrimaryLength(int rows) { Change(primaryLength_, std::max(rows, 0)); }
  int SecondaryLength() const { return secondaryLength_; }
  void SetSecondaryLength(int rows) { Change(secondaryLength_, std::max(rows, 0)); }

 private:
  template <typename T>
  void Change(T& field, T value) {
    if (field == value) return;
    field = value;
    if (active_) Repaint();
  }
  void Repaint() {
    if (repaint_) repaint_();
  }

  bool active_ = false;
  TColor primaryColor_ = clInfoBk;
  int primaryLength_ = 1;
  TColor secondaryColor_ = clWindow;
  int secondaryLength_ = 1;
  std::function<void()> repaint_;
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

// A picture behind the cells.
struct TBackGround {
  TBitmap Bitmap;
  TBackgroundDisplay Display = bdTile;
  TBackgroundCells Cells = bcNormal;
  int Top = 0;
  int Left = 0;
};

// Row filtering: the conditions that ApplyFilter shows rows by. Printing's
// settings are TPrintSettings (grid/print/print_settings.h), which page
// layout reads.
struct TFilter {
  std::vector<TFilterCondition> Conditions;
};

// Export as HTML: the table width in percent.
struct THTMLSettings {
  int Width = 100;
};

}  // namespace kelvora
