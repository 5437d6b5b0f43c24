#pragma once

#include <string>

#include "grid/render/cell_paint_types.h"
#include "toolkit/bitmap.h"
#include "toolkit/color.h"

namespace kelvora {

enum TScrollType { ssNormal, ssFlat };
enum TIntelliPan { ipBoth, ipVertical, ipHorizontal, ipNone };
enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

// The published settings of the cell grid that the grid only keeps and reads
// where it needs them. Settings whose change must do more (repaint, resize,
// reach the grid base) live on TCellGrid itself.
class TCellGridProperties {
 public:
  bool EnableHTML() const { return enableHTML_; }
  void SetEnableHTML(bool v) { enableHTML_ = v; }
  bool EnableGraphics() const { return enableGraphics_; }
  void SetEnableGraphics(bool v) { enableGraphics_ = v; }

  bool SortShow() const { return sortShow_; }
  void SetSortShow(bool v) { sortShow_ = v; }
  int SortColumn() const { return sortColumn_; }
  void SetSortColumn(int v) { sortColumn_ = v; }
  bool SortFixedCols() const { return sortFixedCols_; }
  void SetSortFixedCols(bool v) { sortFixedCols_ = v; }

  bool ShowSelection() const { return showSelection_; }
  void SetShowSelection(bool v) { showSelection_ = v; }
  bool HideFocusRect() const { return hideFocusRect_; }
  void SetHideFocusRect(bool v) { hideFocusRect_ = v; }
  bool SelectionRectangle() const { return selectionRectangle_; }
  void SetSelectionRectangle(bool v) { selectionRectangle_ = v; }

  TVAlignment VAlignment() const { return vAlignment_; }
  void SetVAlignment(TVAlignment v) { vAlignment_ = v; }
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool v) { wordWrap_ = v; }
  bool Multilinecells() const { return multilinecells_; }
  void SetMultilinecells(bool v) { multilinecells_ = v; }
  bool AutoNumAlign() const { return autoNumAlign_; }
  void SetAutoNumAlign(bool v) { autoNumAlign_ = v; }
  bool EnhTextSize() const { return enhTextSize_; }
  void SetEnhTextSize(bool v) { enhTextSize_ = v; }

  bool URLShow() const { return urlShow_; }
  void SetURLShow(bool v) { urlShow_ = v; }
  bool URLFull() const { return urlFull_; }
  void SetURLFull(bool v) { urlFull_ = v; }
  TColor URLColor() const { return urlColor_; }
  void SetURLColor(TColor v) { urlColor_ = v; }

  TColor SelectionColor() const { return selectionColor_; }
  void SetSelectionColor(TColor v) { selectionColor_ = v; }
  TColor SelectionTextColor() const { return selectionTextColor_; }
  void SetSelectionTextColor(TColor v) { selectionTextColor_ = v; }

  const std::string& FloatFormat() const { return floatFormat_; }
  void SetFloatFormat(const std::string& v) { floatFormat_ = v; }
  bool SizeWithForm() const { return sizeWithForm_; }
  void SetSizeWithForm(bool v) { sizeWithForm_ = v; }

  int MaxEditLength() const { return maxEditLength_; }
  void SetMaxEditLength(int v) { maxEditLength_ = v; }
  // The edit box completes typing from LookupItems.
  bool Lookup() const { return lookup_; }
  void SetLookup(bool v) { lookup_ = v; }
  bool LookupHistory() const { return lookupHistory_; }
  void SetLookupHistory(bool v) { lookupHistory_ = v; }
  bool OemConvert() const { return oemConvert_; }
  void SetOemConvert(bool v) { oemConvert_ = v; }

  const TBitmap& RowIndicator() const { return rowIndicator_; }
  void SetRowIndicator(const TBitmap& v) { rowIndicator_ = v; }
  // The image list is the caller's; the grid only points at it.
  const TImageList* GridImages() const { return gridImages_; }
  void SetGridImages(const TImageList* v) { gridImages_ = v; }

