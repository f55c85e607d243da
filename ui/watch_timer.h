#pragma once
// The watch timer's period rules, on top of a bare start/stop timer.
#include <cstdint>

namespace autopause {

struct TimerDriver {
  // Starts the timer, or restarts it when it runs: the first tick comes one
  // full period later.
  void (*start)(std::uint32_t periodMs);
  void (*stop)();
};

class WatchTimer {
 public:
  explicit WatchTimer(TimerDriver driver) : driver_(driver) {}

  // Negative counts as 0; the period it already has changes nothing; 0 stops it.
  void setPeriod(std::int32_t milliseconds) {
    if (milliseconds < 0) milliseconds = 0;
    if (milliseconds == period_) return;
    period_ = milliseconds;
    if (period_ == 0) {
      driver_.stop();
    } else {
      driver_.start(static_cast<std::uint32_t>(period_));
    }
  }
  std::int32_t period() const { return period_; }

 private:
  TimerDriver driver_;
  std::int32_t period_ = 0;
};

}  // namespace autopause
