#include "app/form1.h"

#include <QAction>
#include <QFrame>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenuBar>
#include <QPalette>
#include <QPushButton>

#include "app/form1_grid.h"
#include "grid/cell_grid.h"
#include "toolkit/application.h"
#include "toolkit/color.h"
#include "toolkit/qt_canvas.h"

namespace kelvora {

std::string CurrentFileName;

namespace {

// The window's layout in pixels at 96 dots per inch. The classic frame added
// 4 pixels on each side, a 19-pixel caption and a 19-pixel menu bar around
// this client area (250 x 289 outside); here the window manager draws its
// own frame and the style decides the menu bar's height, so the client area
// below the menu is what is fixed.
constexpr int kClientWidth = 242;
constexpr int kClientHeight = 243;
constexpr int kPanelHeight = 35;
constexpr int kWindowLeft = 310;
constexpr int kWindowTop = 205;

TFont FormFont() {
  TFont font;
  font.Name = "MS Sans Serif";
  font.Height = -11;
  font.Color = clWindowText;
  return font;
}

}  // namespace

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
  setWindowTitle("Kelvora");
  ApplyFormLook();
  CreateMenu();
  auto* client = new QWidget(this);
  client->setFixedSize(kClientWidth, kClientHeight);
  setCentralWidget(client);
  CreatePanel(client);
  CreateGrid(client);
  ConfigureDialogs();
  FixWindowSize();
  move(kWindowLeft, kWindowTop);
}

TForm1::~TForm1() = default;

// The form's font and colours reach every component that sets none of its own.
void TForm1::ApplyFormLook() {
  const TFont font = FormFont();
  setFont(ToQFont(font));
  QPalette look = palette();
  look.setColor(QPalette::Window, ToQColor(clBtnFace));
  look.setColor(QPalette::WindowText, ToQColor(font.Color));
  setPalette(look);
}

void TForm1::CreateMenu() {
  MainMenu1 = menuBar();
  // The menu stays in the window even on desktops with a global menu bar,
  // so that the window keeps its described layout.
  MainMenu1->setNativeMenuBar(false);
  // The desktop's usual mnemonics, and the shortcuts the menu shows beside
  // its items; they work wherever the focus is in the window.
  File1 = MainMenu1->addMenu("&File");
  Open1 = File1->addAction("&Open");
  Open1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  SaveGrid1 = File1->addAction("&Save Grid");
  SaveGrid1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  Exit1 = File1->addAction("E&xit");
  Exit1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
  // A failing command shows its error at the handler's edge, so the
  // exception never unwinds through Qt's own frames.
  connect(Open1, &QAction::triggered, this, [this] { RunGuarded([this] { Button3Click(Open1); }); });
  connect(SaveGrid1, &QAction::triggered, this,
          [this] { RunGuarded([this] { Button5Click(SaveGrid1); }); });
  connect(Exit1, &QAction::triggered, this, [this] { RunGuarded([this] { Button2Click(Exit1); }); });
}

void TForm1::CreatePanel(QWidget* client) {
  Panel1 = new QFrame(client);
  Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
  Panel1->setGeometry(0, 0, kClientWidth, kPanelHeight);

  Edit1 = new QLineEdit(Panel1);
  Edit1->setGeometry(8, 8, 129, 21);
  TFont editFont = FormFont();
  editFont.Style.insert(fsBold);
  Edit1->setFont(ToQFont(editFont));
  QPalette editPalette = Edit1->palette();
  editPalette.setColor(QPalette::Text, ToQColor(clNavy));
  Edit1->setPalette(editPalette);

  Button1 = new QPushButton("Get Data", Panel1);
  Button1->setGeometry(174, 5, 59, 26);
  connect(Button1, &QPushButton::clicked, this, [this] { RunGuarded([this] { ReadOld(Button1); }); });
}

void TForm1::CreateGrid(QWidget* client) {
  CellGrid1 = new TCellGrid(client);
  CellGrid1->setGeometry(0, kPanelHeight, kClientWidth, kClientHeight - kPanelHeight);
  ApplyGridDescription(*CellGrid1);
  CellGrid1->Loaded();
  // The grid comes first in the tab order, then the edit box and the button.
  setTabOrder(CellGrid1, Edit1);
  setTabOrder(Edit1, Button1);
  CellGrid1->setFocus();
}

void TForm1::ConfigureDialogs() {
  OpenDialog1.SetFilter("Exported news files (*.txt)|*.txt|All files|*.*");
  SaveDialog1.SetFilter("Comma-separated text (*.csv)|*.csv");
  SaveDialog1.SetOptions({ofOverwritePrompt, ofHideReadOnly, ofExtensionDifferent,
                          ofPathMustExist, ofEnableSizing});
}

// The window can be neither larger nor smaller than its layout.
void TForm1::FixWindowSize() {
  const int menuHeight = MainMenu1->sizeHint().height();
  setFixedSize(kClientWidth, kClientHeight + menuHeight);
}

}  // namespace kelvora
