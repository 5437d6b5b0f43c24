// Key-ups: the end of an incremental search, the editor back after arrows.
#include "grid/cell_grid.h"
#include "toolkit/keys.h"

namespace kelvora {
namespace {

bool IsArrow(int key) { return key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN; }

bool EndsSearch(int key) {
  switch (key) {
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_HOME:
    case VK_INSERT:
    case VK_DELETE: return true;
    default: return IsArrow(key);
  }
}

}  // namespace

// The edit box hands its key-ups here too; an arrow that moved inside its
// text leaves it open, so there is nothing to re-open.
void TCellGrid::KeyUp(int& Key, TShiftState Shift) {
  TCustomGrid::KeyUp(Key, Shift);
  if (EndsSearch(Key)) search_.Clear();
  if (navigation_.AlwaysEdit && IsArrow(Key) && Options().contains(goEditing) && !EditorShowing()) ShowEditor();
}

}  // namespace kelvora
