// The control in a container it was not written with: the system's own ATL host window
// (atl.dll, reached only through GetProcAddress) embeds it by ProgID into a top-level window,
// and the host's net and node (the simulated drive's automation objects, described by this
// program's type library) reach the panel through the UIuserControl that UIref returns.
// What the test sees, it sees as a user or a user's tools do: pixels read back from the window,
// places from the accessibility tree, clicks and keys as window messages.
#include <gtest/gtest.h>

#include <windows.h>

#include <oleacc.h>

#include <string>
#include <vector>

#include "component/win32/ComClientSupport.h"
#include "component/win32/ComUIuserControl.h"
#include "fakes/ComEventSink.h"
#include "host/NodeParams.h"
#include "sim/SimNet.h"
#include "sim/SimNetAutomation.h"
#include "sim/SimNodeAutomation.h"

namespace arn {
namespace {

using namespace comtest;

using AtlAxCreateControlExFn = HRESULT(WINAPI*)(LPCOLESTR, HWND, IStream*, IUnknown**, IUnknown**,
                                                REFIID, IUnknown*);

constexpr COLORREF kYellow = 0x00FFFF;       // DisplayMsg's background
constexpr COLORREF kWarningFill = 0x00D4FF;  // the warning triangle
constexpr COLORREF kHardwareOff = 0x000000;  // an LED of the inputs in control, off
constexpr COLORREF kHardwareOn = 0xFFB900;   // the same LED lit
constexpr int kPumpLimit = 2000;

// Handles what is waiting, then paints what is marked; a bounded number of messages.
void Pump() {
    MSG msg{};
    for (int i = 0; i < kPumpLimit && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// Where a named control of the panel lies, in the client coordinates of window; empty when the
// accessibility tree does not place it.
RECT Locate(IAccessible* accessible, const wchar_t* name, HWND window) {
    const LONG child = FindControl(accessible, name);
    long left = 0, top = 0, width = 0, height = 0;
    if (child == 0 ||
        accessible->accLocation(&left, &top, &width, &height, ChildId(child)) != S_OK) {
        ADD_FAILURE() << "no place for " << std::string(name, name + wcslen(name));
        return {};
    }
    POINT corner{left, top};
    ScreenToClient(window, &corner);
    return {corner.x, corner.y, corner.x + width, corner.y + height};
}

// A user's click at the middle of r (client coordinates of the control's window).
void Click(HWND control, const RECT& r) {
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageW(control, WM_MOUSEMOVE, 0, at);
    SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(control, WM_LBUTTONUP, 0, at);
    Pump();
}

TEST_F(ComClient, WinesAtlContainerShowsThePanelLiveOnTheHostsDriveAndPassesAUsersClicksAndKeys) {
    HMODULE atl = LoadLibraryW(L"atl.dll");
    ASSERT_NE(atl, nullptr);
    auto axWinInit = reinterpret_cast<BOOL(WINAPI*)()>(
        reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxWinInit")));
    auto axCreate = reinterpret_cast<AtlAxCreateControlExFn>(
        reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxCreateControlEx")));
    ASSERT_TRUE(axWinInit != nullptr && axCreate != nullptr);
    ASSERT_TRUE(axWinInit());
    ASSERT_TRUE(win32::AddSimulatedDriveTypes());

    // A frameless host: its client area is the window, and no minimum tracking size applies.
    WNDCLASSW hostClass{};
    hostClass.lpfnWndProc = DefWindowProcW;
    hostClass.lpszClassName = L"ArnAtlTestHost";
    RegisterClassW(&hostClass);
    HWND host = CreateWindowExW(0, L"ArnAtlTestHost", L"host", WS_POPUP | WS_CLIPCHILDREN, 0, 0,
                                760, 380, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(host, nullptr);
    ShowWindow(host, SW_SHOWNOACTIVATE);
    IUnknown *container = nullptr, *control = nullptr;
    ASSERT_EQ(axCreate(kProgId, host, nullptr, &container, &control, IID_NULL, nullptr), S_OK);
    Pump();

    // The control's window: a visible child of the host over the host's whole client area.
    IOleWindow* oleWindow = nullptr;
    ASSERT_EQ(control->QueryInterface(IID_PPV_ARGS(&oleWindow)), S_OK);
    HWND window = nullptr;
    ASSERT_EQ(oleWindow->GetWindow(&window), S_OK);
    oleWindow->Release();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(IsWindowVisible(window));
    RECT hostClient{}, controlClient{};
    GetClientRect(host, &hostClient);
    GetClientRect(window, &controlClient);
    EXPECT_TRUE(EqualRect(&hostClient, &controlClient));

    // UIref returns the panel itself, under its UIuserControl interface too.
    IDispatch* panel = nullptr;
    ASSERT_EQ(control->QueryInterface(IID_PPV_ARGS(&panel)), S_OK);
    win32::UIuserControlInterface* framework = FrameworkOf(panel);
    EXPECT_TRUE(SameObject(panel, framework));
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
    forms->Release();

    // Attaching subscribes the panel to the host's tick through the host object's own events;
    // the binding follows on the host's next ticks. Nothing asks the host for a window by itself.
    auto net = SimNet::Create();
    auto node = net->CreateNode();
    IDispatch* hostNet = Present(SimNetAutomation::Create(net));
    IDispatch* hostNode = Present(SimNodeAutomation::Create(node));
    test::ComEventSink sink;
    IConnectionPoint* point = nullptr;
    const DWORD cookie = Advise(panel, &sink, &point);
    IAccessible* accessible = nullptr;
    ASSERT_EQ(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                         reinterpret_cast<void**>(&accessible)),
              S_OK);
    ASSERT_EQ(Attach(panel, hostNet, hostNode), S_OK);
    EXPECT_EQ(net->Events()->TimerTick.slotCount(), 1u);  // the host object's relay to our sink
    ASSERT_EQ(PutProperty(panel, kEnabled, Bool(true)), S_OK);
    net->Tick();
    net->Tick();
    EXPECT_EQ(net->ListenerFailures(), 0);
    EXPECT_EQ(sink.Total(), 0);
    // Binding clears the message line (the configuration source's update): the message after it.
    ASSERT_EQ(PutProperty(panel, kDisplayMsg, Text(L"Hosted by ATL")), S_OK);
    Pump();

    // The accessibility tree places the controls on the screen; the pixels there show them.
    const RECT messageBox = Locate(accessible, L"DisplayMsgLbl", host);
    const RECT led = Locate(accessible, L"fldStatusLED(0)", host);
    const RECT teachingWarning = Locate(accessible, L"warnTriangle(14)", host);
    {
        const Pixels shown(host);
        EXPECT_GT(shown.Share(messageBox, kYellow), 0.5);
        EXPECT_EQ(shown.Share(teachingWarning, kWarningFill), 0.0);
        EXPECT_GT(shown.Share(led, kHardwareOff), 0.2);
        EXPECT_EQ(shown.Share(led, kHardwareOn), 0.0);
    }
    // The hardware Enable lights its LED at the next tick; the window repaints it unasked.
    node->SetPin(SimPin::Enable, true);
    net->Tick();
    Pump();
    EXPECT_GT(Pixels(host).Share(led, kHardwareOn), 0.2);
    node->SetPin(SimPin::Enable, false);
    net->Tick();
    Pump();

    // The teaching button and the setup sub-panels ask the host for its teaching, homing,
    // torque-limit and jerk-limit windows.
    Click(window, Locate(accessible, L"teachingCmd", window));
    EXPECT_EQ(sink.Count(kShowTeachingDlg), 1);
    const struct {
        const wchar_t* control;
        DISPID event;
    } requests[] = {{L"HomingCtl", 1}, {L"TrqLimitSetupCtl", 2}, {L"JerkPanelCtl", 4}};
    for (const auto& request : requests) {
        EXPECT_EQ(accessible->accDoDefaultAction(ChildId(FindControl(accessible, request.control))),
                  S_OK);
        EXPECT_EQ(sink.Count(request.event), 1) << request.event;
    }
    EXPECT_EQ(sink.Total(), 4);
    // Teaching switched on before the drive is homed shows its warning; "Override Inputs"
    // hands the inputs to software, and the Input A box then sets its override field.
    Click(window, Locate(accessible, L"teachingCheck", window));
    net->Tick();
    Pump();
    EXPECT_GT(Pixels(host).Share(teachingWarning, kWarningFill), 0.15);
    Click(window, Locate(accessible, L"inputOptChk", window));
    net->Tick();
    Pump();
    EXPECT_NE(node->Drive().Read(param::InputStimulus), StimulusFollowsPins);
    EXPECT_FALSE(node->Drive().SoftwareState(SimPin::InputA));
    Click(window, Locate(accessible, L"inCheck(1)", window));
    EXPECT_TRUE(node->Drive().SoftwareState(SimPin::InputA));

    // Typing into a position editor: the click opens an edit box, Enter commits the text.
    Click(window, Locate(accessible, L"ParamItems(1)", window));
    HWND edit = FindWindowExW(window, nullptr, L"Edit", nullptr);
    ASSERT_NE(edit, nullptr);
    SetWindowTextW(edit, L"1234");
    SendMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
    SendMessageW(edit, WM_CHAR, L'\r', 0);
    Pump();
    EXPECT_DOUBLE_EQ(node->Drive().Read(param::Position1 + 1), 1234.0);

    // Resizing the host resizes the frame with the window; a size of 200 twips or less (at
    // 15 twips a pixel) keeps the frame's last size in that direction.
    const struct {
        int width, height;   // the host's new client size, pixels
        int frameW, frameH;  // EnclosingFrame's size after it
    } sizes[] = {{800, 400, 800, 400}, {700, 13, 700, 400}, {13, 300, 700, 300}};
    for (const auto& size : sizes) {
        SetWindowPos(host, nullptr, 0, 0, size.width, size.height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        Pump();
        GetClientRect(window, &controlClient);
        const RECT frame = Locate(accessible, L"EnclosingFrame", window);
        EXPECT_EQ((std::vector<LONG>{controlClient.right, controlClient.bottom,
                                     frame.right - frame.left, frame.bottom - frame.top}),
                  (std::vector<LONG>{size.width, size.height, size.frameW, size.frameH}));
    }

    // Late-bound, UIuserControl releases the panel; the host object loses our sink.
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    ASSERT_EQ(
        framework->Invoke(IdOfName(framework, L"ReleaseControl"), IID_NULL, LOCALE_USER_DEFAULT,
                          DISPATCH_METHOD, &none, nullptr, nullptr, nullptr),
        S_OK);
    net->Tick();
    EXPECT_EQ(net->ListenerFailures(), 0);

    accessible->Release();
    framework->Release();
    EXPECT_EQ(point->Unadvise(cookie), S_OK);
    point->Release();
    panel->Release();
    control->Release();
    DestroyWindow(host);  // the container lets the control go with its window
    Pump();
    container->Release();
    hostNode->Release();
    hostNet->Release();
    EXPECT_EQ(ServerCanUnloadNow(), S_OK);
}

}  // namespace
}  // namespace arn
