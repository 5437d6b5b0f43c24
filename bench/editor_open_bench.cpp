// Opening an editor: F2 on the current cell of a shown grid of a million
// rows by seven columns, as the main window configures it, from the key
// until the editor has painted, for the text box, a spin box, a combo list
// of 10,000 items and a date picker; beside a QTableView over a model of the
// same size whose QStyledItemDelegate opens the same Qt widgets on F2.
//
// The editor is a widget the key creates or shows, so it cannot be watched
// before the key: an application-wide filter looks at every paint event and
// notes the first one that reaches the editor or a widget inside it. The
// timing ends when the event loop pass that delivered it returns, so the
// editor's own painting is included, as a person sees it.
//
// Before each run the editor is closed (Escape, then editor mode off) and
// the current cell moves to another row, outside the timing, so that every
// run opens a fresh cell. A kind whose editor never paints says so and gets
// no figure (the grid's special editors may not have landed yet); its
// anchor is measured all the same.

#include <QAbstractTableModel>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QDate>
#include <QDateEdit>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLineEdit>
#include <QSpinBox>
#include <QStringList>
#include <QStyledItemDelegate>
#include <QTableView>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <functional>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "app/form1_grid.h"
#include "grid/cell_grid.h"
#include "grid/edit/editor_kinds.h"
#include "support/bench_support.h"
#include "toolkit/application.h"
#include "toolkit/editors/inplace_edit.h"

