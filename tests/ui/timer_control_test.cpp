// The timer control on the real toolkit: wx is brought up on an X display and
// the tests pump its event loop, waiting on tick counts with time limits.
// Times are checked as lower bounds (a tick never comes before its deadline)
// and otherwise only with margins of 90 ms or more, so that a busy machine,
// which makes ticks late, does not fail them.

#include "ui/timer_control.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/init.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

namespace vorlindy {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
using namespace std::chrono_literals;

// Runs the GUI event loop (the nested one, if called from a tick) until done()
// holds or the time limit has passed; returns done().
bool PumpUntil(const std::function<bool()>& done, Clock::duration limit) {
  const auto until = Clock::now() + limit;
  wxEventLoopBase* loop = wxEventLoopBase::GetActive();
  while (!done()) {
    const auto left = std::chrono::ceil<milliseconds>(until - Clock::now());
    if (left <= 0ms) return done();
    loop->DispatchTimeout(static_cast<unsigned long>(std::min(left, 20ms).count()));
  }
  return true;
}

void PumpFor(Clock::duration time) {
  PumpUntil([] { return false; }, time);
}

// Time points as milliseconds after a reference, so failures print readably.
double Ms(Clock::time_point t, Clock::time_point reference) {
  return std::chrono::duration<double, std::milli>(t - reference).count();
}

// The deadline after a tick at fired_at on the grid of a count started at
// started_at, less a millisecond for the gap between the test's clock reading
// and the control's own at arming.
Clock::time_point GridPointAfter(Clock::time_point started_at, milliseconds period,
                                 Clock::time_point fired_at) {
  const auto periods = (fired_at - started_at) / period;
  return started_at + (periods + 1) * period - 1ms;
}

class TimerControlTest : public testing::Test {
 protected:
  TimerControl::TickHandler Record() {
    return [this] { ticks_.push_back(Clock::now()); };
  }
  bool WaitForTicks(std::size_t count, Clock::duration limit = 3s) {
    return PumpUntil([&] { return ticks_.size() >= count; }, limit);
  }
  // No tick before its deadline, so tick k came no sooner than k periods after
  // the count started (started_at is read just before the control's own).
  void ExpectNoTickEarly(Clock::time_point started_at, milliseconds period, std::size_t first = 0) {
    for (std::size_t k = first; k < ticks_.size(); ++k) {
      EXPECT_GE(Ms(ticks_[k], started_at), static_cast<double>((k - first + 1) * period.count()))
          << "tick " << k;
    }
  }

  std::vector<Clock::time_point> ticks_;
};

TEST_F(TimerControlTest, DesignPeriodTicksWithoutAnyWrite) {
  const auto created_at = Clock::now();
  TimerControl timer(50, Record());
  EXPECT_TRUE(timer.IsRunning());
  EXPECT_EQ(timer.Period(), 50);

  ASSERT_TRUE(WaitForTicks(5));
  ExpectNoTickEarly(created_at, 50ms);
  // Never more ticks than deadlines passed: no burst, no double dispatch.
  EXPECT_LE(static_cast<std::int64_t>(ticks_.size()), (Clock::now() - created_at) / 50ms);
}

TEST_F(TimerControlTest, NonPositivePeriodOnAStoppedTimerDoesNothing) {
  struct Case {
    std::int32_t design_period;
    std::int32_t written;
  };
  const Case cases[] = {{0, 0}, {0, -5}, {0, INT32_MIN}, {-5, 0}, {-5, -5}};
  std::vector<std::unique_ptr<TimerControl>> timers;
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "design " << c.design_period << ", write " << c.written);
    timers.push_back(std::make_unique<TimerControl>(c.design_period, Record()));
    EXPECT_EQ(timers.back()->Period(), 0);
    timers.back()->SetPeriod(c.written);
    EXPECT_EQ(timers.back()->Period(), 0);
    EXPECT_FALSE(timers.back()->IsRunning());
  }
  PumpFor(150ms);
  EXPECT_TRUE(ticks_.empty());
}

