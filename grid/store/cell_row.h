#pragma once

#include <cstdint>
#include <functional>
#include <new>
#include <string>
#include <string_view>

#include "grid/store/cell_text.h"
#include "grid/store/row_block_pool.h"
#include "toolkit/color.h"

namespace kelvora {

// Cell graphics belong to the grid, not to the store. A visitor may free the
// object it is shown and answer true; the store then forgets the reference.
// A visitor must not change the store it is called from.
using TCellObjectVisitor = std::function<bool(int col, int row, void* object)>;

// Called with an index (a column or a row) and a non-empty text.
using TCellTextVisitor = std::function<void(int index, std::string_view text)>;

// What a few cells carry besides their text.
struct TCellAttributes {
  void* Object = nullptr;
  TColor Color = clNone;

  bool Plain() const { return Object == nullptr && Color == clNone; }
};

// One stored row: a single heap block holding a small header and an array of
// cells indexed by column. Columns the array does not reach (far to the
// right, or too sparse to be worth the array's memory) and the rare cells with
// an object or a colour sit in a side part that a plain row does not have.
// Since that side part hangs off the row, objects and colours travel with
// their row whenever rows move.
//
// Growing the array moves the block, so the operations that may grow take
// the row pointer by reference and leave it pointing at the new block. Blocks
// come from the store's pool, which every operation that makes or frees one
// is handed.
class TCellRow {
 public:
  // The array stops here; columns at or past it always go to the side part.
  static constexpr int kMaxArrayColumns = 65535;

  static TCellRow* Create(TRowBlockPool& pool, int capacity);
  static void Destroy(TRowBlockPool& pool, TCellRow* row) noexcept;
  // The array size for a new row whose first text goes to the given column.
  static int InitialCapacity(int col, int capacityHint);

  int Capacity() const { return static_cast<int>(capacity_); }
  bool Empty() const { return textCount_ == 0 && extras_ == nullptr; }

  std::string_view Text(int col) const {
    if (col < Capacity()) return Cells()[col].View();
    return extras_ ? FarText(col) : std::string_view();
  }
  // The packed texts (TPackedText) of columns fromCol..toCol, as long as
  // every text among them is inline; false, at the first that is not.
  bool InlineWords(int fromCol, int toCol, std::uint64_t* out) const {
    for (int col = fromCol; col <= toCol; ++col) {
      if (col >= Capacity()) {
        if (extras_) return false;
        *out++ = TCellText::kEmptyWord;
        continue;
      }
      const std::uint64_t word = Cells()[col].Word();
      if (!TPackedText::IsPacked(word)) return false;
      *out++ = word;
    }
    return true;
  }
  static void SetText(TRowBlockPool& pool, TCellRow*& row, int col, std::string_view text,
                      int capacityHint);
  // The commonest write of all: a text into the array of a row without a side
  // part, which can neither grow the row nor empty it. Answers false, having
  // done nothing, for any other write.
  bool SetTextInPlace(int col, std::string_view text) {
    if (col >= Capacity() || extras_ || text.empty()) return false;
    AssignInArray(col, text);
    return true;
  }

  TCellAttributes Attributes(int col) const;
  void SetObject(int col, void* object);
  void SetColor(int col, TColor color);

  // Empties the texts of the columns fromCol..toCol and shows their objects
  // to the visitor (when there is one), which may release them.
  void EraseColumns(int fromCol, int toCol, int rowIndex, const TCellObjectVisitor& releaseObject);
  void VisitObjects(int rowIndex, const TCellObjectVisitor& visit) const;
  // The non-empty texts, in column order.
  void ForEachText(const TCellTextVisitor& visit) const;

  // An empty string when every invariant holds, else what is broken.
  std::string CheckConsistency() const;

 private:
  struct Extras;

  explicit TCellRow(int capacity) : capacity_(static_cast<std::uint32_t>(capacity)) {}
  ~TCellRow() = default;

  // The cells follow the header in the same block.
  TCellText* Cells() noexcept { return std::launder(reinterpret_cast<TCellText*>(this + 1)); }
  const TCellText* Cells() const noexcept {
    return std::launder(reinterpret_cast<const TCellText*>(this + 1));
  }
  std::string_view FarText(int col) const;
  std::int64_t LiveTexts() const;
  Extras& MakeExtras();
  void DropExtrasIfEmpty() noexcept;

  void AssignInArray(int col, std::string_view text) {
    TCellText& cell = Cells()[col];
    const bool hadText = !cell.Empty();
    cell.Assign(text);
    textCount_ += static_cast<std::uint32_t>(!cell.Empty()) - static_cast<std::uint32_t>(hadText);
  }
  void EraseFarText(int col);
  void MoveFarTextsIntoArray() noexcept;
  static int GrownCapacity(const TCellRow& row, int needed, int capacityHint);
  static std::size_t BlockBytes(int capacity) {
    return sizeof(TCellRow) + static_cast<std::size_t>(capacity) * sizeof(TCellText);
  }
  static void Grow(TRowBlockPool& pool, TCellRow*& row, int capacity);
  static void AbsorbFarTexts(TRowBlockPool& pool, TCellRow*& row, int capacityHint);

  std::uint32_t capacity_;
  std::uint32_t textCount_ = 0;  // non-empty texts in the array
  Extras* extras_ = nullptr;
};

static_assert(sizeof(TCellRow) == 16, "the header is part of every row's block");

}  // namespace kelvora
