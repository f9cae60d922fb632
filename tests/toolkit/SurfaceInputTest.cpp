#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "toolkit/CommandButton.h"
#include "toolkit/Frame.h"
#include "toolkit/Label.h"
#include "toolkit/Line.h"
#include "toolkit/SurfaceDamage.h"
#include "toolkit/SurfaceInput.h"
#include "toolkit/UserControl.h"

namespace arn {
namespace {

using Kind = SurfaceAction::Kind;

// A frame at (1000, 500) holding button a, button b drawn over a's right half, a disabled
// button c and a button d that is hidden; a label with a tooltip lies under b.
struct Surface {
    UserControl surface;
    std::shared_ptr<Frame> frame = surface.Add(std::make_shared<Frame>("frame"));
    std::shared_ptr<Label> tip = surface.Add(std::make_shared<Label>("tip"), frame.get());
    std::shared_ptr<CommandButton> a = Button(0, 100, 100), b = Button(1, 600, 100),
                                   c = Button(2, 100, 1000), d = Button(3, 2000, 1000);
    Surface() {
        frame->Move(1000, 500, 4000, 2000);
        tip->Move(0, 0, 4000, 2000);
        tip->put_ToolTipText("tip");
        c->put_Enabled(false);
        d->put_Visible(false);
    }
    std::shared_ptr<CommandButton> Button(int16_t index, int32_t left, int32_t top) {
        auto button = surface.Add(std::make_shared<CommandButton>("cmd", index), frame.get());
        button->Move(left, top, 1000, 400);
        return button;
    }
};

TEST(SurfaceInput, HitsPressesFocusAndActivations) {
    Surface s;
    SurfaceInput input(s.surface);
    std::vector<const Control*> looks;
    auto seen = input.LookChanged.connect([&](const Control& c) { looks.push_back(&c); });

    // Points in surface twips: the frame's corner adds (1000, 500).
    const Point onA{1300, 800}, onBoth{1700, 800}, onB{2300, 800}, onC{1300, 1700}, onD{3300, 1700};
    EXPECT_EQ(input.ClickableAt(onA), s.a);
    EXPECT_EQ(input.ClickableAt(onBoth), s.b) << "the later sibling is on top";
    EXPECT_EQ(input.ClickableAt(onD), nullptr) << "hidden";
    EXPECT_EQ(input.ClickableAt({1099, 800}), nullptr);
    EXPECT_EQ(input.ToolTipAt(onBoth), s.tip);
    EXPECT_EQ(input.ToolTipAt({999, 800}), nullptr);

    // Held: pressed only while over it; activated by a release over it.
    EXPECT_EQ(input.Press(onA).kind, Kind::None);
    EXPECT_EQ(input.Pressed(), s.a.get());
    input.Move(onBoth);  // still over a, though b covers it there
    EXPECT_EQ(input.Pressed(), s.a.get());
    input.Move(onB);
    EXPECT_EQ(input.Pressed(), nullptr);
    input.Move(onA);
    EXPECT_EQ(input.Pressed(), s.a.get());
    const SurfaceAction click = input.Release(onA);
    EXPECT_EQ(click.kind, Kind::Click);
    EXPECT_EQ(click.control, s.a);
    EXPECT_EQ(input.Pressed(), nullptr);
    EXPECT_EQ(looks, (std::vector<const Control*>{s.a.get(), s.a.get(), s.a.get(), s.a.get()}));
    input.Press(onA);
    EXPECT_EQ(input.Release(onBoth).kind, Kind::None) << "released elsewhere";
    const SurfaceAction ignored = input.Press(onC);
    EXPECT_EQ(ignored.kind, Kind::Ignored);
    EXPECT_EQ(ignored.control, s.c);
    EXPECT_EQ(input.Pressed(), nullptr);

    // The chain skips the disabled and the hidden; leaving an end clears the mark.
    using Chain = std::vector<std::shared_ptr<Control>>;
    EXPECT_EQ(input.FocusChain(), (Chain{s.a, s.b}));
    EXPECT_EQ(input.Space().kind, Kind::None) << "nothing marked";
    EXPECT_TRUE(input.Tab(true));
    EXPECT_EQ(input.Focused(), s.a.get());
    EXPECT_TRUE(input.Tab(true));
    EXPECT_EQ(input.Focused(), s.b.get());
    EXPECT_FALSE(input.Tab(true));
    EXPECT_EQ(input.Focused(), nullptr);
    input.EnterByTab(false);
    EXPECT_EQ(input.Focused(), s.b.get());
    input.EnterByTab(true);
    EXPECT_EQ(input.Focused(), s.b.get()) << "a mark stays";
    EXPECT_EQ(input.Space().kind, Kind::Click);
    s.b->put_Enabled(false);
    EXPECT_EQ(input.Space().kind, Kind::Ignored);
    EXPECT_TRUE(input.Tab(false));
    EXPECT_EQ(input.Focused(), s.a.get()) << "from a control that left the chain";
    EXPECT_FALSE(input.Tab(false));
}

TEST(SurfaceDamage, MarksWhatChangedWhereItWasAndIsAndNothingHidden) {
    Surface s;
    auto line = s.surface.Add(std::make_shared<Line>("rule"), s.frame.get());
    line->SetPoints(100, 1800, 900, 1800);
    SurfaceDamage damage(s.surface);
    int pending = 0;
    auto p = damage.Pending.connect([&] { ++pending; });

    s.a->put_Caption("OK");
    s.a->put_Caption("OK");  // unchanged: no event, no mark
    s.b->Refresh();
    s.a->put_Left(200);  // where it was is already marked
    EXPECT_EQ(pending, 1) << "one burst";
    EXPECT_EQ(damage.Take(),
              (std::vector<Rect>{
                  {1100, 600, 1000, 400}, {1600, 600, 1000, 400}, {1200, 600, 1000, 400}}));
    EXPECT_TRUE(damage.IsEmpty());

    // A moved container marks where it and its content were and are; its content, moved along,
    // marks from its new place afterwards.
    s.frame->put_Top(0);
    s.a->put_Caption("Go");
    line->put_Y2(1900);
    EXPECT_EQ(pending, 2);
    EXPECT_EQ(damage.Take(), (std::vector<Rect>{{1000, 500, 4000, 2000},
                                                {1000, 0, 4000, 2000},
                                                {1200, 100, 1000, 400},
                                                {1085, 1785, 830, 30},
                                                {1085, 1785, 830, 130}}));

    // Hiding marks once; changes inside the hidden frame mark nothing until it shows again.
    s.frame->put_Visible(false);
    s.a->put_Caption("Stop");
    s.d->put_Caption("Hidden");
    EXPECT_EQ(damage.Take(), (std::vector<Rect>{{1000, 0, 4000, 2000}}));
    s.frame->put_Visible(true);
    s.surface.Resize(6000, 300);
    s.surface.Refresh();
    EXPECT_EQ(damage.Take(), (std::vector<Rect>{{1000, 0, 4000, 2000}, {0, 0, 6000, 2000}}));
}

TEST(Control, NamesItselfByItsCaptionOnScreenElseByTheLabelThatStartsItsRow) {
    UserControl surface;
    auto frame = surface.Add(std::make_shared<Frame>("frame"));
    frame->Move(0, 0, 5000, 3000);
    auto heading = surface.Add(std::make_shared<Label>("rowLbl"), frame.get());
    heading->Move(100, 600, 900, 240);
    heading->put_Caption(":8002:Input A");
    auto nearer = surface.Add(std::make_shared<Label>("valueLbl"), frame.get());
    nearer->Move(1200, 600, 900, 240);
    nearer->put_Caption("Position");
    auto box = surface.Add(std::make_shared<Frame>("box"), frame.get());
    box->Move(2400, 500, 1000, 1000);
    auto onRow = surface.Add(std::make_shared<CommandButton>("cmd", 1), box.get());
    onRow->Move(100, 100, 300, 200);
    auto below = surface.Add(std::make_shared<CommandButton>("cmd", 2), box.get());
    below->Move(100, 700, 300, 200);

    // The leftmost label across the row, found in the containers above; placeholder dropped.
    EXPECT_EQ(onRow->UserCaption(), "Input A");
    EXPECT_EQ(below->UserCaption(), "cmd(2)") << "no label on its row";
    heading->put_Visible(false);
    EXPECT_EQ(onRow->UserCaption(), "Position") << "a hidden label names nothing";
    // A caption of its own wins, without its access-key marks.
    onRow->put_Caption("&Save && Close");
    EXPECT_EQ(onRow->UserCaption(), "Save & Close");
    EXPECT_EQ(onRow->CheckEntry("5").refusal, "Save & Close takes no typed entry");
    onRow->put_Caption("::8&");  // no number between the colons: no placeholder; a last & stays
    EXPECT_EQ(onRow->UserCaption(), "::8&");
}

}  // namespace
}  // namespace arn
