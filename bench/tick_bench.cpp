// How closely ticks keep to their grid t0 + n * period: the timer control at
// 1000 ms and 100 ms, a plain wxTimer at 100 ms, and, as the floor of what the
// machine can do, a bare timerfd loop on absolute CLOCK_MONOTONIC deadlines at
// both periods. All run at the same time: the GUI timers in the wx event loop,
// the bare loops on threads of their own. Needs an X display.
//
//   tick_bench [ticks at 1000 ms = 30] [ticks at 100 ms = 200]

#include <sys/timerfd.h>
#include <unistd.h>
#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/init.h>
#include <wx/timer.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "ui/timer_control.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr milliseconds kStagger{50};

struct Series {
  std::string name;
  milliseconds period;
  std::size_t wanted;
  Clock::time_point started_at;
  std::vector<Clock::time_point> ticks;

  bool Complete() const { return ticks.size() >= wanted; }
};

struct Figures {
  double median_ms = 0, p99_ms = 0, last_ms = 0, drift_ms = 0;
};

// Errors against the grid in ms; drift is the least-squares slope of the error
// over the tick number, times the ticks after the first.
Figures Summarise(const Series& s) {
  std::vector<double> errors;
  for (std::size_t n = 1; n <= s.ticks.size(); ++n) {
    const auto due = s.started_at + static_cast<int>(n) * s.period;
    errors.push_back(std::chrono::duration<double, std::milli>(s.ticks[n - 1] - due).count());
  }
  Figures f;
  if (errors.empty()) return f;
  std::vector<double> magnitudes;
  for (double e : errors) magnitudes.push_back(std::abs(e));
  std::sort(magnitudes.begin(), magnitudes.end());
  const auto rank = [&](double q) {
    const auto i = static_cast<std::size_t>(std::ceil(q * static_cast<double>(magnitudes.size())));
    return magnitudes[std::clamp<std::size_t>(i, 1, magnitudes.size()) - 1];
  };
  f.median_ms = rank(0.5);
  f.p99_ms = rank(0.99);
  f.last_ms = errors.back();
  const double count = static_cast<double>(errors.size());
  double mean_n = 0, mean_e = 0;
  for (std::size_t i = 0; i < errors.size(); ++i) {
    mean_n += static_cast<double>(i + 1) / count;
    mean_e += errors[i] / count;
  }
  double covariance = 0, variance = 0;
  for (std::size_t i = 0; i < errors.size(); ++i) {
    const double dn = static_cast<double>(i + 1) - mean_n;
    covariance += dn * (errors[i] - mean_e);
    variance += dn * dn;
  }
  if (variance > 0) f.drift_ms = covariance / variance * (count - 1);
  return f;
}

class TimerFd {
 public:
  TimerFd() : fd_(timerfd_create(CLOCK_MONOTONIC, TFD_CLOEXEC)) {}
  ~TimerFd() {
    if (fd_ >= 0) close(fd_);
  }
  TimerFd(const TimerFd&) = delete;
  TimerFd& operator=(const TimerFd&) = delete;

