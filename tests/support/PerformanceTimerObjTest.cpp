#include <gtest/gtest.h>

#include "core/ArnError.h"
#include "core/RaisedError.h"
#include "fakes/FakeCounter.h"
#include "support/PerformanceTimerObj.h"

namespace arn {
namespace {

using test::FakeCounter;

TEST(PerformanceTimerObj, RunsStopsAndAccumulatesTotal) {
    FakeCounter counter(1024);  // a power of two keeps every product exact
    PerformanceTimerObj timer;
    counter.Advance(2048);
    EXPECT_DOUBLE_EQ(timer.get_ElapsedTimeMS(), 2000.0);
    EXPECT_EQ(timer.get_TimeMS(), "2000.0");

    EXPECT_DOUBLE_EQ(timer.StopTimer(), 2.0);
    counter.Advance(4096);
    EXPECT_DOUBLE_EQ(timer.StopTimer(), 2.0);  // second stop: same run, no second addition
    EXPECT_DOUBLE_EQ(timer.get_ElapsedTime(), 2.0);
    EXPECT_DOUBLE_EQ(timer.get_TotalTime(), 2.0);

    timer.StartTimer(false);
    counter.Advance(512);
    timer.AddToElapsedTime(1.25);
    EXPECT_DOUBLE_EQ(timer.get_ElapsedTime(), 1.75);
    EXPECT_DOUBLE_EQ(timer.get_TotalTime(), 3.75);

    timer.ResetTimer();  // clears finished runs, the current one goes on
    EXPECT_DOUBLE_EQ(timer.get_TotalTime(), 1.75);
    timer.StopTimer();
    timer.StartTimer(true);
    EXPECT_DOUBLE_EQ(timer.get_TotalTime(), 0.0);
}

TEST(PerformanceTimerObj, TimeoutBoundariesAndRestarts) {
    FakeCounter counter(1024);
    PerformanceTimerObj timer;
    EXPECT_FALSE(timer.get_IsTimedOut());  // timeout 0, no time passed
    counter.Advance(1);
    EXPECT_TRUE(timer.get_IsTimedOut());

    timer.put_TimeoutMS(1000);  // restarts the run
    counter.Advance(1024);
    EXPECT_FALSE(timer.get_IsTimedOut());  // exactly at the timeout
    counter.Advance(1);
    EXPECT_TRUE(timer.get_IsTimedOut());

    timer.StopTimer();
    timer.StartTimer(false);
    counter.Advance(1024);
    timer.SetNewTimeout(3);  // no restart
    timer.AddToTimeout(0.5);
    EXPECT_DOUBLE_EQ(timer.get_TimeoutLeftSec(), 2.5);

    timer.put_Timeout(2);  // restarts and clears the total
    EXPECT_DOUBLE_EQ(timer.get_TotalTime(), 0.0);
    counter.Advance(3 * 1024);
    EXPECT_DOUBLE_EQ(timer.get_TimeoutLeftSec(), -1.0);
}

TEST(PerformanceTimerObj, TimeLeftTextFloorsMinutesAndRoundsSeconds) {
    FakeCounter counter(1'000'000);
    PerformanceTimerObj timer;
    // Hours dropped; seconds round up to 60 while minutes floor to 0; a half second goes to
    // the even neighbour.
    for (const auto& [left, text] :
         std::initializer_list<std::pair<double, const char*>>{{125.4, "02:05"},
                                                               {3725, "02:05"},
                                                               {59.6, "00:00"},
                                                               {62.5, "01:02"},
                                                               {63.5, "01:04"}}) {
        timer.SetNewTimeout(left);
        EXPECT_EQ(timer.get_TimeOutLeftStr(), text) << left;
    }
    timer.SetNewTimeout(0);
    counter.Advance(5'200'000);
    EXPECT_EQ(timer.get_TimeOutLeftStr(), "-01:-05");
    counter.Advance(120'000'000);
    EXPECT_EQ(timer.get_TimeOutLeftStr(), "-03:-05");
}

TEST(PerformanceTimerObj, FormatTimeRoundsHalfToEvenAndWritesElapsedBack) {
    FakeCounter counter(1024);
    PerformanceTimerObj timer;
    double seconds = 1.23456;
    EXPECT_EQ(timer.get_FormatTime("took ### s", seconds, 2), "took 1.23 s");
    EXPECT_DOUBLE_EQ(seconds, 1.23456);  // a given time is left alone

    seconds = 0.125;
    EXPECT_EQ(timer.get_FormatTime("###/###/## #", seconds, 2), "0.12/0.12/## #");
    seconds = 2.5;
    EXPECT_EQ(timer.get_FormatTime("[###]", seconds), "[2]");

    counter.Advance(1536);
    seconds = -1;
    EXPECT_EQ(timer.get_FormatTime("t=###", seconds, 1), "t=1.5");
    EXPECT_DOUBLE_EQ(seconds, 1.5);
    EXPECT_EQ(timer.get_FormatTime("###"), "2");  // 1.5 to even
    EXPECT_THROW(timer.get_FormatTime("###", seconds, -1), ArnError);
}

TEST(PerformanceTimerObj, NeedsACounterFrequencyAndRunsOnTheRealCounter) {
    {
        FakeCounter counter(0);
        EXPECT_EQ(test::RaisedError([] { PerformanceTimerObj timer; }),
                  "1001 : This system doesn't support high-res timing");
    }
    PerformanceTimerObj timer;
    const double first = timer.get_ElapsedTime();
    double later = first;
    for (int i = 0; i < 1000 && later == first; ++i) {
        later = timer.get_ElapsedTime();
    }
    EXPECT_GT(later, first);
}

}  // namespace
}  // namespace arn
