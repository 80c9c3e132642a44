#include "ui/tick_schedule.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>

namespace vorlindy {
namespace {

using std::chrono::microseconds;
using std::chrono::milliseconds;
using std::chrono::nanoseconds;
using std::chrono::seconds;

// An arbitrary arming time, well after the clock's epoch as on a running machine.
const TickClock::time_point kArmedAt = TickClock::time_point{} + seconds{86'400} + nanoseconds{123};

TEST(NextDeadline, FiringBetweenGridPointsGivesTheNextOne) {
  struct Case {
    milliseconds period;
    nanoseconds fired_after_arming;
    std::int64_t expected_tick;  // the deadline is kArmedAt + expected_tick * period
  };
  const Case cases[] = {
      {milliseconds{1000}, milliseconds{0}, 1},                         // the arming moment itself
      {milliseconds{1000}, milliseconds{1000} + microseconds{250}, 2},  // a tick raised late
      {milliseconds{1000}, milliseconds{1999}, 2},  // just before the second point
      {milliseconds{100}, milliseconds{350}, 4},    // three points missed while busy
      {milliseconds{1}, milliseconds{0} + nanoseconds{1}, 1},
      {milliseconds{20}, -milliseconds{5}, 1},  // a clock read before the arming
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "period " << c.period.count() << " ms, fired "
                                    << c.fired_after_arming.count() << " ns after arming");
    EXPECT_EQ(NextDeadline(kArmedAt, c.period, kArmedAt + c.fired_after_arming),
              kArmedAt + c.expected_tick * c.period);
  }
}

TEST(NextDeadline, FiringExactlyOnAGridPointGivesTheFollowingOne) {
  const milliseconds period{250};
  for (std::int64_t n : {1, 2, 7, 1000}) {
    EXPECT_EQ(NextDeadline(kArmedAt, period, kArmedAt + n * period), kArmedAt + (n + 1) * period)
        << "fired on grid point " << n;
  }
}

// Each tick firing a little late, the schedule of the next must still be the
// exact grid point: lateness must never be carried into the following period.
TEST(NextDeadline, StaysOnTheGridOverManyLateTicks) {
  const milliseconds period{100};
  auto deadline = kArmedAt + period;
  for (std::int64_t n = 1; n <= 100'000; ++n) {
    const auto fired_at = deadline + microseconds{(n * 7919) % 30'000};  // 0..30 ms late
    deadline = NextDeadline(kArmedAt, period, fired_at);
    ASSERT_EQ(deadline, kArmedAt + (n + 1) * period) << "after tick " << n;
  }
}

TEST(NextDeadline, LongestPeriodDoesNotOverflow) {
  const milliseconds longest{INT32_MAX};  // about 24.9 days
  EXPECT_EQ(NextDeadline(kArmedAt, longest, kArmedAt), kArmedAt + longest);
  EXPECT_EQ(NextDeadline(kArmedAt, longest, kArmedAt + longest - nanoseconds{1}),
            kArmedAt + longest);
  EXPECT_EQ(NextDeadline(kArmedAt, longest, kArmedAt + longest), kArmedAt + 2 * longest);
  // A century of such periods is still within the steady clock's range.
  const std::int64_t many = 1500;
  EXPECT_EQ(NextDeadline(kArmedAt, longest, kArmedAt + many * longest + milliseconds{1}),
            kArmedAt + (many + 1) * longest);
}

}  // namespace
}  // namespace vorlindy
