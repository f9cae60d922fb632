#include <string>
#include <vector>

#include "PanelFixture.h"
#include "host/NodeParams.h"
#include "toolkit/SurfaceDamage.h"
#include "toolkit/SurfaceInput.h"

namespace arn::test {
namespace {

using Names = std::vector<std::string>;

// The shown controls whose rectangles were marked, by name, in the order marked ("?" for a
// mark that is no control's rectangle).
Names Marked(SurfaceDamage& damage, const UserControl& surface) {
    Names names;
    for (const Rect& r : damage.Take()) {
        std::string name = "?";
        for (const auto& c : surface.Controls()) {
            if (c->IsShown() && c->SurfaceRect() == r) {
                name = c->QualifiedName();
                break;
            }
        }
        names.push_back(name);
    }
    return names;
}

TEST_F(PanelTest, IdleTicksMarkNothingAndAChangeMarksOnlyWhatShowsIt) {
    AttachAndBind();
    panel->put_Enabled(true);
    net->Tick();
    SurfaceDamage damage(*panel);
    for (int i = 0; i < 20; ++i) {
        net->Tick();
        EXPECT_EQ(Marked(damage, *panel), Names{}) << "tick " << i;
    }
    // The drive moves: the readout and the motion caution, which depends on where it stands.
    node->ForceParam(param::MeasuredPosition, 1234);
    net->Tick();
    EXPECT_EQ(Marked(damage, *panel), (Names{"ArnFdbkDisplayCtl1", "motionTriangle"}));
    node->ForceParam(param::Position1, 500);
    net->Tick();
    EXPECT_EQ(Marked(damage, *panel), Names{"ParamItems(0)"});

    // A click on a bound editor opens the edit box over its full width, at most 22 px high.
    SurfaceInput input(*panel);
    const Point centre{240 + 650, 3540 + 180};
    ASSERT_EQ(ctl().ParamItems(0).SurfaceRect(), (Rect{240, 3540, 1300, 360}));
    EXPECT_EQ(input.Press(centre).kind, SurfaceAction::Kind::None);
    const SurfaceAction edit = input.Release(centre);
    EXPECT_EQ(edit.kind, SurfaceAction::Kind::Edit);
    EXPECT_EQ(edit.editorRect, (Rect{240, 3555, 1300, 330}));

    // Released, the display stops following the drive.
    panel->get_UIref()->ReleaseControl();
    EXPECT_EQ(Marked(damage, *panel), (Names{"EnclosingFrame", "ArnFdbkDisplayCtl1"}));
    node->ForceParam(param::MeasuredPosition, 99);
    net->Tick();
    EXPECT_EQ(Marked(damage, *panel), Names{});
}

}  // namespace
}  // namespace arn::test
