#include "app/qt/Tour.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <exception>
#include <string_view>

#include "app/qt/DrivePanel.h"
#include "app/qt/MainWindow.h"
#include "app/qt/ScriptedUser.h"
#include "core/ArnError.h"
#include "host/NodeParams.h"
#include "panel/ArnAbsPosnCtl.h"
#include "platform/DebugChannel.h"
#include "sim/SimNode.h"
#include "support/DebuggingFlags.h"

namespace arn {

namespace {

QString Text(const std::string& s) {
    return QString::fromStdString(s);
}

QString Quoted(const QString& s) {
    return QStringLiteral("\"%1\"").arg(s);
}

QString Caption(const CaptionedControl& ctl) {
    return Quoted(Text(ctl.get_Caption()));
}

QString Figure(double v) {
    return QString::number(v, 'f', 0);
}

}  // namespace

Tour::Tour(QString folder) : m_folder(std::move(folder)) {}

Tour::~Tour() = default;

QString Tour::LogPath() const {
    return QDir(m_folder).filePath(QString::fromLatin1(LogName));
}

bool Tour::Run() {
    m_steps.clear();
    m_problems.clear();
    QDir folder(m_folder);
    if (!folder.mkpath(QStringLiteral("."))) {
        m_problems << QStringLiteral("cannot create the folder %1").arg(m_folder);
        return false;
    }
    // Only what an earlier tour wrote goes: its numbered pictures and its log.
    for (const QString& name :
         folder.entryList({QStringLiteral("[0-9][0-9]-*.png")}, QDir::Files)) {
        folder.remove(name);
    }
    folder.remove(QString::fromLatin1(LogName));
    folder.remove(QStringLiteral("tour.old"));
    try {
        OpenLogFile(LogPath().toStdString());
    } catch (const std::exception& e) {
        m_problems << QStringLiteral("log: %1").arg(Text(ErrDescription(e)));
        return false;
    }
    m_listener = AttachDebugListener([this](std::string_view text) {
        m_trace << QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).trimmed();
    });
    WriteLogLine("tour of the position panel on a simulated drive", "tour");

    // The verbose flag word, so that the release is traced too.
    m_window = std::make_unique<MainWindow>(TraceLevelVerbose);
    m_user = std::make_unique<ScriptedUser>(*m_window);
    // The dock's sentences (the drive's reports among them) join the step's trace and the log.
    m_window->Drive()->Reported = [this, shown = m_window->Drive()->Reported](const QString& s) {
        shown(s);
        m_trace << s;
        WriteLogLine(s.toStdString(), "tour");
    };
    m_window->resize(WindowWidth, WindowHeight);
    m_window->show();
    QApplication::processEvents();

    using Step = void (Tour::*)();
    for (const Step step :
         {&Tour::AttachAndBind, &Tour::OverrideInputs, &Tour::SelectPositionA,
          &Tour::SelectPositionB, &Tour::CautionOnEnable, &Tour::Enable,
          &Tour::TeachingBeforeHoming, &Tour::HomingSetHomePosn, &Tour::ClickSetHomePosn,
          &Tour::JogAndTeach, &Tour::HomingClickToStopMode18, &Tour::PositionWarning,
          &Tour::HandBackToHardware, &Tour::RefusedHandOver, &Tour::Release}) {
        try {
            (this->*step)();
        } catch (const std::exception& e) {
            // A step that failed half way still leaves a picture and a line.
            Expect(false, QStringLiteral("failed: %1").arg(Text(ErrDescription(e))));
            Finish(QStringLiteral("step-%1").arg(m_steps.size() + 1), QStringLiteral("stopped"));
        }
    }

    m_user.reset();
    m_window.reset();
    m_listener = Connection();
    WriteLogLine("end of the tour", "tour");
    CloseLogFile();

    QFile log(LogPath());
    if (!log.open(QIODevice::ReadOnly)) {
        m_problems << QStringLiteral("the log %1 cannot be read").arg(LogPath());
    } else {
        const QByteArray text = log.readAll();
        for (const char* line : {".AttachControl ", ".ReleaseControl "}) {
            if (!text.contains(line)) {
                m_problems << QStringLiteral("the log lacks the line %1").arg(line);
            }
        }
    }
    return m_problems.isEmpty();
}

void Tour::Expect(bool seen, const QString& what) {
    if (!seen) {
        m_missing << what;
    }
}

