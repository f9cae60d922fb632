#include <gtest/gtest.h>

#include "platform/LocalClock.h"

namespace arn {
namespace {

// Whatever the moment, the system's time reads as a calendar date: the year is the
// calendar's, not the C library's count from 1900, and every field is in its range.
TEST(LocalClock, TheSystemsTimeReadsAsACalendarDate) {
    const LocalDateTime now = LocalNow();
    EXPECT_TRUE(now.year >= 2024 && now.year < 2200) << now.year;
    EXPECT_TRUE(now.month >= 1 && now.month <= 12 && now.day >= 1 && now.day <= 31);
    EXPECT_TRUE(now.hour < 24 && now.minute < 60 && now.second < 61);
}

}  // namespace
}  // namespace arn
