#include "grid/textio/csv_writer.h"

#include <algorithm>
#include <filesystem>
#include <limits>
#include <optional>

#include "grid/textio/cell_grid_error.h"
#include "grid/textio/csv_cell_encoding.h"
#include "toolkit/byte_text.h"
#include "toolkit/exceptions.h"
#include "toolkit/text_file.h"

namespace kelvora {
namespace {

constexpr std::int64_t kMaxIndex = std::numeric_limits<int>::max();

// Fixed counts below zero mean nothing; reading them as zero keeps every
// index handed to the source at zero or above.
std::int64_t NonNegative(int count) { return std::max(count, 0); }

std::int64_t FirstRow(const TCsvCellSource& source, const TCsvSettings& settings) {
  return settings.IncludeFixedCells ? 0 : NonNegative(source.FixedRows());
}

std::int64_t LastRow(const TCsvCellSource& source, const TCsvSettings& settings) {
  const std::int64_t last = std::int64_t{source.RowCount()} - 1;
  return settings.IncludeFixedCells ? last : last - NonNegative(source.FixedFooters());
}

std::int64_t FirstColumn(const TCsvCellSource& source, const TCsvSettings& settings) {
  return settings.IncludeFixedCells ? 0 : NonNegative(source.FixedCols());
}

std::int64_t LastColumn(const TCsvCellSource& source, const TCsvSettings& settings) {
  std::int64_t last = std::int64_t{source.ColCount()} - 1;
  if (!settings.IncludeFixedCells) last -= NonNegative(source.FixedRightCols());
  if (settings.IncludeHiddenColumns) last += NonNegative(source.HiddenColumnCount());
  return std::min(last, kMaxIndex);
}

TCsvCellRules CellRules(const TCsvSettings& settings) {
  return {EffectiveDelimiter(settings.FieldDelimiter), settings.CaretTildeEncoding,
          settings.Multilinecells};
}

// Builds the lines of a write into a block that goes to the file whole: one
// call per block instead of two per row.
class TCsvLines {
 public:
  // Large enough that the text-file layer writes a block straight through.
  static constexpr std::size_t kBlockBytes = std::size_t{256} << 10;

  TCsvLines(TCsvCellSource& source, const TCsvSettings& settings)
      : source_(source), settings_(settings), rules_(CellRules(settings)) {
    block_.reserve(kBlockBytes + 4096);
  }

  // Adds the row's line with its CR LF and returns its length. The column
  // range is read afresh for every row: handlers run between rows and may
  // have changed it. Within a row nothing else runs, so the range read at
  // its start holds to its end.
  std::size_t AddLine(int row) {
    const std::size_t start = block_.size();
    const std::int64_t first = FirstColumn(source_, settings_);
    const std::int64_t last = LastColumn(source_, settings_);
    // Without hidden columns every displayed column is its stored column.
    const bool mapped = !settings_.IncludeHiddenColumns && source_.HiddenColumnCount() != 0;
    for (std::int64_t col = first; col <= last; ++col) {
      if (col != first) block_ += rules_.Delimiter;
      const int index = static_cast<int>(col);
      AppendCsvCell(block_, CellText(mapped ? source_.DisplayToDataColumn(index) : index, row), rules_);
    }
    block_ += "\r\n";
    return block_.size() - start;
  }

  bool BlockFull() const { return block_.size() >= kBlockBytes; }

  void WriteBlock(TTextWriter& file) {
    if (block_.empty()) return;
    file.Write(block_);
    block_.clear();
  }

 private:
  std::string_view CellText(int dataCol, int row) {
    const std::string_view text = source_.CellText(dataCol, row);
    if (!settings_.OemConvert) return text;
    oemText_ = ToOemCodePage(text);
    return oemText_;
  }

  TCsvCellSource& source_;
  const TCsvSettings& settings_;
  const TCsvCellRules rules_;
  std::string block_;
  std::string oemText_;
};

// Progress is fired only when the percentage differs from the last row's.
class TProgressReporter {
 public:
  explicit TProgressReporter(TCsvCellSource& source) : source_(source) {}

