// The cell grid against a small model of what it promises: a map of cells,
// two counts and the hidden columns; CSV files are written and read back
// into ranges too. A seeded random sequence of operations
// is applied to both, and after every operation the grid must show exactly
// what the model holds, its store must pass its own check, and a CSV written
// now must be what the model says. A failure names the seed and the shortest
// sequence of operations it could find that still fails.
//
// Each operation is one entry of the table in Operations(): adding one is
// one more entry.

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <array>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iomanip>
#include <iterator>
#include <map>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cell_grid_test_support.h"

namespace kelvora {
namespace {

// Small enough that cells collide often, large enough for hidden columns
// and rows that move past the row count.
constexpr int kCols = 10;
constexpr int kRows = 24;

// ---------------------------------------------------------------------------
// The model

struct TModel {
  std::map<std::pair<int, int>, std::string> cells;  // (stored column, row)
  int colCount = 1;
  int rowCount = 1;
  std::array<bool, TCellGrid::kHideableColumns> hidden{};

  int HiddenCount() const { return static_cast<int>(std::count(hidden.begin(), hidden.end(), true)); }
  int DisplayOf(int dataCol) const {
    return static_cast<int>(std::count(hidden.begin(), hidden.begin() + dataCol, false));
  }
  int DataOf(int displayCol) const {
    for (int col = 0, shown = 0; col < TCellGrid::kHideableColumns; ++col)
      if (!hidden[col] && shown++ == displayCol) return col;
    return displayCol + HiddenCount();
  }
  std::string Cell(int col, int row) const {
    const auto it = cells.find({col, row});
    return it == cells.end() ? std::string() : it->second;
  }
  void Set(int col, int row, const std::string& text) {
    if (text.empty()) {
      cells.erase({col, row});
    } else {
      cells[{col, row}] = text;
    }
  }
  void Erase(int fromCol, int fromRow, int toCol, int toRow) {
    std::erase_if(cells, [&](const auto& cell) {
      const auto [col, row] = cell.first;
      return col >= fromCol && col <= toCol && row >= fromRow && row <= toRow;
    });
  }
  // Every stored row from `from` on moves by `by`; a row moved onto from - 1
  // by a deletion is the deleted one, which is gone first.
  void ShiftRows(int from, int by) {
    std::map<std::pair<int, int>, std::string> moved;
    for (auto& [at, text] : cells)
      moved[{at.first, at.second >= from ? at.second + by : at.second}] = std::move(text);
    cells = std::move(moved);
  }
  int LastStoredRow() const {
    int last = 0;
    for (const auto& cell : cells) last = std::max(last, cell.first.second);
    return last;
  }
};

// The CSV the model promises, with the main window's settings: a comma, no
// multi-line cells, every displayed column of every row.
std::string ModelCsv(const TModel& model) {
  std::string csv;
  for (int row = 0; row < model.rowCount; ++row) {
    for (int col = 0; col < model.colCount; ++col) {
      if (col != 0) csv += ',';
      std::string text = model.Cell(model.DataOf(col), row);
      if (text.empty()) text = "\"\"";
      if (text.find(',') == std::string::npos) {
        csv += text;
        continue;
      }
      csv += '"';
      for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) csv += text[i];
      csv += '"';
    }
    csv += "\r\n";
  }
  return csv;
}

// ---------------------------------------------------------------------------
// The operations

struct TOp {
  int kind = 0;  // index into Operations()
  int a = 0, b = 0, c = 0, d = 0;
  std::string text;
};

// One operation: how a random one is drawn, and how it is applied to the
// model and to the grid. An operation that does not fit the state it meets
// (a shortened sequence may bring it there) is skipped by both alike.
struct TOperation {
  const char* name;
  int weight;  // how often it is drawn, against the others
  std::function<TOp(std::mt19937&)> draw;
  std::function<bool(const TOp&, const TModel&)> fits;  // empty: always
  std::function<void(const TOp&, TModel&)> model;
  std::function<void(const TOp&, TCellGrid&)> grid;
};

int Uniform(std::mt19937& random, int from, int to) { return std::uniform_int_distribution(from, to)(random); }

// Texts with the bytes that matter to a CSV file and to short-text storage:
// delimiters, quotes, line breaks, high bytes, and lengths on both sides of
// what fits inside a cell.
std::string RandomText(std::mt19937& random) {
  static constexpr char kBytes[] = {'a', 'b', 'Z', '0', ',', '"', '\r', '\n', ' ', '\xe9', '\0'};
  const int length = Uniform(random, 0, 3) == 0 ? Uniform(random, 0, 40) : Uniform(random, 0, 6);
  std::string text;
  for (int i = 0; i < length; ++i) text += kBytes[Uniform(random, 0, sizeof kBytes - 1)];
  return text;
}

// A block of cells for ReadCsvFile: rows of one to three fields, ragged,
// kept in the op's text with a tab between fields and a line feed between
// rows. The texts stay clear of what the writer's dialect treats specially
// (quotes, line breaks) but do hold its delimiter, inside quotes.
std::string RandomCsvBlock(std::mt19937& random) {
  static constexpr char kBytes[] = {'a', 'Z', '0', ' ', ',', '\xe9'};
  std::string block;
  for (int row = Uniform(random, 1, 4); row > 0; --row) {
    for (int field = Uniform(random, 1, 3); field > 0; --field) {
      for (int length = Uniform(random, 0, 9); length > 0; --length) block += kBytes[Uniform(random, 0, 5)];
      if (field > 1) block += '\t';
    }
    if (row > 1) block += '\n';
  }
  return block;
}

std::vector<std::vector<std::string>> CsvBlockRows(const std::string& block) {
  std::vector<std::vector<std::string>> rows(1, std::vector<std::string>(1));
  for (const char ch : block) {
    if (ch == '\n') rows.emplace_back(1);
    else if (ch == '\t') rows.back().emplace_back();
    else rows.back().back() += ch;
  }
  return rows;
}

std::size_t CsvBlockWidth(const std::vector<std::vector<std::string>>& rows) {
  std::size_t width = 0;
  for (const auto& row : rows) width = std::max(width, row.size());
  return width;
}

// The block as a CSV file of the main window's dialect, in a folder of the
// process's own.
std::string WriteCsvBlock(const std::string& block) {
  static QTemporaryDir folder;
  const std::string path = folder.filePath("read.csv").toStdString();
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  for (const auto& row : CsvBlockRows(block)) {
    for (std::size_t field = 0; field < row.size(); ++field) {
      if (field != 0) out << ',';
      const std::string& text = row[field];
      out << (text.empty() || text.find(',') != std::string::npos ? '"' + text + '"' : text);
    }
    out << "\r\n";
  }
  return path;
}

const std::vector<TOperation>& Operations() {
  static const std::vector<TOperation> operations = {
      {"SetCells", 40,
       [](std::mt19937& r) {
         return TOp{0, Uniform(r, 0, kCols - 1), Uniform(r, 0, kRows - 1), 0, 0, RandomText(r)};
       },
       {},
       [](const TOp& op, TModel& m) { m.Set(op.a, op.b, op.text); },
       [](const TOp& op, TCellGrid& g) { g.SetCells(op.a, op.b, op.text); }},
      {"EraseCellRange", 6,
       [](std::mt19937& r) {
         return TOp{0, Uniform(r, 0, kCols - 1), Uniform(r, 0, kRows - 1), Uniform(r, -1, kCols),
                    Uniform(r, -1, kRows), {}};
       },
       {},
       [](const TOp& op, TModel& m) { m.Erase(op.a, op.b, op.c, op.d); },
       [](const TOp& op, TCellGrid& g) { g.EraseCellRange(op.a, op.b, op.c, op.d); }},
      {"EraseAllCells", 1, [](std::mt19937&) { return TOp{}; }, {},
       [](const TOp&, TModel& m) {
         if (m.rowCount > 0 && m.colCount > 0) m.Erase(0, 0, m.colCount - 1 + m.HiddenCount(), m.rowCount - 1);
       },
       [](const TOp&, TCellGrid& g) { g.EraseAllCells(); }},
      {"EraseRowRange", 4,
       [](std::mt19937& r) { return TOp{0, Uniform(r, 0, kRows - 1), Uniform(r, -1, 4), 0, 0, {}}; },
       {},
       [](const TOp& op, TModel& m) {
         if (m.rowCount > 0 && m.colCount > 0 && op.b > 0)
           m.Erase(0, op.a, m.colCount - 1 + m.HiddenCount(), op.a + op.b - 1);
       },
       [](const TOp& op, TCellGrid& g) { g.EraseRowRange(op.a, op.b); }},
      {"SetRowCount", 6, [](std::mt19937& r) { return TOp{0, Uniform(r, 0, kRows), 0, 0, 0, {}}; }, {},
       [](const TOp& op, TModel& m) { m.rowCount = op.a; },
       [](const TOp& op, TCellGrid& g) { g.SetRowCount(op.a); }},
      {"SetColCount", 6, [](std::mt19937& r) { return TOp{0, Uniform(r, 0, kCols), 0, 0, 0, {}}; }, {},
       [](const TOp& op, TModel& m) { m.colCount = op.a; },
       [](const TOp& op, TCellGrid& g) { g.SetColCount(op.a); }},
      {"HideColumn", 4, [](std::mt19937& r) { return TOp{0, Uniform(r, 0, kCols - 1), 0, 0, 0, {}}; },
       // Only a displayed column can be hidden; the grid refuses any other.
       [](const TOp& op, const TModel& m) { return m.hidden[op.a] || m.DisplayOf(op.a) < m.colCount; },
       [](const TOp& op, TModel& m) {
         if (m.hidden[op.a]) return;
         m.hidden[op.a] = true;
         --m.colCount;
       },
       [](const TOp& op, TCellGrid& g) { g.HideColumn(op.a); }},
      {"UnHideColumn", 4, [](std::mt19937& r) { return TOp{0, Uniform(r, 0, kCols - 1), 0, 0, 0, {}}; },
       {},
       [](const TOp& op, TModel& m) {
         if (!m.hidden[op.a]) return;
         m.hidden[op.a] = false;
         ++m.colCount;
       },
       [](const TOp& op, TCellGrid& g) { g.UnHideColumn(op.a); }},
      {"DeleteRow", 5, [](std::mt19937& r) { return TOp{0, Uniform(r, 0, kRows - 1), 0, 0, 0, {}}; },
       [](const TOp& op, const TModel& m) { return op.a < m.rowCount; },
       [](const TOp& op, TModel& m) {
         m.Erase(0, op.a, TCellStore::kMaxIndex, op.a);
         m.ShiftRows(op.a + 1, -1);
         --m.rowCount;
       },
       [](const TOp& op, TCellGrid& g) { g.DeleteRow(op.a); }},
      {"InsertRow", 5, [](std::mt19937& r) { return TOp{0, Uniform(r, 0, kRows), 0, 0, 0, {}}; },
       [](const TOp& op, const TModel& m) { return op.a <= m.rowCount; },
       [](const TOp& op, TModel& m) {
         m.ShiftRows(op.a, 1);
         ++m.rowCount;
       },
       [](const TOp& op, TCellGrid& g) { g.InsertRow(op.a); }},
      {"MoveRow", 4,
       [](std::mt19937& r) { return TOp{0, Uniform(r, 0, kRows - 1), Uniform(r, 0, kRows - 1), 0, 0, {}}; },
       [](const TOp& op, const TModel& m) { return op.a < m.rowCount && op.b < m.rowCount; },
       [](const TOp& op, TModel& m) {
         // The moved row is lifted out; the rows in between close up behind it.
         std::map<std::pair<int, int>, std::string> moved;
         for (auto& [at, text] : m.cells) {
           int row = at.second;
           if (row == op.a) row = op.b;
           else if (op.a < op.b && row > op.a && row <= op.b) --row;
           else if (op.b < op.a && row >= op.b && row < op.a) ++row;
           moved[{at.first, row}] = std::move(text);
         }
         m.cells = std::move(moved);
       },
       [](const TOp& op, TCellGrid& g) { g.MoveRow(op.a, op.b); }},
      // Several rows at once, with counts of none, some, and more than there
      // are; a first row outside the grid is refused, so it is not drawn.
      {"RemoveRows", 4,
       [](std::mt19937& r) { return TOp{0, Uniform(r, 0, kRows - 1), Uniform(r, -1, 6), 0, 0, {}}; },
       [](const TOp& op, const TModel& m) { return op.a < m.rowCount; },
       [](const TOp& op, TModel& m) {
         const int count = std::min(op.b, m.rowCount - op.a);
         if (count <= 0) return;
         m.Erase(0, op.a, TCellStore::kMaxIndex, op.a + count - 1);
         m.ShiftRows(op.a + count, -count);
         m.rowCount -= count;
       },
       [](const TOp& op, TCellGrid& g) { g.RemoveRows(op.a, op.b); }},
      {"InsertRows", 4,
       [](std::mt19937& r) { return TOp{0, Uniform(r, 0, kRows), Uniform(r, -1, 4), 0, 0, {}}; },
       [](const TOp& op, const TModel& m) { return op.a <= m.rowCount; },
       [](const TOp& op, TModel& m) {
         if (op.b <= 0) return;
         m.ShiftRows(op.a, op.b);
         m.rowCount += op.b;
       },
       [](const TOp& op, TCellGrid& g) { g.InsertRows(op.a, op.b); }},
      // The file's cells land from a displayed column on, over hidden
      // columns, growing the counts; a short row empties the cells up to the
      // widest row's width, as a paste does.
      {"ReadCsvFile", 3,
       [](std::mt19937& r) {
         return TOp{0, Uniform(r, 0, kCols - 1), Uniform(r, 0, kRows - 1), 0, 0, RandomCsvBlock(r)};
       },
       {},
       [](const TOp& op, TModel& m) {
         const auto rows = CsvBlockRows(op.text);
         const std::size_t width = CsvBlockWidth(rows);
         for (std::size_t row = 0; row < rows.size(); ++row)
           for (std::size_t col = 0; col < width; ++col)
             m.Set(m.DataOf(op.a + static_cast<int>(col)), op.b + static_cast<int>(row),
                   col < rows[row].size() ? rows[row][col] : std::string());
         m.rowCount = std::max(m.rowCount, op.b + static_cast<int>(rows.size()));
         m.colCount = std::max(m.colCount, op.a + static_cast<int>(width));
       },
       [](const TOp& op, TCellGrid& g) { g.ReadCsvFile(WriteCsvBlock(op.text), op.a, op.b); }},
      // Checked after every operation anyway; drawn as one so that writes
      // happen between the others too, as a person saves while working.
      {"WriteCsvFile", 3, [](std::mt19937&) { return TOp{}; }, {}, [](const TOp&, TModel&) {},
       [](const TOp&, TCellGrid&) {}},
  };
  return operations;
}

std::vector<TOp> DrawOperations(unsigned seed, int count) {
  std::mt19937 random(seed);
  std::vector<int> weights;
  for (const TOperation& operation : Operations()) weights.push_back(operation.weight);
  std::discrete_distribution<int> pick(weights.begin(), weights.end());
  std::vector<TOp> ops;
  for (int i = 0; i < count; ++i) {
    const int kind = pick(random);
    TOp op = Operations()[kind].draw(random);
    op.kind = kind;
    ops.push_back(std::move(op));
  }
  return ops;
}

std::string Describe(const TOp& op) {
  std::ostringstream out;
  out << Operations()[op.kind].name << "(" << op.a << ", " << op.b << ", " << op.c << ", " << op.d;
  if (!op.text.empty()) {
    out << ", \"";
    for (unsigned char c : op.text) {
      if (c >= 32 && c < 127 && c != '"' && c != '\\') out << c;
      else out << "\\x" << std::hex << std::setw(2) << std::setfill('0') << int(c) << std::dec;
    }
    out << "\"";
  }
  out << ")";
  return out.str();
}

// ---------------------------------------------------------------------------
// Running and comparing

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Memory-backed where the system has it, so that thousands of writes cost
// no disk.
QString ScratchFolder() { return QDir("/dev/shm").exists() ? "/dev/shm/kelvora-model-XXXXXX" : QString(); }

class TRun {
 public:
  TRun() : folder_(ScratchFolder().isEmpty() ? QTemporaryDir() : QTemporaryDir(ScratchFolder())) {
    grid_test::ApplyMainWindowColumn(grid_);
    grid_.EraseAllCells();
    grid_.SetRowCount(1);
    grid_.SetColCount(1);
    csvPath_ = folder_.filePath("model.csv").toStdString();
  }

