#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "panel/PanelControls.h"

namespace arn {
namespace {

// The design: the nesting of the groups, the numbers the editors and LEDs bind, and a layout
// in which every boxed control lies inside its container.
TEST(PanelControls, DesignNestsBindsAndFits) {
    UserControl surface;
    PanelControls ctl{surface};
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
    EXPECT_EQ(ctl.warnTriangle.Count(), 15u);

    const char* keys[] = {"Enable Req", "InA", "InB"};
    for (int16_t i = 0; i < 3; ++i) {
        EXPECT_EQ(ctl.swLED(i).get_fieldkey(), keys[i]);
        EXPECT_EQ(ctl.fldStatusLED(i).get_fieldkey(), keys[i]);
    }
    // Rows of the position table: number, "A", A state, "B", B state.
    EXPECT_EQ(ctl.Label(15).get_Caption(), ":8016:4)");
    const char* states[4][2] = {{"off", "off"}, {"on", "off"}, {"off", "on"}, {"on", "on"}};
    for (int16_t row = 0; row < 4; ++row) {
        auto at = [&](int k) { return ctl.Label(static_cast<int16_t>(row * 5 + k)).get_Caption(); };
        EXPECT_EQ(at(1), ":8004:A");
        EXPECT_EQ(at(3), ":8005:B");
        EXPECT_NE(at(2).find(states[row][0]), std::string::npos) << row;
        EXPECT_NE(at(4).find(states[row][1]), std::string::npos) << row;
    }
    // Parameter, preset style and editor width of each editor.
    const int32_t editors[][4] = {
        {0, 247, 2, 1300}, {3, 250, 2, 1300}, {5, 161, 1, 900}, {7, 159, 1, 900}};
    for (const auto& [index, parameter, style, width] : editors) {
        const ParamEditor& e = ctl.ParamItems(static_cast<int16_t>(index));
        EXPECT_EQ(e.get_Parameter(), parameter);
        EXPECT_EQ(e.get_PresetStyle(), style);
        EXPECT_EQ(e.get_EditorWidth(), width);
        EXPECT_EQ(e.get_Text(), "N/A");
    }
    EXPECT_EQ(ctl.ParamItems(2).get_EditorPosition(), 3);

    for (const auto& c : surface.Controls()) {
        const Control* parent = c->get_Parent();
        if (parent == nullptr || c->TypeName() == "Line")
            continue;
        const std::string key = c->QualifiedName();
        EXPECT_GE(c->get_Left(), 0) << key;
        EXPECT_GE(c->get_Top(), 0) << key;
        EXPECT_LE(c->get_Left() + c->get_Width(), parent->get_Width()) << key;
        EXPECT_LE(c->get_Top() + c->get_Height(), parent->get_Height()) << key;
        EXPECT_GT(c->get_Width(), 0) << key;
    }
    // Warnings and the stop warning start hidden; the monitor shows them.
    for (const auto& w : ctl.warnTriangle) EXPECT_FALSE(w->get_Visible());
    EXPECT_FALSE(ctl.warnLbl->get_Visible());
    EXPECT_TRUE(ctl.warnLbl->get_FontBold() && ctl.warnLbl->get_ForeColor() == 0x0000FF);
    EXPECT_FALSE(ctl.DisplayMsgLbl->get_Visible());
}

}  // namespace
}  // namespace arn
