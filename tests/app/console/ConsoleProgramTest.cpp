// arn_console run as a user runs it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fakes/ProgramRun.h"

namespace arn::test {
namespace {

using testing::HasSubstr;

TEST(ConsoleProgram, RefusesABadScriptAndRunsAGoodOne) {
    // The refusals themselves are the console host's (its own test has them all); the program
    // hands them on with its exit status and streams.
    const ProgramResult script = RunProgram(ARN_CONSOLE_PATH, {"--do", "pin enable maybe"});
    EXPECT_EQ(script.exitCode, 2);
    EXPECT_EQ(script.err,
              "arn_console: --do: command 1 \"pin enable maybe\": pin sets a pin on or off; see "
              "arn_console --help\n");

    const ProgramResult good =
        RunProgram(ARN_CONSOLE_PATH, {"--do", "pin enable on; tick 2; click inputOptChk; mode 18"});
    EXPECT_EQ(good.exitCode, 0) << good.err;
    EXPECT_THAT(good.out, HasSubstr("> click inputOptChk\n  ignored: inputOptChk (\"Override "
                                    "Inputs\") is disabled: the drive's hardware Enable is "
                                    "asserted; the inputs go to software only while it is off\n"
                                    "> mode 18\n  operational mode 18\n"));
    EXPECT_THAT(good.out, HasSubstr("Panel after 7 ticks (units: twips)\n"));

    const ProgramResult help = RunProgram(ARN_CONSOLE_PATH, {"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_THAT(help.out, HasSubstr("--do SCRIPT"));
}

}  // namespace
}  // namespace arn::test
