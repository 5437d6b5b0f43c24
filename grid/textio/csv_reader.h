#pragma once

#include <cstdint>
#include <string>

#include "grid/store/cell_store.h"
#include "grid/textio/csv_field_reader.h"
#include "grid/textio/csv_writer.h"
#include "grid/textio/message_pacer.h"

namespace kelvora {

// The reading rules that mirror what the writer makes of the settings.
TCsvReadRules CsvReadRules(const TCsvSettings& settings);

// What the reader tells the grid while it reads.
class TCsvReadEvents {
 public:
  virtual ~TCsvReadEvents() = default;
  virtual bool WantsProgress() const = 0;
  virtual void ReportProgress(short percent) = 0;
  virtual void ProcessMessages() = 0;
};

// How many rows the file held, and how many fields its widest row.
struct TCsvShape {
  std::int64_t Rows = 0;
  std::int64_t Cols = 0;
};

// Reads a delimited text file into `into` (an empty store of the caller's),
// cell (0, 0) first, in blocks, so that memory beside the cells stays
// bounded whatever the file's size. Progress is the share of the file's
// bytes read, fired as the writer fires it: only when the percentage
// changes.
//
// Raises ECellGridError naming the file: "Cannot read file NAME: why" when it
// cannot be opened or read, is a folder or a pipe, or changed while it was
// read; "Cannot read file NAME, line N: why" when its text is no table the
// grid can hold. The store then holds part of the file; the caller drops it.
TCsvShape ReadCsvFile(const std::string& fileName, const TCsvReadRules& rules, const TCsvReadLimits& limits,
                      TCellStore& into, TCsvReadEvents& events, TMessagePacer& pacer);

}  // namespace kelvora
