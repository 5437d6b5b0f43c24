// The window as the person sees it before any command: its size, where its
// components sit, their texts and fonts.

#include <QAction>
#include <QFrame>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>

#include "form1_fixture.h"

namespace kelvora::testing {
namespace {

using Form1Window = Form1Test;

TEST_F(Form1Window, ClientAreaBelowTheMenuIs242By243) {
  EXPECT_EQ(Form().centralWidget()->size(), QSize(242, 243));
  EXPECT_EQ(Form().centralWidget()->y(), Form().menuBar()->geometry().bottom() + 1);
  EXPECT_EQ(Form().height(), Form().menuBar()->height() + 243);
  EXPECT_EQ(Form().width(), 242);
}

TEST_F(Form1Window, CannotBeMadeLargerOrSmaller) {
  const QSize size = Form().size();
  EXPECT_EQ(Form().minimumSize(), size);
  EXPECT_EQ(Form().maximumSize(), size);
  Form().resize(400, 500);
  EXPECT_EQ(Form().size(), size);
  Form().resize(100, 100);
  EXPECT_EQ(Form().size(), size);
}

struct PlacedComponent {
  const char* name;
  QRect geometry;  // relative to the parent
};

TEST_F(Form1Window, ComponentsSitWhereTheLayoutPutsThem) {
  const PlacedComponent expected[] = {
      {"Panel1", QRect(0, 0, 242, 35)},
      {"Edit1", QRect(8, 8, 129, 21)},
      {"Button1", QRect(174, 5, 59, 26)},
      {"CellGrid1", QRect(0, 35, 242, 208)},
  };
  const QWidget* actual[] = {Form().Panel1, Form().Edit1, Form().Button1, Form().CellGrid1};
  for (std::size_t i = 0; i < std::size(expected); ++i)
    EXPECT_EQ(actual[i]->geometry(), expected[i].geometry) << expected[i].name;
  EXPECT_EQ(Form().Edit1->parentWidget(), Form().Panel1);
  EXPECT_EQ(Form().Button1->parentWidget(), Form().Panel1);
}

TEST_F(Form1Window, ShowsItsTexts) {
  EXPECT_EQ(Form().windowTitle(), "Kelvora");
  EXPECT_EQ(Form().Button1->text(), "Get Data");
  EXPECT_TRUE(Form().Edit1->text().isEmpty());
  ASSERT_EQ(Form().menuBar()->actions().size(), 1);
  // The texts as shown; the "&" only marks the mnemonic's letter.
  EXPECT_EQ(Form().menuBar()->actions().first()->text().remove('&'), "File");
  QStringList items;
  for (const QAction* action : Form().File1->actions()) items << action->text().remove('&');
  EXPECT_EQ(items, QStringList({"Open", "Save Grid", "Exit"}));
}

TEST_F(Form1Window, EditBoxIsBoldNavyOnTheFormsFont) {
  EXPECT_EQ(Form().font().pixelSize(), 11);
  const QFont edit = Form().Edit1->font();
  EXPECT_TRUE(edit.bold());
  EXPECT_EQ(edit.pixelSize(), 11);
  EXPECT_EQ(edit.family(), Form().font().family());
  EXPECT_EQ(Form().Edit1->palette().color(QPalette::Text), QColor(0, 0, 128));
  EXPECT_FALSE(Form().Button1->font().bold());
}

}  // namespace
}  // namespace kelvora::testing
