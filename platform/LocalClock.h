#pragma once

namespace arn {

// A moment of the local wall clock, to the second.
struct LocalDateTime {
    int year = 0;
    int month = 0;  // 1..12
    int day = 0;    // 1..31
    int hour = 0;   // 0..23
    int minute = 0;
    int second = 0;
};

// The present local date and time (the time zone of the process).
LocalDateTime LocalNow();

// Replaces the clock for tests; process-wide. nullptr restores the system clock.
using LocalClockFunction = LocalDateTime (*)();
void SetLocalClock(LocalClockFunction clock);

}  // namespace arn
