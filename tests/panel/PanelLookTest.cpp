// What the bound panel draws, read from its display list without a window.
#include <algorithm>
#include <array>
#include <optional>
#include <string>

#include "draw/DisplayList.h"
#include "fakes/RecordingCanvas.h"
#include "host/NodeParams.h"
#include "host/values/Value.h"
#include "panel/PanelFixture.h"
#include "toolkit/SurfacePainter.h"

namespace arn::test {
namespace {

class PanelLookTest : public PanelTest {
  protected:
    PanelLookTest() {
        panel->Resize(PanelControls::DesignWidth, PanelControls::DesignHeight);
        AttachAndBind();
        panel->put_Enabled(true);
        net->Tick();
    }
    // Paints the panel into a fresh recording.
    const RecordingCanvas& Paint(const Control* pressed = nullptr, const Control* focused = nullptr,
                                 std::optional<Rect> region = std::nullopt) {
        canvas = RecordingCanvas();
        DisplayList list;
        SurfacePainter(*panel, canvas).Paint(list, pressed, focused, region);
        list.Replay(canvas);
        return canvas;
    }
    std::optional<TextOp> TextOf(const std::string& text) {
        for (const TextOp& op : canvas.All<TextOp>()) {
            if (op.text == text) {
                return op;
            }
        }
        return std::nullopt;
    }

