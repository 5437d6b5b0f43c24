#pragma once

namespace kelvora {

// The shapes the program asks for. crDefault means "no cursor of the
// program's own": every window shows its usual pointer.
enum TCursor {
  crDefault,
  crArrow,
  crIBeam,
  crHourGlass,
  crHandPoint,
  crHSplit,
  crVSplit,
};

// The screen cursor: one cursor for the whole program that wins over the
// cursor of every window, the way a long command shows that it is busy.
// It is one value, not a stack: setting crDefault always brings back the
// usual pointers, however often another cursor was set before.
class TScreen {
 public:
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor cursor);

 private:
  TCursor cursor_ = crDefault;
  bool override_set_ = false;  // whether the program holds an override cursor
};

TScreen& Screen();

// Sets the screen cursor for a scope and puts back the one before on every
// way out of it, exceptions included.
class TCursorGuard {
 public:
  explicit TCursorGuard(TCursor cursor);
  ~TCursorGuard();
  TCursorGuard(const TCursorGuard&) = delete;
  TCursorGuard& operator=(const TCursorGuard&) = delete;

 private:
  TCursor previous_;
};

}  // namespace kelvora