void Tour::Finish(const QString& name, const QString& summary) {
    TourStep step;
    step.name = name;
    step.picture = QStringLiteral("%1-%2.png").arg(m_steps.size() + 1, 2, 10, QChar('0')).arg(name);
    step.summary = summary;
    step.asExpected = m_missing.isEmpty();
    if (!step.asExpected) {
        step.summary +=
            QStringLiteral(" -- NOT AS EXPECTED: ") + m_missing.join(QStringLiteral("; "));
        m_problems << QStringLiteral("%1: %2").arg(name, m_missing.join(QStringLiteral("; ")));
    }
    const QString path = QDir(m_folder).filePath(step.picture);
    const QImage picture = m_user->Picture();
    if (picture.isNull() || !picture.save(path, "PNG")) {
        m_problems << QStringLiteral("cannot write %1").arg(path);
    }
    WriteLogLine(QStringLiteral("%1: %2").arg(step.picture, step.summary).toStdString(), "tour");
    m_steps.push_back(step);
    m_missing.clear();
    m_trace.clear();
}

QString Tour::TraceLine(const QString& text) const {
    for (const QString& line : m_trace) {
        if (line.contains(text)) {
            // From the class name on, without the stamps.
            return line.section(QLatin1Char('\t'), -1);
        }
    }
    return QString();
}

// --- the steps ---

void Tour::AttachAndBind() {
    const ArnAbsPosnCtl& panel = *m_window->Panel();
    const PanelControls& c = panel.NamedControls();
    // The window attached the panel when it was built; binding waits for the first tick.
    Expect(panel.IsAttached() && panel.IsRebindDue(), "attached, binding due");
    m_user->Tick();
    Expect(!panel.IsRebindDue() && c.EnclosingFrame->IsShown(),
           "bound and shown on the first tick");
    Expect(panel.NumPosns() == 4, "four positions in mode 8");
    Expect(c.inputOptChk->get_Value() == CheckBox::Unchecked, "\"Override Inputs\" unchecked");
    m_user->Tick(2);
    QStringList positions;
    for (int i = 0; i < panel.NumPosns(); ++i) {
        positions << Text(c.ParamItems(static_cast<int16_t>(i)).DisplayText());
    }
    Finish(QStringLiteral("attach-and-bind"),
           QStringLiteral("the host attached the panel to a simulated node; the first tick bound "
                          "it: frame %1 with %2 positions (%3), %4 unchecked, so the drive's "
                          "own pins drive its inputs")
               .arg(Caption(*c.posnSettingsFrame))
               .arg(panel.NumPosns())
               .arg(positions.join(QStringLiteral(", ")), Caption(*c.inputOptChk)));
}

void Tour::OverrideInputs() {
    const PanelControls& c = m_window->Panel()->NamedControls();
    Expect(m_user->Click(*c.inputOptChk), "the click reaches \"Override Inputs\"");
    m_user->Tick();
    Expect(c.inputOptChk->get_Value() == CheckBox::Checked, "\"Override Inputs\" checked");
    Expect(c.inCheck(0).IsUsable() && c.inCheck(1).IsUsable() && c.inCheck(2).IsUsable(),
           "the three override boxes usable");
    Expect(!m_window->Node()->Drive().FollowsPins(), "the drive takes software inputs");
    Finish(QStringLiteral("override-inputs"),
           QStringLiteral("clicked %1: it is checked, the Enable, Input A and Input B override "
                          "boxes are usable, and the drive takes its inputs from software")
               .arg(Caption(*c.inputOptChk)));
}

void Tour::SelectPositionA() {
    const PanelControls& c = m_window->Panel()->NamedControls();
    const SimDrive& drive = m_window->Node()->Drive();
    Expect(m_user->Click(c.inCheck(1)), "the click reaches the Input A override");
    m_user->Tick(2);
    Expect(c.inCheck(1).get_CheckValue(), "Input A override checked");
    Expect(drive.SelectedIndex() == 1, "the drive selects position 2");
    Expect(c.swLED(1).IsLit(), "software Input A LED lit");
    Expect(c.motionTriangle->IsShown(), "caution icon shown");
    Finish(QStringLiteral("select-position-a"),
           QStringLiteral("checked the Input A override: the drive selects position %1 (target "
                          "%2, measured %3); the software InA LED is lit and the caution icon "
                          "shows")
               .arg(drive.SelectedIndex() + 1)
               .arg(Figure(drive.SelectedTarget()), Figure(drive.MeasuredPosition())));
}