  // Applies the operations in turn; the first difference from the model,
  // with the number of operations that led to it.
  std::optional<std::pair<std::size_t, std::string>> Apply(const std::vector<TOp>& ops) {
    for (std::size_t i = 0; i < ops.size(); ++i) {
      const TOperation& operation = Operations()[ops[i].kind];
      if (operation.fits && !operation.fits(ops[i], model_)) continue;
      try {
        operation.grid(ops[i], grid_);
      } catch (const std::exception& error) {
        return std::pair(i + 1, std::string("raised: ") + error.what());
      }
      operation.model(ops[i], model_);
      const bool saved = operation.name == std::string_view("WriteCsvFile");
      if (auto difference = Compare(saved || i % 16 == 0))
        return std::pair(i + 1, *difference);
    }
    return std::nullopt;
  }

 private:
  std::optional<std::string> Compare(bool withCsv) {
    if (grid_.ColCount() != model_.colCount || grid_.RowCount() != model_.rowCount ||
        grid_.HiddenColumnCount() != model_.HiddenCount())
      return "counts: grid " + std::to_string(grid_.ColCount()) + " x " + std::to_string(grid_.RowCount()) +
             " with " + std::to_string(grid_.HiddenColumnCount()) + " hidden, model " +
             std::to_string(model_.colCount) + " x " + std::to_string(model_.rowCount) + " with " +
             std::to_string(model_.HiddenCount()) + " hidden";
    const int lastRow = std::max(kRows, model_.LastStoredRow()) + 1;
    for (int row = 0; row <= lastRow; ++row)
      for (int col = 0; col <= kCols; ++col)
        if (grid_.CellText(col, row) != model_.Cell(col, row))
          return "cell " + std::to_string(col) + ", " + std::to_string(row) + ": grid \"" +
                 std::string(grid_.CellText(col, row)) + "\", model \"" + model_.Cell(col, row) + "\"";
    if (const std::string broken = grid_.CheckConsistency(); !broken.empty()) return "store: " + broken;
    if (withCsv) {
      grid_.WriteCsvFile(csvPath_);
      if (ReadFile(csvPath_) != ModelCsv(model_)) return "CSV differs";
    }
    return std::nullopt;
  }

