#include "form1_fixture.h"

#include <QAction>

#include <fstream>
#include <sstream>
#include <system_error>

namespace kelvora::testing {

std::filesystem::path SourceRoot() {
  return std::filesystem::path(__FILE__).parent_path().parent_path().parent_path();
}

std::filesystem::path SamplePath() { return SourceRoot() / "samples" / "news_export.txt"; }

std::filesystem::path ExpectedCsvPath() {
  return SourceRoot() / "tests" / "app" / "expected" / "news_export.csv";
}

std::string ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  EXPECT_TRUE(in) << "cannot read " << path;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteWholeFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(out.good()) << "cannot write " << path;
}

bool ProcessHoldsOpen(const std::filesystem::path& path) {
  std::error_code error;
  const auto wanted = std::filesystem::canonical(path, error);
  if (error) return false;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd", error)) {
    std::error_code linkError;
    const auto target = std::filesystem::read_symlink(entry.path(), linkError);
    if (!linkError && target == wanted) return true;
  }
  return false;
}

Form1Test::Form1Test()
    : sink_([this](const std::string&, const std::string& text) { errorBoxes_.push_back(text); }) {
  CurrentFileName.clear();
  form_ = std::make_unique<TForm1>();
  form_->show();
  EXPECT_TRUE(QTest::qWaitForWindowExposed(form_.get()));
}

Form1Test::~Form1Test() {
  // An error met while painting is shown once the painting is over; it
  // belongs to this test, so it must reach this test's capture.
  SettleEvents();
  form_.reset();
  CurrentFileName.clear();
  EXPECT_EQ(dialogs_.AnswersLeft(), 0u) << "a scripted dialog answer was never asked for";
}

void Form1Test::ClickOpen(const std::filesystem::path& chosen) {
  dialogs_.Choose(chosen.string());
  form_->Open1->trigger();
}

void Form1Test::ClickOpenCancelled() {
  dialogs_.Cancel();
  form_->Open1->trigger();
}

void Form1Test::ClickGetData() { QTest::mouseClick(form_->Button1, Qt::LeftButton); }

void Form1Test::ClickSaveGrid(const std::filesystem::path& chosen) {
  dialogs_.Choose(chosen.string());
  form_->SaveGrid1->trigger();
}

void Form1Test::ClickSaveGridCancelled() {
  dialogs_.Cancel();
  form_->SaveGrid1->trigger();
}

std::filesystem::path Form1Test::TempFile(const std::string& name) const {
  return std::filesystem::path(temp_.path().toStdString()) / name;
}

void Form1Test::GetDataFrom(const std::string& bytes) {
  const auto path = TempFile("export.txt");
  WriteWholeFile(path, bytes);
  ClickOpen(path);
  ClickGetData();
}

TRowCells Form1Test::Row(int row) {
  TRowCells cells;
  for (int col = 0; col < kDateColumnCount; ++col) cells[col] = Grid().Cells(col, row);
  return cells;
}

bool Form1Test::AllCellsEmpty(int cols, int rows) {
  for (int row = 0; row < rows; ++row)
    for (int col = 0; col < cols; ++col)
      if (!Grid().CellText(col, row).empty()) return false;
  return true;
}

std::vector<int> Form1Test::ColumnWidths() {
  std::vector<int> widths;
  for (int col = 0; col < Grid().ColCount(); ++col) widths.push_back(Grid().ColWidths(col));
  return widths;
}

void Form1Test::SettleEvents() {
  QCoreApplication::sendPostedEvents();
  QCoreApplication::processEvents();
}

void Form1Test::ExpectDefaultCursor() {
  EXPECT_EQ(Screen().Cursor(), crDefault);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace kelvora::testing
