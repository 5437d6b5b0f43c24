#pragma once

#include <functional>
#include <string>
#include <vector>

#include "grid/edit/editor_kinds.h"
#include "grid/render/cell_paint_types.h"
#include "toolkit/canvas.h"
#include "toolkit/grid_types.h"
#include "toolkit/set.h"

class QObject;

namespace kelvora {

using TObject = QObject;

class TEditLink;

// The grid's events. Each is optional (an empty function); a handler gets the
// grid first. Events about one cell give the row before the column, except
// OnDrawCell and the editing events that name the column first.
struct TCellGridEvents {
  // Painting.
  std::function<void(TObject* Sender, int ARow, int ACol, TGridDrawState AState, TBrush& ABrush,
                     TFont& AFont)>
      OnGetCellColor;
  std::function<void(TObject* Sender, int ARow, int ACol, TAlignment& AAlignment)> OnGetAlignment;
  std::function<void(TObject* Sender, int ARow, int ACol, TPen& APen, TCellBorders& Borders)>
      OnGetCellBorder;
  std::function<void(TObject* Sender, int aRow, int aCol, bool& IsFixed)> OnIsFixedCell;
  std::function<void(TObject* Sender, int aRow, int aCol, bool& IsPassword)> OnIsPasswordCell;
  std::function<void(TObject* Sender, int ACol, int ARow, TRect Rect, TGridDrawState State)>
      OnDrawCell;

  // Links in mark-up cells.
  std::function<void(TObject* Sender, int aRow, int aCol, const std::string& Anchor,
                     bool& AutoHandle)>
      OnAnchorClick;
  std::function<void(TObject* Sender, int aRow, int aCol, const std::string& Anchor)> OnAnchorEnter;
  std::function<void(TObject* Sender, int aRow, int aCol, const std::string& Anchor)> OnAnchorExit;

  // Editing.
  std::function<void(TObject* Sender, int aRow, int aCol, bool& CanEdit)> OnCanEditCell;
  std::function<void(TObject* Sender, int aCol, int aRow, TEditorType& aEditor)> OnGetEditorType;
  std::function<void(TObject* Sender, int aCol, int aRow, TEditLink* aEditLink)> OnGetEditorProp;
  std::function<void(TObject* Sender, int Col, int Row, std::string& Value, bool& Valid)>
      OnCellValidate;
  std::function<void(TObject* Sender, int OldRow, int NewRow, bool& Allow)> OnRowChanging;
  std::function<void(TObject* Sender, int OldCol, int NewCol, bool& Allow)> OnColChanging;
  std::function<void(TObject* Sender, int OldRow, int OldCol, int NewRow, int NewCol, bool& Allow)>
      OnCellChanging;
  std::function<void(TObject* Sender, bool& Allow)> OnClipboardPaste;
  std::function<void(TObject* Sender, bool& Allow)> OnClipboardCut;
  std::function<void(TObject* Sender, bool& Allow)> OnClipboardCopy;
  // Special editors (data columns): the list of a combo box, asked each
  // time one opens; the ellipsis button, whose handler may replace the text;
  // the push button; the unit button, whose handler may replace the unit.
  std::function<void(TObject* Sender, int aCol, int aRow, std::vector<std::string>& Items)> OnGetEditorItems;
  std::function<void(TObject* Sender, int aCol, int aRow, std::string& Text)> OnEllipsisClick;
  std::function<void(TObject* Sender, int aCol, int aRow)> OnButtonClick;
  std::function<void(TObject* Sender, int aCol, int aRow, std::string& Unit)> OnUnitClick;

  // Rows and columns from the keyboard.
  std::function<void(TObject* Sender, int ARow, bool& CanDelete)> OnCanDeleteRow;
  std::function<void(TObject* Sender, int ARow)> OnAutoDeleteRow;
  std::function<void(TObject* Sender, int ARow, bool& CanInsert)> OnCanInsertRow;
  std::function<void(TObject* Sender, int ARow)> OnAutoInsertRow;
  std::function<void(TObject* Sender, bool& CanAdd)> OnCanAddRow;
  std::function<void(TObject* Sender, int ARow)> OnAutoAddRow;
  std::function<void(TObject* Sender, int ACol)> OnAutoInsertCol;
  std::function<void(TObject* Sender, int ACol, int ARow, bool State)> OnCheckBoxClick;

  // Sorting: asked before every sort, with the first sort column (stored);
  // clearing DoSort leaves the rows as they are.
  std::function<void(TObject* Sender, int ACol, bool& DoSort)> OnCanSort;

  // Files.
  std::function<void(TObject* Sender, short Progress)> OnFileProgress;
};

}  // namespace kelvora
