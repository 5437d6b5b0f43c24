#include "toolkit/editors/inplace_edit.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>
#include <cstdlib>
#include <functional>

#include "toolkit/application.h"
#include "toolkit/byte_text.h"
#include "toolkit/clipboard.h"
#include "toolkit/color.h"
#include "toolkit/grid_base/custom_grid.h"
#include "toolkit/keys.h"
#include "toolkit/qt_canvas.h"

namespace kelvora {
namespace {

// The box shows line breaks as '\n'; the cell holds them as CR LF, so in
// every position a line break counts two.
int Step(QChar c) { return c == u'\n' ? 2 : 1; }

bool PairAt(const QString& s, qsizetype i) {
  return s.at(i).isHighSurrogate() && i + 1 < s.size() && s.at(i + 1).isLowSurrogate();
}

int TextPos(const QString& shown, qsizetype shownPos) {
  int pos = 0;
  for (qsizetype i = 0; i < shownPos && i < shown.size(); i += PairAt(shown, i) ? 2 : 1)
    pos += Step(shown.at(i));
  return pos;
}

// The position in the box of text position `pos`, rounded down when it
// falls inside a line break.
qsizetype ShownPos(const QString& shown, int pos) {
  qsizetype i = 0;
  int at = 0;
  while (i < shown.size() && at + Step(shown.at(i)) <= pos) {
    at += Step(shown.at(i));
    i += PairAt(shown, i) ? 2 : 1;
  }
  return i;
}

// Both run once per keystroke over the whole text, so each is one pass over
// the bytes: a cell of ten megabytes costs milliseconds, not seconds. CR and
// LF are the same bytes in UTF-8 and in Windows-1252, so line breaks can be
// mended before the text is decoded.
QString ShownFromBytes(const std::string& bytes) {
  if (bytes.find('\r') == std::string::npos) return DisplayText(bytes);
  std::string lines(bytes.size(), '\0');
  char* out = lines.data();
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const bool pair = bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n';
    *out++ = bytes[i] == '\r' ? '\n' : bytes[i];
    if (pair) ++i;
  }
  lines.resize(static_cast<std::size_t>(out - lines.data()));
  return DisplayText(lines);
}

std::string BytesFromShown(QString shown) {
  shown.replace(QChar::ParagraphSeparator, u'\n');
  std::string utf8 = StoredText(shown);
  const auto breaks = static_cast<std::size_t>(std::count(utf8.begin(), utf8.end(), '\n'));
  if (breaks == 0) return utf8;
  std::string bytes(utf8.size() + breaks, '\0');
  char* out = bytes.data();
  for (const char c : utf8) {
    if (c == '\n') *out++ = '\r';
    *out++ = c;
  }
  return bytes;
}

}  // namespace

// The Qt control inside the edit window. It hands its keys, focus changes and
// menu to the window and offers the few text operations the window needs.
class TEditControl {
 public:
  explicit TEditControl(TInplaceEdit* owner) : owner_(owner) {}
  virtual ~TEditControl() = default;

  virtual QWidget* Widget() = 0;
  virtual QString Shown() const = 0;
  virtual void SetShown(const QString& text) = 0;
  virtual int Cursor() const = 0;
  virtual int Anchor() const = 0;
  virtual void Select(int anchor, int cursor) = 0;
  virtual void Insert(const QString& text) = 0;  // replaces the selection
  virtual void Backspace() = 0;
  virtual void OwnKeyPress(QKeyEvent* event) = 0;
  virtual void OwnKeyRelease(QKeyEvent* event) = 0;

  void SetLook(const QFont& font, const QColor& background, const QColor& text) {
    QWidget* w = Widget();
    w->setFont(font);
    QPalette palette = w->palette();
    palette.setColor(QPalette::Base, background);
    palette.setColor(QPalette::Text, text);
    w->setPalette(palette);
  }

  // A control being replaced tells its window nothing more.
  void Retire() { owner_ = nullptr; }

 protected:
  // Every call into the window runs guarded: the control is Qt's, and an
  // exception from a grid's handler must not unwind through it.
  void KeyPressed(QKeyEvent* e) { Forward([&] { owner_->HandleKeyPress(e); }); }
  void KeyReleased(QKeyEvent* e) { Forward([&] { owner_->HandleKeyRelease(e); }); }
  void TextChanged() { Forward([&] { owner_->ControlTextChanged(); }); }
  // A context menu of the box is part of editing in it, not a focus change.
  void FocusIn(const QFocusEvent* e) {
    if (e->reason() != Qt::PopupFocusReason) Forward([&] { owner_->ControlFocusIn(); });
  }
  void FocusOut(const QFocusEvent* e) {
    if (e->reason() != Qt::PopupFocusReason) Forward([&] { owner_->ControlFocusOut(); });
  }
  void ContextMenu(const QPoint& at) { Forward([&] { owner_->HandleContextMenu(at); }); }
  void InsertOther(const QString& text) { Forward([&] { owner_->InsertLimited(text); }); }