TEST_F(TimerControlTest, WritingTheCurrentPeriodKeepsTheCount) {
  const auto created_at = Clock::now();
  TimerControl timer(300, Record());
  PumpFor(150ms);
  ASSERT_TRUE(ticks_.empty()) << "the loop was held up past the first deadline";

  const auto written_at = Clock::now();
  timer.SetPeriod(300);
  EXPECT_TRUE(timer.IsRunning());
  ASSERT_TRUE(WaitForTicks(1));
  EXPECT_GE(Ms(ticks_[0], created_at), 300);
  EXPECT_LT(Ms(ticks_[0], written_at), 300) << "the count was restarted";
}

TEST_F(TimerControlTest, DifferentPeriodRestartsTheCountAtTheWrite) {
  const auto created_at = Clock::now();
  TimerControl timer(500, Record());
  PumpFor(150ms);
  ASSERT_TRUE(ticks_.empty());

  const auto written_at = Clock::now();
  timer.SetPeriod(60);
  EXPECT_EQ(timer.Period(), 60);
  EXPECT_TRUE(timer.IsRunning());
  ASSERT_TRUE(WaitForTicks(3));
  ExpectNoTickEarly(written_at, 60ms);  // a count from the write, not from creation
  EXPECT_LT(Ms(ticks_[2], created_at), 500) << "still ticking at the old period";
}

TEST_F(TimerControlTest, NonPositivePeriodStopsARunningTimerAndAPositiveOneRestartsIt) {
  for (std::int32_t stop : {0, -1, INT32_MIN}) {
    SCOPED_TRACE(testing::Message() << "write " << stop);
    ticks_.clear();
    TimerControl timer(40, Record());
    ASSERT_TRUE(WaitForTicks(1));
    timer.SetPeriod(stop);
    EXPECT_EQ(timer.Period(), 0);
    EXPECT_FALSE(timer.IsRunning());
    PumpFor(200ms);
    EXPECT_EQ(ticks_.size(), 1u);

    const auto restarted_at = Clock::now();
    timer.SetPeriod(40);
    EXPECT_TRUE(timer.IsRunning());
    ASSERT_TRUE(WaitForTicks(3));
    ExpectNoTickEarly(restarted_at, 40ms, 1);
  }
}

TEST_F(TimerControlTest, LongestPeriodIsAcceptedAndDoesNotFireEarly) {
  TimerControl written(50, Record());
  written.SetPeriod(INT32_MAX);
  TimerControl designed(INT32_MAX, Record());
  for (const TimerControl* timer : {&written, &designed}) {
    EXPECT_EQ(timer->Period(), INT32_MAX);
    EXPECT_TRUE(timer->IsRunning());
  }
  PumpFor(150ms);
  EXPECT_TRUE(ticks_.empty());
}

// A handler that overruns three periods, by sleeping or by running a nested
// event loop, is followed by one tick at once and then the grid again.
class OverrunTest : public TimerControlTest, public testing::WithParamInterface<bool> {};

TEST_P(OverrunTest, OneTickFollowsThenTheGridResumes) {
  const bool nested_loop = GetParam();
  const milliseconds period{100};
  int depth = 0;
  int deepest = 0;
  Clock::time_point returned_at;
  const auto created_at = Clock::now();
  TimerControl timer(static_cast<std::int32_t>(period.count()), [&] {
    deepest = std::max(deepest, ++depth);
    ticks_.push_back(Clock::now());
    if (ticks_.size() == 1) {
      if (nested_loop) {
        PumpFor(3 * period + 10ms);
      } else {
        std::this_thread::sleep_for(3 * period + 10ms);
      }
      returned_at = Clock::now();
    }
    --depth;
  });

  ASSERT_TRUE(WaitForTicks(4));
  EXPECT_EQ(deepest, 1) << "a tick was raised inside the handler";
  EXPECT_LT(Ms(ticks_[1], created_at),
            Ms(GridPointAfter(created_at, period, returned_at), created_at))
      << "the overrun was not followed by a tick at once";
  for (std::size_t k = 2; k < ticks_.size(); ++k) {
    EXPECT_GE(Ms(ticks_[k], created_at),
              Ms(GridPointAfter(created_at, period, ticks_[k - 1]), created_at))
        << "tick " << k << " is off the grid (missed ticks made up for?)";
  }
}

