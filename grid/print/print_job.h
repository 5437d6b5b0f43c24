#pragma once

#include <climits>
#include <string>

#include "grid/print/print_fields.h"
#include "grid/print/print_settings.h"
#include "grid/print/print_source.h"
#include "toolkit/print_progress.h"
#include "toolkit/print_target.h"

namespace kelvora {

struct TPrintJob {
  TPrintTarget& Target;
  TPrintSource& Grid;
  const TPrintSettings& Settings;
  std::string Date;  // when the job began, for the fields
  std::string Time;
  TPrintProgress& Progress;
  int MostPages = INT_MAX;  // a preview shows no more than this
};

// How many pages the grid makes on a page of this size.
int CountPrintPages(TPrintSource& grid, const TPrintSettings& settings, TSize page, TCanvas& measurer);

// Prints the pages of the settings' range, one at a time, and finishes the
// target; the progress hears of each page. Answers false when the person
// stopped the job: the target is then left unfinished, for its owner to
// drop. A range that holds no page raises ECellGridError before anything
// is printed.
bool PrintGrid(const TPrintJob& job);

}  // namespace kelvora
