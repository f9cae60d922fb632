#include <gtest/gtest.h>

#include "fakes/BeepCounter.h"
#include "platform/Beep.h"

namespace arn {
namespace {

TEST(Beep, NotifiesTheListenerAndHandsBackTheOneItReplaced) {
    int heard = 0;
    auto previous = SetBeepListener([&] { ++heard; });
    Beep();
    {
        // A counter put on top sees its beeps only and puts the first listener back.
        test::BeepCounter counter;
        Beep();
        Beep();
        EXPECT_EQ(counter.Count(), 2);
    }
    Beep();
    SetBeepListener(previous);
    Beep();
    EXPECT_EQ(heard, 2);
}

}  // namespace
}  // namespace arn
