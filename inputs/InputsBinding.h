#pragma once

#include <memory>
#include <vector>

#include "core/Event.h"
#include "host/Motion.h"
#include "host/Node.h"
#include "host/values/Field.h"
#include "host/values/Value.h"
#include "inputs/jogAndSwInputs.h"

namespace arn {

// What the inputs object holds between its creation (or a node's attachment) and the node's
// release: the node, its registers and fields with the handlers their events reach, the display
// Enable field, the always-off LED field and the jog values. Each member is declared here once,
// beside its handlers. Attaching a node assigns the members it finds and leaves the others as
// they were; releasing the node replaces the whole object, which drops every subscription and
// reference at once.
struct InputsBinding {
    explicit InputsBinding(jogAndSwInputs& owner) : io(owner) {}
    InputsBinding(const InputsBinding&) = delete;
    InputsBinding& operator=(const InputsBinding&) = delete;

    jogAndSwInputs& io;

    std::shared_ptr<Node> m_node;
    // The node's motion interface, none when the node has none.
    std::shared_ptr<Motion> m_motion;

    // Input register (35) and its Enable pin.
    WithEvents<Value> m_inReg;
    WithEvents<Field> m_fldEnableReqPin{[this](Field& f, std::vector<Connection>& c) {
        c.push_back(f.UpdateView.connect(
            [this](const std::shared_ptr<Field>& obj) { io.m_fldEnableReqPin_UpdateView(obj); }));
    }};
    // Stimulus register (265) and its software Enable.
    WithEvents<Value> m_inStim{[this](Value& v, std::vector<Connection>& c) {
        c.push_back(v.ContentChanged.connect(
            [this](const std::shared_ptr<Value>& nv) { io.m_inStim_ContentChanged(nv); }));
        c.push_back(v.ValueChanged.connect(
            [this](const std::shared_ptr<Value>& nv) { io.m_inStim_ValueChanged(nv); }));
    }};
    WithEvents<Field> m_fldForceEnabled;
    // Status register (181) and its Enable request status.
    std::shared_ptr<Value> m_statusReg;
    WithEvents<Field> m_fldEnableReqStatus{[this](Field& f, std::vector<Connection>& c) {
        c.push_back(f.UpdateView.connect([this](const std::shared_ptr<Field>& obj) {
            io.m_fldEnableReqStatus_UpdateView(obj);
        }));
    }};
    // Accumulated status register (180), its trigger bit and the held copy of that bit.
    std::shared_ptr<Value> m_statusAccumReg;
    WithEvents<Field> m_fldTriggerSeen{[this](Field& f, std::vector<Connection>& c) {
        c.push_back(f.UpdateView.connect(
            [this](const std::shared_ptr<Field>& obj) { io.m_fldTriggerSeen_UpdateView(obj); }));
    }};
    std::shared_ptr<Field> m_fldTriggerHeld;

    // The Enable state shown to the user, built afresh at each attachment.
    std::shared_ptr<Value> m_displayEnable;
    WithEvents<Field> m_displayEnableFld{[this](Field& f, std::vector<Connection>& c) {
        c.push_back(f.UpdateView.connect(
            [this](const std::shared_ptr<Field>& obj) { io.m_displayEnableFld_UpdateView(obj); }));
    }};
    // The field an LED shows while forced off.
    std::shared_ptr<Field> m_fldOff;

    std::shared_ptr<Value> m_jogSpeed;
    std::shared_ptr<Value> m_jogAccel;
};

}  // namespace arn
