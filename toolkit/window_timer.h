#pragma once

#include <QBasicTimer>
#include <QObject>

#include <functional>

namespace kelvora {

// A repeating timer that calls OnTimer once per tick on the user-interface
// thread. An exception thrown by OnTimer ends in the application's error box
// and the timer keeps running.
class TWindowTimer : public QObject {
 public:
  static constexpr int kDefaultInterval = 500;  // milliseconds

  explicit TWindowTimer(QObject* parent = nullptr);

  int Interval() const { return interval_; }
  // A running timer goes on at the new interval. An interval below 1 ms is
  // taken as 1 ms, so that a tick can never starve the other events.
  void SetInterval(int milliseconds);

  bool Enabled() const { return timer_.isActive(); }
  void SetEnabled(bool enabled);
  void Start() { SetEnabled(true); }
  void Stop() { SetEnabled(false); }

  std::function<void()> OnTimer;

 protected:
  void timerEvent(QTimerEvent* event) override;

 private:
  QBasicTimer timer_;
  int interval_ = kDefaultInterval;
};

}  // namespace kelvora
