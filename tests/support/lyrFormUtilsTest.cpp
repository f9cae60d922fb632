#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "fakes/FakeCounter.h"
#include "fakes/GenericControl.h"
#include "fakes/RunningProgram.h"
#include "fakes/TraceReset.h"
#include "host/UIuserControl.h"
#include "platform/DebugChannel.h"
#include "support/DebuggingFlags.h"
#include "support/lyrFormUtils.h"
#include "toolkit/Control.h"

namespace arn {
namespace {

// A control of the host framework that answers VersionStr through UIuserControl.
class FrameworkControl : public Control, public UIuserControl {
  public:
    FrameworkControl(std::string type, std::string version)
        : Control(std::move(type), "ctl", -1), m_version(std::move(version)) {}

    void ReleaseControl() override {}
    void AttachControl(const std::shared_ptr<Net>&, const std::shared_ptr<Node>&,
                       const std::shared_ptr<void>&, const std::string&,
                       const std::string&) override {}
    int32_t get_BarColor() override { return 0; }
    std::string get_VersionStr() override {
        ++versionReads;
        if (!failure.empty()) {
            throw ArnError(vbObjectError + 7, "FrameworkControl", failure);
        }
        return m_version;
    }
    std::shared_ptr<Dictionary<std::string>> get_ControlVersionList() override { return nullptr; }
    std::vector<std::shared_ptr<Form>> get_MyForms() override { return {}; }

    int versionReads = 0;
    std::string failure;

  private:
    std::string m_version;
};

// The folder above the one this code was loaded from, with its trailing separator.
std::string ParentOfLoadFolder() {
    const test::ProgramFile program = test::RunningProgram();
    return program.folder.substr(0, program.folder.rfind(program.separator) + 1);
}

TEST(lyrFormUtils, VersionTextNamesTheLoadedObject) {
    const test::ProgramFile program = test::RunningProgram();
    const std::string text = AppVersionText();
    std::smatch match;
    ASSERT_TRUE(std::regex_match(text, match, std::regex(R"((\d+)\.(\d+)\.(\d+)\r\n(.*))")))
        << text;
    EXPECT_EQ(match[4].str(), program.folder + program.separator + program.stem);

    const std::string relative =
        program.folder.substr(program.folder.rfind(program.separator) + 1) + program.separator +
        program.stem;
    EXPECT_EQ(AppRelativePath(text).substr(text.find('\n') + 1), relative);
    const std::string parent = ParentOfLoadFolder();
    EXPECT_EQ(AppRelativePath("a " + parent + "x " + parent), "a x ");
}

// Pairs of parts in columns are the version list's test below.
TEST(lyrFormUtils, VersionListPadsShortPartsAndLeavesTwoPartsAlone) {
    EXPECT_EQ(FormatVersionList("1.2.3\r\nA\r\n4.5.6", false),
              "\r\n        1.2.3   A\r\n        4.5.6   ");
    EXPECT_EQ(FormatVersionList("10.20.300\r\nA\r\n", false),
              "\r\n        10.20.300A\r\n                ");
    EXPECT_EQ(FormatVersionList("1.0.0\r\n" + ParentOfLoadFolder() + "lib/X", true),
              "1.0.0\r\nlib/X");
}

TEST(VersionInfo, OneEntryPerFrameworkTypeAndFailuresBecomeTraceLines) {
    test::ResetTraceState();
    test::FakeCounter counter;
    std::vector<std::string> lines;
    const Connection listener = AttachDebugListener([&](auto line) { lines.emplace_back(line); });
    auto versions = std::make_shared<Dictionary<std::string>>();
    const std::string parent = ParentOfLoadFolder();
    auto first = std::make_shared<FrameworkControl>(
        "nTextBox", "2.1.0\r\n" + parent + "lib/nText\r\n3.0.1\r\nX");
    auto second = std::make_shared<FrameworkControl>("nTextBox", "9.9.9");
    auto radio = std::make_shared<FrameworkControl>("RadioEditor", "1.0.7");
    auto other = std::make_shared<FrameworkControl>("ArnHomingCtl", "5.0.0");
    auto plain = GenericControl::Create("LEDcontrol", "led");  // offers no UIuserControl
    auto failing = std::make_shared<FrameworkControl>("ParamRadioEditor", "1.0.0");
    failing->failure = "version unavailable";
    for (Control* control :
         std::initializer_list<Control*>{first.get(), second.get(), radio.get(), other.get(),
                                         plain.get(), failing.get(), nullptr}) {
        ctlAddArnwellCtlVersInfo(versions, control);
    }
    ctlAddArnwellCtlVersInfo(nullptr, radio.get());

    EXPECT_EQ(versions->Keys(), (std::vector<std::string>{"nTextBox", "RadioEditor"}));
    EXPECT_EQ(versions->Item("nTextBox"), "\r\n        2.1.0   lib/nText\r\n        3.0.1   X");
    EXPECT_EQ(versions->Item("RadioEditor"), "1.0.7");
    // The type was listed already, or is not a framework type.
    EXPECT_EQ(second->versionReads + other->versionReads, 0);
    EXPECT_EQ(radio->versionReads, 1);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0],
              "0.0\t+0.0\tctlAddArnwellCtlVersInfo: caught err: Type mismatch, "
              "control=LEDcontrol\r\n");
    EXPECT_EQ(lines[1],
              "0.0\t+0.0\tctlAddArnwellCtlVersInfo: caught err: version unavailable, "
              "control=ParamRadioEditor\r\n");
    EXPECT_NE(lines[2].find("caught err: Object variable or With block variable not set, "
                            "control=RadioEditor"),
              std::string::npos);
    test::ResetTraceState();
}

}  // namespace
}  // namespace arn