namespace kelvora::bench {
namespace {

const int kRows = Sized(1'000'000, 10'000);
constexpr int kCols = 7;
const int kRuns = Repetitions(20);
constexpr int kItems = 10'000;
constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr int kColWidth = 115;
constexpr int kRowHeight = 21;
// An editor that has not painted by then is taken not to open at all.
constexpr int kNoEditorAfterMs = 2'000;

// Each kind is opened on a column of its own, whose cells hold texts that
// kind edits: words, digits, items of the list, dates.
struct TKind {
  const char* Name;
  TEditorType Type;
  int Col;
};
constexpr std::array<TKind, 4> kKinds{{
    {"text", ekText, 0},
    {"spin", ekSpinInteger, 1},
    {"combo", ekComboList, 2},
    {"date", ekDatePicker, 3},
}};

TEditorType KindOfColumn(int col) {
  for (const TKind& kind : kKinds)
    if (kind.Col == col) return kind.Type;
  return ekText;
}

std::string ItemText(int item) { return "item " + std::to_string(item); }

std::string DateText(int row) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", 2000 + row % 20, 1 + row % 12, 1 + row % 28);
  return text;
}

std::string CellText(int col, int row) {
  static const std::array<const char*, 7> kDays{"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
  switch (col) {
    case 0: return kDays[static_cast<std::size_t>(row % 7)];
    case 1: return std::to_string(row % 1000);
    case 2: return ItemText(row % kItems);
    case 3: return DateText(row);
    default: return std::to_string((row + col) % 60);
  }
}

// Notes the first paint, after Arm, of the widget `editor` answers or of a
// widget inside it. It asks at each paint, as the editor may be made by the
// key itself.
class TEditorPaintWatch : public QObject {
 public:
  explicit TEditorPaintWatch(std::function<QWidget*()> editor) : editor_(std::move(editor)) {
    QCoreApplication::instance()->installEventFilter(this);
  }
  ~TEditorPaintWatch() override { QCoreApplication::instance()->removeEventFilter(this); }

  void Arm() {
    painted_ = false;
    className_.clear();
  }
  bool Painted() const { return painted_; }
  const std::string& ClassName() const { return className_; }

  bool eventFilter(QObject* object, QEvent* event) override {
    if (painted_ || event->type() != QEvent::Paint || !object->isWidgetType()) return false;
    QWidget* editor = editor_();
    const auto* widget = static_cast<QWidget*>(object);
    if (editor && (widget == editor || editor->isAncestorOf(widget))) {
      painted_ = true;
      className_ = editor->metaObject()->className();
    }
    return false;
  }

 private:
  std::function<QWidget*()> editor_;
  bool painted_ = false;
  std::string className_;
};

// Never sleeps, so that the timing ends at the paint and not at a poll.
bool WaitForEditorPaint(const TEditorPaintWatch& watch) {
  const QDeadlineTimer deadline(kNoEditorAfterMs);
  while (!watch.Painted()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
  }
  return true;
}

// Closed editors go by deleteLater, which no event loop of a bench would
// ever carry out; they are deleted here, between runs.
void Settle() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
  QCoreApplication::processEvents();
}

void SendEscape(QWidget& fallback) {
  QWidget* focus = QApplication::focusWidget();
  SendKey(focus ? focus : &fallback, Qt::Key_Escape, QStringLiteral("\x1b"));
}

// How one side opens and closes an editor on a cell.
struct TOpening {
  std::function<void(int row)> Prepare;  // that row's cell current, the widget focused
  std::function<void()> Open;            // the key
  std::function<void()> Close;
};

// Milliseconds from the key to the editor's first paint, the best of the
// runs; NaN when no editor painted in the first run.
double TimeOpens(TEditorPaintWatch& watch, const TOpening& opening, const char* side, const TKind& kind) {
  double best = std::numeric_limits<double>::infinity();
  for (int run = 0; run < kRuns; ++run) {
    opening.Prepare(kRows / 2 + run);
    Settle();
    watch.Arm();
    QElapsedTimer timer;
    timer.start();
    opening.Open();
    const bool painted = WaitForEditorPaint(watch);
    const double ms = timer.nsecsElapsed() / 1e6;
    opening.Close();
    if (!painted) return std::numeric_limits<double>::quiet_NaN();
    best = std::min(best, ms);
  }
  std::fprintf(stderr, "%s %s editor: %s, best of %d opens %.3f ms\n", side, kind.Name, watch.ClassName().c_str(),
               kRuns, best);
  return best;
}

// --- The grid ---------------------------------------------------------------

class TBenchGrid : public TCellGrid {
 public:
  TBenchGrid() {
    ApplyGridDescription(*this);
    Loaded();
    SetColCount(kCols);
    SetRowCount(kRows);
    for (int row = 0; row < kRows; ++row)
      for (int col = 0; col < kCols; ++col) SetCells(col, row, CellText(col, row));
    OnGetEditorType = [](TObject*, int aCol, int, TEditorType& aEditor) { aEditor = KindOfColumn(aCol); };
    // The list is filled each time it is asked for, as a program would.
    OnGetEditorItems = [](TObject*, int, int, std::vector<std::string>& Items) {
      Items.reserve(Items.size() + kItems);
      for (int item = 0; item < kItems; ++item) Items.push_back(ItemText(item));
    };
  }
};

double GridOpenMs(TBenchGrid& grid, const TKind& kind) {
  // Only the editor of the kind counts: a text box showing for a spin
  // kind would be a fault, not an open spin box.
  TEditorPaintWatch watch([&]() -> QWidget* {
    if (kind.Type != ekText) return grid.SpecialEditor();
    return grid.InplaceEditor() ? grid.InplaceEditor()->Control() : nullptr;
  });
  const TOpening opening{
      [&](int row) {
        if (grid.EditorMode()) grid.HideEditor();
        grid.SetCol(kind.Col);
        grid.SetRow(row);
        grid.setFocus();
      },
      [&] { SendKey(&grid, Qt::Key_F2); },
      [&] {
        SendEscape(grid);
        if (grid.EditorMode()) grid.HideEditor();
        grid.setFocus();
      }};
  return TimeOpens(watch, opening, "grid", kind);
}

// --- The anchor ---------------------------------------------------------------

// Texts made on the fly, as the grid's cells; the spin and date columns
// give their values typed for editing, as a Qt model would.
class TCellModel : public QAbstractTableModel {
 public:
  int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : kRows; }
  int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : kCols; }
  Qt::ItemFlags flags(const QModelIndex& index) const override {
    return QAbstractTableModel::flags(index) | Qt::ItemIsEditable;
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
    const QString text = QString::fromStdString(CellText(index.column(), index.row()));
    if (role == Qt::EditRole && index.column() == kKinds[1].Col) return text.toInt();
    if (role == Qt::EditRole && index.column() == kKinds[3].Col) return QDate::fromString(text, Qt::ISODate);
    return text;
  }
  // The bench closes every editor with Escape, so nothing is ever stored.
  bool setData(const QModelIndex&, const QVariant&, int) override { return false; }
};

