#pragma once
// Where a periodic timer's ticks fall due: on the grid t0 + n * period of the
// steady clock, counted from the moment the timer was armed. Scheduling every
// tick against that grid, rather than one period after the previous tick was
// handled, keeps the rhythm free of drift however late a single tick runs.

#include <chrono>

namespace vorlindy {

using TickClock = std::chrono::steady_clock;

// The first grid point t0 + n * period (n >= 1) strictly after fired_at: the
// deadline of the tick after one raised at fired_at. Grid points that passed
// unnoticed while the program was busy are skipped, not made up for.
// period must be positive; fired_at before t0 yields the first grid point.
constexpr TickClock::time_point NextDeadline(TickClock::time_point t0,
                                             std::chrono::milliseconds period,
                                             TickClock::time_point fired_at) {
  if (fired_at < t0) return t0 + period;
  // Whole periods elapsed, in the clock's own ticks: the product below never
  // exceeds the elapsed time plus one period, so it cannot overflow where the
  // time points themselves do not.
  const auto step = std::chrono::duration_cast<TickClock::duration>(period);
  const auto periods_elapsed = (fired_at - t0) / step;
  return t0 + (periods_elapsed + 1) * step;
}

}  // namespace vorlindy