  QTemporaryDir folder_;
  std::string csvPath_;
  TCellGrid grid_;
  TModel model_;
};

bool Fails(const std::vector<TOp>& ops) { return TRun().Apply(ops).has_value(); }

// Shortens a failing sequence by leaving out ever smaller runs of operations
// while it still fails, within a budget of trial runs.
std::vector<TOp> Shrink(std::vector<TOp> ops) {
  int budget = 300;
  for (std::size_t chunk = ops.size() / 2; chunk >= 1 && budget > 0; chunk /= 2) {
    for (std::size_t at = 0; at + chunk <= ops.size() && budget > 0;) {
      std::vector<TOp> shorter(ops.begin(), ops.begin() + static_cast<std::ptrdiff_t>(at));
      shorter.insert(shorter.end(), ops.begin() + static_cast<std::ptrdiff_t>(at + chunk), ops.end());
      --budget;
      if (Fails(shorter)) {
        ops = std::move(shorter);
      } else {
        at += chunk;
      }
    }
  }
  return ops;
}

unsigned SeedFromEnvironment(unsigned fallback) {
  const char* text = std::getenv("KELVORA_MODEL_SEED");
  return text ? static_cast<unsigned>(std::strtoul(text, nullptr, 10)) : fallback;
}

TEST(CellGridModel, HundredThousandRandomOperationsAgreeWithTheModel) {
  const unsigned seed = SeedFromEnvironment(20240613);
  const std::vector<TOp> ops = DrawOperations(seed, 100'000);
  const auto failure = TRun().Apply(ops);
  if (!failure) return;
  std::vector<TOp> prefix(ops.begin(), ops.begin() + static_cast<std::ptrdiff_t>(failure->first));
  const std::vector<TOp> shortest = Shrink(prefix);
  std::string steps;
  for (const TOp& op : shortest) steps += "  " + Describe(op) + "\n";
  ADD_FAILURE() << "seed " << seed << " (KELVORA_MODEL_SEED=" << seed << " repeats it): operation "
                << failure->first << " left " << failure->second << "\nshortest failing sequence found ("
                << shortest.size() << " operations):\n"
                << steps;
}

}  // namespace
}  // namespace kelvora
