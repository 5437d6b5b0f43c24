#include "toolkit/long_command.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMetaObject>
#include <QPointer>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <utility>
#include <vector>

namespace kelvora {
namespace {

bool IsPersonsInput(QEvent::Type type) {
  switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::InputMethod:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::TabletMove:
    case QEvent::ContextMenu:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
      return true;
    default:
      return false;
  }
}

// Only a window's own close is refused: pop-ups and tool tips close
// themselves as they always do.
bool IsWindowClose(QObject* receiver, const QEvent* event) {
  if (event->type() != QEvent::Close) return false;
  Qt::WindowType type = Qt::Widget;
  if (const auto* window = qobject_cast<QWindow*>(receiver)) {
    type = window->type();
  } else if (const auto* widget = qobject_cast<QWidget*>(receiver); widget && widget->isWindow()) {
    type = widget->windowType();
  }
  return type == Qt::Window || type == Qt::Dialog;
}

// The receiver, or the window it belongs to, is `own`.
bool WithinOwnWindow(QObject* receiver, const QObject* own) {
  if (!own) return false;
  if (const auto* widget = qobject_cast<QWidget*>(receiver)) return widget->window() == own;
  if (const auto* window = qobject_cast<QWindow*>(receiver)) {
    const auto* ownWidget = qobject_cast<const QWidget*>(own);
    return window == own || (ownWidget && window == ownWidget->windowHandle());
  }
  return false;
}

class TInputRefusal : public QObject {
 public:
  std::vector<QPointer<QObject>> ownWindows;  // one a running command, maybe null

 protected:
  bool eventFilter(QObject* receiver, QEvent* event) override {
    const bool close = IsWindowClose(receiver, event);
    if (!close && !IsPersonsInput(event->type())) return false;
    for (const QPointer<QObject>& own : ownWindows)
      if (WithinOwnWindow(receiver, own.data())) return false;
    if (close) event->ignore();
    return true;
  }
};

struct TLongCommandState {
  int running = 0;
  TInputRefusal* refusal = nullptr;
  std::vector<std::function<void()>> waiting;
};

TLongCommandState& State() {
  static TLongCommandState state;
  return state;
}

// What waited runs from the message loop, not inside the command's own
// clean-up: a modal box there would hold up the command's return.
void RunWaiting() {
  std::vector<std::function<void()>> waiting = std::move(State().waiting);
  State().waiting.clear();
  QCoreApplication* application = QCoreApplication::instance();
  for (auto& later : waiting) {
    if (application)
      QMetaObject::invokeMethod(application, std::move(later), Qt::QueuedConnection);
    else
      later();
  }
}

}  // namespace

TLongCommand::TLongCommand(QObject* own) {
  TLongCommandState& state = State();
  if (state.running++ == 0 && QCoreApplication::instance()) {
    state.refusal = new TInputRefusal;
    QCoreApplication::instance()->installEventFilter(state.refusal);
  }
  if (state.refusal) state.refusal->ownWindows.emplace_back(own);
}

TLongCommand::~TLongCommand() {
  TLongCommandState& state = State();
  if (state.refusal && !state.refusal->ownWindows.empty()) state.refusal->ownWindows.pop_back();
  if (--state.running > 0) return;
  delete std::exchange(state.refusal, nullptr);  // removes itself as a filter
  RunWaiting();
}

bool TLongCommand::Running() { return State().running > 0; }

void TLongCommand::WhenDone(std::function<void()> later) {
  if (!Running()) {
    later();
    return;
  }
  State().waiting.push_back(std::move(later));
}

}  // namespace kelvora
