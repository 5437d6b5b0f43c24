#pragma once

#include <functional>

class QObject;

namespace kelvora {

// A command that lets the window's messages through while it works (a save
// that keeps the window painting, a print job with its progress box) must
// still be one step for the person: what it writes is the grid as it stood
// when it began. While one runs, the person's input (keys, clicks, the
// wheel, drops, shortcuts and the window's close) is refused quietly, and
// an error box waits until the command has ended; painting, timers and the
// input of the command's own window go on.
//
// Refused rather than queued: a click or a key meant for the window as it
// was must not act later on a window that has changed.
class TLongCommand {
 public:
  // `own` is the command's own window (a progress box with a Cancel
  // button), or nullptr. Commands nest; the last to end lets input in.
  explicit TLongCommand(QObject* own = nullptr);
  ~TLongCommand();
  TLongCommand(const TLongCommand&) = delete;
  TLongCommand& operator=(const TLongCommand&) = delete;

  static bool Running();

  // Runs `later` once no long command runs any more: at once when none runs
  // now, else from the message loop after the last one has ended.
  static void WhenDone(std::function<void()> later);
};

}  // namespace kelvora
