#include "panel/PanelControls.h"

#include "host/NodeParams.h"

#include <array>
#include <string>

namespace arn {

namespace {

// Colours of the design (&HBBGGRR).
constexpr int32_t Red = 0x0000FF;
constexpr int32_t Navy = 0x800000;

template <class T>
std::shared_ptr<T> Place(UserControl& surface, Control* container, std::shared_ptr<T> control,
                         int32_t left, int32_t top, int32_t width, int32_t height) {
    control->Move(left, top, width, height);
    return surface.Add(std::move(control), container);
}

template <class T>
std::shared_ptr<T> PlaceIn(ControlGroup<T>& group, UserControl& surface, Control* container,
                           int16_t index, int32_t left, int32_t top, int32_t width,
                           int32_t height) {
    auto control = Place(surface, container, std::make_shared<T>(group.get_Name(), index), left,
                         top, width, height);
    group.Add(control);
    return control;
}

std::shared_ptr<Label> MakeLabel(std::string name, std::string caption, int16_t index = -1) {
    auto label = std::make_shared<Label>(std::move(name), index);
    label->put_Caption(std::move(caption));
    return label;
}

std::shared_ptr<Image> WarningImage(ControlGroup<Image>& group, UserControl& surface,
                                    Control* container, int16_t index, int32_t left, int32_t top) {
    auto image = PlaceIn(group, surface, container, index, left, top, 240, 240);
    image->put_Symbol(ImageSymbol::Warning);
    image->put_Visible(false);
    return image;
}

// Rows of the inputs area (Enable, Input A, Input B), in the area's twips.
constexpr std::array<int32_t, 3> InputRowTop = {600, 930, 1260};
// The software-items box sits at this offset inside the area.
constexpr int32_t SwItemsLeft = 2520;
constexpr int32_t SwItemsTop = 540;

}  // namespace

PanelControls::PanelControls(UserControl& surface) {
    EnclosingFrame = Place(surface, nullptr, std::make_shared<Frame>("EnclosingFrame"), 0, 0,
                           DesignWidth, DesignHeight);
    EnclosingFrame->put_Caption("Absolute Positioning");
    EnclosingFrame->put_FontBold(true);
    Frame* frame = EnclosingFrame.get();

    teachingCmd =
        Place(surface, frame, std::make_shared<CommandButton>("teachingCmd"), 7260, 270, 315, 315);
    teachingCmd->put_Caption("?");
    teachingCmd->put_ToolTipText("Teaching Setup");
    teachingCheck =
        Place(surface, frame, std::make_shared<CheckBox>("teachingCheck"), 5400, 300, 255, 255);
    teachingLbl =
        Place(surface, frame, MakeLabel("teachingLbl", "Enable Teaching"), 5700, 320, 1500, 240);
    TrqLimitSetupCtl =
        Place(surface, frame, std::make_shared<ArnTrqLimitSetupCtl>("TrqLimitSetupCtl"), 5400, 1260,
              2280, 480);
    HomingCtl =
        Place(surface, frame, std::make_shared<ArnHomingCtl>("HomingCtl"), 5400, 720, 2280, 480);
    JerkPanelCtl = Place(surface, frame, std::make_shared<ArnJerkPanelCtl>("JerkPanelCtl"), 5400,
                         1800, 2280, 480);

    BuildInputsArea(surface);
    BuildPositionTable(surface);

    // The editors outside the position table, right of the sub-panels.
    for (auto [index, parameter, top] : {std::array<int32_t, 3>{5, param::HomeOffset, 720},
                                         std::array<int32_t, 3>{7, param::HomingSpeed, 1260}}) {
        auto editor =
            PlaceIn(ParamItems, surface, frame, static_cast<int16_t>(index), 7800, top, 2160, 480);
        editor->put_Parameter(parameter);
        editor->put_EditorWidth(900);
        editor->put_PresetStyle(1);
        editor->put_Text("N/A");
    }

    // Spare warnings beside the sub-panels and outside editors; 14 guards the teaching switch.
    for (int16_t i = 4; i <= 13; ++i) {
        int32_t column = (i - 4) / 5;
        int32_t row = (i - 4) % 5;
        WarningImage(warnTriangle, surface, frame, i, 7710 + column * 2130, 780 + row * 540);
    }
    WarningImage(warnTriangle, surface, frame, 14, 7680, 300);

    DisplayMsgLbl = Place(surface, frame, MakeLabel("DisplayMsgLbl", ""), 6780, 3000, 3255, 1140);
    DisplayMsgLbl->put_WordWrap(true);
    DisplayMsgLbl->put_Visible(false);
}

void PanelControls::BuildInputsArea(UserControl& surface) {
    Picture1 = Place(surface, EnclosingFrame.get(), std::make_shared<PictureBox>("Picture1"), 120,
                     240, 5040, 2580);
    PictureBox* area = Picture1.get();

    auto items = PlaceIn(swItemFrame, surface, area, 0, SwItemsLeft, SwItemsTop, 2460, 1980);
    for (int16_t i = 0; i < 3; ++i) {
        auto led = PlaceIn(swLED, surface, items.get(), i, 120,
                           InputRowTop[static_cast<size_t>(i)] - SwItemsTop + 30, 195, 195);
        led->put_fieldkey(std::array<const char*, 3>{fieldkey::EnableReq, fieldkey::InA,
                                                     fieldkey::InB}[static_cast<size_t>(i)]);
    }
    hardStopCmd = Place(surface, items.get(), std::make_shared<SSCommand>("hardStopCmd"), 120, 1440,
                        1380, 420);
    hardStopCmd->put_Caption(":8136:SetHomePosn");
    hardStopCmd->put_Enabled(false);
    inputOptChk =
        Place(surface, items.get(), std::make_shared<CheckBox>("inputOptChk"), 60, 1050, 2280, 255);
    inputOptChk->put_Caption(":8011:Input Override");
    for (int16_t i = 0; i < 3; ++i) {
        PlaceIn(inCheck, surface, items.get(), i, 420,
                InputRowTop[static_cast<size_t>(i)] - SwItemsTop, 300, 255);
    }
    warnBox = Place(surface, items.get(), std::make_shared<Shape>("warnBox"), 1560, 1320, 840, 600);
    warnBox->put_BorderColor(Red);
    warnBox->put_BorderWidth(2);
    warnBox->put_Visible(false);
    HSwarnBox =
        Place(surface, items.get(), std::make_shared<Shape>("HSwarnBox"), 60, 1380, 1500, 540);
    HSwarnBox->put_BorderColor(Red);
    HSwarnBox->put_BorderWidth(2);
    HSwarnBox->put_Visible(false);
    // The line points from the warning to the Enable override that stops the move.
    auto pointer = PlaceIn(warnLine, surface, items.get(), 4, 0, 0, 0, 0);
    pointer->SetPoints(1980, 1320, 740, 190);
    pointer->put_BorderColor(Red);
    pointer->put_BorderWidth(2);
    pointer->put_Visible(false);
    warnLbl = Place(surface, items.get(), MakeLabel("warnLbl", ":8110:Click to Stop"), 1620, 1380,
                    720, 480);
    warnLbl->put_ForeColor(Red);
    warnLbl->put_FontBold(true);
    warnLbl->put_Alignment(arn::Label::Center);
    warnLbl->put_WordWrap(true);
    warnLbl->put_Visible(false);

    ArnFdbkDisplayCtl1 =
        Place(surface, area, std::make_shared<ArnFdbkDisplayCtl>("ArnFdbkDisplayCtl1"), 60, 1620,
              2340, 480);
    for (int16_t i = 0; i < 3; ++i) {
        auto led = PlaceIn(fldStatusLED, surface, area, i, 1020,
                           InputRowTop[static_cast<size_t>(i)] + 30, 195, 195);
        led->put_fieldkey(std::array<const char*, 3>{fieldkey::EnableReq, fieldkey::InA,
                                                     fieldkey::InB}[static_cast<size_t>(i)]);
    }
    IndexLabelLbl =
        Place(surface, area, MakeLabel("IndexLabelLbl", "Position Index"), 60, 2220, 1200, 240);
    IndexLbl = Place(surface, area, MakeLabel("IndexLbl", "Index"), 1320, 2220, 600, 240);
    motionTriangle = Place(surface, area, std::make_shared<Image>("motionTriangle"), 1320,
                           InputRowTop[0], 240, 240);
    motionTriangle->put_ToolTipText(":8017:CautionOnEnable");
    motionTriangle->put_Symbol(ImageSymbol::Caution);
    motionTriangle->put_Visible(false);
    Line = Place(surface, area, std::make_shared<arn::Line>("Line"), 0, 0, 0, 0);
    Line->SetPoints(60, 300, 4980, 300);
    Line->put_BorderColor(Navy);
    Label1 =
        Place(surface, area, MakeLabel("Label1", ":8000:Inputs and Commands"), 60, 30, 3000, 240);
    Label1->put_FontBold(true);
    Label1->put_ForeColor(Navy);
    enblLbl =
        Place(surface, area, MakeLabel("enblLbl", ":8001:Enable"), 60, InputRowTop[0], 900, 240);
    Label6 =
        Place(surface, area, MakeLabel("Label6", ":8002:Input A"), 60, InputRowTop[1], 900, 240);
    Label3 =
        Place(surface, area, MakeLabel("Label3", ":8003:Input B"), 60, InputRowTop[2], 900, 240);
    Label2 =
        Place(surface, area, MakeLabel("Label2", ":8100:On/Off"), SwItemsLeft + 300, 330, 900, 210);
    Label2->put_Alignment(arn::Label::Center);
    inALbl = Place(surface, area, MakeLabel("inALbl", "InA"), 1320, InputRowTop[1], 1140, 240);
    inBLbl = Place(surface, area, MakeLabel("inBLbl", "InB"), 1320, InputRowTop[2], 1140, 240);
}

void PanelControls::BuildPositionTable(UserControl& surface) {
    // One column per position: its input pattern above its editor, the warning at the
    // editor's lower right corner (where the layout also puts it).
    constexpr int32_t EditorWidth = 1300;
    constexpr int32_t ColumnPitch = EditorWidth + 300;
    posnSettingsFrame =
        Place(surface, EnclosingFrame.get(), std::make_shared<Frame>("posnSettingsFrame"), 120,
              2940, 120 + 3 * ColumnPitch + EditorWidth + 300, 1200);
    posnSettingsFrame->put_Caption("Position Selection Setup");
    Frame* table = posnSettingsFrame.get();

    static constexpr std::array<const char*, 4> Number = {":8013:1)", ":8014:2)", ":8015:3)",
                                                          ":8016:4)"};
    for (int16_t row = 0; row < 4; ++row) {
        auto box =
            PlaceIn(Picture, surface, table, row, 120 + row * ColumnPitch, 270, EditorWidth, 300);
        box->put_BorderStyle(0);
        const bool a = (row & 1) != 0;
        const bool b = (row & 2) != 0;
        const std::array<std::string, 5> captions = {Number[static_cast<size_t>(row)], ":8004:A",
                                                     a ? ":8006:on" : ":8007:off", ":8005:B",
                                                     b ? ":8006:on" : ":8007:off"};
        const std::array<std::array<int32_t, 2>, 5> columns = {
            {{30, 300}, {360, 150}, {510, 300}, {840, 150}, {990, 300}}};
        for (int16_t k = 0; k < 5; ++k) {
            auto label = PlaceIn(Label, surface, box.get(), static_cast<int16_t>(row * 5 + k),
                                 columns[static_cast<size_t>(k)][0], 30,
                                 columns[static_cast<size_t>(k)][1], 240);
            label->put_Caption(captions[static_cast<size_t>(k)]);
        }
    }
    for (int16_t i = 0; i < 4; ++i) {
        auto editor =
            PlaceIn(ParamItems, surface, table, i, 120 + i * ColumnPitch, 600, EditorWidth, 360);
        editor->put_Parameter(param::Position1 + i);
        editor->put_EditorWidth(EditorWidth);
        editor->put_EditorPosition(3);
        editor->put_PresetStyle(2);
        editor->put_Text("N/A");
    }
    for (int16_t i = 0; i < 4; ++i) {
        WarningImage(warnTriangle, surface, table, i, 120 + i * ColumnPitch + EditorWidth - 10,
                     720);
    }
}

}  // namespace arn
