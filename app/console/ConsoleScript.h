#pragma once

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "sim/SimDrive.h"

namespace arn {

class ArnAbsPosnCtl;
class Control;
class SimNet;
class SimNode;

// The console host's script: commands separated by ";" or line ends, words by spaces.
//
//   pin enable|inA|inB on|off   sets a hardware input pin of the simulated drive
//   mode N                      the drive's operational mode (field "Operational Mode")
//   tick [N]                    N timer ticks (1 without N)
//   click CONTROL               a user's click on a control, e.g. inputOptChk or inCheck(1)
//   enter CONTROL TEXT          a user's entry into a parameter editor, e.g. ParamItems(0) 1500;
//                               the editor judges TEXT as it does for every host
//                               (Control::CheckEntry) and a refused entry writes nothing
//   set PARAM NUMBER            the drive changes parameter PARAM itself, e.g. set 68 1500
//   home                        the drive starts homing
//   trigger                     the drive pulses its trigger input
//   recover on|off              the drive's position recovering
//   show                        prints the panel's controls as they are now
//
// A script is checked whole before any of it runs: words first, then the control and
// parameter names against the panel and the drive, so that a bad command runs nothing.
class ConsoleScript {
  public:
    enum class Kind { Pin, Mode, Tick, Click, Enter, Set, Home, Trigger, Recover, Show };
    struct Command {
        Kind kind = Kind::Tick;
        std::string text;  // as written, for messages
        SimPin pin = SimPin::Enable;
        bool on = false;
        int64_t count = 1;    // ticks, the mode or the parameter number
        double number = 0.0;  // the value set
        std::string entry;    // the text entered
        std::string control;  // as written
        Control* target = nullptr;
    };

    // Reads the words; Problem() says what is wrong, naming the command.
    explicit ConsoleScript(std::string_view text);

    // Finds each command's control on the panel and checks each parameter against the drive.
    bool Resolve(ArnAbsPosnCtl& panel, SimNode& node);

    // Runs the commands in order, saying on `out` what each did; `show` prints the controls.
    // Returns the ticks it ran.
    int64_t Run(SimNet& net, SimNode& node, std::ostream& out,
                const std::function<void()>& show) const;

    bool Ok() const { return m_problem.empty(); }
    const std::string& Problem() const { return m_problem; }
    const std::vector<Command>& Commands() const { return m_commands; }

  private:
    bool Read(std::string_view text, size_t number);
    bool Fail(const Command& command, size_t number, const std::string& why);
    void RunOne(const Command& command, SimNet& net, SimNode& node, std::ostream& out,
                const std::function<void()>& show) const;
    // A click or an entry, when the control is in the user's reach; else why not.
    void RunInput(const Command& command, std::ostream& out) const;

    std::vector<Command> m_commands;
    // The panel the commands were resolved against.
    const ArnAbsPosnCtl* m_panel = nullptr;
    std::string m_problem;
};

}  // namespace arn