INSTANTIATE_TEST_SUITE_P(Handler, OverrunTest, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& info) {
                           return info.param ? "NestedEventLoop" : "Sleep";
                         });

// The control re-arms itself once the handler returns; a write of Period made
// by the handler must win over that.
TEST_F(TimerControlTest, WriteFromInsideTheHandlerTakesEffect) {
  for (std::int32_t written : {0, -3, 150}) {
    SCOPED_TRACE(testing::Message() << "write " << written);
    ticks_.clear();
    Clock::time_point written_at;
    std::unique_ptr<TimerControl> timer;
    timer = std::make_unique<TimerControl>(40, [&] {
      ticks_.push_back(Clock::now());
      if (ticks_.size() == 1) {
        written_at = Clock::now();
        timer->SetPeriod(written);
      }
    });
    ASSERT_TRUE(WaitForTicks(1));
    if (written > 0) {
      EXPECT_TRUE(timer->IsRunning());
      ASSERT_TRUE(WaitForTicks(2));
      EXPECT_GE(Ms(ticks_[1], written_at), written);
    } else {
      EXPECT_FALSE(timer->IsRunning());
      PumpFor(200ms);
      EXPECT_EQ(ticks_.size(), 1u);
    }
  }
}

TEST_F(TimerControlTest, DestroyedTimerRaisesNoMoreTicks) {
  auto timer = std::make_unique<TimerControl>(30, Record());
  ASSERT_TRUE(WaitForTicks(2));
  timer.reset();
  const auto seen = ticks_.size();
  PumpFor(150ms);
  EXPECT_EQ(ticks_.size(), seen);
}

// The handler overruns first, so the control's next wake-up is already due
// when the handler destroys it.
TEST_F(TimerControlTest, TimerDestroyedByItsOwnHandlerRaisesNoMoreTicks) {
  std::unique_ptr<TimerControl> timer;
  timer = std::make_unique<TimerControl>(30, [&] {
    ticks_.push_back(Clock::now());
    std::this_thread::sleep_for(70ms);
    timer.reset();
  });
  ASSERT_TRUE(WaitForTicks(1));
  EXPECT_EQ(timer, nullptr);
  PumpFor(150ms);
  EXPECT_EQ(ticks_.size(), 1u);
}

TEST_F(TimerControlTest, TimerWithoutHandlerTicksWithoutEffect) {
  TimerControl silent(20, {});
  TimerControl witness(20, Record());  // shows that the loop ran through silent's deadlines
  ASSERT_TRUE(WaitForTicks(5));
  EXPECT_TRUE(silent.IsRunning());
  EXPECT_EQ(silent.Period(), 20);
}

}  // namespace
}  // namespace vorlindy

// wx needs its application object and an active event loop for the whole run.
// Listing the tests (done at build time, without a display) needs neither.
int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();

  setenv("GDK_BACKEND", "x11", 1);
  setenv("NO_AT_BRIDGE", "1", 1);
  wxSetAssertHandler([](const wxString& file, int line, const wxString&, const wxString& cond,
                        const wxString& msg) {
    ADD_FAILURE() << "wx assertion " << cond << " failed at " << file << ":" << line << ": " << msg;
  });
  wxApp::SetInstance(new wxApp);  // owned and deleted by wx
  if (!wxEntryStart(argc, argv)) {
    std::fprintf(stderr, "cannot start wxWidgets (is DISPLAY set?)\n");
    return 1;
  }
  int result = 0;
  {
    wxGUIEventLoop loop;
    wxEventLoopActivator activate(&loop);
    result = RUN_ALL_TESTS();
  }
  wxEntryCleanup();
  return result;
}
