#include <QMimeData>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QXmlStreamReader>

#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "cell_grid_test_support.h"

namespace kelvora {
namespace {

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Every element and attribute name of a well-formed page; empty names and
// an error mark a page that is not well-formed.
struct TPageNames {
  std::set<QString> elements;
  std::set<QString> attributes;
  std::vector<QString> hrefs;
  QString error;
};

TPageNames NamesOf(const std::string& page) {
  TPageNames names;
  QXmlStreamReader xml(QByteArray::fromStdString(page));
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    names.elements.insert(xml.name().toString());
    for (const auto& attribute : xml.attributes()) {
      names.attributes.insert(attribute.name().toString());
      if (attribute.name() == QLatin1String("href")) names.hrefs.push_back(attribute.value().toString());
    }
  }
  if (xml.hasError()) names.error = xml.errorString();
  return names;
}

class CellGridHtml : public ::testing::Test {
 protected:
  std::string Exported() {
    const std::string path = dir_.filePath("grid.html").toStdString();
    grid.WriteHtmlFile(path);
    return ReadBytes(path);
  }

  TCellGrid grid;
  QTemporaryDir dir_;
};

// The page parses back as the same table: a fixed row of header cells, the
// text escaped, a line break kept, the width from HTMLSettings.
TEST_F(CellGridHtml, ExportsTheGridAsAWellFormedTable) {
  grid.SetColCount(2);
  grid.SetRowCount(3);
  grid.SetFixedCols(0);
  grid.SetCells(0, 0, "Day");
  grid.SetCells(1, 0, "Note");
  grid.SetCells(0, 1, "Mon");
  grid.SetCells(1, 1, "a < b & \"c\"");
  grid.SetCells(0, 2, "one\r\ntwo");
  grid.SetCells(1, 2, "caf\xE9");
  grid.HTMLSettings().Width = 80;
  const std::string page = Exported();
  EXPECT_TRUE(page.starts_with("<!DOCTYPE html>"));
  EXPECT_NE(page.find("width:80%"), std::string::npos);
  const TPageNames names = NamesOf(page);
  EXPECT_TRUE(names.error.isEmpty()) << names.error.toStdString();
  EXPECT_EQ(page.find("<th"), page.find("<th>Day</th>"));
  QTextDocument document;
  document.setHtml(QString::fromStdString(page));
  EXPECT_EQ(document.toPlainText().split('\n', Qt::SkipEmptyParts),
            QStringList({"Day", "Note", "Mon", "a < b & \"c\"", "one", "two", "caf\u00E9"}));
}

// Colours and font style from the cell-colour hook, alignment from its own
// hook; cells without a colour of their own carry none.
TEST_F(CellGridHtml, CellsCarryTheirHooksColoursStyleAndAlignment) {
  grid.SetColCount(2);
  grid.SetRowCount(2);
  grid.SetFixedCols(0);
  grid.SetFixedRows(0);
  grid.SetCells(1, 1, "x");
  grid.OnGetCellColor = [](TObject*, int row, int col, TGridDrawState, TBrush& brush, TFont& font) {
    if (row != 1 || col != 1) return;
    brush.Color = clRed;
    font.Color = clBlue;
    font.Style.insert(fsBold);
  };
  grid.OnGetAlignment = [](TObject*, int row, int col, TAlignment& alignment) {
    if (row == 1 && col == 1) alignment = taCenter;
  };
  const std::string page = Exported();
  EXPECT_NE(page.find("<td style=\"background-color:#ff0000;color:#0000ff;font-weight:bold;text-align:center;\">x</td>"),
            std::string::npos)
      << page;
  EXPECT_NE(page.find("<tr><td></td><td></td></tr>"), std::string::npos);
}

// Hostile mark-up comes out as the mark-up's own tags only: no element but
// the formatting ones, no attribute but a safe link and a rebuilt style.
TEST_F(CellGridHtml, MarkupIsSanitised) {
  const char* hostile[] = {
      "<B>bold</B><script>alert(1)</script>",
      "<A href=\"javascript:alert(1)\">x</A>",
      "<A href=\"JaVaScRiPt:alert(1)\">x</A><A href=\"http://ok.example/\">ok</A>",
      "<A href=\"https://e.example/\" onclick=\"alert(1)\">y</A>",
      "<FONT color=\"clRed\" face=\"x';background:url(evil)\" onload=\"x\">f</FONT>",
      "<FONT color=\"#00ff00\" size=\"999999\">f</FONT><I>open",
      "<IMG src=\"file:///etc/passwd\"><B><I>crossed</B></I>",
      "<P><UL><LI>item</UL></P><iframe src=\"http://x\"></iframe>",
      "<A href=\"mailto:a@b.example\">&lt;script&gt;</A><Z>hidden</Z><BR><HR>",
  };
  grid.SetColCount(1);
  grid.SetRowCount(static_cast<int>(std::size(hostile)));
  grid.SetFixedCols(0);
  grid.SetFixedRows(0);
  for (int row = 0; row < static_cast<int>(std::size(hostile)); ++row) grid.SetCells(0, row, hostile[row]);
  const std::string page = Exported();
  const TPageNames names = NamesOf(page);
  ASSERT_TRUE(names.error.isEmpty()) << names.error.toStdString() << page;
  const std::set<QString> allowedElements = {"html", "head", "meta", "title", "style", "body", "table", "tr",
                                             "td",   "b",    "i",    "u",     "s",     "sub",  "sup",   "p",
                                             "ul",   "li",   "span", "a",     "br",    "hr"};
  for (const QString& element : names.elements) EXPECT_TRUE(allowedElements.count(element)) << element.toStdString();
  const std::set<QString> allowedAttributes = {"charset", "style", "border", "href"};
  for (const QString& attribute : names.attributes)
    EXPECT_TRUE(allowedAttributes.count(attribute)) << attribute.toStdString();
  EXPECT_EQ(names.hrefs, (std::vector<QString>{"http://ok.example/", "https://e.example/", "mailto:a@b.example"}));
  EXPECT_EQ(page.find("url("), std::string::npos);
  EXPECT_EQ(page.find("hidden"), std::string::npos);
  EXPECT_NE(page.find("color:#ff0000;"), std::string::npos);
  EXPECT_NE(page.find("font-size:72pt;"), std::string::npos);
  EXPECT_NE(page.find("&lt;script&gt;"), std::string::npos);
}

TEST_F(CellGridHtml, AFileThatCannotBeMadeIsAnErrorAndLeavesNothing) {
  const std::string path = dir_.filePath("missing/grid.html").toStdString();
  EXPECT_THROW(grid.WriteHtmlFile(path), ECellGridError);
  EXPECT_FALSE(QFile::exists(QString::fromStdString(path)));
}

// A copy offers the table as HTML beside the tab-separated text; the
// mark-up keeps its tags there only with CopyHTMLTagsToClipboard.
TEST_F(CellGridHtml, ACopyOffersHtmlBesideTheText) {
  grid.SetColCount(2);
  grid.SetRowCount(2);
  grid.SetFixedCols(0);
  grid.SetFixedRows(0);
  grid.SetCells(0, 0, "<B>big</B>");
  grid.SetCells(1, 0, "plain");
  grid.SetSelection({0, 0, 1, 0});
  for (const bool tags : {true, false}) {
    grid.Navigation().CopyHTMLTagsToClipboard = tags;
    grid.CopySelectionToClipboard();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_TRUE(data->hasHtml() && data->hasText());
    EXPECT_EQ(data->text(), tags ? "<B>big</B>\tplain" : "big\tplain");
    EXPECT_EQ(data->html().contains("<td><b>big</b></td><td>plain</td>"), tags);
    EXPECT_EQ(data->html().contains("<td>big</td><td>plain</td>"), !tags);
  }
  QGuiApplication::clipboard()->clear();
}

}  // namespace
}  // namespace kelvora
