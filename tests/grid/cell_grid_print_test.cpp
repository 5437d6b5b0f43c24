// Printing the grid, read back from the PDF files it writes with Debian's
// poppler tools: pages, text and fonts. Dialogs and the progress box are
// answered by the toolkit's test seams, so nothing modal ever opens.
#include <QDir>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QTemporaryDir>

#include <cctype>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "cell_grid_test_support.h"
#include "common/file_size_cap.h"
#include "toolkit/exceptions.h"
#include "toolkit/print_dialogs.h"
#include "toolkit/print_progress.h"

namespace kelvora {
namespace {

using grid_test::ApplyMainWindowColumn;

std::string Quoted(const std::string& path) { return "'" + path + "'"; }

// What a poppler tool prints about a file; empty when it cannot read it.
std::string Poppler(const std::string& command) {
  std::string out;
  if (FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r")) {
    char chunk[4096];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) out.append(chunk, n);
    ::pclose(pipe);
  }
  return out;
}

int PdfPages(const std::string& path) {
  const std::string info = Poppler("pdfinfo " + Quoted(path));
  const std::size_t at = info.find("Pages:");
  return at == std::string::npos ? -1 : std::stoi(info.substr(at + 6));
}

std::string PdfText(const std::string& path) { return Poppler("pdftotext " + Quoted(path) + " -"); }

// The word stands in the text on its own, not as part of a longer one.
bool HasWord(const std::string& text, const std::string& word) {
  const auto apart = [&](std::size_t at) { return at >= text.size() || !std::isalnum(static_cast<unsigned char>(text[at])); };
  for (std::size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1))
    if ((at == 0 || apart(at - 1)) && apart(at + word.size())) return true;
  return false;
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class CellGridPrint : public ::testing::Test {
 protected:
  void SetUp() override { ApplyMainWindowColumn(grid); }

  // Date rows as "Get Data" makes them, each with its number in column 1.
  void Fill(int rows) {
    grid.SetColCount(7);
    grid.SetRowCount(rows);
    for (int row = 0; row < rows; ++row) {
      const char* cells[] = {"Tue", nullptr, "Feb", "2003", "12", "34", "56"};
      for (int col = 0; col < 7; ++col) grid.SetCells(col, row, cells[col] ? cells[col] : "r" + std::to_string(row));
    }
  }

  std::string Path(const std::string& name) const { return dir.filePath(QString::fromStdString(name)).toStdString(); }
  QStringList Entries() const { return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot); }
  int ReportedPages() const { return progress.Reports().empty() ? 0 : progress.Reports().back().second; }

  TCellGrid grid;
  QTemporaryDir dir;
  TPrintProgressScript progress;
};

TEST_F(CellGridPrint, APdfHoldsEveryPageWithEveryCellAsText) {
  Fill(300);
  grid.PrintSettings().Header = "Dates page [page] of [pages]";
  const std::string path = Path("dates.pdf");
  ASSERT_TRUE(grid.PrintToPdf(path));
  const int pages = PdfPages(path);
  EXPECT_GT(pages, 2);
  EXPECT_EQ(pages, ReportedPages());
  const std::string text = PdfText(path);
  for (int row = 0; row < 300; ++row) EXPECT_TRUE(HasWord(text, "r" + std::to_string(row))) << row;
  EXPECT_NE(text.find("Dates page 1 of " + std::to_string(pages)), std::string::npos);
  EXPECT_NE(text.find("Dates page " + std::to_string(pages) + " of " + std::to_string(pages)), std::string::npos);
  EXPECT_EQ(Entries(), QStringList{"dates.pdf"});  // no temporary file left
}

TEST_F(CellGridPrint, FittedToTheWidthTheColumnsShareAPage) {
  Fill(10);
  const std::string split = Path("split.pdf");
  const std::string fitted = Path("fitted.pdf");
  ASSERT_TRUE(grid.PrintToPdf(split));
  grid.PrintSettings().FitToPageWidth = true;
  ASSERT_TRUE(grid.PrintToPdf(fitted));
  // Seven columns of 115 pixels are wider than a portrait page.
  EXPECT_EQ(PdfPages(split), 2);
  EXPECT_EQ(PdfPages(fitted), 1);
}