void Tour::SelectPositionB() {
    const PanelControls& c = m_window->Panel()->NamedControls();
    const SimDrive& drive = m_window->Node()->Drive();
    Expect(m_user->Click(c.inCheck(1)), "the click reaches the Input A override");
    Expect(m_user->Click(c.inCheck(2)), "the click reaches the Input B override");
    m_user->Tick(2);
    Expect(!c.inCheck(1).get_CheckValue() && c.inCheck(2).get_CheckValue(),
           "Input A override clear, Input B checked");
    Expect(drive.SelectedIndex() == 2, "the drive selects position 3");
    Expect(c.swLED(2).IsLit() && !c.swLED(1).IsLit(), "software InB LED lit, InA dark");
    Expect(c.motionTriangle->IsShown(), "caution icon shown");
    Finish(QStringLiteral("select-position-b"),
           QStringLiteral("cleared the Input A override and checked Input B: the drive selects "
                          "position %1 (target %2); the software InB LED is lit, InA dark, and "
                          "the caution icon still shows")
               .arg(drive.SelectedIndex() + 1)
               .arg(Figure(drive.SelectedTarget())));
}

void Tour::CautionOnEnable() {
    const PanelControls& c = m_window->Panel()->NamedControls();
    const QString tip = m_user->Hover(*c.motionTriangle);
    Expect(tip.startsWith(QStringLiteral("Use caution when enabling")),
           "the caution tooltip is up");
    Expect(tip == Text(c.motionTriangle->get_ToolTipText()), "the tooltip is the icon's");
    Finish(QStringLiteral("caution-on-enable"),
           QStringLiteral("rested the mouse on the caution icon before enabling: tooltip %1")
               .arg(Quoted(tip)));
}

void Tour::Enable() {
    const PanelControls& c = m_window->Panel()->NamedControls();
    const SimDrive& drive = m_window->Node()->Drive();
    m_user->HideToolTip();
    Expect(c.motionTriangle->IsShown(), "caution icon shown before enabling");
    Expect(m_user->Click(c.inCheck(0)), "the click reaches the Enable override");
    const int ticks = m_user->TickUntil([&] { return !drive.InMotion(); }, 200);
    m_user->Tick();
    Expect(drive.Enabled() && ticks > 0, "the drive enabled and reached its target");
    Expect(c.inCheck(0).get_CheckValue() && c.swLED(0).IsLit(), "Enable override on, LED lit");
    Expect(!c.motionTriangle->IsShown(), "caution icon gone while enabled");
    Finish(QStringLiteral("enable"),
           QStringLiteral("checked the Enable override while the caution icon warned: the drive "
                          "enabled and moved to position %1 (measured %2) in %3 ticks; the "
                          "software Enable LED is lit and the caution icon is gone")
               .arg(drive.SelectedIndex() + 1)
               .arg(Figure(drive.MeasuredPosition()))
               .arg(ticks));
}

void Tour::TeachingBeforeHoming() {
    const PanelControls& c = m_window->Panel()->NamedControls();
    Expect(!m_window->Node()->Drive().Homed(), "the unit is not homed yet");
    Expect(m_user->Click(*c.teachingCheck), "the click reaches \"Enable Teaching\"");
    m_user->Tick();
    Expect(c.teachingCheck->get_Value() == CheckBox::Checked, "teaching checked");
    Expect(c.warnTriangle(14).IsShown(), "the teaching warning shown");
    const QString tip = m_user->Hover(c.warnTriangle(14));
    Expect(tip.startsWith(QStringLiteral("Attempting to teach positions before the unit has")),
           "the teaching tooltip is up");
    Finish(QStringLiteral("teaching-before-homing"),
           QStringLiteral("checked %1 on a unit not yet homed: the warning icon beside it shows, "
                          "tooltip %2")
               .arg(Caption(*c.teachingLbl), Quoted(tip)));
}

void Tour::HomingSetHomePosn() {
    const PanelControls& c = m_window->Panel()->NamedControls();
    const SimDrive& drive = m_window->Node()->Drive();
    m_user->HideToolTip();
    // The drive is enabled (the Enable override), so it takes the homing command.
    m_user->StartHomingAtDrive();
    const int ticks = m_user->TickUntil(
        [&] { return drive.HomingState() == SimHoming::AtHardStop; }, 3 * SimDrive::kHomingTicks);
    m_user->Tick(5);
    Expect(ticks > 0 && drive.HomingState() == SimHoming::AtHardStop,
           "the drive waits at the hard stop");
    Expect(c.hardStopCmd->IsShown() && c.hardStopCmd->get_FontBold() && c.hardStopCmd->IsUsable(),
           "\"Set Home Posn\" shown, bold and usable");
    Expect(c.HSwarnBox->IsShown(), "its warning box shown");
    Expect(!c.ParamItems(0).IsUsable(), "position editors locked");
    Finish(QStringLiteral("homing-set-home-posn"),
           QStringLiteral("pressed \"Start homing\" at the drive (mode 8): it ran to the hard "
                          "stop in %1 ticks and waits there at %2; %3 shows in bold in its "
                          "warning box and is usable; the position editors are locked")
               .arg(ticks)
               .arg(Figure(drive.MeasuredPosition()), Caption(*c.hardStopCmd)));
}

