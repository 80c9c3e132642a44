#include "ui/timer_control.h"

#include <wx/app.h>
#include <wx/event.h>

#include <algorithm>
#include <climits>
#include <utility>

#include "ui/tick_schedule.h"

// Under wxGTK the wake-up is a GLib source of the default main context (the
// loop wx runs), so it needs nothing of wx's timer, which counts each interval
// from the moment it was handled and so drifts. Elsewhere a one-shot wxTimer
// is re-armed for every deadline. VORLINDY_TIMER_USE_WXTIMER selects that
// portable variant on GTK too, so it stays built and tested.
#if defined(__WXGTK__) && !defined(VORLINDY_TIMER_USE_WXTIMER)
#define VORLINDY_TIMER_GLIB_SOURCE 1
#include <glib.h>
#ifdef __linux__
#include <poll.h>
#include <sys/timerfd.h>
#include <unistd.h>

#include <cerrno>
#endif
#else
#include <wx/timer.h>
#endif

namespace vorlindy {

using std::chrono::milliseconds;

namespace {

wxDEFINE_EVENT(kTickEvent, wxCommandEvent);

// Runs the handler through wx's event processing: an exception it throws then
// reaches wxApp::OnExceptionInMainLoop instead of unwinding through the C
// frames of the toolkit's loop, and wxApp::FilterEvent sees the tick like any
// other event. The relay lives on this frame, not in the control, because the
// handler may destroy the control.
void RaiseTick(std::shared_ptr<const TimerControl::TickHandler> handler) {
  if (!handler) return;
  wxEvtHandler relay;
  relay.Bind(kTickEvent, [&handler](wxCommandEvent&) { (*handler)(); });
  wxCommandEvent tick(kTickEvent);
  relay.SafelyProcessEvent(tick);
}

}  // namespace

#ifdef VORLINDY_TIMER_GLIB_SOURCE

#ifdef __linux__
namespace {

// Waking the whole main loop (poll, GLib's checks, the way into the dispatch)
// costs some tens of microseconds more than waking a thread blocked on the
// timerfd alone, mostly for caches gone cold since the last tick. So the loop
// is woken this much before the deadline, and the dispatch waits out the rest
// on the timerfd: the GUI thread is held for at most this long per tick.
constexpr std::chrono::microseconds kEarlyWake{500};

void ArmTimerFd(int fd, TickClock::time_point deadline) {
  const auto ns = std::max<std::int64_t>(
      std::chrono::duration_cast<std::chrono::nanoseconds>(deadline.time_since_epoch()).count(), 1);
  itimerspec expiry{};  // it_value 0 would disarm, hence the 1 ns floor above
  expiry.it_value.tv_sec = static_cast<time_t>(ns / 1'000'000'000);
  expiry.it_value.tv_nsec = static_cast<long>(ns % 1'000'000'000);
  timerfd_settime(fd, TFD_TIMER_ABSTIME, &expiry, nullptr);
}

// Re-arming resets the expiry count, so this also makes the fd unreadable.
void DisarmTimerFd(int fd) {
  const itimerspec disarmed{};
  timerfd_settime(fd, 0, &disarmed, nullptr);
}

void WaitOnTimerFdUntil(int fd, TickClock::time_point deadline) {
  ArmTimerFd(fd, deadline);
  for (auto now = TickClock::now(); now < deadline; now = TickClock::now()) {
    // The time-out only backs the timerfd up; it is coarser and carries the
    // thread's timer slack.
    const auto backstop = std::chrono::ceil<milliseconds>(deadline - now).count() + 1;
    pollfd expiry{fd, POLLIN, 0};
    const int ready = poll(&expiry, 1, static_cast<int>(backstop));
    if (ready > 0 || (ready < 0 && errno != EINTR)) break;
  }
}

}  // namespace
#endif

// A GLib source that is dispatched once its deadline has come. GLib's own
// ready time alone would do, but the loop rounds its poll time-out up to whole
// milliseconds; on Linux a timerfd on the absolute deadline is polled as well,
// so the loop wakes within microseconds. Both count on CLOCK_MONOTONIC, the
// clock behind std::chrono::steady_clock and g_get_monotonic_time on Linux.
class TimerControl::Wakeup {
 public:
  explicit Wakeup(TimerControl& owner)
      : source_(reinterpret_cast<Source*>(g_source_new(&kFuncs, sizeof(Source)))) {
    source_->owner = &owner;
    source_->timer_fd = -1;
    source_->deadline = {};
#ifdef __linux__
    source_->timer_fd = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (source_->timer_fd >= 0) g_source_add_unix_fd(&source_->base, source_->timer_fd, G_IO_IN);
#endif
    g_source_set_priority(&source_->base, G_PRIORITY_DEFAULT);  // that of the toolkit's timers
    g_source_attach(&source_->base, nullptr);
  }

  ~Wakeup() { source_->owner = nullptr; }  // GLib may still hold the source while it dispatches it

  void At(TickClock::time_point deadline) {
    source_->deadline = deadline;
    g_source_set_ready_time(
        &source_->base,
        std::chrono::ceil<std::chrono::microseconds>(deadline.time_since_epoch()).count());
#ifdef __linux__
    if (source_->timer_fd >= 0) ArmTimerFd(source_->timer_fd, deadline - kEarlyWake);
#endif
  }

  void Cancel() { Cancel(*source_); }

 private:
  struct Source {
    GSource base;  // first, so a GSource* is a Source*
    TimerControl* owner;
    int timer_fd;
    TickClock::time_point deadline;
  };

  static void Cancel(Source& source) {
    g_source_set_ready_time(&source.base, -1);
#ifdef __linux__
    if (source.timer_fd >= 0) DisarmTimerFd(source.timer_fd);
#endif
  }

  static gboolean Dispatch(GSource* base, GSourceFunc, gpointer) {
    auto& source = *reinterpret_cast<Source*>(base);
#ifdef __linux__
    if (source.timer_fd >= 0) WaitOnTimerFdUntil(source.timer_fd, source.deadline);
#endif
    Cancel(source);  // one-shot: the tick decides when the next wake-up is
    // GLib does not dispatch a source again while it is being dispatched, so a
    // nested event loop inside the handler raises no tick.
    if (source.owner) source.owner->OnWakeup();
    return G_SOURCE_CONTINUE;  // the source may be gone by now: touch nothing
  }

  static void Finalize(GSource* base) {
    const auto& source = *reinterpret_cast<Source*>(base);
#ifdef __linux__
    if (source.timer_fd >= 0) close(source.timer_fd);
#else
    (void)source;
#endif
  }

  struct Release {
    void operator()(Source* source) const {
      g_source_destroy(&source->base);
      g_source_unref(&source->base);
    }
  };

  static inline GSourceFuncs kFuncs = {nullptr, nullptr, &Dispatch, &Finalize, nullptr, nullptr};
  std::unique_ptr<Source, Release> source_;
};

#else  // a one-shot wxTimer re-armed for each deadline

class TimerControl::Wakeup {
 public:
  explicit Wakeup(TimerControl& owner) : timer_(std::make_unique<OneShot>(owner)) {}

  ~Wakeup() {
    timer_->Stop();
    // Destroyed from inside the tick: the toolkit still runs the timer's
    // Notify, so the timer object is handed to wx to delete once idle.
    if (timer_->firing && wxTheApp) wxTheApp->ScheduleForDestruction(timer_.release());
  }

  void At(TickClock::time_point deadline) {
    const auto wait = std::chrono::ceil<milliseconds>(deadline - TickClock::now()).count();
    timer_->StartOnce(static_cast<int>(std::clamp<std::int64_t>(wait, 0, INT_MAX)));
  }

  void Cancel() { timer_->Stop(); }

 private:
  struct OneShot : wxTimer {
    explicit OneShot(TimerControl& owner) : owner(owner) {}
    void Notify() override {
      firing = true;
      owner.OnWakeup();  // may destroy the control, never this timer
      firing = false;
    }
    TimerControl& owner;
    bool firing = false;
  };

  std::unique_ptr<OneShot> timer_;
};

#endif

TimerControl::TimerControl(std::int32_t design_period, TickHandler on_tick)
    : period_(std::max<std::int32_t>(design_period, 0)) {
  if (on_tick) on_tick_ = std::make_shared<const TickHandler>(std::move(on_tick));
  if (period_ > 0) Arm();
}

TimerControl::~TimerControl() {
  if (destroyed_during_tick_) *destroyed_during_tick_ = true;
}

void TimerControl::SetPeriod(std::int32_t period) {
  period = std::max<std::int32_t>(period, 0);
  if (period == period_) return;
  period_ = period;
  Disarm();
  if (period_ > 0) Arm();
}

void TimerControl::Arm() {
  count_start_ = TickClock::now();
  next_deadline_ = count_start_ + milliseconds{period_};
  if (!wakeup_) wakeup_ = std::make_unique<Wakeup>(*this);
  wakeup_->At(next_deadline_);
  running_ = true;
}

void TimerControl::Disarm() {
  if (wakeup_) wakeup_->Cancel();
  running_ = false;
}

void TimerControl::OnWakeup() {
  // A wake-up inside a nested event loop of the handler is dropped here; the
  // wake-up after the handler covers it, so ticks merge instead of nesting.
  if (in_tick_ || !running_) return;
  // The next deadline is fixed before the handler runs: if the handler
  // overruns it, the wake-up below is already due and exactly one more tick
  // follows at once, after which the deadlines lie beyond that tick again.
  next_deadline_ = NextDeadline(count_start_, milliseconds{period_}, TickClock::now());
  bool destroyed = false;
  destroyed_during_tick_ = &destroyed;
  in_tick_ = true;
  RaiseTick(on_tick_);
  if (destroyed) return;
  in_tick_ = false;
  destroyed_during_tick_ = nullptr;
  // A write of Period from inside the handler has armed or stopped the count
  // itself; re-arming then repeats its deadline.
  if (running_) wakeup_->At(next_deadline_);
}

}  // namespace vorlindy
