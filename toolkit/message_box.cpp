#include "toolkit/message_box.h"

#include <QApplication>
#include <QClipboard>
#include <QMessageBox>
#include <QShortcut>

#include <algorithm>
#include <deque>
#include <utility>

#include "toolkit/byte_text.h"
#include "toolkit/long_command.h"

namespace kelvora {
namespace {

using TBoxMessage = std::pair<std::string, std::string>;  // caption, text

// More distinct errors than this while one box is open are a flood that no
// one reads; the oldest ones are kept because they tell how it started.
constexpr std::size_t kMaxWaitingBoxes = 8;

struct TErrorBoxState {
  TMessageSink sink;
  bool showing = false;
  TBoxMessage current;
  std::deque<TBoxMessage> waiting;
};

TErrorBoxState& State() {
  static TErrorBoxState state;
  return state;
}

void Present(const TBoxMessage& message) {
  if (State().sink) {
    State().sink(message.first, message.second);
    return;
  }
  QMessageBox box(QMessageBox::Critical, DisplayText(message.first), DisplayText(message.second),
                  QMessageBox::Ok, QApplication::activeWindow());
  LetCtrlCCopyText(box);
  box.exec();
}

}  // namespace

void LetCtrlCCopyText(QMessageBox& box) {
  auto* copy = new QShortcut(QKeySequence::Copy, &box);
  QObject::connect(copy, &QShortcut::activated, &box,
                   [&box] { QApplication::clipboard()->setText(box.text()); });
}

namespace {

bool AlreadyQueued(const TBoxMessage& message) {
  const TErrorBoxState& state = State();
  return state.current == message ||
         std::find(state.waiting.begin(), state.waiting.end(), message) != state.waiting.end();
}

// Ends the showing phase however the boxes end, so that one failure to show
// a box does not silence every later error.
class TShowingScope {
 public:
  TShowingScope() { State().showing = true; }
  ~TShowingScope() {
    State().showing = false;
    State().current = {};
    State().waiting.clear();
  }
  TShowingScope(const TShowingScope&) = delete;
  TShowingScope& operator=(const TShowingScope&) = delete;
};

}  // namespace

void ShowErrorBox(const std::string& caption, const std::string& text) {
  // A modal box opened in the middle of a long command would hold the
  // command up until the person closes it.
  if (TLongCommand::Running()) {
    TLongCommand::WhenDone([caption, text] { ShowErrorBox(caption, text); });
    return;
  }
  TErrorBoxState& state = State();
  TBoxMessage message{caption, text};
  if (state.showing) {
    if (!AlreadyQueued(message) && state.waiting.size() < kMaxWaitingBoxes)
      state.waiting.push_back(std::move(message));
    return;
  }
  TShowingScope scope;
  state.current = std::move(message);
  Present(state.current);
  while (!state.waiting.empty()) {
    state.current = std::move(state.waiting.front());
    state.waiting.pop_front();
    Present(state.current);
  }
}

TMessageSinkGuard::TMessageSinkGuard(TMessageSink sink) : previous_(std::move(State().sink)) {
  State().sink = std::move(sink);
}

TMessageSinkGuard::~TMessageSinkGuard() { State().sink = std::move(previous_); }

}  // namespace kelvora