  // Qt moves the focus on Tab before a widget sees the key; the window
  // decides what Tab does.
  static bool IsTab(QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    return key == Qt::Key_Tab || key == Qt::Key_Backtab;
  }

 private:
  void Forward(const std::function<void()>& call) {
    if (owner_) RunGuarded(call);
  }

  TInplaceEdit* owner_;
};

namespace {

class TMultiLineControl final : public QPlainTextEdit, public TEditControl {
 public:
  TMultiLineControl(TInplaceEdit* owner, bool rightAligned, bool wordWrap)
      : QPlainTextEdit(owner), TEditControl(owner) {
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(wordWrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    setFocusPolicy(Qt::ClickFocus);
    setAcceptDrops(false);
    document()->setDocumentMargin(2);
    if (rightAligned) {
      QTextOption option = document()->defaultTextOption();
      option.setAlignment(Qt::AlignRight);
      document()->setDefaultTextOption(option);
    }
    connect(this, &QPlainTextEdit::textChanged, this, [this] { TextChanged(); });
  }

  QWidget* Widget() override { return this; }
  QString Shown() const override { return toPlainText(); }
  void SetShown(const QString& text) override { setPlainText(text); }
  int Cursor() const override { return textCursor().position(); }
  int Anchor() const override { return textCursor().anchor(); }
  void Select(int anchor, int cursor) override {
    QTextCursor c = textCursor();
    c.setPosition(anchor);
    c.setPosition(cursor, QTextCursor::KeepAnchor);
    setTextCursor(c);
  }
  void Insert(const QString& text) override {
    QTextCursor c = textCursor();
    c.insertText(text);
    setTextCursor(c);
  }
  void Backspace() override {
    QTextCursor c = textCursor();
    if (c.hasSelection()) c.removeSelectedText();
    else c.deletePreviousChar();
    setTextCursor(c);
  }
  void OwnKeyPress(QKeyEvent* event) override { QPlainTextEdit::keyPressEvent(event); }
  void OwnKeyRelease(QKeyEvent* event) override { QPlainTextEdit::keyReleaseEvent(event); }

 protected:
  bool event(QEvent* event) override {
    if (IsTab(event)) {
      keyPressEvent(static_cast<QKeyEvent*>(event));
      return true;
    }
    return QPlainTextEdit::event(event);
  }
  void keyPressEvent(QKeyEvent* event) override { KeyPressed(event); }
  void keyReleaseEvent(QKeyEvent* event) override { KeyReleased(event); }
  void focusInEvent(QFocusEvent* event) override {
    QPlainTextEdit::focusInEvent(event);
    FocusIn(event);
  }
  void focusOutEvent(QFocusEvent* event) override {
    QPlainTextEdit::focusOutEvent(event);
    FocusOut(event);
  }
  void contextMenuEvent(QContextMenuEvent* event) override { ContextMenu(event->globalPos()); }
  // What is left of Qt's own inserting: the middle-button selection paste.
  void insertFromMimeData(const QMimeData* source) override {
    if (source->hasText()) InsertOther(source->text());
  }
};

class TPasswordControl final : public QLineEdit, public TEditControl {
 public:
  TPasswordControl(TInplaceEdit* owner, char32_t mask, bool rightAligned)
      : QLineEdit(owner), TEditControl(owner) {
    setFrame(false);
    setEchoMode(QLineEdit::Password);
    setFocusPolicy(Qt::ClickFocus);
    setAcceptDrops(false);
    setAlignment((rightAligned ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: %1; }").arg(static_cast<uint>(mask)));
    connect(this, &QLineEdit::textChanged, this, [this] { TextChanged(); });
  }

  QWidget* Widget() override { return this; }
  QString Shown() const override { return text(); }
  void SetShown(const QString& text) override { setText(text); }
  int Cursor() const override { return cursorPosition(); }
  int Anchor() const override {
    if (!hasSelectedText()) return cursorPosition();
    return selectionStart() == cursorPosition() ? selectionEnd() : selectionStart();
  }
  void Select(int anchor, int cursor) override {
    if (anchor == cursor) setCursorPosition(cursor);
    else setSelection(anchor, cursor - anchor);
  }
  void Insert(const QString& text) override { insert(text); }
  void Backspace() override { backspace(); }
  void OwnKeyPress(QKeyEvent* event) override { QLineEdit::keyPressEvent(event); }
  void OwnKeyRelease(QKeyEvent* event) override { QLineEdit::keyReleaseEvent(event); }

 protected:
  bool event(QEvent* event) override {
    if (IsTab(event)) {
      keyPressEvent(static_cast<QKeyEvent*>(event));
      return true;
    }
    return QLineEdit::event(event);
  }
  void keyPressEvent(QKeyEvent* event) override { KeyPressed(event); }
  void keyReleaseEvent(QKeyEvent* event) override { KeyReleased(event); }
  void focusInEvent(QFocusEvent* event) override {
    QLineEdit::focusInEvent(event);
    FocusIn(event);
  }
  void focusOutEvent(QFocusEvent* event) override {
    QLineEdit::focusOutEvent(event);
    FocusOut(event);
  }
  void contextMenuEvent(QContextMenuEvent* event) override { ContextMenu(event->globalPos()); }
};

}  // namespace

// --- Creation ---------------------------------------------------------------------

TInplaceEdit::TInplaceEdit(TCustomGrid* grid) : QWidget(grid->viewport()), grid_(grid), host_(*grid) {
  setFocusPolicy(Qt::ClickFocus);
  hide();
}

TInplaceEdit::~TInplaceEdit() {
  if (control_) control_->Retire();
}

void TInplaceEdit::CreateParams(TEditParams&) {}

void TInplaceEdit::CreateWnd() {
  TEditParams params;
  CreateParams(params);
  if (MultiLine()) control_ = new TMultiLineControl(this, params.RightAligned, params.WordWrap);
  else control_ = new TPasswordControl(this, passwordChar_, params.RightAligned);
  QWidget* widget = control_->Widget();
  widget->setGeometry(rect());
  widget->show();
  setFocusProxy(widget);
  ApplyGridLook();
}

void TInplaceEdit::HandleNeeded() {
  if (!control_) CreateWnd();
}

// The old control may be the one whose key asked for the change, so it is
// deleted only once that key is done.
void TInplaceEdit::RecreateWnd() {
  if (!control_) {
    CreateWnd();
    return;
  }
  TEditControl* old = control_;
  const QString shown = old->Shown();
  const int anchor = old->Anchor();
  const int cursor = old->Cursor();
  const bool focused = old->Widget()->hasFocus();
  old->Retire();
  CreateWnd();
  loading_ = true;
  control_->SetShown(shown);
  loading_ = false;
  control_->Select(std::min<int>(anchor, shown.size()), std::min<int>(cursor, shown.size()));
  if (focused) control_->Widget()->setFocus();
  old->Widget()->hide();
  old->Widget()->deleteLater();
}

QWidget* TInplaceEdit::Control() const { return control_ ? control_->Widget() : nullptr; }

void TInplaceEdit::Move(const TRect& r) { setGeometry(r.Left, r.Top, r.Width(), r.Height()); }

void TInplaceEdit::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (control_) control_->Widget()->setGeometry(rect());
}

void TInplaceEdit::SetPasswordChar(char32_t ch) {
  if (ch == passwordChar_) return;
  passwordChar_ = ch;
  if (control_) RecreateWnd();
}

void TInplaceEdit::SetMaxLength(int length) { maxLength_ = std::max(length, 0); }

// --- Text and selection -----------------------------------------------------------

std::string TInplaceEdit::Text() const { return control_ ? BytesFromShown(control_->Shown()) : std::string(); }

void TInplaceEdit::SetText(const std::string& text) {
  HandleNeeded();
  control_->SetShown(ShownFromBytes(text));
}

void TInplaceEdit::LoadText(const std::string& text) {
  HandleNeeded();
  loading_ = true;
  control_->SetShown(ShownFromBytes(text));
  loading_ = false;
}

int TInplaceEdit::SelStart() const {
  if (!control_) return 0;
  return TextPos(control_->Shown(), std::min(control_->Anchor(), control_->Cursor()));
}

void TInplaceEdit::SetSelStart(int start) {
  HandleNeeded();
  const auto pos = static_cast<int>(ShownPos(control_->Shown(), std::max(start, 0)));
  control_->Select(pos, pos);
}

int TInplaceEdit::SelLength() const {
  if (!control_) return 0;
  const QString shown = control_->Shown();
  const int a = control_->Anchor();
  const int c = control_->Cursor();
  return TextPos(shown, std::max(a, c)) - TextPos(shown, std::min(a, c));
}

void TInplaceEdit::SetSelLength(int length) {
  HandleNeeded();
  const QString shown = control_->Shown();
  const int start = std::min(control_->Anchor(), control_->Cursor());
  const auto end = static_cast<int>(ShownPos(shown, TextPos(shown, start) + std::max(length, 0)));
  control_->Select(start, end);
}

std::string TInplaceEdit::SelText() const {
  if (!control_) return {};
  const int a = control_->Anchor();
  const int c = control_->Cursor();
  return BytesFromShown(control_->Shown().mid(std::min(a, c), std::abs(a - c)));
}

void TInplaceEdit::SetSelText(const std::string& text) {
  HandleNeeded();
  control_->Insert(ShownFromBytes(text));
}

void TInplaceEdit::SelectAll() {
  HandleNeeded();
  control_->Select(0, static_cast<int>(control_->Shown().size()));
}

void TInplaceEdit::Deselect() {
  HandleNeeded();
  const auto end = static_cast<int>(control_->Shown().size());
  control_->Select(end, end);
}

bool TInplaceEdit::CaretOnFirstLine() const {
  return !control_ || !control_->Shown().left(control_->Cursor()).contains(u'\n');
}

bool TInplaceEdit::CaretOnLastLine() const {
  return !control_ || !control_->Shown().mid(control_->Cursor()).contains(u'\n');
}

bool TInplaceEdit::AtStart() const { return control_->Anchor() == control_->Cursor() && control_->Cursor() == 0; }

bool TInplaceEdit::AtEnd() const {
  return control_->Anchor() == control_->Cursor() && control_->Cursor() == control_->Shown().size();
}

int TInplaceEdit::LengthOf(const QString& shown) const { return TextPos(shown, shown.size()); }

// Typing and pasting stop at the length limit; what does not fit is dropped.
void TInplaceEdit::InsertLimited(QString text) {
  HandleNeeded();
  if (!MultiLine()) text = text.left(text.indexOf(u'\n'));
  if (maxLength_ > 0) {
    const QString shown = control_->Shown();
    const int kept = LengthOf(shown) - (TextPos(shown, std::max(control_->Anchor(), control_->Cursor())) -
                                        TextPos(shown, std::min(control_->Anchor(), control_->Cursor())));
    text.truncate(ShownPos(text, std::max(maxLength_ - kept, 0)));
  }
  if (!text.isEmpty()) control_->Insert(text);
}

// --- Changes ---------------------------------------------------------------------

void TInplaceEdit::ControlTextChanged() {
  if (!loading_) Change();
}

void TInplaceEdit::Change() { host_.EditorTextChanged(); }

void TInplaceEdit::ApplyGridLook() {
  if (!control_) return;
  const TFont font = host_.EditorFont();
  control_->SetLook(ToQFont(font), ToQColor(host_.EditorColor()), ToQColor(font.Color));
}

void TInplaceEdit::SetEditColors(TColor background, TColor text) {
  HandleNeeded();
  control_->SetLook(ToQFont(host_.EditorFont()), ToQColor(background), ToQColor(text));
}

void TInplaceEdit::UpdateContents() {
  HandleNeeded();
  ApplyGridLook();
  LoadText(host_.EditorStartText());
}

void TInplaceEdit::DoEnter() {}
void TInplaceEdit::DoExit() {}

// --- Keys --------------------------------------------------------------------------

void TInplaceEdit::HandleKeyPress(QKeyEvent* event) {
  const TKeyStroke stroke = TranslateKey(*event);
  host_.EditorKeyShift(stroke.Shift);
  int key = stroke.Key;
  if (key != 0) KeyDown(key, stroke.Shift);
  if (stroke.Char == 0) {
    if (key != 0 || stroke.Key == 0) DefaultKeyDown(event);
    return;
  }
  char32_t ch = stroke.Char;
  KeyPress(ch);
  if (ch == 0) return;
  // Control characters other than Backspace and Enter are shortcuts of the
  // box (select all, undo, copy) rather than text.
  const bool shortcut = ch < 32 && ch != 8 && ch != 13;
  if (!shortcut) TypeChar(ch);
  else if (ch == stroke.Char) DefaultKeyDown(event);
}

void TInplaceEdit::HandleKeyRelease(QKeyEvent* event) {
  const TKeyStroke stroke = TranslateKey(*event);
  int key = stroke.Key;
  if (key != 0) KeyUp(key, stroke.Shift);
  if (control_) control_->OwnKeyRelease(event);
}

// A character handed over by the grid, as if it had been typed here.
void TInplaceEdit::DeliverChar(char32_t ch) {
  KeyPress(ch);
  if (ch == 8 || ch == 13 || ch >= 32) TypeChar(ch);
}

void TInplaceEdit::TypeChar(char32_t ch) {
  HandleNeeded();
  if (ch == 8) {
    control_->Backspace();
    return;
  }
  if (ch == 13) {
    if (MultiLine()) InsertLimited(QStringLiteral("\n"));
    return;
  }
  InsertLimited(QString::fromUcs4(&ch, 1));
}

void TInplaceEdit::DefaultKeyDown(QKeyEvent* event) {
  if (ClipboardShortcut(event)) return;
  if (control_) control_->OwnKeyPress(event);
}

bool TInplaceEdit::ClipboardShortcut(QKeyEvent* event) {
  if (event->matches(QKeySequence::Paste)) Paste();
  else if (event->matches(QKeySequence::Cut)) Cut();
  else if (event->matches(QKeySequence::Copy)) Copy();
  else return false;
  return true;
}

void TInplaceEdit::KeyDown(int& Key, TShiftState Shift) {
  // With goAlwaysShowEditor the arrows leave the box at its ends, or else
  // there would be no way to another cell.
  const bool walkOut = host_.EditorOptions().contains(goAlwaysShowEditor);
  const bool ctrl = Shift.contains(ssCtrl);
  switch (Key) {
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_RETURN:
    case VK_ESCAPE: SendToGrid(Key, Shift); break;
    case VK_TAB:
      if (Shift.contains(ssAlt)) break;
      if (host_.EditorOptions().contains(goTabs)) {
        SendToGrid(Key, Shift);
      } else {
        host_.EditorFocusNeighbour(!Shift.contains(ssShift));
        Key = 0;
      }
      break;
    case VK_LEFT:
    case VK_HOME:
      if (walkOut && (ctrl || AtStart())) SendToGrid(Key, Shift);
      break;
    case VK_RIGHT:
    case VK_END:
      if (walkOut && (ctrl || AtEnd())) SendToGrid(Key, Shift);
      break;
    case VK_F2:
      Deselect();
      Key = 0;
      break;
    default: break;
  }
}

void TInplaceEdit::KeyUp(int& Key, TShiftState Shift) { GridKeyUp(Key, Shift); }

void TInplaceEdit::KeyPress(char32_t& Key) {
  GridKeyPress(Key);
  if (Key == 9 || Key == 27) Key = 0;
}

void TInplaceEdit::GridKeyDown(int& Key, TShiftState Shift) { host_.EditorKeyDown(Key, Shift); }
void TInplaceEdit::GridKeyUp(int& Key, TShiftState Shift) { host_.EditorKeyUp(Key, Shift); }
void TInplaceEdit::GridKeyPress(char32_t& Key) { host_.EditorKeyPress(Key); }

void TInplaceEdit::SendToGrid(int& Key, TShiftState Shift) {
  GridKeyDown(Key, Shift);
  Key = 0;
}

// --- Clipboard ---------------------------------------------------------------------

void TInplaceEdit::Paste() {
  if (ClipboardHasText()) InsertLimited(ShownFromBytes(ClipboardText()));
}

void TInplaceEdit::Copy() { CopySelection(); }

// Cutting copies without asking Copy, so that a grid that refuses copying
// cannot make a cut lose the text.
void TInplaceEdit::Cut() {
  if (!MultiLine() || SelLength() == 0) return;
  CopySelection();
  control_->Insert(QString());
}

// A password never leaves the box.
void TInplaceEdit::CopySelection() {
  if (!MultiLine()) return;
  const std::string selected = SelText();
  if (!selected.empty()) SetClipboardText(selected);
}

// The menu's actions run inside its own event loop, so each is guarded.
void TInplaceEdit::HandleContextMenu(const QPoint& globalPos) {
  const bool selected = SelLength() > 0;
  QMenu menu(this);
  const auto add = [&](const char* text, std::function<void()> action, bool enabled) {
    menu.addAction(QString::fromLatin1(text), this, [action] { RunGuarded(action); })->setEnabled(enabled);
  };
  add("Cu&t", [this] { Cut(); }, selected && MultiLine());
  add("&Copy", [this] { Copy(); }, selected && MultiLine());
  add("&Paste", [this] { Paste(); }, ClipboardHasText());
  add("&Delete", [this] { control_->Insert(QString()); }, selected);
  menu.addSeparator();
  add("Select &All", [this] { SelectAll(); }, true);
  menu.exec(globalPos);
}

}  // namespace kelvora
