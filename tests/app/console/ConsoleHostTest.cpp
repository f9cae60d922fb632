#include "app/console/ConsoleHost.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>
#include <tuple>

#include "fakes/ProgramRun.h"
#include "fakes/TraceReset.h"

namespace arn::test {
namespace {

using testing::HasSubstr;

ProgramResult Host(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    // A braced list runs in order: the run first, then what it wrote.
    return {ConsoleHost(out, err).Run(args), out.str(), err.str()};
}

// The listing's line for one control, without its indent.
std::string LineOf(const std::string& listing, const std::string& name) {
    std::istringstream lines(listing);
    for (std::string line; std::getline(lines, line);) {
        const size_t start = line.find_first_not_of(' ');
        if (start != std::string::npos && line.compare(start, name.size() + 1, name + " ") == 0) {
            return line.substr(start);
        }
    }
    return "<no line for " + name + ">";
}

// The part of the output after `marker`.
std::string After(const std::string& text, const std::string& marker) {
    const size_t at = text.find(marker);
    return at == std::string::npos ? std::string() : text.substr(at);
}

class ConsoleHostTest : public testing::Test {
  protected:
    void SetUp() override { ResetTraceState(); }
    void TearDown() override { ResetTraceState(); }
};

TEST_F(ConsoleHostTest, ListsEachControlWithPlaceSizeAndWhatItsKindShows) {
    const ProgramResult run = Host({});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const std::string panel = After(run.out, "Panel after 5 ticks (units: twips)\n");
    ASSERT_FALSE(panel.empty()) << run.out;
    EXPECT_THAT(LineOf(panel, "EnclosingFrame"),
                testing::MatchesRegex("EnclosingFrame +Frame +visible=yes enabled=yes at=0,0 "
                                      "size=10155x4350 \"Absolute Positioning\""));
    EXPECT_THAT(LineOf(panel, "inputOptChk"),
                testing::MatchesRegex(".*CheckBox .* at=60,1050 size=2280x255 \"Override "
                                      "Inputs\" value=unchecked"));
    EXPECT_THAT(LineOf(panel, "inCheck(0)"),
                testing::MatchesRegex(".*SSCheck .* value=unchecked picture=503 tooltip=\"Warning: "
                                      "Disconnecting USB will cause disable even if box is "
                                      "checked.\""));
    EXPECT_THAT(LineOf(panel, "fldStatusLED(0)"),
                HasSubstr("field=\"Enable Req\" bound=\"Enable Req\" lit=no on=&HFFB900 "
                          "off=&H000000 shows=&H000000"));
    EXPECT_THAT(LineOf(panel, "ParamItems(1)"),
                testing::MatchesRegex(".*ParamEditor .* at=1720,600 size=1300x360 param=248 "
                                      "value=\"1000\" unit=\"\" bound=yes"));
    EXPECT_THAT(LineOf(panel, "teachingCmd"), HasSubstr("\"?\" tooltip=\"Teaching Setup\""));
    EXPECT_THAT(LineOf(panel, "Line"), HasSubstr("from=60,300 to=4980,300"));
    EXPECT_THAT(run.out, testing::Not(HasSubstr("Script")));
}

TEST_F(ConsoleHostTest, AScriptDrivesThePanelTheEditorsAndTheDriveBeforeTheListing) {
    // Enable set at the drive refuses the hand-over; with it clear, the hand-over goes through
    // and Input A's override selects position 2.
    const ProgramResult run =
        Host({"--ticks", "2", "--do",
              "pin enable on; tick 2; click inputOptChk; pin enable off; tick; "
              "click inputOptChk; tick 2",
              "--do", "click inCheck(1); tick 3; mode 18; tick; show"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_THAT(run.out, HasSubstr("Script after 2 ticks:\n"
                                   "> pin enable on\n"
                                   "  pin enable is on\n"
                                   "> tick 2\n"
                                   "> click inputOptChk\n"
                                   "  ignored: inputOptChk (\"Override Inputs\") is disabled: the "
                                   "drive's hardware Enable is asserted; the inputs go to software "
                                   "only while it is off\n"));
    EXPECT_THAT(run.out, HasSubstr("> mode 18\n  operational mode 18\n"));
    const std::string panel = After(run.out, "Panel after 11 ticks (units: twips)\n");
    EXPECT_THAT(LineOf(panel, "inCheck(1)"),
                testing::MatchesRegex(".*enabled=yes.*value=checked.*"));
    // "show" listed the controls inside the script's part as well.
    const std::string script = run.out.substr(0, run.out.find("Panel after"));
    EXPECT_THAT(LineOf(After(script, "> show\n"), "inputOptChk"), HasSubstr("value=checked"));

    // Editors take and refuse what the entry rule says; the drive takes parameters.
    const ProgramResult edits = Host({"--do",
                                      "enter ParamItems(0) 2000.6; enter ParamItems(0) +15; "
                                      "set 68 1234; tick; set 248 1750; tick"});
    ASSERT_EQ(edits.exitCode, 0) << edits.err;
    EXPECT_THAT(edits.out, HasSubstr("> enter ParamItems(0) 2000.6\n  refused: Position 1 takes a "
                                     "whole number of counts, like 2001; \"2000.6\" has a "
                                     "fraction; nothing written\n> enter ParamItems(0) +15\n"));
    EXPECT_THAT(LineOf(After(edits.out, "> enter ParamItems(0) +15"), "ParamItems(0)"),
                HasSubstr("param=247 value=\"15\""));
    EXPECT_THAT(edits.out, HasSubstr("> set 68 1234\n  parameter 68 is 1234\n"));
    EXPECT_THAT(LineOf(After(edits.out, "Panel after 7 ticks"), "ParamItems(1)"),
                HasSubstr("value=\"1750\""));
}

TEST_F(ConsoleHostTest, RefusesABadCommandLineOrScriptBeforeRunningAnything) {
    // Each refusal is one line between "arn_console: " and "; see arn_console --help".
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--ticks", "-1"}, "--ticks takes a whole number of ticks, 0 or more, not '-1'"},
        {{"--ticks"}, "--ticks needs a value"},
        {{"--frob"}, "unknown option '--frob'"},
        {{"--do", "tick 2; jump 3"},
         "--do: command 2 \"jump 3\": \"jump\" is not a command (pin, mode, tick, click, enter, "
         "set, home, trigger, recover, show)"},
        {{"--do", "pin brake on"},
         "--do: command 1 \"pin brake on\": pin knows the pins enable, inA and inB"},
        {{"--do", "tick 0"},
         "--do: command 1 \"tick 0\": tick takes a number of ticks from 1 to 1000000"},
        {{"--do", "click inputOptCk"},
         "--do: command 1 \"click inputOptCk\": click names no control on the panel "
         "(\"inputOptCk\"; names as the listing shows them)"},
        {{"--do", "tick; click Label1"},
         "--do: command 2 \"click Label1\": click names a control that takes no clicks"},
        {{"--do", "enter inputOptChk 5"},
         "--do: command 1 \"enter inputOptChk 5\": enter names a control that is not a "
         "parameter editor"},
        {{"--do", "mode 256"},
         "--do: command 1 \"mode 256\": mode takes a mode that the field holds, 0 to 255"},
        {{"--do", "set 181 1"},
         "--do: command 1 \"set 181 1\": set names a parameter the drive computes itself"},
        {{"--do", "set 9999 1"},
         "--do: command 1 \"set 9999 1\": set names a parameter the drive does not have"},
    };
    for (const auto& [args, err] : cases) {
        const ProgramResult run = Host(args);
        EXPECT_EQ(std::tuple(run.exitCode, run.err, run.out),
                  std::tuple(2, "arn_console: " + err + "; see arn_console --help\n", ""));
    }
}

}  // namespace
}  // namespace arn::test
