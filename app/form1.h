#pragma once

#include <QMainWindow>

#include <string>

#include "toolkit/file_dialog.h"

class QAction;
class QFrame;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;

namespace kelvora {

class TCellGrid;

// The path chosen by File > Open, read by "Get Data"; empty until then.
extern std::string CurrentFileName;

// Kelvora's one window: a strip with the chosen file's name and the "Get
// Data" button, the grid below it, and the File menu. Its size is fixed.
class TForm1 : public QMainWindow {
  Q_OBJECT

 public:
  explicit TForm1(QWidget* parent = nullptr);
  ~TForm1() override;

  // File > Open, File > Save Grid, File > Exit and the "Get Data" button.
  void Button3Click(QObject* Sender);
  void Button5Click(QObject* Sender);
  void Button2Click(QObject* Sender);
  void ReadOld(QObject* Sender);

  QFrame* Panel1 = nullptr;
  QLineEdit* Edit1 = nullptr;
  QPushButton* Button1 = nullptr;
  TCellGrid* CellGrid1 = nullptr;
  QMenuBar* MainMenu1 = nullptr;
  QMenu* File1 = nullptr;
  QAction* Open1 = nullptr;
  QAction* SaveGrid1 = nullptr;
  QAction* Exit1 = nullptr;
  TOpenDialog OpenDialog1;
  TSaveDialog SaveDialog1;

 private:
  void ApplyFormLook();
  void CreateMenu();
  void CreatePanel(QWidget* client);
  void CreateGrid(QWidget* client);
  void ConfigureDialogs();
  void FixWindowSize();
};

}  // namespace kelvora