void Tour::ClickSetHomePosn() {
    const PanelControls& c = m_window->Panel()->NamedControls();
    const SimDrive& drive = m_window->Node()->Drive();
    Expect(m_user->Click(*c.hardStopCmd), "the click reaches \"Set Home Posn\"");
    const int ticks = m_user->TickUntil([&] { return !drive.Homing(); }, 5);
    m_user->Tick();
    Expect(ticks > 0 && drive.Homed(), "the drive took the hard stop as home");
    Expect(!c.hardStopCmd->get_FontBold() && !c.hardStopCmd->IsUsable() && !c.HSwarnBox->IsShown(),
           "\"Set Home Posn\" plain and disabled, its box gone");
    Expect(!c.warnTriangle(14).IsShown(), "the teaching warning gone once homed");
    Expect(c.ParamItems(0).IsUsable(), "position editors free again");
    Finish(QStringLiteral("set-home-posn"),
           QStringLiteral("clicked %1: the drive took the hard stop as home after %2 tick(s) "
                          "(trace %3); "
                          "the button is plain and disabled again, its box is gone, the "
                          "position editors are free, and the teaching warning is gone now "
                          "the unit is homed")
               .arg(Caption(*c.hardStopCmd))
               .arg(ticks)
               .arg(Quoted(TraceLine(QStringLiteral("Drive: Homed at")))));
}

void Tour::JogAndTeach() {
    const PanelControls& c = m_window->Panel()->NamedControls();
    const SimDrive& drive = m_window->Node()->Drive();
    m_user->JogAtDrive(true, 4);
    const double stopped = drive.MeasuredPosition();
    m_user->Tick(10);
    Expect(drive.Holding() && drive.MeasuredPosition() == stopped,
           "the released jog holds where it stopped");
    const int slot = drive.SelectedIndex();
    Expect(m_user->TeachAtDrive(), "\"Teach\" usable with teaching on");
    m_user->Tick();
    Expect(drive.Read(param::Position1 + slot) == stopped, "Teach stored the held position");
    const QString taught = TraceLine(QStringLiteral("Drive: Taught position"));
    Expect(!taught.isEmpty(), "the drive said which position it wrote");
    Finish(QStringLiteral("jog-and-teach"),
           QStringLiteral("held \"<< Jog reverse\" for 4 ticks and let go: the drive holds at "
                          "%1 ten ticks later instead of running back to its target; "
                          "\"Teach\" stored that position: trace %2; editor %3")
               .arg(Figure(stopped), Quoted(taught),
                    Quoted(Text(c.ParamItems(static_cast<int16_t>(slot)).DisplayText()))));
}

void Tour::HomingClickToStopMode18() {
    const ArnAbsPosnCtl& panel = *m_window->Panel();
    const PanelControls& c = panel.NamedControls();
    const SimDrive& drive = m_window->Node()->Drive();
    // The host attaches the panel again for the new layout; the next tick binds it.
    Expect(m_user->ChooseMode(18), "mode 18 in the drive's list");
    m_user->Tick();
    Expect(panel.NumPosns() == 2, "two positions in mode 18");
    Expect(c.inputOptChk->get_Value() == CheckBox::Checked, "software inputs still in use");
    const bool inputB = c.inCheck(2).get_CheckValue();
    m_user->StartHomingAtDrive();
    m_user->Tick(2);
    Expect(drive.Homing(), "the drive homes");
    Expect(c.warnLbl->IsShown() && c.warnBox->IsShown(), "\"Click to Stop\" shown");
    Expect(!c.hardStopCmd->IsShown(), "no \"Set Home Posn\" in mode 18");
    Expect(!c.inCheck(2).get_CheckValue() && !drive.SoftwareState(SimPin::InputB),
           "homing start wrote the home sensor polarity (0) to the Input B override");
    Finish(QStringLiteral("homing-click-to-stop-mode-18"),
           QStringLiteral("chose mode 18 at the drive (the host bound the panel again: %1 "
                          "positions) and pressed \"Start homing\": %2 shows while homing "
                          "runs, no %3 button, and the Input B override went from %4 to the "
                          "home sensor polarity, off")
               .arg(panel.NumPosns())
               .arg(Caption(*c.warnLbl), Caption(*c.hardStopCmd),
                    inputB ? QStringLiteral("on") : QStringLiteral("off")));
}

