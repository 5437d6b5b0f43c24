#include "grid/textio/csv_writer.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <cstring>
#include <filesystem>
#include <limits>
#include <memory>
#include <optional>

#include "grid/cell_grid_error.h"
#include "grid/store/packed_text.h"
#include "grid/textio/byte_block.h"
#include "grid/textio/csv_cell_encoding.h"
#include "grid/textio/word_bytes.h"
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

// What a write reads of the grid before each row. Only a handler can change
// it (progress, or the messages processed during the write), so it is read
// again after each handler has run, not after every row.
struct TWriteRange {
  std::int64_t lastRow;
  std::int64_t firstCol;
  std::int64_t lastCol;
  bool mapped;  // displayed columns are to be mapped to stored ones
  bool wantsProgress;
};

TWriteRange ReadRange(const TCsvCellSource& source, const TCsvSettings& settings) {
  // Without hidden columns every displayed column is its stored column.
  return {LastRow(source, settings), FirstColumn(source, settings), LastColumn(source, settings),
          !settings.IncludeHiddenColumns && source.HiddenColumnCount() != 0, source.WantsProgress()};
}

TCsvCellRules CellRules(const TCsvSettings& settings) {
  return {EffectiveDelimiter(settings.FieldDelimiter), settings.CaretTildeEncoding,
          settings.Multilinecells};
}

// The usual cell is a few bytes long. Held in one word (on a little-endian
// machine: its first byte lowest), it is tested for the bytes that need
// protection all at once, and stored with one move.
std::uint64_t Load4(const char* from) {
  std::uint32_t part;
  std::memcpy(&part, from, sizeof part);
  return part;
}

// 1 to 8 bytes, read as overlapping pieces of fixed size, never past the end.
std::uint64_t ShortTextWord(std::string_view text) {
  const char* from = text.data();
  const std::size_t n = text.size();
  if (n >= 4) return Load4(from) | Load4(from + n - 4) << (8 * (n - 4));
  const auto byte = [&](std::size_t i) { return std::uint64_t{static_cast<unsigned char>(from[i])} << (8 * i); };
  return byte(0) | byte(n / 2) | byte(n - 1);
}

// Builds the lines of a write into a block that goes to the file whole: one
// call per block instead of two per row.
class TCsvLines {
 public:
  // Large enough that the text-file layer writes a block straight through.
  static constexpr std::size_t kBlockBytes = std::size_t{256} << 10;
  static constexpr int kChunk = TCsvCellSource::kRowChunk;

  TCsvLines(TCsvCellSource& source, const TCsvSettings& settings)
      : source_(source),
        settings_(settings),
        rules_(CellRules(settings)),
        lineBreak_(rules_.Multilinecells ? '\r' : rules_.Delimiter),
        block_(kBlockBytes + 4096) {}

  // Adds the row's line with its CR LF and returns its length. Stored
  // columns in order have their texts asked for a row at a time.
  std::size_t AddLine(int row, const TWriteRange& range) {
    const std::size_t start = block_.Size();
    if (range.mapped || settings_.OemConvert) {
      AddCellsOneByOne(row, range.firstCol, range.lastCol, range.mapped);
    } else {
      AddCellsByRow(row, range.firstCol, range.lastCol);
    }
    block_.Reserve(2);
    block_.PutByte('\r');
    block_.PutByte('\n');
    return block_.Size() - start;
  }

  bool BlockFull() const { return block_.Size() >= kBlockBytes; }

  void WriteBlock(TTextWriter& file) {
    if (block_.Size() == 0) return;
    file.Write(block_.View());
    block_.Clear();
  }

 private:
  void AddCellsByRow(int row, std::int64_t first, std::int64_t last) {
    for (std::int64_t from = first; from <= last; from += kChunk) {
      const std::int64_t to = std::min(last, from + kChunk - 1);
      if constexpr (std::endian::native == std::endian::little) {
        if (source_.RowPackedTexts(row, static_cast<int>(from), static_cast<int>(to), packed_)) {
          AddPackedCells(static_cast<int>(to - from + 1), from != first);
          continue;
        }
      }
      source_.RowTexts(row, static_cast<int>(from), static_cast<int>(to), texts_);
      for (std::int64_t col = from; col <= to; ++col) AddCell(texts_[col - from], col != first);
    }
  }

  void AddCellsOneByOne(int row, std::int64_t first, std::int64_t last, bool mapped) {
    for (std::int64_t col = first; col <= last; ++col) {
      const int index = static_cast<int>(col);
      AddCell(CellText(mapped ? source_.DisplayToDataColumn(index) : index, row), col != first);
    }
  }

