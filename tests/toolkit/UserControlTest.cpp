#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolkit/Frame.h"
#include "toolkit/Image.h"
#include "toolkit/Label.h"
#include "toolkit/PictureBox.h"
#include "toolkit/UserControl.h"

namespace arn {
namespace {

TEST(UserControl, ListsControlsDepthFirstInPlacementOrder) {
    UserControl surface;
    auto outer = surface.Add(std::make_shared<Frame>("EnclosingFrame"));
    auto area = surface.Add(std::make_shared<PictureBox>("Picture1"), outer.get());
    surface.Add(std::make_shared<Label>("Label1"), area.get());
    auto table = surface.Add(std::make_shared<Frame>("posnSettingsFrame"), outer.get());
    // Placed later but inside the first area: still listed with it.
    surface.Add(std::make_shared<Label>("Label2"), area.get());
    surface.Add(std::make_shared<Image>("warnTriangle", 0), table.get());
    surface.Add(std::make_shared<Image>("warnTriangle", 4), outer.get());
    surface.Add(std::make_shared<Label>("DisplayMsgLbl"));

    std::vector<std::string> names;
    for (const auto& c : surface.Controls()) {
        names.push_back(c->QualifiedName());
    }
    EXPECT_EQ(names, (std::vector<std::string>{"EnclosingFrame", "Picture1", "Label1", "Label2",
                                               "posnSettingsFrame", "warnTriangle(0)",
                                               "warnTriangle(4)", "DisplayMsgLbl"}));
    EXPECT_EQ(surface.TopLevelControls().size(), 2u);
    EXPECT_EQ(surface.Find("Label2")->get_Parent(), area.get());
    EXPECT_EQ(surface.Find("warnTriangle", 4)->get_Parent(), outer.get());
    EXPECT_EQ(surface.Find("warnTriangle"), nullptr);
    EXPECT_EQ(surface.Find("warnTriangle", 1), nullptr);
    EXPECT_EQ(surface.Find("DisplayMsgLbl")->get_Parent(), nullptr);
}

TEST(UserControl, RefusesPlacementsThatBreakNamingOrOwnership) {
    UserControl surface;
    UserControl other;
    auto frame = surface.Add(std::make_shared<Frame>("EnclosingFrame"));
    auto foreign = other.Add(std::make_shared<Frame>("Foreign"));
    surface.Add(std::make_shared<Image>("warnTriangle", 0), frame.get());

    EXPECT_THROW(surface.Add(std::make_shared<Label>("EnclosingFrame")), ArnError);
    EXPECT_THROW(surface.Add(std::make_shared<Image>("warnTriangle", 0)), ArnError);
    EXPECT_THROW(surface.Add(std::make_shared<Image>("warnTriangle")), ArnError);
    EXPECT_THROW(surface.Add(std::make_shared<Label>("x"), foreign.get()), ArnError);
    EXPECT_THROW(surface.Add(frame), ArnError);
    EXPECT_THROW(frame->AddChild(frame), ArnError);
    EXPECT_THROW(surface.AddControl(nullptr), ArnError);
    EXPECT_EQ(surface.ControlCount(), 2u);
    EXPECT_EQ(frame->Children().size(), 1u);
    frame->put_Width(300);
    EXPECT_THROW(frame->put_Width(-1), ArnError);
    EXPECT_EQ(frame->get_Width(), 300);
}

class RecordingPanel : public UserControl {
  public:
    std::vector<std::string> log;

  protected:
    void UserControl_Initialize() override { log.push_back("Initialize"); }
    void UserControl_Show() override { log.push_back("Show"); }
    void UserControl_Hide() override { log.push_back("Hide"); }
    void UserControl_Resize() override {
        log.push_back("Resize " + std::to_string(get_ScaleWidth()) + "x" +
                      std::to_string(get_ScaleHeight()));
    }
    void UserControl_Terminate() override { log.push_back("Terminate"); }
};

TEST(UserControl, LifecycleRunsHooksThenEvents) {
    RecordingPanel panel;  // hooks and event handlers write to the same log
    std::vector<Connection> connections;
    for (auto [event, name] : std::initializer_list<std::pair<Event<>*, const char*>>{
             {&panel.Initialized, "Initialized"},
             {&panel.Shown, "Shown"},
             {&panel.Hidden, "Hidden"},
             {&panel.Resized, "Resized"},
             {&panel.Terminated, "Terminated"}}) {
        connections.push_back(event->connect([&panel, name] { panel.log.push_back(name); }));
    }
    panel.Initialize();
    panel.Resize(10155, 4350);
    panel.Resize(10155, 4350);  // every resize the platform performs is reported
    panel.Show();
    EXPECT_TRUE(panel.IsShown());
    panel.Hide();
    EXPECT_FALSE(panel.IsShown());
    panel.Terminate();
    EXPECT_EQ(panel.log,
              (std::vector<std::string>{"Initialize", "Initialized", "Resize 10155x4350", "Resized",
                                        "Resize 10155x4350", "Resized", "Show", "Shown", "Hide",
                                        "Hidden", "Terminate", "Terminated"}));
}

}  // namespace
}  // namespace arn
