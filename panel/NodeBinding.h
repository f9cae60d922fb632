#pragma once

#include <array>
#include <memory>
#include <vector>

#include "core/Event.h"
#include "host/AppEvents.h"
#include "host/DriveEvents.h"
#include "host/Net.h"
#include "host/NetSupervisor.h"
#include "host/Node.h"
#include "host/NodeParams.h"
#include "host/values/Field.h"
#include "host/values/Value.h"
#include "panel/ArnAbsPosnCtl.h"

namespace arn {

namespace detail {

template <class Handler>
WithEvents<Field>::Binder OnUpdateView(Handler handler) {
    return [handler](Field& f, std::vector<Connection>& c) {
        c.push_back(f.UpdateView.connect(handler));
    };
}

template <class Handler>
WithEvents<Value>::Binder OnContentChanged(Handler handler) {
    return [handler](Value& v, std::vector<Connection>& c) {
        c.push_back(v.ContentChanged.connect(handler));
    };
}

}  // namespace detail

// What an attachment holds: the outside objects the host hands over, and the node's fields
// and values that the panel binds on its first tick after. Each member is declared here once,
// together with the handlers its events reach; release replaces the whole object, which drops every
// subscription and reference at once.
struct NodeBinding {
    explicit NodeBinding(ArnAbsPosnCtl& panel) : p(panel) {}
    NodeBinding(const NodeBinding&) = delete;
    NodeBinding& operator=(const NodeBinding&) = delete;

    ArnAbsPosnCtl& p;

    // Outside objects of the attachment, held from AttachControl on.
    std::shared_ptr<Net> m_net;
    std::shared_ptr<Node> m_node;
    WithEvents<AppEvents> m_zkAppEvts{[this](AppEvents& e, std::vector<Connection>& c) {
        c.push_back(e.TimerTick.connect([this] { p.m_zkAppEvts_TimerTick(); }));
    }};
    std::shared_ptr<DriveEvents> m_drvEvts;
    std::shared_ptr<NetSupervisor> m_netSupervisor;

    // Bound fields and values that raise events into the panel.
    WithEvents<Field> m_cfgSrcFld{
        detail::OnUpdateView([this](const auto& o) { p.m_cfgSrcFld_UpdateView(o); })};
    WithEvents<Field> m_enableOrFld{detail::OnUpdateView(
        [this](const auto& o) { p.OverrideUpdateView(".INa upd view", 0, o); })};
    WithEvents<Field> m_fldEnableReqStatus{
        detail::OnUpdateView([this](const auto& o) { p.m_fldEnableReqStatus_UpdateView(o); })};
    WithEvents<Field> m_homingDirFld{
        detail::OnUpdateView([this](const auto&) { p.FlagPosnChecks(); })};
    WithEvents<Field> m_homingExFld{
        detail::OnUpdateView([this](const auto&) { p.FlagPosnChecks(); })};
    WithEvents<Field> m_inAFld{detail::OnUpdateView([this](const auto&) { p.FlagMotionCheck(); })};
    WithEvents<Field> m_inAOrFld{detail::OnUpdateView(
        [this](const auto& o) { p.OverrideUpdateView(".IN-A upd view", 1, o); })};
    WithEvents<Field> m_inBFld{detail::OnUpdateView([this](const auto&) { p.FlagMotionCheck(); })};
    WithEvents<Field> m_inBOrFld{detail::OnUpdateView(
        [this](const auto& o) { p.OverrideUpdateView(".IN-B upd view", 2, o); })};
    WithEvents<Value> m_maxTravel{
        detail::OnContentChanged([this](const auto&) { p.FlagPosnChecks(); })};
    WithEvents<Field> m_motionPendingFld{
        detail::OnUpdateView([this](const auto&) { p.FlagMotionCheck(); })};
    WithEvents<Field> m_opModeFld{
        detail::OnUpdateView([this](const auto& o) { p.m_positions.m_opModeFld_UpdateView(o); })};
    WithEvents<Value> m_posnMeas{
        detail::OnContentChanged([this](const auto&) { p.FlagMotionCheck(); })};
    WithEvents<Value> m_posnSetting0{
        detail::OnContentChanged([this](const auto&) { p.FlagPosnAndMotionChecks(); })};
    WithEvents<Value> m_posnSetting1{
        detail::OnContentChanged([this](const auto&) { p.FlagPosnAndMotionChecks(); })};
    WithEvents<Value> m_posnSetting2{
        detail::OnContentChanged([this](const auto&) { p.FlagPosnAndMotionChecks(); })};
    WithEvents<Value> m_posnSetting3{
        detail::OnContentChanged([this](const auto&) { p.FlagPosnAndMotionChecks(); })};
    WithEvents<Field> m_rotAxisFld{
        detail::OnUpdateView([this](const auto&) { p.FlagPosnChecks(); })};
    WithEvents<Field> m_teachingEnabledFld{
        detail::OnUpdateView([this](const auto& o) { p.m_teachingEnabledFld_UpdateView(o); })};
    WithEvents<Value> m_units{[this](Value& v, std::vector<Connection>& c) {
        c.push_back(v.ValueChanged.connect(
            [this](const auto& o) { p.m_positions.m_units_ValueChanged(o); }));
    }};
    WithEvents<Field> m_wasHomed{
        detail::OnUpdateView([this](const auto& o) { p.m_wasHomed_UpdateView(o); })};

    // Bound fields and values read by the tick only.
    std::shared_ptr<Field> m_homingFld;
    std::shared_ptr<Field> m_homeSensorPolarityFld;
    std::shared_ptr<Field> m_posnRecoveringFld;
    std::shared_ptr<Value> m_posnWindowValue;
    // Element i is position i + 1; the first m_numPosns are bound.
    std::array<std::shared_ptr<Value>, param::PositionCount> m_posnValues;
};

}  // namespace arn