  // The percentage to fire after the row, if any.
  std::optional<short> ChangeAfter(std::int64_t row) {
    if (!source_.WantsProgress()) return std::nullopt;
    const short percent = CsvProgressPercent(row, source_.RowCount());
    if (percent == last_) return std::nullopt;
    last_ = percent;
    return percent;
  }

 private:
  TCsvCellSource& source_;
  short last_ = -1;
};

bool OpensForReading(const std::string& fileName) {
  try {
    TTextReader reader;
    reader.AssignFile(fileName);
    reader.Reset();
    reader.Close();
    return true;
  } catch (const EInOutError&) {
    return false;
  }
}

// A file that exists but may not be read (write-only) is still appended to:
// creating it afresh would throw its old content away.
bool ExistsForAppending(const std::string& fileName) {
  if (OpensForReading(fileName)) return true;
  std::error_code error;
  const auto status = std::filesystem::status(fileName, error);
  return !error && std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

void CreateFile(TTextWriter& file, const std::string& fileName, bool replacing) {
  try {
    file.AssignFile(fileName);
    if (replacing) {
      file.RewriteReplacing();
    } else {
      file.Rewrite();
    }
  } catch (const EInOutError&) {
    throw ECellGridError("Cannot create file " + fileName);
  }
}

// A new file written from the start replaces an old one only when complete.
// An append adds to the file in place: its old content is kept either way,
// and the rows written before a failure stay there.
void OpenFile(TTextWriter& file, const std::string& fileName, bool append) {
  if (!append) {
    CreateFile(file, fileName, true);
  } else if (ExistsForAppending(fileName)) {
    file.AssignFile(fileName);
    file.Append();
  } else {
    CreateFile(file, fileName, false);
  }
}

// Before any handler runs, the rows built so far go to the file, so that in
// place they stay there even if the handler fails.
void WriteRows(TCsvCellSource& source, const TCsvSettings& settings, TTextWriter& file,
               TMessagePacer& pacer) {
  TCsvLines lines(source, settings);
  TProgressReporter progress(source);
  for (std::int64_t row = FirstRow(source, settings); row <= LastRow(source, settings); ++row) {
    const std::size_t lineBytes = lines.AddLine(static_cast<int>(row));
    if (lines.BlockFull()) lines.WriteBlock(file);
    if (const auto percent = progress.ChangeAfter(row)) {
      lines.WriteBlock(file);
      source.ReportProgress(*percent);
    }
    if (pacer.RowWritten(lineBytes)) {
      lines.WriteBlock(file);
      source.ProcessMessages();
    }
  }
  lines.WriteBlock(file);
}

}  // namespace

short CsvProgressPercent(std::int64_t row, std::int64_t rowCount) {
  const std::int64_t divisor = rowCount - 1;
  if (divisor <= 0) return 100;
  // Whole numbers keep the halves exact, so they round to even every time.
  const std::int64_t scaled = std::clamp<std::int64_t>(row, 0, divisor) * 100;
  std::int64_t percent = scaled / divisor;
  const std::int64_t twiceRemainder = 2 * (scaled % divisor);
  if (twiceRemainder > divisor || (twiceRemainder == divisor && percent % 2 == 1)) ++percent;
  return static_cast<short>(percent);
}

void WriteCsvFile(TCsvCellSource& source, const TCsvSettings& settings,
                  const std::string& fileName, bool append) {
  TMessagePacer pacer;
  WriteCsvFile(source, settings, fileName, append, pacer);
}

void WriteCsvFile(TCsvCellSource& source, const TCsvSettings& settings,
                  const std::string& fileName, bool append, TMessagePacer& pacer) {
  TTextWriter file;
  OpenFile(file, fileName, append);
  WriteRows(source, settings, file, pacer);
  file.Close();
}

}  // namespace kelvora