TEST_F(CellGridPrint, RichTextIsPrintedWithItsFormatting) {
  grid.SetCells(0, 0, "plain");
  const std::string plain = Path("plain.pdf");
  ASSERT_TRUE(grid.PrintToPdf(plain));
  grid.SetCells(0, 0, "{\\rtf1 normal \\b heavy}");
  const std::string rich = Path("rich.pdf");
  ASSERT_TRUE(grid.PrintToPdf(rich));
  EXPECT_NE(PdfText(rich).find("normal heavy"), std::string::npos);
  EXPECT_EQ(Poppler("pdffonts " + Quoted(plain)).find("Bold"), std::string::npos);
  EXPECT_NE(Poppler("pdffonts " + Quoted(rich)).find("Bold"), std::string::npos);
}

TEST_F(CellGridPrint, AStoppedJobLeavesTheOldFileAsItWas) {
  Fill(300);
  const std::string path = Path("kept.pdf");
  std::ofstream(path) << "old";
  {
    const TPrintProgressScript stopping(1);
    EXPECT_FALSE(grid.PrintToPdf(path));
  }
  EXPECT_EQ(ReadBytes(path), "old");
  EXPECT_EQ(Entries(), QStringList{"kept.pdf"});
}

TEST_F(CellGridPrint, APathWhereNoFileCanBeMadeIsReported) {
  for (const std::string& path : {Path("no such folder/x.pdf"), dir.path().toStdString()}) {
    try {
      grid.PrintToPdf(path);
      ADD_FAILURE() << "no error for " << path;
    } catch (const ECellGridError& error) {
      EXPECT_EQ(error.Message(), "Cannot create file " + path);
    }
  }
  EXPECT_TRUE(Entries().isEmpty());
}

TEST_F(CellGridPrint, AFullDiskIsReportedAndTheOldFileKept) {
  Fill(2000);
  try {
    grid.PrintToPdf("/dev/full");
    ADD_FAILURE() << "a PDF went onto a full disk";
  } catch (const EInOutError& error) {
    EXPECT_EQ(error.Message(), "Disk full");
  }
  const std::string path = Path("precious.pdf");
  std::ofstream(path) << "precious";
  {
    const testing_support::TFileSizeCap cap(64 * 1024);
    EXPECT_THROW(grid.PrintToPdf(path), EInOutError);
  }
  EXPECT_EQ(ReadBytes(path), "precious");
  EXPECT_EQ(Entries(), QStringList{"precious.pdf"});
  EXPECT_EQ(grid.Cells(1, 1999), "r1999");
  EXPECT_EQ(grid.CheckConsistency(), "");
}

TEST_F(CellGridPrint, ThePrintDialogChoosesThePrinterAndThePages) {
  Fill(300);
  grid.PrintSettings().FitToPageWidth = true;
  const std::string all = Path("all.pdf");
  const std::string some = Path("some.pdf");
  TPrintDialogScript dialogs;
  dialogs.PrintToFile(all).PrintToFile(some, 2, 3).Cancel();
  grid.Print();
  grid.Print();
  grid.Print();
  ASSERT_EQ(dialogs.OfferedPages().size(), 3u);
  EXPECT_EQ(PdfPages(all), dialogs.OfferedPages().front());
  EXPECT_EQ(PdfPages(some), 2);
  EXPECT_FALSE(HasWord(PdfText(some), "r0"));  // page 1 was not asked for
  EXPECT_TRUE(HasWord(PdfText(some), "Feb"));
  EXPECT_EQ(Entries().size(), 2);  // the cancelled one wrote nothing
}

TEST_F(CellGridPrint, ThePreviewShowsThePagesPrintingWould) {
  Fill(300);
  const std::string path = Path("pages.pdf");
  ASSERT_TRUE(grid.PrintToPdf(path));
  int previewed = -1;
  TPrintDialogScript dialogs;
  dialogs.Preview([&](QPrintPreviewDialog& dialog) {
    QPrintPreviewWidget* pages = dialog.findChild<QPrintPreviewWidget*>();
    ASSERT_NE(pages, nullptr);
    pages->updatePreview();
    previewed = pages->pageCount();
  });
  grid.PrintPreview();
  EXPECT_EQ(previewed, PdfPages(path));
}

}  // namespace
}  // namespace kelvora
