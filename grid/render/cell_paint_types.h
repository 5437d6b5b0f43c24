#pragma once

#include "toolkit/set.h"

namespace kelvora {

// The small types that painting shares with the grid's settings and events.

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TVAlignment { vtaTop, vtaCenter, vtaBottom };

enum TCellBorder { cbTop, cbLeft, cbRight, cbBottom };
using TCellBorders = TSet<TCellBorder>;

enum TBackgroundDisplay { bdTile, bdFixed };
enum TBackgroundCells { bcNormal, bcFixed };

}  // namespace kelvora