  // Mouse handling: the wheel, panning, zoom, hints, the scroll bars, and
  // fixed cells drawn as buttons. These are read: the grid asks for them
  // as the mouse moves; TCellGrid's own setters of the scroll bars' look and
  // of FixedAsButtons show a change at once.
  bool EnableWheel() const { return enableWheel_; }
  void SetEnableWheel(bool v) { enableWheel_ = v; }
  bool IntelliZoom() const { return intelliZoom_; }
  void SetIntelliZoom(bool v) { intelliZoom_ = v; }
  TIntelliPan IntelliPan() const { return intelliPan_; }
  void SetIntelliPan(TIntelliPan v) { intelliPan_ = v; }
  TColor HintColor() const { return hintColor_; }
  void SetHintColor(TColor v) { hintColor_ = v; }
  TScrollType ScrollType() const { return scrollType_; }
  void SetScrollType(TScrollType v) { scrollType_ = v; }
  TColor ScrollColor() const { return scrollColor_; }
  void SetScrollColor(TColor v) { scrollColor_ = v; }
  int ScrollWidth() const { return scrollWidth_; }
  void SetScrollWidth(int v) { scrollWidth_ = v; }
  bool FixedAsButtons() const { return fixedAsButtons_; }
  void SetFixedAsButtons(bool v) { fixedAsButtons_ = v; }

  // Kept, not yet read: these settings are stored so that the grid is
  // configured completely, but no part of the grid acts on them yet; each
  // waits for the part named above it. The sub-objects Filter,
  // PrintSettings and ColumnSize wait likewise (filtering, printing, saved
  // widths).

  // Sorting.
  bool SortFull() const { return sortFull_; }
  void SetSortFull(bool v) { sortFull_ = v; }
  bool SortAutoFormat() const { return sortAutoFormat_; }
  void SetSortAutoFormat(bool v) { sortAutoFormat_ = v; }

  // Drag and drop.
  bool OleDropTarget() const { return oleDropTarget_; }
  void SetOleDropTarget(bool v) { oleDropTarget_ = v; }
  bool OleAcceptText() const { return oleAcceptText_; }
  void SetOleAcceptText(bool v) { oleAcceptText_ = v; }
  bool OleAcceptFiles() const { return oleAcceptFiles_; }
  void SetOleAcceptFiles(bool v) { oleAcceptFiles_ = v; }

  // The special editors.
  bool URLEdit() const { return urlEdit_; }
  void SetURLEdit(bool v) { urlEdit_ = v; }

  // Sizing the grid itself.
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool v) { autoSize_ = v; }
  TAlign Align() const { return align_; }
  void SetAlign(TAlign v) { align_ = v; }

 private:
  bool enableHTML_ = true;
  bool enableWheel_ = true;
  bool enableGraphics_ = false;
  bool oleAcceptFiles_ = true;
  bool oleAcceptText_ = true;
  bool oleDropTarget_ = false;
  bool sortFull_ = true;
  bool sortAutoFormat_ = true;
  bool sortShow_ = false;
  int sortColumn_ = 0;
  bool sortFixedCols_ = false;
  bool intelliZoom_ = true;
  TIntelliPan intelliPan_ = ipBoth;
  bool showSelection_ = true;
  bool hideFocusRect_ = false;
  bool fixedAsButtons_ = false;
  bool selectionRectangle_ = false;
  bool autoSize_ = false;
  TVAlignment vAlignment_ = vtaTop;
  bool wordWrap_ = false;
  bool multilinecells_ = false;
  bool autoNumAlign_ = false;
  bool enhTextSize_ = false;
  bool urlShow_ = false;
  bool urlFull_ = false;
  bool urlEdit_ = false;
  TColor urlColor_ = clBlue;
  TColor hintColor_ = clYellow;
  TColor selectionColor_ = clHighlight;
  TColor selectionTextColor_ = clHighlightText;
  TScrollType scrollType_ = ssNormal;
  TColor scrollColor_ = clNone;
  int scrollWidth_ = 16;
  std::string floatFormat_ = "%.2f";
  bool sizeWithForm_ = false;
  TAlign align_ = alNone;
  int maxEditLength_ = 0;
  bool lookup_ = false;
  bool lookupHistory_ = false;
  bool oemConvert_ = false;
  TBitmap rowIndicator_;
  const TImageList* gridImages_ = nullptr;
};

}  // namespace kelvora
