#pragma once

#include <QPointer>
#include <QWidget>

#include <functional>
#include <string>
#include <vector>

#include "toolkit/editors/edit_link.h"
#include "toolkit/editors/widget_editor_text.h"
#include "toolkit/grid_types.h"

class QToolButton;

namespace kelvora {

// The editors a cell can have beside the plain edit box.
enum class TSpecialKind {
  SpinInteger,
  SpinDecimal,
  SpinTime,
  SpinDate,
  ComboText,  // free text, or a pick from the list
  ComboList,  // a pick from the list only
  Ellipsis,   // an edit box with a "..." button
  EllipsisNumber,
  EllipsisLeft,
  CheckBox,
  DatePicker,  // a calendar drops down
  DateUpDown,
  TimePicker,
  Button,
  Unit,  // a value and a unit button
  External,
};

// One of Qt's own widgets laid over a cell, fed the cell's text and
// reporting every change the person makes, and only those: loading a text
// reports nothing, so a cell is not rewritten by being looked at. A text
// the widget cannot show (letters in a number's cell) is shown as it is and
// kept until the value is changed.
//
// Enter, Tab and Escape go to the Key hook; a drop-down opens with Alt+Down
// or F4 and Escape closes it before the hook sees Escape.
class TSpecialEditor : public QWidget {
 public:
  struct THooks {
    std::function<void(const std::string& text)> Changed;
    std::function<void(int key, TShiftState shift)> Key;
    std::function<void()> Clicked;  // the ellipsis, unit or push button
  };

  // An External editor shows the link's widget.
  TSpecialEditor(TSpecialKind kind, QWidget* parent, THooks hooks, TEditLink* link = nullptr);
  ~TSpecialEditor() override;

  TSpecialKind Kind() const { return kind_; }
  void SetItems(const std::vector<std::string>& items);
  void Load(const std::string& text);
  // A text the program gives (the ellipsis button's handler): shown and
  // reported as a change.
  void Replace(const std::string& text);
  const std::string& Unit() const { return unit_; }
  void SetUnit(const std::string& unit);
  // The character that opened the editor, typed into it.
  void Replay(char32_t ch);
  void FocusEditor();
  bool HasEditorFocus() const;
  // The widget that holds the value, as a screen reader finds it.
  QWidget* ValueWidget() const { return main_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Build(TEditLink* link);
  QWidget* BuildSpin();
  QWidget* BuildCombo();
  QWidget* BuildLine();
  QToolButton* AddButton(const QString& caption);
  void Watch(QWidget* widget);
  void Report(const std::string& text);
  void LoadSpin(const std::string& text);
  void LoadCombo(const std::string& text);
  bool KeyPressed(QKeyEvent* key);
  void DropCalendar();

  TSpecialKind kind_;
  THooks hooks_;
  QWidget* main_ = nullptr;
  QToolButton* button_ = nullptr;
  TEditLink* link_ = nullptr;
  bool loading_ = false;
  // The form of the text loaded, for writing the value back in it.
  TDecimal decimal_;
  TTimeText time_;
  TDateText date_;
  TCheckWords checkWords_;
  std::string unit_;
  bool unitTyped_ = false;
  QPointer<QWidget> external_;
};

}  // namespace kelvora
