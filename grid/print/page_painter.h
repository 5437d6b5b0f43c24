#pragma once

#include "grid/print/page_layout.h"
#include "grid/print/print_fields.h"
#include "grid/print/print_settings.h"
#include "grid/print/print_source.h"
#include "toolkit/canvas.h"
#include "toolkit/print_target.h"

namespace kelvora {

// The room a page of the target leaves for the grid once the title, the
// header and the footer have theirs.
TPrintArea MeasurePrintArea(TCanvas& measurer, TSize page, const TPrintSettings& settings);

// Paints one page: the title and the header above, the footer below, in
// the page's own size, and between them the page's cells at the layout's
// scale, with the grid lines the screen shows between them.
void PaintPage(TPrintTarget& target, TPrintSource& grid, const TPageLayout& layout, const TPrintPage& page,
               const TPrintSettings& settings, const TPrintFields& fields);

}  // namespace kelvora
