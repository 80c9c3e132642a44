// The refresh controller against a recording view: what each handler reads and
// writes, in order, for the states and Start intervals that matter.

#include "refresh/refresh_controller.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace vorlindy {
namespace {

// Holds the two boxes' texts and records every call, plus the timer state the
// real window keeps (negative counts as 0; an unchanged value changes nothing;
// a new positive value restarts the count).
class RecordingView : public RefreshView {
 public:
  std::string address_box;
  std::string interval_box = "1000";
  std::int32_t period = 1000;
  int restarts = 0;
  std::vector<std::string> calls;
  std::vector<std::string> addresses;

  Text ReadText(EditBoxName box) override {
    const std::string& text = box == EditBoxName::编辑框1 ? address_box : interval_box;
    calls.push_back(box == EditBoxName::编辑框1 ? "read 编辑框1" : "read 编辑框2");
    if (text.empty()) return std::nullopt;
    return text;
  }
  void SetTimerPeriod(std::int32_t p) override {
    calls.push_back("period " + std::to_string(p));
    const std::int32_t stored = p < 0 ? 0 : p;
    if (stored == period) return;
    period = stored;
    if (stored > 0) ++restarts;
  }
  void SetPageAddress(const Text& address) override {
    calls.push_back("address");
    addresses.push_back(address.value_or("<none>"));
  }
};

TEST(RefreshControllerTest, StartReadsTheIntervalThenWritesItsPeriod) {
  RecordingView view;
  view.interval_box = "500";
  OnStartClicked(view);
  EXPECT_EQ(view.calls, (std::vector<std::string>{"read 编辑框2", "period 500"}));
  EXPECT_EQ(view.period, 500);
  EXPECT_EQ(view.restarts, 1);
  EXPECT_TRUE(view.addresses.empty()) << "Start never loads the page itself";
}

TEST(RefreshControllerTest, StartWithTheRunningPeriodDoesNotRestartTheCount) {
  RecordingView view;  // running at 1000, box at "1000"
  OnStartClicked(view);
  EXPECT_EQ(view.period, 1000);
  EXPECT_EQ(view.restarts, 0);
}

TEST(RefreshControllerTest, StartIntervalsGiveThePeriodsTheTimerGets) {
  struct Case {
    const char* interval;  // nullptr: the box is empty
    std::int32_t written;
    std::int32_t stored;
  };
  const Case cases[] = {
      {"1000", 1000, 1000},
      {"250.9", 250, 250},
      {"0.9", 0, 0},
      {"-5", -5, 0},
      {nullptr, 0, 0},
      {"2147483647", 2147483647, 2147483647},
      {"2147483648", INT32_MIN, 0},
      {"4294968296", 1000, 1000},
      {"1e30", 0, 0},
      {"abc", 0, 0},
  };
  for (const Case& c : cases) {
    RecordingView view;
    view.period = 700;
    view.interval_box = c.interval ? c.interval : "";
    OnStartClicked(view);
    const std::string label = c.interval ? c.interval : "<empty>";
    ASSERT_EQ(view.calls.size(), 2u) << label;
    EXPECT_EQ(view.calls[1], "period " + std::to_string(c.written)) << label;
    EXPECT_EQ(view.period, c.stored) << label;
  }
}

TEST(RefreshControllerTest, StopWritesZeroAndLeavesThePaneAlone) {
  RecordingView view;
  OnStopClicked(view);
  OnStopClicked(view);  // stopped already: no change
  EXPECT_EQ(view.calls, (std::vector<std::string>{"period 0", "period 0"}));
  EXPECT_EQ(view.period, 0);
  EXPECT_TRUE(view.addresses.empty());

  // Stop, then Start at "1000": the count starts afresh at the click.
  OnStartClicked(view);
  EXPECT_EQ(view.period, 1000);
  EXPECT_EQ(view.restarts, 1);
}

TEST(RefreshControllerTest, EveryTickHandsOverTheAddressAsItIsThen) {
  RecordingView view;
  OnRefreshTick(view);  // empty box: no text, which the view hands on as the empty address
  view.address_box = "http://example.com/";
  OnRefreshTick(view);
  OnRefreshTick(view);  // the same address again: a second hand-over, a second load
  view.address_box = "http://example.org/页";
  OnRefreshTick(view);
  EXPECT_EQ(view.addresses,
            (std::vector<std::string>{"<none>", "http://example.com/", "http://example.com/",
                                      "http://example.org/页"}));
  EXPECT_EQ(view.calls.front(), "read 编辑框1");
  EXPECT_EQ(view.period, 1000) << "a tick leaves the timer alone";
}

}  // namespace
}  // namespace vorlindy
