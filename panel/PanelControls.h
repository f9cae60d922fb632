#pragma once

#include <cstdint>
#include <memory>

#include "host/controls/ArnFdbkDisplayCtl.h"
#include "host/controls/ArnFieldLED.h"
#include "host/controls/ArnHomingCtl.h"
#include "host/controls/ArnJerkPanelCtl.h"
#include "host/controls/ArnTrqLimitSetupCtl.h"
#include "host/controls/ParamEditor.h"
#include "toolkit/CheckBox.h"
#include "toolkit/CommandButton.h"
#include "toolkit/ControlGroup.h"
#include "toolkit/Frame.h"
#include "toolkit/Image.h"
#include "toolkit/Label.h"
#include "toolkit/Line.h"
#include "toolkit/PictureBox.h"
#include "toolkit/SSCheck.h"
#include "toolkit/SSCommand.h"
#include "toolkit/Shape.h"
#include "toolkit/UserControl.h"

namespace arn {

// The position panel's controls as designed: created on the panel surface in the panel's
// control order, with their design captions (resource placeholders unresolved), design
// properties and layout. Members carry the controls' own names; groups are addressed by
// index. No behaviour lives here: the panel subscribes to the events and drives the controls.
//
// Inside the class the member names Label, Line and Picture hide the kinds of the same name,
// so the kinds are written with their namespace.
class PanelControls {
  public:
    // The panel's design size in twips, which the enclosing frame fills.
    static constexpr int32_t DesignWidth = 10155;
    static constexpr int32_t DesignHeight = 4350;

    // Builds the tree on surface, which must not hold controls of these names yet.
    explicit PanelControls(UserControl& surface);
    PanelControls(const PanelControls&) = delete;
    PanelControls& operator=(const PanelControls&) = delete;

    std::shared_ptr<Frame> EnclosingFrame;
    std::shared_ptr<CommandButton> teachingCmd;
    std::shared_ptr<CheckBox> teachingCheck;
    std::shared_ptr<arn::Label> teachingLbl;
    std::shared_ptr<ArnTrqLimitSetupCtl> TrqLimitSetupCtl;
    std::shared_ptr<ArnHomingCtl> HomingCtl;
    std::shared_ptr<ArnJerkPanelCtl> JerkPanelCtl;

    // The inputs-and-commands area.
    std::shared_ptr<PictureBox> Picture1;
    ControlGroup<PictureBox> swItemFrame{"swItemFrame"};
    ControlGroup<ArnFieldLED> swLED{"swLED"};
    std::shared_ptr<SSCommand> hardStopCmd;
    std::shared_ptr<CheckBox> inputOptChk;
    ControlGroup<SSCheck> inCheck{"inCheck"};
    std::shared_ptr<Shape> warnBox;
    std::shared_ptr<Shape> HSwarnBox;
    ControlGroup<arn::Line> warnLine{"warnLine"};
    std::shared_ptr<arn::Label> warnLbl;
    std::shared_ptr<ArnFdbkDisplayCtl> ArnFdbkDisplayCtl1;
    ControlGroup<ArnFieldLED> fldStatusLED{"fldStatusLED"};
    std::shared_ptr<arn::Label> IndexLabelLbl;
    std::shared_ptr<arn::Label> IndexLbl;
    std::shared_ptr<Image> motionTriangle;
    std::shared_ptr<arn::Line> Line;
    std::shared_ptr<arn::Label> Label1;
    std::shared_ptr<arn::Label> enblLbl;
    std::shared_ptr<arn::Label> Label6;
    std::shared_ptr<arn::Label> Label3;
    std::shared_ptr<arn::Label> Label2;
    std::shared_ptr<arn::Label> inALbl;
    std::shared_ptr<arn::Label> inBLbl;

    // The position table.
    std::shared_ptr<Frame> posnSettingsFrame;
    ControlGroup<PictureBox> Picture{"Picture"};
    ControlGroup<arn::Label> Label{"Label"};
    ControlGroup<ParamEditor> ParamItems{"ParamItems"};
    ControlGroup<Image> warnTriangle{"warnTriangle"};

    std::shared_ptr<arn::Label> DisplayMsgLbl;

  private:
    void BuildInputsArea(UserControl& surface);
    void BuildPositionTable(UserControl& surface);
};

}  // namespace arn
