#pragma once
// The window's timer control: a periodic Tick on the GUI thread, raised
// through the toolkit's event loop. Ticks fall due at t0 + n * period on the
// steady clock (t0 = when the count started), so they keep their rhythm over
// any number of periods. A handler that overruns is followed by one tick at
// once and then the rhythm resumes; the ticks it missed are not made up for.

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>

namespace vorlindy {

class TimerControl {
 public:
  using TickHandler = std::function<void()>;  // empty = no handler bound

  // Arms at construction when design_period > 0: the first tick falls due one
  // period later. A negative design period counts as 0.
  TimerControl(std::int32_t design_period, TickHandler on_tick);
  // Disarms; no tick follows, also when destroyed from inside its own handler.
  ~TimerControl();
  TimerControl(const TimerControl&) = delete;
  TimerControl& operator=(const TimerControl&) = delete;

  // Writes Period. A negative value counts as 0, which stops the ticks. The
  // value already stored changes nothing: a running count is not restarted.
  // Any other positive value restarts the count from now.
  void SetPeriod(std::int32_t period);
  std::int32_t Period() const { return period_; }  // never negative
  bool IsRunning() const { return running_; }

 private:
  class Wakeup;  // a one-shot wake-up at a steady-clock deadline, on the event loop

  void Arm();
  void Disarm();
  void OnWakeup();

  std::int32_t period_ = 0;
  bool running_ = false;
  std::chrono::steady_clock::time_point count_start_;
  std::chrono::steady_clock::time_point next_deadline_;
  // Shared so that a handler which destroys this control keeps itself alive
  // until it returns.
  std::shared_ptr<const TickHandler> on_tick_;
  std::unique_ptr<Wakeup> wakeup_;
  bool in_tick_ = false;
  bool* destroyed_during_tick_ = nullptr;  // points into OnWakeup's frame while a tick runs
};

}  // namespace vorlindy
