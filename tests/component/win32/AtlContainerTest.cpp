// The control in a container it was not written with: the system's own ATL host window
// (atl.dll, reached only through GetProcAddress) embeds it by ProgID into a top-level window.
// What the test sees, it sees as a user or a user's tools do: pixels read back from the window,
// places from the accessibility tree, clicks and keys as window messages.
#include <gtest/gtest.h>

#include <windows.h>

#include <oleacc.h>

#include <algorithm>
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

using AtlAxWinInitFn = BOOL(WINAPI*)();
using AtlAxCreateControlExFn = HRESULT(WINAPI*)(LPCOLESTR, HWND, IStream*, IUnknown**, IUnknown**,
                                                REFIID, IUnknown*);
using AtlAxGetControlFn = HRESULT(WINAPI*)(HWND, IUnknown**);

// Colours as the window shows them, 0xRRGGBB.
constexpr DWORD kYellow = 0xFFFF00;       // DisplayMsg's background, &H00FFFF
constexpr DWORD kWarningFill = 0xFFD400;  // the warning triangle
constexpr DWORD kHardwareOff = 0x000000;  // an LED of the inputs in control, off
constexpr DWORD kHardwareOn = 0x00B9FF;   // the same LED lit, &HFFB900
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

TEST_F(ComClient, WinesAtlContainerShowsThePanelLiveAndPassesAUsersClicksAndKeys) {
    HMODULE atl = LoadLibraryW(L"atl.dll");
    ASSERT_NE(atl, nullptr);
    auto axWinInit = reinterpret_cast<AtlAxWinInitFn>(
        reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxWinInit")));
    auto axCreate = reinterpret_cast<AtlAxCreateControlExFn>(
        reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxCreateControlEx")));
    auto axGetControl = reinterpret_cast<AtlAxGetControlFn>(
        reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxGetControl")));
    ASSERT_TRUE(axWinInit != nullptr && axCreate != nullptr && axGetControl != nullptr);
    ASSERT_TRUE(axWinInit());

    AddSimulatedDriveTypes();

    // A frameless host: its client area is the window, and no minimum tracking size applies.
    WNDCLASSW hostClass{};
    hostClass.lpfnWndProc = DefWindowProcW;
    hostClass.lpszClassName = L"ArnAtlTestHost";
    RegisterClassW(&hostClass);
    HWND host = CreateWindowExW(0, L"ArnAtlTestHost", L"host", WS_POPUP | WS_CLIPCHILDREN, 0, 0,
                                760, 380, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(host, nullptr);
    ShowWindow(host, SW_SHOWNOACTIVATE);
    IUnknown* container = nullptr;
    IUnknown* control = nullptr;
    ASSERT_EQ(axCreate(kProgId, host, nullptr, &container, &control, IID_NULL, nullptr), S_OK);
    ASSERT_NE(control, nullptr);
    IUnknown* held = nullptr;
    ASSERT_EQ(axGetControl(host, &held), S_OK);
    EXPECT_EQ(held, control);
    held->Release();
    Pump();

    // The control's window: a visible child of the host over the host's whole client area.
    IOleWindow* oleWindow = nullptr;
    ASSERT_EQ(control->QueryInterface(IID_IOleWindow, reinterpret_cast<void**>(&oleWindow)), S_OK);
    HWND window = nullptr;
    ASSERT_EQ(oleWindow->GetWindow(&window), S_OK);
    oleWindow->Release();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(GetParent(window), host);
    EXPECT_TRUE(IsWindowVisible(window));
    RECT hostClient{};
    RECT controlClient{};
    GetClientRect(host, &hostClient);
    GetClientRect(window, &controlClient);
    EXPECT_EQ(controlClient.right, hostClient.right);
    EXPECT_EQ(controlClient.bottom, hostClient.bottom);

    // The simulated drive attached as a host's objects, through UIref; events to our sink.
    auto net = SimNet::Create();
    auto node = net->CreateNode();
    IDispatch* hostNet = Present(SimNetAutomation::Create(net));
    IDispatch* hostNode = Present(SimNodeAutomation::Create(node));
    IDispatch* panel = nullptr;
    ASSERT_EQ(control->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&panel)), S_OK);
    test::ComEventSink sink;
    IConnectionPoint* point = nullptr;
    const DWORD cookie = Advise(panel, &sink, &point);
    ASSERT_EQ(Attach(panel, hostNet, hostNode), S_OK);
    ASSERT_EQ(PutProperty(panel, kEnabled, Bool(true)), S_OK);
    net->Tick();
    net->Tick();
    // Binding clears the message line (the configuration source's update): the message after it.
    VARIANT message = Text(L"Hosted by ATL");
    ASSERT_EQ(PutProperty(panel, kDisplayMsg, message), S_OK);
    VariantClear(&message);
    Pump();

    // What a user's tools see: the accessibility tree of the control's window places the
    // controls on the screen; the pixels there show them.
    IAccessible* accessible = nullptr;
    ASSERT_EQ(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                         reinterpret_cast<void**>(&accessible)),
              S_OK);
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

    // Clicks as a user's: the teaching button asks the host for its window; teaching switched
    // on before the drive is homed shows its warning; "Override Inputs" hands the inputs to
    // software, and the Input A box then sets its override field.
    Click(window, Locate(accessible, L"teachingCmd", window));
    EXPECT_EQ(sink.Count(kShowTeachingDlg), 1);
    EXPECT_EQ(sink.Total(), 1);
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
    EXPECT_NE(edit, nullptr);
    if (edit != nullptr) {
        SetWindowTextW(edit, L"1234");
        SendMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
        SendMessageW(edit, WM_CHAR, L'\r', 0);
        Pump();
    }
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
        EXPECT_EQ(controlClient.right, size.width) << size.width << "x" << size.height;
        EXPECT_EQ(controlClient.bottom, size.height) << size.width << "x" << size.height;
        const RECT frame = Locate(accessible, L"EnclosingFrame", window);
        EXPECT_EQ(frame.right - frame.left, size.frameW) << size.width << "x" << size.height;
        EXPECT_EQ(frame.bottom - frame.top, size.frameH) << size.width << "x" << size.height;
    }

    accessible->Release();
    win32::UIuserControlInterface* framework = FrameworkOf(panel);
    ASSERT_EQ(framework->ReleaseControl(), S_OK);
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