  // Blocks until the absolute steady-clock deadline.
  bool WaitUntil(Clock::time_point deadline) const {
    const auto ns =
        std::chrono::duration_cast<std::chrono::nanoseconds>(deadline.time_since_epoch());
    itimerspec expiry{};
    expiry.it_value.tv_sec = static_cast<time_t>(ns.count() / 1'000'000'000);
    expiry.it_value.tv_nsec = static_cast<long>(ns.count() % 1'000'000'000);
    if (timerfd_settime(fd_, TFD_TIMER_ABSTIME, &expiry, nullptr) != 0) return false;
    std::uint64_t expiries = 0;
    return read(fd_, &expiries, sizeof expiries) == sizeof expiries;
  }

 private:
  int fd_;
};

void RunBareLoop(Series& s) {
  TimerFd timer;
  s.started_at = Clock::now();
  for (std::size_t n = 1; n <= s.wanted; ++n) {
    if (!timer.WaitUntil(s.started_at + static_cast<int>(n) * s.period)) return;
    s.ticks.push_back(Clock::now());
  }
}

std::size_t Argument(int argc, char** argv, int index, std::size_t fallback) {
  if (argc <= index) return fallback;
  const long value = std::strtol(argv[index], nullptr, 10);
  return value > 0 ? static_cast<std::size_t>(value) : fallback;
}

}  // namespace

int main(int argc, char** argv) {
  const std::size_t slow_ticks = Argument(argc, argv, 1, 30);
  const std::size_t fast_ticks = Argument(argc, argv, 2, 200);

  setenv("GDK_BACKEND", "x11", 1);
  setenv("NO_AT_BRIDGE", "1", 1);
  wxApp::SetInstance(new wxApp);  // owned and deleted by wx
  int wx_argc = 1;
  if (!wxEntryStart(wx_argc, argv)) {
    std::fprintf(stderr, "cannot start wxWidgets (is DISPLAY set?)\n");
    return 1;
  }

  Series control_slow{"TimerControl", milliseconds{1000}, slow_ticks, {}, {}};
  Series control_fast{"TimerControl", milliseconds{100}, fast_ticks, {}, {}};
  Series wx_fast{"wxTimer", milliseconds{100}, fast_ticks, {}, {}};
  Series bare_slow{"bare timerfd", milliseconds{1000}, slow_ticks, {}, {}};
  Series bare_fast{"bare timerfd", milliseconds{100}, fast_ticks, {}, {}};
  std::printf("tick_bench: %zu ticks at 1000 ms, %zu at 100 ms, all timers at once (~%lld s)\n",
              slow_ticks, fast_ticks,
              static_cast<long long>(std::max(slow_ticks * 1000, fast_ticks * 100) / 1000 + 1));
  std::fflush(stdout);

  {
    wxGUIEventLoop loop;
    const auto done = [&] {
      return control_slow.Complete() && control_fast.Complete() && wx_fast.Complete();
    };
    std::unique_ptr<vorlindy::TimerControl> slow, fast;
    const auto recorder = [&](Series& s, std::unique_ptr<vorlindy::TimerControl>& timer) {
      return [&] {
        s.ticks.push_back(Clock::now());
        if (s.Complete()) timer->SetPeriod(0);
        if (done()) loop.Exit();
      };
    };
    wxTimer plain;
    plain.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
      wx_fast.ticks.push_back(Clock::now());
      if (wx_fast.Complete()) plain.Stop();
      if (done()) loop.Exit();
    });
    // A limit in case a timer stalls; the table then shows how far it got.
    wxTimer limit;
    limit.Bind(wxEVT_TIMER, [&](wxTimerEvent&) { loop.Exit(); });
    limit.StartOnce(static_cast<int>(std::max(slow_ticks * 1000, fast_ticks * 100) * 3 / 2 + 5000));

    // The 100 ms timers start half a period after the 1000 ms ones, so that no
    // two grids of the same thread coincide and one tick never waits for another.
    std::jthread bare_slow_thread([&] { RunBareLoop(bare_slow); });
    std::jthread bare_fast_thread([&] {
      std::this_thread::sleep_for(kStagger);
      RunBareLoop(bare_fast);
    });
    control_slow.started_at = Clock::now();
    slow = std::make_unique<vorlindy::TimerControl>(1000, recorder(control_slow, slow));
    wxTimer stagger;
    stagger.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
      control_fast.started_at = Clock::now();
      fast = std::make_unique<vorlindy::TimerControl>(100, recorder(control_fast, fast));
      wx_fast.started_at = Clock::now();
      plain.Start(100);
    });
    stagger.StartOnce(static_cast<int>(kStagger.count()));
    loop.Run();
  }  // the bare loops are joined here

  const Figures bare_slow_figures = Summarise(bare_slow);
  const Figures bare_fast_figures = Summarise(bare_fast);
  std::printf("\n%-13s %7s %6s %12s %10s %10s %10s %12s\n", "timer", "period", "ticks",
              "median|err|", "p99|err|", "err@N", "drift@N", "median/bare");
  for (const Series* s : {&control_slow, &bare_slow, &control_fast, &wx_fast, &bare_fast}) {
    const Figures f = Summarise(*s);
    const Figures& bare = s->period.count() == 1000 ? bare_slow_figures : bare_fast_figures;
    std::printf("%-13s %4lld ms %6zu %9.3f ms %7.3f ms %7.3f ms %+7.3f ms %11.2fx\n",
                s->name.c_str(), static_cast<long long>(s->period.count()), s->ticks.size(),
                f.median_ms, f.p99_ms, f.last_ms, f.drift_ms,
                bare.median_ms > 0 ? f.median_ms / bare.median_ms : 0.0);
  }
  std::printf(
      "\nerr = tick - (t0 + n * period); err@N = err of the last tick; drift@N = fitted slope of "
      "err over n, times N-1.\n");
  wxEntryCleanup();
  return 0;
}