class TEditorDelegate : public QStyledItemDelegate {
 public:
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override {
    switch (KindOfColumn(index.column())) {
      case ekSpinInteger: {
        auto* spin = new QSpinBox(parent);
        spin->setFrame(false);
        spin->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
        return spin;
      }
      case ekComboList: {
        auto* combo = new QComboBox(parent);
        QStringList items;
        items.reserve(kItems);
        for (int item = 0; item < kItems; ++item) items.push_back(QString::fromStdString(ItemText(item)));
        combo->addItems(items);
        return combo;
      }
      case ekDatePicker: {
        auto* date = new QDateEdit(parent);
        date->setFrame(false);
        date->setCalendarPopup(true);
        date->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        return date;
      }
      default: {
        auto* line = new QLineEdit(parent);
        line->setFrame(false);
        return line;
      }
    }
  }
};

void ConfigureView(QTableView& view) {
  view.horizontalHeader()->hide();
  view.verticalHeader()->hide();
  view.horizontalHeader()->setDefaultSectionSize(kColWidth);
  view.verticalHeader()->setDefaultSectionSize(kRowHeight);
  view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  view.setEditTriggers(QAbstractItemView::EditKeyPressed);
}

double ViewOpenMs(QTableView& view, const TKind& kind) {
  TEditorPaintWatch watch([&] { return view.indexWidget(view.currentIndex()); });
  const TOpening opening{
      [&](int row) {
        view.setCurrentIndex(view.model()->index(row, kind.Col));
        view.setFocus();
      },
      [&] { SendKey(&view, Qt::Key_F2); },
      [&] {
        SendEscape(view);
        // Should Escape not have reached the delegate, the editor still goes.
        const QModelIndex current = view.currentIndex();
        if (view.indexWidget(current)) view.closePersistentEditor(current);
        view.setFocus();
      }};
  return TimeOpens(watch, opening, "qtableview", kind);
}

}  // namespace
}  // namespace kelvora::bench

int main(int argc, char** argv) {
  using namespace kelvora::bench;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  kelvora::TApplication app(argc, argv);

  std::array<double, kKinds.size()> gridMs{};
  {
    TBenchGrid grid;
    ShowFocused(grid, kWidth, kHeight);
    for (std::size_t k = 0; k < kKinds.size(); ++k) gridMs[k] = GridOpenMs(grid, kKinds[k]);
  }

  std::array<double, kKinds.size()> viewMs{};
  {
    TCellModel model;
    TEditorDelegate delegate;
    QTableView view;
    view.setModel(&model);
    view.setItemDelegate(&delegate);
    ConfigureView(view);
    ShowFocused(view, kWidth, kHeight);
    for (std::size_t k = 0; k < kKinds.size(); ++k) viewMs[k] = ViewOpenMs(view, kKinds[k]);
    Settle();
  }

  for (std::size_t k = 0; k < kKinds.size(); ++k) {
    const std::string name = kKinds[k].Name;
    if (std::isnan(gridMs[k])) std::fprintf(stderr, "editor_open_%s: no editor opened\n", name.c_str());
    else PrintFigure("editor_open_" + name, gridMs[k], "ms");
    if (std::isnan(viewMs[k])) std::fprintf(stderr, "qtableview_editor_open_%s: no editor opened\n", name.c_str());
    else PrintAnchor("qtableview_editor_open_" + name, viewMs[k], "ms");
  }
  return 0;
}