void Tour::PositionWarning() {
    const PanelControls& c = m_window->Panel()->NamedControls();
    const SimDrive& drive = m_window->Node()->Drive();
    // "Click to Stop" points at the Enable override: clearing it disables the drive, which
    // aborts the homing.
    Expect(m_user->Click(c.inCheck(0)), "the click reaches the Enable override");
    m_user->Tick(2);
    Expect(!drive.Homing() && drive.HomingAborted() && !drive.Homed(),
           "the homing aborted, not homed");
    Expect(!c.warnLbl->IsShown(), "\"Click to Stop\" gone when homing ended");
    const QString aborted = TraceLine(QStringLiteral("Drive: Homing aborted"));
    Expect(m_user->Type(c.ParamItems(1), QStringLiteral("-500")), "position 2 took the text");
    m_user->Tick();
    Expect(drive.Read(param::Position1 + 1) == -500, "the drive holds -500 as position 2");
    Expect(c.warnTriangle(1).IsShown(), "the warning icon of position 2 shown");
    const QString tip = m_user->Hover(c.warnTriangle(1));
    Expect(tip.startsWith(QStringLiteral("Location of this position is in the same direction")),
           "the direction warning's tooltip is up");
    Finish(QStringLiteral("position-warning"),
           QStringLiteral("clicked the Enable override as \"Click to Stop\" asks: the drive is "
                          "disabled and its homing aborted (trace %1), \"Click to Stop\" gone; "
                          "typed -500 into position 2, on the homing side of a linear axis: "
                          "editor %2, its warning icon shows, tooltip %3")
               .arg(Quoted(aborted), Quoted(Text(c.ParamItems(1).DisplayText())), Quoted(tip)));
}

void Tour::HandBackToHardware() {
    const PanelControls& c = m_window->Panel()->NamedControls();
    m_user->HideToolTip();
    Expect(m_user->Click(*c.inputOptChk), "the click reaches \"Override Inputs\"");
    m_user->Tick();
    Expect(c.inputOptChk->get_Value() == CheckBox::Unchecked, "\"Override Inputs\" unchecked");
    Expect(m_window->Node()->Drive().FollowsPins(), "the drive follows its pins");
    Expect(!c.inCheck(0).IsUsable(), "override boxes greyed");
    Finish(QStringLiteral("hand-back-to-hardware"),
           QStringLiteral("cleared %1: the drive follows its own pins again (all clear, so it "
                          "is disabled) and the override boxes are greyed")
               .arg(Caption(*c.inputOptChk)));
}

void Tour::RefusedHandOver() {
    const PanelControls& c = m_window->Panel()->NamedControls();
    const SimDrive& drive = m_window->Node()->Drive();
    // The click comes within the same timer period as the pin, before the panel greys the box.
    m_user->SetPin(SimPin::Enable, true);
    Expect(m_user->Click(*c.inputOptChk), "the first click reaches \"Override Inputs\"");
    const QString refusal = TraceLine(QStringLiteral("can't get into SW control"));
    Expect(!refusal.isEmpty(), "the inputs object traced its refusal");
    m_user->Tick();
    const bool secondReached = m_user->Click(*c.inputOptChk);
    m_user->Tick();
    Expect(!secondReached, "the second click finds the box greyed");
    Expect(c.inputOptChk->get_Value() == CheckBox::Unchecked, "\"Override Inputs\" unchecked");
    Expect(drive.FollowsPins() && drive.Enabled(), "the drive follows its pins, enabled");
    Expect(c.fldStatusLED(0).IsLit(), "the hardware Enable LED lit");
    Finish(QStringLiteral("refused-hand-over"),
           QStringLiteral("set the drive's hardware Enable and clicked %1 at once: refused, "
                          "trace %2; the box stays unchecked and greyed, and a second click "
                          "after the next tick does nothing; the drive follows its pins, "
                          "enabled, with the hardware Enable LED lit")
               .arg(Caption(*c.inputOptChk), Quoted(refusal)));
}

void Tour::Release() {
    const ArnAbsPosnCtl& panel = *m_window->Panel();
    m_user->SetAttached(false);
    const QString released = TraceLine(QStringLiteral(".ReleaseControl "));
    const qsizetype traced = m_trace.size();
    m_user->Tick(2);
    Expect(!panel.IsAttached(), "released");
    Expect(!released.isEmpty(), "the release traced");
    Expect(m_trace.size() == traced, "ticks after the release trace nothing");
    Finish(QStringLiteral("release"),
           QStringLiteral("switched Panel > Attached off: the panel let go of the node (trace "
                          "%1); the two ticks after it trace nothing")
               .arg(Quoted(released)));
}

}  // namespace arn
