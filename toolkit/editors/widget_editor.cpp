#include "toolkit/editors/widget_editor.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QTimeEdit>
#include <QToolButton>

#include <climits>

#include "toolkit/keys.h"

namespace kelvora {
namespace {

QString Shown(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

bool IsSpin(TSpecialKind kind) {
  switch (kind) {
    case TSpecialKind::SpinInteger:
    case TSpecialKind::SpinDecimal:
    case TSpecialKind::SpinTime:
    case TSpecialKind::SpinDate:
    case TSpecialKind::DatePicker:
    case TSpecialKind::DateUpDown:
    case TSpecialKind::TimePicker: return true;
    default: return false;
  }
}

bool IsLine(TSpecialKind kind) {
  return kind == TSpecialKind::Ellipsis || kind == TSpecialKind::EllipsisNumber ||
         kind == TSpecialKind::EllipsisLeft || kind == TSpecialKind::Unit;
}

// A text no form of the editor reads is shown as the widget's special value,
// the one it takes at its minimum, so that the person sees what the cell
// holds.
void ShowKept(QAbstractSpinBox* spin, const std::string& text) { spin->setSpecialValueText(Shown(text)); }

}  // namespace

// --- Building ------------------------------------------------------------------------

TSpecialEditor::TSpecialEditor(TSpecialKind kind, QWidget* parent, THooks hooks, TEditLink* link)
    : QWidget(parent), kind_(kind), hooks_(std::move(hooks)) {
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  Build(link);
  if (main_) {
    if (kind_ != TSpecialKind::External) layout->insertWidget(kind_ == TSpecialKind::EllipsisLeft ? 1 : 0, main_, 1);
    Watch(main_);
    setFocusProxy(main_);
  }
}

// The program's widget is the program's: it is handed back, hidden.
TSpecialEditor::~TSpecialEditor() {
  if (!external_) return;
  external_->hide();
  external_->setParent(nullptr);
}

void TSpecialEditor::Build(TEditLink* link) {
  if (IsSpin(kind_)) main_ = BuildSpin();
  else if (kind_ == TSpecialKind::ComboText || kind_ == TSpecialKind::ComboList) main_ = BuildCombo();
  else if (IsLine(kind_)) main_ = BuildLine();
  else if (kind_ == TSpecialKind::CheckBox) {
    auto* box = new QCheckBox(this);
    box->setAutoFillBackground(true);
    connect(box, &QCheckBox::toggled, this,
            [this](bool on) { Report(on ? checkWords_.On : checkWords_.Off); });
    main_ = box;
  } else if (kind_ == TSpecialKind::Button) {
    auto* button = new QPushButton(this);
    connect(button, &QPushButton::clicked, this, [this] {
      if (hooks_.Clicked) hooks_.Clicked();
    });
    main_ = button;
  } else if (kind_ == TSpecialKind::External && link && link->Editor) {
    link_ = link;
    external_ = link->Editor;
    main_ = link->Editor;
    main_->setParent(this);
    layout()->addWidget(main_);
    link->SetChangedHandler([self = QPointer<TSpecialEditor>(this)] {
      if (self && self->link_->GetText) self->Report(self->link_->GetText());
    });
  }
}

QWidget* TSpecialEditor::BuildSpin() {
  QAbstractSpinBox* spin = nullptr;
  switch (kind_) {
    case TSpecialKind::SpinInteger: {
      auto* box = new QSpinBox(this);
      box->setRange(INT_MIN, INT_MAX);
      connect(box, &QSpinBox::valueChanged, this, [this](int value) { Report(std::to_string(value)); });
      spin = box;
      break;
    }
    case TSpecialKind::SpinDecimal: {
      auto* box = new QDoubleSpinBox(this);
      box->setRange(-1e15, 1e15);
      box->setDecimals(6);
      connect(box, &QDoubleSpinBox::valueChanged, this,
              [this](double value) { Report(DecimalText(value, decimal_.Separator)); });
      spin = box;
      break;
    }
    case TSpecialKind::SpinTime:
    case TSpecialKind::TimePicker: {
      auto* box = new QTimeEdit(this);
      connect(box, &QTimeEdit::timeChanged, this, [this](QTime time) {
        time_.Time = time;
        Report(TimeText(time_));
      });
      spin = box;
      break;
    }
    default: {
      auto* box = new QDateEdit(this);
      box->setCalendarPopup(kind_ == TSpecialKind::DatePicker);
      connect(box, &QDateEdit::dateChanged, this, [this](QDate date) {
        date_.Date = date;
        Report(DateText(date_));
      });
      spin = box;
      break;
    }
  }
  spin->setLocale(QLocale::c());
  spin->setFrame(false);
  return spin;
}

QWidget* TSpecialEditor::BuildCombo() {
  auto* combo = new QComboBox(this);
  combo->setEditable(kind_ == TSpecialKind::ComboText);
  combo->setFrame(false);
  combo->setInsertPolicy(QComboBox::NoInsert);
  // The cell gives the size; measuring a long list for a size hint would
  // cost more than the whole opening.
  combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  combo->setMinimumContentsLength(1);
  if (combo->isEditable())
    connect(combo, &QComboBox::currentTextChanged, this, [this](const QString& text) { Report(text.toStdString()); });
  else
    connect(combo, &QComboBox::currentIndexChanged, this, [this, combo](int index) {
      if (index >= 0) Report(combo->itemText(index).toStdString());
    });
  return combo;
}

QWidget* TSpecialEditor::BuildLine() {
  auto* line = new QLineEdit(this);
  line->setFrame(false);
  if (kind_ == TSpecialKind::Unit) {
    connect(line, &QLineEdit::textEdited, this,
            [this](const QString& text) { Report(JoinUnit({text.toStdString(), unit_})); });
    button_ = AddButton(QString());
  } else {
    connect(line, &QLineEdit::textEdited, this, [this](const QString& text) { Report(text.toStdString()); });
    button_ = AddButton(QStringLiteral("..."));
  }
  // Typing keeps a number's box a number; a text loaded into it stays.
  if (kind_ == TSpecialKind::EllipsisNumber)
    line->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?[0-9]*([.,][0-9]*)?")), line));
  return line;
}

QToolButton* TSpecialEditor::AddButton(const QString& caption) {
  auto* button = new QToolButton(this);
  button->setText(caption);
  button->setFocusPolicy(Qt::NoFocus);
  static_cast<QHBoxLayout*>(layout())->addWidget(button);
  connect(button, &QToolButton::clicked, this, [this] {
    if (hooks_.Clicked) hooks_.Clicked();
  });
  return button;
}

// Keys reach the widget that has the focus, which may be one inside the
// editor's widget (the text of a spin box or combo box).
void TSpecialEditor::Watch(QWidget* widget) {
  widget->installEventFilter(this);
  for (QWidget* child : widget->findChildren<QWidget*>()) child->installEventFilter(this);
}

// --- The value ---------------------------------------------------------------------

void TSpecialEditor::SetItems(const std::vector<std::string>& items) {
  auto* combo = qobject_cast<QComboBox*>(main_);
  if (!combo) return;
  QStringList list;
  list.reserve(static_cast<qsizetype>(items.size()));
  for (const std::string& item : items) list.push_back(Shown(item));
  loading_ = true;
  combo->clear();
  combo->addItems(list);
  loading_ = false;
}

void TSpecialEditor::Load(const std::string& text) {
  loading_ = true;
  if (IsSpin(kind_)) LoadSpin(text);
  else if (kind_ == TSpecialKind::ComboText || kind_ == TSpecialKind::ComboList) LoadCombo(text);
  else if (auto* line = qobject_cast<QLineEdit*>(main_)) {
    if (kind_ == TSpecialKind::Unit) {
      const TValueUnit parts = SplitUnit(text);
      line->setText(Shown(parts.Value));
      SetUnit(parts.Unit);
      unitTyped_ = false;
    } else {
      line->setText(Shown(text));
    }
    line->selectAll();
  } else if (auto* box = qobject_cast<QCheckBox*>(main_)) {
    checkWords_ = CheckWordsOf(text);
    box->setChecked(checkWords_.Checked);
  } else if (auto* button = qobject_cast<QPushButton*>(main_)) {
    button->setText(Shown(text));
  } else if (link_ && link_->SetText) {
    link_->SetText(text);
  }
  loading_ = false;
}

void TSpecialEditor::LoadSpin(const std::string& text) {
  if (auto* box = qobject_cast<QSpinBox*>(main_)) {
    const std::optional<int> value = IntegerOf(text);
    ShowKept(box, value ? std::string() : text);
    box->setValue(value.value_or(box->minimum()));
  } else if (auto* box = qobject_cast<QDoubleSpinBox*>(main_)) {
    const std::optional<TDecimal> value = DecimalOf(text);
    decimal_ = value.value_or(TDecimal{box->minimum(), '.'});
    ShowKept(box, value ? std::string() : text);
    box->setValue(decimal_.Value);
  } else if (auto* box = qobject_cast<QTimeEdit*>(main_)) {
    const std::optional<TTimeText> value = TimeOf(text);
    time_ = value.value_or(TTimeText{box->minimumTime(), true});
    box->setDisplayFormat(time_.Seconds ? QStringLiteral("HH:mm:ss") : QStringLiteral("HH:mm"));
    ShowKept(box, value ? std::string() : text);
    box->setTime(time_.Time);
  } else if (auto* box = qobject_cast<QDateEdit*>(main_)) {
    const std::optional<TDateText> value = DateOf(text);
    date_ = value.value_or(TDateText{box->minimumDate(), QStringLiteral("yyyy-MM-dd")});
    box->setDisplayFormat(date_.Format);
    ShowKept(box, value ? std::string() : text);
    box->setDate(date_.Date);
  }
  static_cast<QAbstractSpinBox*>(main_)->selectAll();
  // The arrows step the first part of a time or date, wherever the caret is.
  if (auto* box = qobject_cast<QDateTimeEdit*>(main_)) box->setCurrentSectionIndex(0);
}

// A text that is not among a list's items stays in the cell; the list
// shows no pick until the person makes one.
void TSpecialEditor::LoadCombo(const std::string& text) {
  auto* combo = static_cast<QComboBox*>(main_);
  const int index = combo->findText(Shown(text), Qt::MatchExactly);
  if (combo->isEditable()) {
    combo->setEditText(Shown(text));
    combo->lineEdit()->selectAll();
  } else {
    combo->setCurrentIndex(index);
  }
}

void TSpecialEditor::Replace(const std::string& text) {
  Load(text);
  Report(text);
}

void TSpecialEditor::SetUnit(const std::string& unit) {
  unit_ = unit;
  if (button_ && kind_ == TSpecialKind::Unit) button_->setText(Shown(unit));
}

void TSpecialEditor::Report(const std::string& text) {
  if (!loading_ && hooks_.Changed) hooks_.Changed(text);
}

// --- Focus and keys --------------------------------------------------------------

void TSpecialEditor::Replay(char32_t ch) {
  QWidget* target = main_ ? (main_->focusProxy() ? main_->focusProxy() : main_) : nullptr;
  if (!target) return;
  if (auto* combo = qobject_cast<QComboBox*>(main_); combo && combo->lineEdit()) target = combo->lineEdit();
  const QString text = ch == 8 ? QString() : QString::fromUcs4(&ch, 1);
  const int key = ch == 8 ? Qt::Key_Backspace : (ch == U' ' ? Qt::Key_Space : 0);
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QCoreApplication::sendEvent(target, &press);
  QCoreApplication::sendEvent(target, &release);
}

void TSpecialEditor::FocusEditor() {
  if (main_) main_->setFocus(Qt::OtherFocusReason);
}

bool TSpecialEditor::HasEditorFocus() const {
  const QWidget* focus = QApplication::focusWidget();
  return focus && (focus == this || isAncestorOf(focus));
}

// The date edit opens its calendar only from a click on its arrow, so the
// keys that drop a list down click there.
void TSpecialEditor::DropCalendar() {
  const QPoint arrow(main_->width() - 4, main_->height() / 2);
  const QPointF global = main_->mapToGlobal(QPointF(arrow));
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(arrow), global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(main_, &press);
}

bool TSpecialEditor::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ChildAdded) {
    if (auto* child = qobject_cast<QWidget*>(static_cast<QChildEvent*>(event)->child())) child->installEventFilter(this);
  }
  // A drop-down's list or calendar is a window of its own, whose Escape
  // and Enter close it first.
  const auto* widget = qobject_cast<QWidget*>(watched);
  const bool inPopup = widget && widget->window() != window();
  if (event->type() == QEvent::KeyPress && !inPopup && KeyPressed(static_cast<QKeyEvent*>(event))) return true;
  return QWidget::eventFilter(watched, event);
}

