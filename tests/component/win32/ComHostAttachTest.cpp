// A Windows host's view of attaching the control: the host's net and node are automation
// objects of its own (here the simulated drive's, described by this program's type library),
// handed to the panel through the UIuserControl that UIref returns.
#include <gtest/gtest.h>

#include <windows.h>

#include <objbase.h>
#include <oleacc.h>
#include <oleauto.h>

#include <memory>
#include <string>

#include "component/win32/ComClientSupport.h"
#include "component/win32/ComUIuserControl.h"
#include "fakes/ComEventSink.h"
#include "sim/SimNet.h"
#include "sim/SimNetAutomation.h"
#include "sim/SimNodeAutomation.h"

namespace arn {
namespace {

using namespace comtest;

TEST_F(ComClient, AttachesTheHostsNetAndNodeThroughUIrefAndReleasesThem) {
    AddSimulatedDriveTypes();
    auto net = SimNet::Create();
    auto node = net->CreateNode();
    IDispatch* hostNet = Present(SimNetAutomation::Create(net));
    IDispatch* hostNode = Present(SimNodeAutomation::Create(node));
    ASSERT_NE(hostNet, nullptr);
    ASSERT_NE(hostNode, nullptr);

    IDispatch* panel = Create();
    ASSERT_NE(panel, nullptr);
    test::ComEventSink sink;
    IConnectionPoint* point = nullptr;
    const DWORD cookie = Advise(panel, &sink, &point);

    win32::UIuserControlInterface* framework = FrameworkOf(panel);
    ASSERT_NE(framework, nullptr);
    EXPECT_TRUE(SameObject(panel, framework));  // the panel itself under that interface

    LONG color = -1;
    ASSERT_EQ(framework->get_BarColor(&color), S_OK);
    EXPECT_EQ(color, 0);
    BSTR version = nullptr;
    ASSERT_EQ(framework->get_VersionStr(&version), S_OK);
    EXPECT_GT(SysStringLen(version), 0u);
    SysFreeString(version);
    EXPECT_EQ(framework->get_VersionStr(nullptr), E_POINTER);
    IDispatch* forms = nullptr;
    ASSERT_EQ(framework->get_MyForms(&forms), S_OK);
    VARIANT count;
    ASSERT_EQ(GetProperty(forms, IdOfName(forms, L"Count"), &count), S_OK);
    EXPECT_EQ(count.lVal, 1);
    forms->Release();

    // Attaching subscribes the panel to the host's tick through the host object's own events;
    // the binding follows on the host's next ticks.
    IAccessible* accessible = nullptr;
    ASSERT_EQ(panel->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&accessible)), S_OK);
    EXPECT_GT(PlaceholderNames(accessible), 0);  // captions wait for a node

    EXPECT_EQ(net->Events()->TimerTick.slotCount(), 0u);
    ASSERT_EQ(Attach(panel, hostNet, hostNode, L"ArnAbsPosn", L"Node0"), S_OK);
    EXPECT_EQ(net->Events()->TimerTick.slotCount(), 1u);  // the host object's relay to our sink
    ASSERT_EQ(PutProperty(panel, kShow, Bool(true)), S_OK);
    ASSERT_EQ(PutProperty(panel, kEnabled, Bool(true)), S_OK);
    net->Tick();
    net->Tick();
    EXPECT_EQ(net->ListenerFailures(), 0);
    EXPECT_EQ(sink.Total(), 0);  // nothing asks the host for a window by itself

    // The host's tick reached the panel through our sink: it bound the node, resolved its
    // captions and, enabled, offers its inputs; a press of the teaching button asks the host
    // for its teaching window.
    EXPECT_EQ(PlaceholderNames(accessible), 0);
    const LONG teaching = FindChild(accessible, L"?", ROLE_SYSTEM_PUSHBUTTON);
    ASSERT_NE(teaching, 0);
    EXPECT_EQ(LongOf(accessible, &IAccessible::get_accState, teaching), STATE_SYSTEM_FOCUSABLE);
    EXPECT_EQ(accessible->accDoDefaultAction(ChildId(teaching)), S_OK);
    EXPECT_EQ(sink.Count(kShowTeachingDlg), 1);
    EXPECT_EQ(sink.Total(), 1);
    // The setup sub-panels ask for the host's homing, torque-limit and jerk-limit windows.
    const struct {
        const wchar_t* control;
        DISPID event;
    } requests[] = {{L"HomingCtl", 1}, {L"TrqLimitSetupCtl", 2}, {L"JerkPanelCtl", 4}};
    for (const auto& request : requests) {
        const LONG child = FindControl(accessible, request.control);
        ASSERT_NE(child, 0) << request.control;
        EXPECT_EQ(accessible->accDoDefaultAction(ChildId(child)), S_OK);
        EXPECT_EQ(sink.Count(request.event), 1) << request.control;
    }
    EXPECT_EQ(sink.Total(), 4);

    // Late-bound, the same interface releases the panel; the host object loses our sink.
    DISPID release = IdOfName(framework, L"ReleaseControl");
    ASSERT_NE(release, DISPID_UNKNOWN);
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    ASSERT_EQ(framework->Invoke(release, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none,
                                nullptr, nullptr, nullptr),
              S_OK);
    net->Tick();
    EXPECT_EQ(net->ListenerFailures(), 0);

    accessible->Release();
    EXPECT_EQ(point->Unadvise(cookie), S_OK);
    point->Release();
    framework->Release();
    EXPECT_EQ(panel->Release(), 0u);
    EXPECT_EQ(ServerCanUnloadNow(), S_OK);
    hostNode->Release();
    hostNet->Release();
}

}  // namespace
}  // namespace arn