    RecordingCanvas canvas;
};

TEST_F(PanelLookTest, LedsShowTheColourTheLedChoseAndAGlintWhileLit) {
    ArnFieldLED& led = ctl().fldStatusLED(1);
    // Pin A, offline, lit: offline with pin A set is unreadable, so unlit.
    for (const auto [pinA, offline, lit] :
         {std::array{false, false, false}, {true, false, true}, {true, true, false}}) {
        node->SetPin(SimPin::InputA, pinA);
        net->Tick();
        node->SetOffline(offline);
        Paint();
        const auto discs = canvas.Within<EllipseOp>(led.SurfaceRect());
        ASSERT_EQ(discs.size(), lit ? 4U : 1U) << "body, then three glint discs when lit";
        EXPECT_EQ(discs[0].fill,
                  Color::FromBgr(lit ? led.get_LEDOnColor() : led.get_LEDOffColor()));
    }
}

TEST_F(PanelLookTest, CaptionsGreyWhileDisabledAndWarningsDrawnWhileVisible) {
    const CheckBox& box = *ctl().inputOptChk;
    for (const bool enabled : {true, false}) {
        panel->put_Enabled(enabled);
        ASSERT_EQ(box.get_Enabled(), enabled);
        Paint();
        const auto caption = TextOf(box.get_Caption());
        ASSERT_TRUE(caption) << box.get_Caption();
        EXPECT_EQ(caption->color, enabled ? Color::FromBgr(box.get_ForeColor()) : style::GrayText);
        EXPECT_TRUE(box.SurfaceRect().Contains(caption->box.TopLeft()));
    }
    for (const int16_t i : {0, 3, 14}) {
        Image& triangle = ctl().warnTriangle(i);
        for (const bool visible : {true, false}) {
            triangle.put_Visible(visible);
            Paint();
            const auto polygons = canvas.Within<PolygonOp>(triangle.SurfaceRect());
            if (!visible || !triangle.IsShown()) {
                EXPECT_TRUE(polygons.empty()) << i;
                continue;
            }
            ASSERT_EQ(polygons.size(), 2U) << "the triangle and the bar of its exclamation mark";
            EXPECT_EQ(polygons[0].fill, Color::Rgb(0xFF, 0xD4, 0x00));
            EXPECT_EQ(polygons[1].fill, Color::Rgb(0, 0, 0));
        }
    }
}

TEST_F(PanelLookTest, MessageLabelAndFeedbackShowTheirText) {
    const Label& message = *ctl().DisplayMsgLbl;
    panel->put_DisplayMsg("Homing in progress");
    Paint();
    const auto onYellow = [&] {
        const auto fills = canvas.All<FillRectOp>();
        return std::any_of(fills.begin(), fills.end(), [&](const FillRectOp& f) {
            return f.box == message.SurfaceRect() && f.color == Color::Rgb(0xFF, 0xFF, 0x00);
        });
    };
    EXPECT_TRUE(onYellow());
    const auto text = TextOf("Homing in progress");
    ASSERT_TRUE(text);
    EXPECT_TRUE(text->wordWrap);
    EXPECT_EQ(text->vertical, VAlign::Top);
    panel->put_DisplayMsg("");
    Paint();
    EXPECT_FALSE(onYellow()) << "hidden";

    // The feedback display formats the measured position itself, with its units; the widest
    // 32-bit values show in millions, marked, and the tooltip holds them in full.
    const ArnFdbkDisplayCtl& feedback = *ctl().ArnFdbkDisplayCtl1;
    struct Row {
        double position;
        const char* shown;
        const char* drawn;
    };
    for (const Row row :
         {Row{0, "0", "0"}, Row{999.4, "999", "999"}, Row{1234567.5, "1,234,568", "1,234,568"},
          Row{-1500, "-1,500", "-1,500"}, Row{-2147483648.0, "-2,147,483,648", "-2,147M"},
          Row{2147483647.0, "2,147,483,647", "2,147,484k"}}) {
        node->Param(param::MeasuredPosition)->Receive(row.position);
        EXPECT_EQ(feedback.PositionText(), row.shown);
        EXPECT_EQ(feedback.ToolTip(), std::string("Position Feedback: ") + row.shown +
                                          " counts\nMeasured Position (parameter 68): whole "
                                          "counts from -2147483648 to 2147483647");
        Paint();
        const auto digits = TextOf(row.drawn);
        ASSERT_TRUE(digits) << row.drawn;
        EXPECT_EQ(digits->font.face, FontFace::Monospace);
        EXPECT_TRUE(feedback.SurfaceRect().Contains(digits->box.TopLeft()));
        const auto units = TextOf("counts");
        ASSERT_TRUE(units);
        EXPECT_LE(digits->box.Right(), units->box.left) << "the units follow the number";
        EXPECT_EQ(units->box.Right(), feedback.SurfaceRect().Right() - 90) << "six pixels in";
    }
    node->SetOffline(true);
    EXPECT_EQ(feedback.PositionText(), "?");
    node->SetOffline(false);
    panel->get_UIref()->ReleaseControl();
    EXPECT_EQ(feedback.PositionText(), "-");
}

TEST_F(PanelLookTest, RegionPressedAndFocusShapeTheList) {
    Paint();
    const std::size_t whole = canvas.Ops().size();
    EXPECT_GT(canvas.MaxClipDepth(), 1) << "frames clip what they hold";
    EXPECT_TRUE(canvas.All<FocusRectOp>().empty());
    // Each frame's etch, from half its caption down: a shadow outline half a pixel inside the
    // frame and a light one a pixel lower right (the position table's frame is the second).
    const auto etches = canvas.All<RoundedRectOp>();
    EXPECT_EQ(etches.at(2).box, (Rect{127, 3046, 6505, 1086}));
    EXPECT_EQ(etches.at(3).box, etches.at(2).box.Translated(15, 15));

    // The homing button, pressed and focused, repainted on its own: only what meets it is drawn
    // (its containers and itself), clipped to it.
    const ArnHomingCtl& homing = *ctl().HomingCtl;
    const Rect region = homing.SurfaceRect();
    Paint(&homing, &homing, region);
    EXPECT_LT(canvas.Ops().size(), whole / 4);
    ASSERT_TRUE(std::holds_alternative<PushClipOp>(canvas.Ops().front()));
    EXPECT_EQ(std::get<PushClipOp>(canvas.Ops().front()).box, region);
    EXPECT_TRUE(TextOf(homing.get_Caption()));
    EXPECT_FALSE(TextOf(ctl().ArnFdbkDisplayCtl1->get_Caption()));
    // Pressed in: the outer edge's top line is dark.
    const auto lines = canvas.Within<LineOp>(region);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0].pen.color, style::DarkShadow);
    const auto focus = canvas.All<FocusRectOp>();
    ASSERT_EQ(focus.size(), 1U);
    EXPECT_EQ(focus[0].box, region.Adjusted(30, 30));
    EXPECT_EQ(canvas.ClipDepth(), 0);
    EXPECT_EQ(canvas.UnmatchedPops(), 0);
}

}  // namespace
}  // namespace arn::test