// Enter, Tab and Escape end the edit or go back; for the unit editor, a
// character that is no part of a number goes to the unit.
bool TSpecialEditor::KeyPressed(QKeyEvent* key) {
  const TKeyStroke stroke = TranslateKey(*key);
  const bool ends = stroke.Key == VK_RETURN || stroke.Key == VK_TAB || stroke.Key == VK_ESCAPE;
  if (ends && !stroke.Shift.contains(ssAlt)) {
    if (hooks_.Key) hooks_.Key(stroke.Key, stroke.Shift);
    return true;
  }
  const bool dropKey = stroke.Key == VK_F4 || (stroke.Key == VK_DOWN && stroke.Shift.contains(ssAlt));
  if (dropKey && kind_ == TSpecialKind::DatePicker) {
    DropCalendar();
    return true;
  }
  if (kind_ != TSpecialKind::Unit || stroke.Char < 32 || IsValueChar(stroke.Char)) return false;
  // The first unit character typed replaces the unit, as the first digit
  // replaces the selected value.
  SetUnit((unitTyped_ ? unit_ : std::string()) + QString::fromUcs4(&stroke.Char, 1).toStdString());
  unitTyped_ = true;
  Report(JoinUnit({static_cast<QLineEdit*>(main_)->text().toStdString(), unit_}));
  return true;
}

}  // namespace kelvora
