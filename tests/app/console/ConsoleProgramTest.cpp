// arn_console run as a user runs it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fakes/ProgramRun.h"

namespace arn::test {
namespace {

using testing::HasSubstr;

TEST(ConsoleProgram, HandsOnTheHostsStreamsAndExitStatus) {
    // The refusals and the listing themselves are the console host's (its own test has them);
    // the program hands them on.
    const ProgramResult script = RunProgram(ARN_CONSOLE_PATH, {"--do", "pin enable maybe"});
    EXPECT_EQ(script.exitCode, 2);
    EXPECT_EQ(script.err,
              "arn_console: --do: command 1 \"pin enable maybe\": pin sets a pin on or off; see "
              "arn_console --help\n");
    const ProgramResult good = RunProgram(ARN_CONSOLE_PATH, {"--do", "mode 18"});
    EXPECT_EQ(good.exitCode, 0) << good.err;
    EXPECT_THAT(good.out, HasSubstr("> mode 18\n  operational mode 18\n"));
    EXPECT_THAT(RunProgram(ARN_CONSOLE_PATH, {"--help"}).out, HasSubstr("--do SCRIPT"));
}

}  // namespace
}  // namespace arn::test
