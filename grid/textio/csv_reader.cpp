#include "grid/textio/csv_reader.h"

#include <algorithm>

#include "grid/cell_grid_error.h"
#include "grid/textio/csv_cell_encoding.h"
#include "toolkit/exceptions.h"
#include "toolkit/file_blocks.h"

namespace kelvora {
namespace {

// The cells of the file into a store; rows made after the first record
// reserve room for as many columns as it had.
class TStoreSink : public TCsvCellSink {
 public:
  explicit TStoreSink(TCellStore& store) : store_(store) {}

  void Cell(std::int64_t col, std::int64_t row, std::string_view text) override {
    store_.SetText(static_cast<int>(col), static_cast<int>(row), text);
  }
  void RowEnded(std::int64_t row, std::int64_t cols) override {
    if (row == 0) store_.SetColumnCapacityHint(static_cast<int>(cols));
  }

 private:
  TCellStore& store_;
};

// Fired only when the share of the bytes read moves to another percent.
class TReadProgress {
 public:
  TReadProgress(TCsvReadEvents& events, std::int64_t size) : events_(events), size_(size) {}

  void After(std::int64_t bytesRead) {
    if (!events_.WantsProgress()) return;
    const short percent = CsvProgressPercent(std::min(bytesRead, size_), size_ + 1);
    if (percent == last_) return;
    last_ = percent;
    events_.ReportProgress(percent);
  }

 private:
  TCsvReadEvents& events_;
  std::int64_t size_;
  short last_ = -1;
};

[[noreturn]] void RaiseCannotRead(const std::string& fileName, const std::string& why) {
  throw ECellGridError("Cannot read file " + fileName + ": " + why);
}

void ReadBlocks(TFileBlocks& file, TCsvFieldReader& reader, TCsvReadEvents& events, TMessagePacer& pacer) {
  TReadProgress progress(events, file.Size());
  for (std::string_view block = file.Next(); !block.empty(); block = file.Next()) {
    reader.Feed(block);
    progress.After(file.BytesRead());
    if (pacer.RowWritten(block.size())) events.ProcessMessages();
  }
  reader.Finish();
  progress.After(file.Size());
}

}  // namespace

TCsvReadRules CsvReadRules(const TCsvSettings& settings) {
  return {EffectiveDelimiter(settings.FieldDelimiter), settings.CaretTildeEncoding, settings.Multilinecells,
          settings.OemConvert};
}

TCsvShape ReadCsvFile(const std::string& fileName, const TCsvReadRules& rules, const TCsvReadLimits& limits,
                      TCellStore& into, TCsvReadEvents& events, TMessagePacer& pacer) {
  TStoreSink sink(into);
  try {
    TCsvFieldReader reader(rules, limits, sink);
    TFileBlocks file(fileName);
    ReadBlocks(file, reader, events, pacer);
    if (file.ChangedSinceOpen()) RaiseCannotRead(fileName, "it changed while it was read");
    return {reader.Rows(), reader.Cols()};
  } catch (const TCsvFormatError& error) {
    throw ECellGridError("Cannot read file " + fileName + ", line " + std::to_string(error.Line()) + ": " +
                         error.what());
  } catch (const EInOutError& error) {
    RaiseCannotRead(fileName, error.Message());
  }
}

}  // namespace kelvora
