#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "panel/PanelControls.h"

namespace arn {
namespace {

std::string Key(const Control& c) {
    return c.get_Index() < 0 ? c.get_Name()
                             : c.get_Name() + "(" + std::to_string(c.get_Index()) + ")";
}

class PanelControlsTest : public ::testing::Test {
  protected:
    UserControl surface;
    PanelControls ctl{surface};
};

TEST_F(PanelControlsTest, TreeNestsTheGroups) {
    // Nesting: everything lies in the enclosing frame, and groups sit where they belong.
    EXPECT_EQ(surface.TopLevelControls().size(), 1u);
    EXPECT_EQ(ctl.inputOptChk->get_Parent(), &ctl.swItemFrame(0));
    EXPECT_EQ(ctl.fldStatusLED(2).get_Parent(), ctl.Picture1.get());
    EXPECT_EQ(ctl.ParamItems(3).get_Parent(), ctl.posnSettingsFrame.get());
    EXPECT_EQ(ctl.ParamItems(7).get_Parent(), ctl.EnclosingFrame.get());
    EXPECT_EQ(ctl.warnTriangle(14).get_Parent(), ctl.EnclosingFrame.get());
    for (int16_t i = 0; i < 20; ++i) {
        EXPECT_EQ(ctl.Label(i).get_Parent(), &ctl.Picture(static_cast<int16_t>(i / 5))) << i;
    }
    EXPECT_EQ(ctl.ParamItems.Indices(), (std::vector<int16_t>{0, 1, 2, 3, 5, 7}));
    EXPECT_EQ(ctl.warnLine.Indices(), (std::vector<int16_t>{4}));
    EXPECT_EQ(ctl.warnTriangle.Count(), 15u);
}

TEST_F(PanelControlsTest, DesignProperties) {
    EXPECT_EQ(ctl.EnclosingFrame->get_Width(), 10155);
    EXPECT_EQ(ctl.EnclosingFrame->get_Height(), 4350);
    const char* keys[] = {"Enable Req", "InA", "InB"};
    for (int16_t i = 0; i < 3; ++i) {
        EXPECT_EQ(ctl.swLED(i).get_fieldkey(), keys[i]);
        EXPECT_EQ(ctl.fldStatusLED(i).get_fieldkey(), keys[i]);
    }

    // Rows of the position table: number, "A", A state, "B", B state.
    EXPECT_EQ(ctl.Label(0).get_Caption(), ":8013:1)");
    EXPECT_EQ(ctl.Label(15).get_Caption(), ":8016:4)");
    const char* states[4][2] = {{"off", "off"}, {"on", "off"}, {"off", "on"}, {"on", "on"}};
    for (int16_t row = 0; row < 4; ++row) {
        auto at = [&](int k) { return ctl.Label(static_cast<int16_t>(row * 5 + k)).get_Caption(); };
        EXPECT_EQ(at(1), ":8004:A");
        EXPECT_EQ(at(3), ":8005:B");
        EXPECT_NE(at(2).find(states[row][0]), std::string::npos) << row;
        EXPECT_NE(at(4).find(states[row][1]), std::string::npos) << row;
    }

    for (int16_t i = 0; i < 4; ++i) {
        const ParamEditor& e = ctl.ParamItems(i);
        EXPECT_EQ(e.get_Parameter(), 247 + i);
        EXPECT_EQ(e.get_EditorWidth(), 1300);
        EXPECT_EQ(e.get_EditorPosition(), 3);
        EXPECT_EQ(e.get_PresetStyle(), 2);
        EXPECT_EQ(e.get_Text(), "N/A");
    }
    EXPECT_EQ(ctl.ParamItems(5).get_Parameter(), 161);
    EXPECT_EQ(ctl.ParamItems(7).get_Parameter(), 159);
    EXPECT_EQ(ctl.ParamItems(5).get_PresetStyle(), 1);
    EXPECT_EQ(ctl.ParamItems(7).get_PresetStyle(), 1);
}

TEST_F(PanelControlsTest, LayoutFitsAndMatchesTheFourPositionWidth) {
    // Every boxed control lies inside its container.
    for (const auto& c : surface.Controls()) {
        const Control* parent = c->get_Parent();
        if (parent == nullptr || c->TypeName() == "Line")
            continue;
        EXPECT_GE(c->get_Left(), 0) << Key(*c);
        EXPECT_GE(c->get_Top(), 0) << Key(*c);
        EXPECT_LE(c->get_Left() + c->get_Width(), parent->get_Width()) << Key(*c);
        EXPECT_LE(c->get_Top() + c->get_Height(), parent->get_Height()) << Key(*c);
        EXPECT_GT(c->get_Width(), 0) << Key(*c);
    }
    // The frame is drawn for four positions, the width the layout computes for them.
    const ParamEditor& last = ctl.ParamItems(3);
    EXPECT_EQ(ctl.posnSettingsFrame->get_Width(), last.get_Left() + last.get_Width() + 300);
    // Warnings and the stop warning start hidden; the monitor shows them.
    for (const auto& w : ctl.warnTriangle) EXPECT_FALSE(w->get_Visible());
    EXPECT_FALSE(ctl.warnLbl->get_Visible());
    EXPECT_FALSE(ctl.DisplayMsgLbl->get_Visible());
}

}  // namespace
}  // namespace arn
