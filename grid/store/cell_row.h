#pragma once

#include <cstddef>
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

// One stored row, as the store's table holds it: eight bytes that lead to a
// single block from the store's pool, an array of cells indexed by column.
// Columns the array does not reach (far to the right, or too sparse to be
// worth the array's memory) and the rare cells with an object or a colour sit
// in a side part that a plain row does not have. Since that side part hangs
// off the row, objects and colours travel with their row whenever rows move.
//
// A million date rows are a million blocks of seven cells, so the block of a
// plain narrow row is its cells and nothing else: the eight bytes carry the
// array's width and the cells' address, and whether the row is empty is
// answered by looking at its few cells. A row with a side part, a wide array
// (which keeps a count of its texts, so that it need not be searched) or no
// array at all has a header in front of its cells instead.
//
// The value is a handle, copied like a pointer: the store creates and
// destroys rows, each with the pool it is handed, and a row that rebuilds its
// block (to grow, or to take a header) changes the handle it was called on.
// The default value is no row.
class TCellRow {
 public:
  // The array stops here; columns at or past it always go to the side part.
  static constexpr int kMaxArrayColumns = 65535;

  TCellRow() noexcept = default;
  explicit operator bool() const noexcept { return handle_ != 0; }

  static TCellRow Create(TRowBlockPool& pool, int capacity);
  static void Destroy(TRowBlockPool& pool, TCellRow row) noexcept;
  // The array size for a new row whose first text goes to the given column.
  static int InitialCapacity(int col, int capacityHint);

  int Capacity() const noexcept { return static_cast<int>(handle_ >> kCapacityShift); }
  bool Empty() const noexcept {
    if (!HasHeader()) return !AnyTextInArray();
    return Header().textCount == 0 && Header().extras == nullptr;
  }

  std::string_view Text(int col) const {
    if (col < Capacity()) return Cells()[col].View();
    const Extras* extras = SideExtras();
    return extras ? FarText(*extras, col) : std::string_view();
  }
  // The packed texts (TPackedText) of columns fromCol..toCol, as long as
  // every text among them is inline; false, at the first that is not.
  bool InlineWords(int fromCol, int toCol, std::uint64_t* out) const {
    const TCellText* cells = Cells();
    for (int col = fromCol; col <= toCol; ++col) {
      if (col >= Capacity()) {
        if (SideExtras()) return false;
        *out++ = TCellText::kEmptyWord;
        continue;
      }
      const std::uint64_t word = cells[col].Word();
      if (!TPackedText::IsPacked(word)) return false;
      *out++ = word;
    }
    return true;
  }
  // A hint only: starts fetching the cell, for a walk down a column.
  void Prefetch(int col) const noexcept {
    if (col < Capacity()) __builtin_prefetch(Cells() + col);
  }
  void SetText(TRowBlockPool& pool, int col, std::string_view text, int capacityHint);
  // The commonest write of all: a text into the array of a row without a side
  // part, which can neither grow the row nor empty it. Answers false, having
  // done nothing, for any other write.
  bool SetTextInPlace(int col, std::string_view text) {
    if (col >= Capacity() || text.empty()) return false;
    if (!HasHeader()) {
      Cells()[col].Assign(text);
      return true;
    }
    if (Header().extras) return false;
    AssignCounted(col, text);
    return true;
  }

  TCellAttributes Attributes(int col) const;
  // Whether any cell of the row carries an object or a colour.
  bool HasAttributes() const noexcept {
    const Extras* extras = SideExtras();
    return extras && AnyAttributes(*extras);
  }
  void SetObject(TRowBlockPool& pool, int col, void* object);
  void SetColor(TRowBlockPool& pool, int col, TColor color);

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
  struct THeader {
    Extras* extras = nullptr;
    std::uint32_t textCount = 0;  // non-empty texts in the array
  };

  // The top 16 bits hold the capacity, which kMaxArrayColumns keeps within
  // them; the rest is the address of the cells, whose low bits are free since
  // they are aligned, and the lowest of those says whether a header comes
  // first. User-space addresses leave the top bits clear; Make checks.
  static constexpr int kCapacityShift = 48;
  static constexpr std::uint64_t kHeaderTag = 1;
  static constexpr std::uint64_t kAddressMask = ((std::uint64_t{1} << kCapacityShift) - 1) & ~std::uint64_t{7};
  static_assert(kMaxArrayColumns < (1 << (64 - kCapacityShift)), "the capacity must fit its bits");
  static_assert(alignof(THeader) <= 8 && sizeof(THeader) % alignof(TCellText) == 0);

  explicit TCellRow(std::uint64_t handle) noexcept : handle_(handle) {}

  static TCellRow Make(TRowBlockPool& pool, int capacity, bool withHeader);
  static bool NeedsHeader(int capacity);
  static std::size_t BlockBytes(int capacity, bool withHeader) {
    return (withHeader ? sizeof(THeader) : 0) + static_cast<std::size_t>(capacity) * sizeof(TCellText);
  }

  bool HasHeader() const noexcept { return (handle_ & kHeaderTag) != 0; }
  std::uintptr_t CellsAddress() const noexcept { return static_cast<std::uintptr_t>(handle_ & kAddressMask); }
  void* Block() const noexcept {
    return reinterpret_cast<char*>(CellsAddress()) - (HasHeader() ? sizeof(THeader) : 0);
  }
  TCellText* Cells() const noexcept { return std::launder(reinterpret_cast<TCellText*>(CellsAddress())); }
  // Only for a row that has a header.
  THeader& Header() const noexcept {
    return *std::launder(reinterpret_cast<THeader*>(CellsAddress() - sizeof(THeader)));
  }
  Extras* SideExtras() const noexcept { return HasHeader() ? Header().extras : nullptr; }

  static std::string_view FarText(const Extras& extras, int col);
  static bool AnyAttributes(const Extras& extras) noexcept;
  bool AnyTextInArray() const noexcept;
  std::int64_t ArrayTexts() const noexcept;
  std::int64_t LiveTexts() const;
  Extras& MakeExtras(TRowBlockPool& pool);
  void DropExtrasIfEmpty() noexcept;
  template <typename Change>
  void ChangeAttributes(TRowBlockPool& pool, int col, Change change);

  void AssignInArray(int col, std::string_view text) {
    if (HasHeader()) {
      AssignCounted(col, text);
    } else {
      Cells()[col].Assign(text);
    }
  }
  void AssignCounted(int col, std::string_view text) {
    TCellText& cell = Cells()[col];
    const bool hadText = !cell.Empty();
    cell.Assign(text);
    Header().textCount += static_cast<std::uint32_t>(!cell.Empty()) - static_cast<std::uint32_t>(hadText);
  }
  void EraseFarText(int col);
  void MoveFarTextsIntoArray() noexcept;
  int GrownCapacity(int needed, int capacityHint) const;
  void Rebuild(TRowBlockPool& pool, int capacity, bool withHeader);
  void Grow(TRowBlockPool& pool, int capacity);
  void AbsorbFarTexts(TRowBlockPool& pool, int capacityHint);

  std::uint64_t handle_ = 0;
};

static_assert(sizeof(TCellRow) == 8, "every row has a slot in the store's table");

}  // namespace kelvora