  // The packed texts (see RowPackedTexts) of one chunk. One that needs no
  // protection goes out as one word, its delimiter in front; the others take
  // the usual way. The end of the block is kept in a local between cells:
  // through the block's own size every cell would wait on the one before.
  void AddPackedCells(int count, bool delimitFirst) {
    const char delimiter = rules_.Delimiter;
    const char lineBreak = lineBreak_;
    block_.Reserve(8 * static_cast<std::size_t>(count));
    char* end = block_.End();
    for (int i = 0; i < count; ++i) {
      const std::uint64_t packed = packed_[i];
      const std::size_t n = TPackedText::Length(packed);
      const std::uint64_t text = TPackedText::Bytes(packed);
      const bool delimited = i != 0 || delimitFirst;
      if (n == 0 || WordHoldsEither(text, delimiter, lineBreak)) {
        block_.MoveEnd(end);
        AddUnpackedCell(text, n, delimited);
        block_.Reserve(8 * static_cast<std::size_t>(count - i));
        end = block_.End();
        continue;
      }
      const std::uint64_t word = delimited ? text << 8 | static_cast<unsigned char>(delimiter) : text;
      std::memcpy(end, &word, sizeof word);
      end += n + delimited;
    }
    block_.MoveEnd(end);
  }

  void AddUnpackedCell(std::uint64_t text, std::size_t n, bool delimited) {
    char bytes[sizeof text];
    std::memcpy(bytes, &text, sizeof text);
    AddCell({bytes, n}, delimited);
  }

  void AddCell(std::string_view text, bool delimited) {
    block_.Reserve(16);
    if (delimited) block_.PutByte(rules_.Delimiter);
    if constexpr (std::endian::native == std::endian::little) {
      if (text.size() - 1 < 8) {
        const std::uint64_t word = ShortTextWord(text);
        if (!WordHoldsEither(word, rules_.Delimiter, lineBreak_))
          return block_.PutWord(word, text.size());
      }
    } else if (IsPlainCsvCell(text, rules_)) {
      return block_.PutShort(text);
    }
    unusual_.clear();
    AppendUnusualCsvCell(unusual_, text, rules_);
    block_.Append(unusual_);
  }

  std::string_view CellText(int dataCol, int row) {
    const std::string_view text = source_.CellText(dataCol, row);
    if (!settings_.OemConvert) return text;
    oemText_ = ToOemCodePage(text);
    return oemText_;
  }

  TCsvCellSource& source_;
  const TCsvSettings& settings_;
  const TCsvCellRules rules_;
  const char lineBreak_;  // the other byte that makes a cell need protection
  TByteBlock block_;
  std::string_view texts_[kChunk];
  std::uint64_t packed_[kChunk];
  std::string unusual_;
  std::string oemText_;
};

// Progress is fired only when the percentage differs from the last row's.
class TProgressReporter {
 public:
  explicit TProgressReporter(TCsvCellSource& source) : source_(source) {}

  // The percentage to fire after the row, if any.
  std::optional<short> ChangeAfter(std::int64_t row, const TWriteRange& range) {
    if (!range.wantsProgress) return std::nullopt;
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
  TWriteRange range = ReadRange(source, settings);
  for (std::int64_t row = FirstRow(source, settings); row <= range.lastRow; ++row) {
    const std::size_t lineBytes = lines.AddLine(static_cast<int>(row), range);
    if (lines.BlockFull()) lines.WriteBlock(file);
    if (const auto percent = progress.ChangeAfter(row, range)) {
      lines.WriteBlock(file);
      source.ReportProgress(*percent);
      range = ReadRange(source, settings);
    }
    if (pacer.RowWritten(lineBytes)) {
      lines.WriteBlock(file);
      source.ProcessMessages();
      range = ReadRange(source, settings);
    }
  }
  lines.WriteBlock(file);
}

}  // namespace

void TCsvCellSource::RowTexts(int row, int first, int last, std::string_view* out) {
  for (int col = first; col <= last; ++col) {
    std::string& kept = rowTexts_[col - first];
    kept.assign(CellText(col, row));
    out[col - first] = kept;
  }
}

bool TCsvCellSource::RowPackedTexts(int, int, int, std::uint64_t*) { return false; }

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
  try {
    WriteRows(source, settings, file, pacer);
    file.Close();
  } catch (const EInOutError& error) {
    // "Disk full" alone does not say which of a person's files it was.
    throw EInOutError(error.ErrorCode(), "Cannot write file " + fileName + ": " + error.Message());
  }
}

}  // namespace kelvora
