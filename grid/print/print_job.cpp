#include "grid/print/print_job.h"

#include <algorithm>

#include "grid/cell_grid_error.h"
#include "grid/print/page_layout.h"
#include "grid/print/page_painter.h"

namespace kelvora {
namespace {

TPageLayout LayOut(TPrintSource& grid, const TPrintSettings& settings, TSize page, TCanvas& measurer) {
  return TPageLayout(grid, settings, MeasurePrintArea(measurer, page, settings));
}

struct TPageRange {
  int First;
  int Last;
};

TPageRange RangeOf(const TPrintSettings& settings, int pages) {
  const TPageRange range{std::max(settings.FromPage, 1), settings.ToPage > 0 ? std::min(settings.ToPage, pages) : pages};
  if (range.First > range.Last)
    throw ECellGridError("Nothing to print: the grid makes " + std::to_string(pages) + " pages, and the range " +
                         std::to_string(range.First) + " to " + std::to_string(settings.ToPage > 0 ? settings.ToPage : pages) +
                         " holds none of them");
  return range;
}

}  // namespace

int CountPrintPages(TPrintSource& grid, const TPrintSettings& settings, TSize page, TCanvas& measurer) {
  return LayOut(grid, settings, page, measurer).PageCount();
}

bool PrintGrid(const TPrintJob& job) {
  const TPageLayout layout = LayOut(job.Grid, job.Settings, job.Target.PageSize(), job.Target.Measurer());
  const TPageRange range = RangeOf(job.Settings, layout.PageCount());
  const int last = range.First + std::min(range.Last - range.First, job.MostPages - 1);
  const int total = last - range.First + 1;
  TPrintFields fields{range.First, layout.PageCount(), job.Date, job.Time};
  std::optional<TPrintPage> page = layout.Page(range.First);
  for (; page && page->Number <= last; page = layout.NextPage(*page)) {
    fields.Page = page->Number;
    PaintPage(job.Target, job.Grid, layout, *page, job.Settings, fields);
    if (!job.Progress.PagePrinted(page->Number - range.First + 1, total)) return false;
  }
  job.Target.Finish();
  return true;
}

}  // namespace kelvora
