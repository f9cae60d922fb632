#include "app/console/ConsoleScript.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "app/console/ControlReport.h"
#include "core/ArnError.h"
#include "host/NodeParams.h"
#include "host/values/Field.h"
#include "host/values/Value.h"
#include "panel/ArnAbsPosnCtl.h"
#include "panel/UserReach.h"
#include "sim/SimNet.h"
#include "sim/SimNode.h"

namespace arn {

namespace {

// More ticks than this in one command is a typing slip, not a wish.
constexpr int64_t kMostTicks = 1'000'000;

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return lower;
}

std::vector<std::string_view> Words(std::string_view text) {
    std::vector<std::string_view> words;
    size_t at = 0;
    while (true) {
        at = text.find_first_not_of(" \t\r", at);
        if (at == std::string_view::npos) {
            return words;
        }
        const size_t end = std::min(text.find_first_of(" \t\r", at), text.size());
        words.push_back(text.substr(at, end - at));
        at = end;
    }
}

bool ReadInteger(std::string_view word, int64_t& value) {
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    return ec == std::errc() && end == word.data() + word.size();
}

bool ReadNumber(std::string_view word, double& value) {
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    return ec == std::errc() && end == word.data() + word.size() && std::isfinite(value);
}

bool ReadSwitch(std::string_view word, bool& on) {
    const std::string w = Lower(word);
    on = w == "on";
    return w == "on" || w == "off";
}

// A control named as the listing names it: "name", or "name(index)" for a group's member.
Control* FindControl(const ArnAbsPosnCtl& panel, std::string_view text) {
    const size_t open = text.find('(');
    if (open == std::string_view::npos) {
        return panel.Find(text).get();
    }
    int16_t index = -1;
    const char* last = text.data() + text.size() - 1;
    const auto [end, ec] = std::from_chars(text.data() + open + 1, last, index);
    if (text.back() != ')' || ec != std::errc() || end != last || index < 0) {
        return nullptr;
    }
    return panel.Find(text.substr(0, open), index).get();
}

const char* PinName(SimPin pin) {
    switch (pin) {
        case SimPin::Enable:
            return "enable";
        case SimPin::InputA:
            return "inA";
        case SimPin::InputB:
            return "inB";
    }
    return "?";
}

}  // namespace

ConsoleScript::ConsoleScript(std::string_view text) {
    size_t number = 0;
    size_t at = 0;
    while (at <= text.size()) {
        const size_t end = std::min(text.find_first_of(";\n", at), text.size());
        const std::string_view piece = text.substr(at, end - at);
        if (!Words(piece).empty()) {
            ++number;
            if (!Read(piece, number)) {
                return;
            }
        }
        at = end + 1;
    }
}

bool ConsoleScript::Read(std::string_view text, size_t number) {
    const std::vector<std::string_view> words = Words(text);
    Command command;
    for (const std::string_view word : words) {
        command.text += (command.text.empty() ? "" : " ") + std::string(word);
    }
    const std::string verb = Lower(words[0]);
    const size_t args = words.size() - 1;
    const auto arity = [&](size_t least, size_t most) { return args >= least && args <= most; };
    if (verb == "pin") {
        command.kind = Kind::Pin;
        if (!arity(2, 2)) {
            return Fail(command, number, "takes a pin (enable, inA, inB) and on or off");
        }
        const std::string pin = Lower(words[1]);
        if (pin == "enable") {
            command.pin = SimPin::Enable;
        } else if (pin == "ina" || pin == "a") {
            command.pin = SimPin::InputA;
        } else if (pin == "inb" || pin == "b") {
            command.pin = SimPin::InputB;
        } else {
            return Fail(command, number, "knows the pins enable, inA and inB");
        }
        if (!ReadSwitch(words[2], command.on)) {
            return Fail(command, number, "sets a pin on or off");
        }
    } else if (verb == "mode") {
        command.kind = Kind::Mode;
        if (!arity(1, 1) || !ReadInteger(words[1], command.count) || command.count < 0 ||
            command.count > UINT32_MAX) {
            return Fail(command, number, "takes one mode number (0 or more)");
        }
    } else if (verb == "tick") {
        command.kind = Kind::Tick;
        if (!arity(0, 1) || (args == 1 && (!ReadInteger(words[1], command.count) ||
                                           command.count < 1 || command.count > kMostTicks))) {
            return Fail(command, number,
                        "takes a number of ticks from 1 to " + std::to_string(kMostTicks));
        }
    } else if (verb == "click" || verb == "enter") {
        command.kind = verb == "click" ? Kind::Click : Kind::Enter;
        if (!arity(verb == "click" ? 1 : 2, verb == "click" ? 1 : 2)) {
            return Fail(command, number,
                        verb == "click" ? "takes one control name"
                                        : "takes a parameter editor's name and a number");
        }
        command.control = std::string(words[1]);
        if (command.kind == Kind::Enter) {
            command.entry = std::string(words[2]);
        }
    } else if (verb == "set") {
        command.kind = Kind::Set;
        if (!arity(2, 2) || !ReadInteger(words[1], command.count) ||
            !ReadNumber(words[2], command.number)) {
            return Fail(command, number, "takes a parameter number and a value");
        }
    } else if (verb == "home" || verb == "trigger" || verb == "show") {
        command.kind = verb == "home" ? Kind::Home : verb == "trigger" ? Kind::Trigger : Kind::Show;
        if (!arity(0, 0)) {
            return Fail(command, number, "takes no arguments");
        }
    } else if (verb == "recover") {
        command.kind = Kind::Recover;
        if (!arity(1, 1) || !ReadSwitch(words[1], command.on)) {
            return Fail(command, number, "takes on or off");
        }
    } else {
        return Fail(command, number,
                    "is not a command (pin, mode, tick, click, enter, set, home, trigger, "
                    "recover, show)");
    }
    m_commands.push_back(std::move(command));
    return true;
}

