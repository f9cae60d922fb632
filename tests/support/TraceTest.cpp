#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core/ArnError.h"
#include "core/RaisedError.h"
#include "fakes/FakeCounter.h"
#include "fakes/TraceReset.h"
#include "platform/DebugChannel.h"
#include "support/DebuggingFlags.h"

namespace arn {

// Stand-ins named like the classes that trace in the library.
namespace test {
class ArnAbsPosnCtl {};
struct TraceBase {
    virtual ~TraceBase() = default;
};
class jogAndSwInputs : public TraceBase {};
template <class T>
struct Holder {
    struct Inner {};
};
}  // namespace test

namespace {

using Lines = std::vector<std::string>;

class DebugTraceTest : public ::testing::Test {
  protected:
    void SetUp() override { test::ResetTraceState(); }
    void TearDown() override { test::ResetTraceState(); }

    test::FakeCounter counter{1'000'000};  // one count per microsecond
    Lines lines;
    Connection listener = AttachDebugListener([this](auto line) { lines.emplace_back(line); });
    test::ArnAbsPosnCtl panel;
};

TEST_F(DebugTraceTest, LinesCarryStampDeltaAndTheRunTimeClassName) {
    counter.Advance(7'000'000);
    DebugTrace(panel, "filtered", TraceLevelVerbose, false);  // starts no stopwatch
    counter.Advance(2'000'000);
    DebugTrace(panel, ".UIuserControl_AttachControl", TraceLevelAlways, false);
    counter.Advance(1'234'567'840);  // 1,234,567.84 ms later
    DebugTrace(panel, "Break Here", TraceLevelAlways, false);
    counter.Advance(30);  // below 0.05 ms
    DebugTrace(panel, "", TraceLevelAlways, false);
    DebugTrace("Named", ".Member: x", TraceLevelAlways, false);
    counter.Advance(12'500);
    DebugOutput("raw text", TraceLevelAlways);
    // Namespaces dropped; a reference or pointer names the object's own class.
    test::jogAndSwInputs io;
    DebugTrace(static_cast<const test::TraceBase&>(io), ".ExternalInputs: x", 1, false);
    DebugTrace(&io, "by pointer", TraceLevelAlways, false);
    DebugTrace(test::Holder<test::ArnAbsPosnCtl>(), "template", TraceLevelAlways, false);
    DebugTrace(test::Holder<test::ArnAbsPosnCtl>::Inner(), "nested", TraceLevelAlways, false);

    EXPECT_EQ(lines,
              (Lines{"0.0\t+0.0\tArnAbsPosnCtl.UIuserControl_AttachControl\r\n",
                     "1,234,567.8\t+1,234,567.8\tArnAbsPosnCtl Break Here\r\n",
                     "1,234,567.9\t+0.0\tArnAbsPosnCtl \r\n",
                     "1,234,567.9\t+0.0\tNamed.Member: x\r\n", "1,234,580.4\t+12.5\traw text\r\n",
                     "1,234,580.4\t+0.0\tjogAndSwInputs.ExternalInputs: x\r\n",
                     "1,234,580.4\t+0.0\tjogAndSwInputs by pointer\r\n",
                     "1,234,580.4\t+0.0\tHolder<arn::test::ArnAbsPosnCtl> template\r\n",
                     "1,234,580.4\t+0.0\tInner nested\r\n"}));
}

TEST_F(DebugTraceTest, FlagWordFiltersLevelsAndRaisesForEmittedLinesOnly) {
    DebugTrace(panel, "verbose", TraceLevelVerbose, false);
    DebugOutput("verbose output", TraceLevelVerbose);
    EXPECT_NO_THROW(DebugTrace(panel, "suppressed", TraceLevelVerbose, true));
    DebugTrace(panel, "bit zero", 1, false);  // bit 0 is always on
    SetDebugFlags(TraceLevelVerbose);
    EXPECT_THROW(DebugTrace(panel, "verbose", TraceLevelVerbose, true), ArnError);
    DebugTrace(panel, "other bit", 0x8, false);
    SetDebugFlags(0x8);  // a later word replaces the earlier one
    DebugTrace(panel, "verbose again", TraceLevelVerbose, false);
    DebugTrace(panel, "other bit", 0x8, false);
    EXPECT_EQ(lines, (Lines{"0.0\t+0.0\tArnAbsPosnCtl bit zero\r\n",
                            "0.0\t+0.0\tArnAbsPosnCtl verbose\r\n",
                            "0.0\t+0.0\tArnAbsPosnCtl other bit\r\n"}));
    EXPECT_EQ(test::RaisedError([&] { DebugTrace(panel, ".Proc failed", TraceLevelAlways, true); }),
              "-2147221504 ArnAbsPosnCtl: ArnAbsPosnCtl.Proc failed");
    EXPECT_EQ(lines.size(), 4u);  // the line goes out before the raise
}

TEST_F(DebugTraceTest, ListenerThatTracesDoesNotDisturbTheLineInHand) {
    Lines seen;
    bool nested = false;
    Connection tracer = AttachDebugListener([&](std::string_view line) {
        if (!std::exchange(nested, true)) {
            DebugTrace(panel, "from a listener", TraceLevelAlways, false);
        }
        seen.emplace_back(line);  // read after the nested line was built
    });
    DebugTrace(panel, "outer", TraceLevelAlways, false);
    EXPECT_EQ(seen, (Lines{"0.0\t+0.0\tArnAbsPosnCtl from a listener\r\n",
                           "0.0\t+0.0\tArnAbsPosnCtl outer\r\n"}));
}

TEST(DebugChannel, SilentWithoutListenerAndDetachesOnDrop) {
    EXPECT_FALSE(DebugListenerAttached());
    OutputDebugStringA("nobody hears this");
    Lines heard;
    {
        Connection c = AttachDebugListener([&](auto text) { heard.emplace_back(text); });
        OutputDebugStringA("hello");
    }
    EXPECT_FALSE(DebugListenerAttached());
    OutputDebugStringA("after");
    EXPECT_EQ(heard, Lines{"hello"});
}

}  // namespace
}  // namespace arn
