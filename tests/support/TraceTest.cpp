#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/ArnError.h"
#include "fakes/FakeCounter.h"
#include "fakes/TraceReset.h"
#include "platform/DebugChannel.h"
#include "support/DebuggingFlags.h"

namespace arn {

// Stand-ins named like the classes that trace in the library.
namespace test {
class ArnAbsPosnCtl {};
class TraceBase {
  public:
    virtual ~TraceBase() = default;
};
class jogAndSwInputs : public TraceBase {};
template <class T>
class Holder {};
}  // namespace test

namespace {

using test::FakeCounter;

class DebugTraceTest : public ::testing::Test {
  protected:
    void SetUp() override { test::ResetTraceState(); }
    void TearDown() override { test::ResetTraceState(); }

    FakeCounter counter{1'000'000};  // one count per microsecond
    std::vector<std::string> lines;
    Connection listener =
        AttachDebugListener([this](std::string_view line) { lines.emplace_back(line); });
    test::ArnAbsPosnCtl panel;
};

TEST_F(DebugTraceTest, LinesCarryStampDeltaClassAndMessage) {
    counter.Advance(7'000'000);
    DebugTrace(panel, "filtered", TraceLevelVerbose, false);  // starts no stopwatch
    counter.Advance(2'000'000);
    DebugTrace(panel, ".UIuserControl_AttachControl", TraceLevelAlways, false);
    counter.Advance(1'234'567'840);  // 1,234,567.84 ms later
    DebugTrace(panel, "Break Here", TraceLevelAlways, false);
    counter.Advance(30);  // below 0.05 ms
    DebugTrace(panel, "", TraceLevelAlways, false);
    DebugTrace(panel, " indented", TraceLevelAlways, false);
    DebugTrace("Named", ".Member: x", TraceLevelAlways, false);
    counter.Advance(12'500);
    DebugOutput("raw text", TraceLevelAlways);

    EXPECT_EQ(lines,
              (std::vector<std::string>{"0.0\t+0.0\tArnAbsPosnCtl.UIuserControl_AttachControl\r\n",
                                        "1,234,567.8\t+1,234,567.8\tArnAbsPosnCtl Break Here\r\n",
                                        "1,234,567.9\t+0.0\tArnAbsPosnCtl \r\n",
                                        "1,234,567.9\t+0.0\tArnAbsPosnCtl  indented\r\n",
                                        "1,234,567.9\t+0.0\tNamed.Member: x\r\n",
                                        "1,234,580.4\t+12.5\traw text\r\n"}));
}

TEST_F(DebugTraceTest, FlagWordFiltersLevels) {
    DebugTrace(panel, "verbose", TraceLevelVerbose, false);
    DebugOutput("verbose output", TraceLevelVerbose);
    DebugTrace(panel, "bit zero", 1, false);  // bit 0 is always on
    SetDebugFlags(TraceLevelVerbose);
    DebugTrace(panel, "verbose", TraceLevelVerbose, false);
    DebugTrace(panel, "other bit", 0x8, false);
    SetDebugFlags(0x8);  // a later word replaces the earlier one
    DebugTrace(panel, "verbose again", TraceLevelVerbose, false);
    DebugTrace(panel, "other bit", 0x8, false);
    EXPECT_EQ(lines, (std::vector<std::string>{"0.0\t+0.0\tArnAbsPosnCtl bit zero\r\n",
                                               "0.0\t+0.0\tArnAbsPosnCtl verbose\r\n",
                                               "0.0\t+0.0\tArnAbsPosnCtl other bit\r\n"}));
}

TEST_F(DebugTraceTest, RaiseFlagThrowsEmittedLinesOnly) {
    try {
        DebugTrace(panel, ".Proc failed", TraceLevelAlways, true);
        FAIL() << "no error raised";
    } catch (const ArnError& e) {
        EXPECT_EQ(e.number(), static_cast<int32_t>(0x80040000u));
        EXPECT_EQ(e.source(), "ArnAbsPosnCtl");
        EXPECT_EQ(e.description(), "ArnAbsPosnCtl.Proc failed");
    }
    EXPECT_EQ(lines.size(), 1u);  // the line goes out before the raise

    EXPECT_NO_THROW(DebugTrace(panel, "suppressed", TraceLevelVerbose, true));
    EXPECT_EQ(lines.size(), 1u);
    SetDebugFlags(TraceLevelVerbose);
    EXPECT_THROW(DebugTrace(panel, "verbose", TraceLevelVerbose, true), ArnError);
    EXPECT_EQ(lines.size(), 2u);
}

TEST_F(DebugTraceTest, ClassNameIsRunTimeTypeWithoutNamespaces) {
    test::jogAndSwInputs io;
    const test::TraceBase& base = io;
    DebugTrace(base, ".ExternalInputs: x", TraceLevelAlways, false);
    DebugTrace(&io, "by pointer", TraceLevelAlways, false);
    DebugTrace(test::Holder<test::ArnAbsPosnCtl>(), "template", TraceLevelAlways, false);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "0.0\t+0.0\tjogAndSwInputs.ExternalInputs: x\r\n");
    EXPECT_EQ(lines[1], "0.0\t+0.0\tjogAndSwInputs by pointer\r\n");
    EXPECT_EQ(lines[2], "0.0\t+0.0\tHolder<arn::test::ArnAbsPosnCtl> template\r\n");
}

TEST_F(DebugTraceTest, ListenerThatTracesDoesNotDisturbTheLineInHand) {
    std::vector<std::string> seen;
    bool nested = false;
    Connection tracer = AttachDebugListener([&](std::string_view line) {
        if (!nested) {
            nested = true;
            DebugTrace(panel, "from a listener", TraceLevelAlways, false);
        }
        seen.emplace_back(line);  // read after the nested line was built
    });
    DebugTrace(panel, "outer", TraceLevelAlways, false);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], "0.0\t+0.0\tArnAbsPosnCtl from a listener\r\n");
    EXPECT_EQ(seen[1], "0.0\t+0.0\tArnAbsPosnCtl outer\r\n");
}

TEST(DebugChannel, SilentWithoutListenerAndDetachesOnDrop) {
    EXPECT_FALSE(DebugListenerAttached());
    OutputDebugStringA("nobody hears this");
    std::vector<std::string> heard;
    {
        Connection c =
            AttachDebugListener([&](std::string_view text) { heard.emplace_back(text); });
        OutputDebugStringA("hello");
    }
    EXPECT_FALSE(DebugListenerAttached());
    OutputDebugStringA("after");
    EXPECT_EQ(heard, std::vector<std::string>{"hello"});
}

}  // namespace
}  // namespace arn