bool ConsoleScript::Fail(const Command& command, size_t number, const std::string& why) {
    const std::string verb(Words(command.text).front());
    m_problem = "command " + std::to_string(number) + " \"" + command.text +
                "\": " + (why.starts_with("is ") ? "\"" + verb + "\" " + why : verb + " " + why);
    m_commands.clear();
    return false;
}

bool ConsoleScript::Resolve(ArnAbsPosnCtl& panel, SimNode& node) {
    m_panel = &panel;
    for (size_t i = 0; i < m_commands.size(); ++i) {
        Command& command = m_commands[i];
        if (command.kind == Kind::Click || command.kind == Kind::Enter) {
            command.target = FindControl(panel, command.control);
            if (!command.target) {
                return Fail(command, i + 1,
                            "names no control on the panel (\"" + command.control +
                                "\"; names as the listing shows them)");
            }
            if (command.kind == Kind::Click && !command.target->AcceptsClicks()) {
                return Fail(command, i + 1, "names a control that takes no clicks");
            }
            if (command.kind == Kind::Enter && !command.target->EditsInPlace()) {
                return Fail(command, i + 1, "names a control that is not a parameter editor");
            }
        }
        if (command.kind == Kind::Mode) {
            const auto field = node.Param(param::MotionSetup)->Field("Operational Mode");
            const int64_t most = (int64_t{1} << field->get_BitCount()) - 1;
            if (command.count > most) {
                return Fail(command, i + 1,
                            "takes a mode that the field holds, 0 to " + std::to_string(most));
            }
        }
        if (command.kind == Kind::Set) {
            const auto number = static_cast<int32_t>(command.count);
            if (command.count != number || !node.Drive().Has(number)) {
                return Fail(command, i + 1, "names a parameter the drive does not have");
            }
            if (number == param::Status || number == param::UnitsText) {
                return Fail(command, i + 1, "names a parameter the drive computes itself");
            }
        }
    }
    return true;
}

int64_t ConsoleScript::Run(SimNet& net, SimNode& node, std::ostream& out,
                           const std::function<void()>& show) const {
    int64_t ticks = 0;
    for (const Command& command : m_commands) {
        out << "> " << command.text << "\n";
        try {
            RunOne(command, net, node, out, show);
        } catch (const ArnError& e) {
            // The command that failed is named; the drive's or the panel's error says why.
            throw ArnError(e.number(), e.source(),
                           "command \"" + command.text + "\": " + e.description());
        }
        ticks += command.kind == Kind::Tick ? command.count : 0;
    }
    return ticks;
}

void ConsoleScript::RunInput(const Command& command, std::ostream& out) const {
    Control& target = *command.target;
    const std::string named = command.control + " (\"" + target.UserCaption() + "\")";
    if (!target.IsUsable()) {
        out << "  ignored: " << named << " is " << (target.IsShown() ? "disabled" : "hidden");
        if (m_panel && target.IsShown()) {
            out << ": " << WhyOutOfReach(*m_panel, target);
        }
        out << "\n";
        return;
    }
    if (command.kind == Kind::Click) {
        target.UserClick();
    } else {
        const EntryCheck check = target.CheckEntry(command.entry);
        if (!check.Accepted()) {
            out << "  refused: " << check.refusal << "; nothing written\n";
            return;
        }
        target.UserEnter(*check.number);
    }
    out << "  " << ControlReport::Line(target) << "\n";
}

void ConsoleScript::RunOne(const Command& command, SimNet& net, SimNode& node, std::ostream& out,
                           const std::function<void()>& show) const {
    switch (command.kind) {
        case Kind::Pin:
            node.SetPin(command.pin, command.on);
            out << "  pin " << PinName(command.pin) << " is " << (command.on ? "on" : "off")
                << "\n";
            return;
        case Kind::Mode:
            node.ForceField(param::MotionSetup, "Operational Mode",
                            static_cast<uint32_t>(command.count));
            out << "  operational mode " << node.Drive().OperationalMode() << "\n";
            return;
        case Kind::Tick:
            for (int64_t i = 0; i < command.count; ++i) {
                net.Tick();
            }
            return;
        case Kind::Click:
        case Kind::Enter:
            RunInput(command, out);
            return;
        case Kind::Set:
            node.ForceParam(static_cast<int32_t>(command.count), command.number);
            out << "  parameter " << command.count << " is "
                << node.Drive().Read(static_cast<int32_t>(command.count)) << "\n";
            return;
        case Kind::Home:
            node.Drive().StartHoming();
            node.Sync();
            out << "  homing " << (node.Drive().Homing() ? "runs" : "does not run") << "\n";
            return;
        case Kind::Trigger:
            node.PulseTrigger();
            return;
        case Kind::Recover:
            node.SetPositionRecovering(command.on);
            return;
        case Kind::Show:
            show();
            return;
    }
}

}  // namespace arn
