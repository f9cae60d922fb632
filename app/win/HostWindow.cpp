#include "app/win/HostWindow.h"

#include <array>
#include <exception>
#include <string>

#include "app/win/OleSite.h"
#include "host/NodeParams.h"
#include "panel/PanelControls.h"
#include "panel/PanelIds.h"
#include "platform/win32/com/ComVariant.h"
#include "sim/SimNetAutomation.h"
#include "sim/SimNodeAutomation.h"

namespace arn::winhost {

namespace {

constexpr const wchar_t* kWindowClass = L"ArnWinHost";
constexpr const wchar_t* kProgId = L"ArnAbsPosn.ArnAbsPosnCtl";
constexpr const wchar_t* kDisplayName = L"ArnAbsPosnCtl1";
constexpr const wchar_t* kIdleMessage = L"Simulated drive";
constexpr UINT_PTR kTimerId = 1;
// The window opens with a client area of the panel's design size.
constexpr int kTwipsPerInch = 1440;
// Enough for every message one tick or one click causes; a loop never waits on more.
constexpr int kPumpLimit = 1000;

constexpr IID kEventsIid = {
    0x64ADED80, 0x515F, 0x4C80, {0xB7, 0x43, 0x46, 0x75, 0x4D, 0x80, 0x7E, 0x87}};

enum Command : int {
    CmdEnabled = 100,
    CmdAttached,
    CmdExit,
    CmdPinEnable,
    CmdPinInputA,
    CmdPinInputB,
    CmdStartHoming,
    CmdPulseTrigger,
    CmdTimerRuns,
    CmdSingleTick,
    CmdModeFirst = 200,  // + the operational mode
};

struct ModeItem {
    int32_t mode;
    const wchar_t* text;
};
constexpr std::array<ModeItem, 3> kModes{{{0, L"0: two positions (A)"},
                                          {opmode::FourPositions, L"8: four positions (A, B)"},
                                          {opmode::HomeToHardStop, L"18: home to hard stop"}}};
constexpr std::array<SimPin, 3> kPins{SimPin::Enable, SimPin::InputA, SimPin::InputB};

template <class T>
void ReleaseInto(T*& pointer) {
    if (pointer != nullptr) {
        pointer->Release();
        pointer = nullptr;
    }
}

HRESULT Put(IDispatch* object, DISPID id, VARIANT value) {
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{&value, &named, 1, 1};
    return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params, nullptr,
                          nullptr, nullptr);
}

IDispatch* Present(std::shared_ptr<AutomationObject> face) {
    IDispatch* object = nullptr;
    win32::PresentObject(std::move(face), &object);
    return object;
}

}  // namespace

HostWindow::HostWindow() : m_events([this](DISPID id) { OnPanelEvent(id); }) {
    m_net = SimNet::Create();
    m_node = m_net->CreateNode();
    m_hostNet = Present(SimNetAutomation::Create(m_net));
    m_hostNode = Present(SimNodeAutomation::Create(m_node));
}

HostWindow::~HostWindow() {
    Close();
    if (m_window != nullptr) {
        DestroyWindow(m_window);
    }
    ReleaseInto(m_hostNode);
    ReleaseInto(m_hostNet);
}

IUnknown* HostWindow::Control() const {
    return m_site != nullptr ? m_site->Control() : nullptr;
}

HWND HostWindow::ControlWindow() const {
    return m_site != nullptr ? m_site->ControlWindow() : nullptr;
}

HRESULT HostWindow::Open(int show, bool runTimer) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &HostWindow::WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassExW(&windowClass);

    HDC screen = GetDC(nullptr);
    RECT frame{
        0, 0, MulDiv(PanelControls::DesignWidth, GetDeviceCaps(screen, LOGPIXELSX), kTwipsPerInch),
        MulDiv(PanelControls::DesignHeight, GetDeviceCaps(screen, LOGPIXELSY), kTwipsPerInch)};
    ReleaseDC(nullptr, screen);
    const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    HMENU menu = BuildMenu();
    AdjustWindowRect(&frame, style, TRUE);
    m_window = CreateWindowExW(0, kWindowClass, L"ArnAbsPosn - Windows host", style, CW_USEDEFAULT,
                               CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top,
                               nullptr, menu, instance, this);
    if (m_window == nullptr) {
        return HRESULT_FROM_WIN32(GetLastError());
    }
    ShowWindow(m_window, show);

    m_site = new OleSite(m_window, kDisplayName);
    HRESULT hr = m_site->Embed(kProgId);
    if (SUCCEEDED(hr)) {
        hr = m_site->Control()->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&m_panel));
    }
    if (SUCCEEDED(hr)) {
        m_events.Advise(m_panel, kEventsIid);
        VARIANT ref;
        VariantInit(&ref);
        DISPPARAMS none{nullptr, nullptr, 0, 0};
        hr = m_panel->Invoke(DISPID_UIref, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET,
                             &none, &ref, nullptr, nullptr);
        if (SUCCEEDED(hr) && ref.vt == VT_DISPATCH && ref.pdispVal != nullptr) {
            hr = ref.pdispVal->QueryInterface(win32::UIuserControlIid(),
                                              reinterpret_cast<void**>(&m_framework));
        }
        VariantClear(&ref);
    }
    if (SUCCEEDED(hr) && m_framework != nullptr) {
        hr = SetAttached(true);
    }
    if (FAILED(hr)) {
        Close();
        return hr;
    }
    SetEnabled(true);
    // The first tick binds the node, whose configuration source clears the message line; the
    // host's message goes up after it.
    m_net->Tick();
    SetMessage(kIdleMessage);
    SetTimerRuns(runTimer);
    return S_OK;
}

int HostWindow::Run() {
    MSG msg{};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (m_site == nullptr || !m_site->TranslateAccelerator(&msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return static_cast<int>(msg.wParam);
}

void HostWindow::Tick() {
    m_net->Tick();
    Pump();
}

void HostWindow::Pump() {
    MSG msg{};
    for (int i = 0; i < kPumpLimit && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

LRESULT CALLBACK HostWindow::WindowProc(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(l);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        static_cast<HostWindow*>(create->lpCreateParams)->m_window = window;
    }
    auto* self = reinterpret_cast<HostWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return self != nullptr ? self->Handle(message, w, l) : DefWindowProcW(window, message, w, l);
}

LRESULT HostWindow::Handle(UINT message, WPARAM w, LPARAM l) {
    switch (message) {
        case WM_SIZE:
            if (m_site != nullptr) {
                m_site->Resize();
            }
            return 0;
        case WM_TIMER:
            if (w == kTimerId) {
                m_net->Tick();
            }
            return 0;
        case WM_COMMAND:
            // Nothing may escape into the system's message dispatch: a refusal of the drive
            // goes up on the message line.
            try {
                OnCommand(LOWORD(w));
            } catch (const std::exception& error) {
                const std::string text = std::string("The drive refused: ") + error.what();
                SetMessage(std::wstring(text.begin(), text.end()).c_str());
            }
            return 0;
        case WM_SETFOCUS:
            // Focus belongs to the control's window while it has one.
            if (m_site != nullptr && m_site->ControlWindow() != nullptr) {
                SetFocus(m_site->ControlWindow());
            }
            return 0;
        case WM_CLOSE:
            Close();
            DestroyWindow(m_window);
            return 0;
        case WM_DESTROY:
            m_window = nullptr;
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(m_window, message, w, l);
    }
}

HMENU HostWindow::BuildMenu() const {
    HMENU panel = CreatePopupMenu();
    AppendMenuW(panel, MF_STRING, CmdEnabled, L"&Enabled");
    AppendMenuW(panel, MF_STRING, CmdAttached, L"&Attached");
    AppendMenuW(panel, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(panel, MF_STRING, CmdExit, L"E&xit");
    HMENU modes = CreatePopupMenu();
    for (const auto& item : kModes) {
        AppendMenuW(modes, MF_STRING, static_cast<UINT_PTR>(CmdModeFirst + item.mode), item.text);
    }
    HMENU drive = CreatePopupMenu();
    AppendMenuW(drive, MF_STRING, CmdPinEnable, L"Hardware &Enable");
    AppendMenuW(drive, MF_STRING, CmdPinInputA, L"Hardware Input &A");
    AppendMenuW(drive, MF_STRING, CmdPinInputB, L"Hardware Input &B");
    AppendMenuW(drive, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(drive, MF_POPUP, reinterpret_cast<UINT_PTR>(modes), L"Operational &mode");
    AppendMenuW(drive, MF_STRING, CmdStartHoming, L"Start &homing");
    AppendMenuW(drive, MF_STRING, CmdPulseTrigger, L"Pulse &trigger");
    HMENU timer = CreatePopupMenu();
    AppendMenuW(timer, MF_STRING, CmdTimerRuns, L"&Run");
    AppendMenuW(timer, MF_STRING, CmdSingleTick, L"Single &tick");
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(panel), L"&Panel");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(drive), L"&Drive");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(timer), L"&Timer");
    return bar;
}

void HostWindow::OnCommand(int id) {
    SimDrive& drive = m_node->Drive();
    switch (id) {
        case CmdEnabled:
            SetEnabled(!m_enabled);
            break;
        case CmdAttached:
            SetAttached(!m_attached);
            break;
        case CmdExit:
            PostMessageW(m_window, WM_CLOSE, 0, 0);
            break;
        case CmdPinEnable:
        case CmdPinInputA:
        case CmdPinInputB: {
            const SimPin pin = kPins[static_cast<size_t>(id - CmdPinEnable)];
            m_node->SetPin(pin, !drive.Pin(pin));
            break;
        }
        case CmdStartHoming:
            drive.StartHoming();
            m_node->Sync();
            break;
        case CmdPulseTrigger:
            m_node->PulseTrigger();
            break;
        case CmdTimerRuns:
            SetTimerRuns(!m_timerRuns);
            break;
        case CmdSingleTick:
            m_net->Tick();
            break;
        default:
            if (id >= CmdModeFirst) {
                m_node->ForceField(param::MotionSetup, fieldkey::OperationalMode,
                                   static_cast<uint32_t>(id - CmdModeFirst));
            }
            break;
    }
    CheckMenus();
}

void HostWindow::OnPanelEvent(DISPID id) {
    switch (id) {
        case DISPID_ShowHoming:
            SetMessage(L"The panel asks for the host's homing window.");
            break;
        case DISPID_ShowTrqLim:
            SetMessage(L"The panel asks for the host's torque-limit window.");
            break;
        case DISPID_ShowJerkLim:
            SetMessage(L"The panel asks for the host's jerk-limit window.");
            break;
        case DISPID_ShowTeachingDlg:
            SetMessage(L"The panel asks for the host's teaching window.");
            break;
        default:
            break;
    }
}

HRESULT HostWindow::SetAttached(bool attached) {
    if (m_framework == nullptr || attached == m_attached) {
        return S_OK;
    }
    HRESULT hr = S_OK;
    if (attached) {
        BSTR regName = SysAllocString(L"ArnAbsPosn");
        BSTR regSect = SysAllocString(L"Node0");
        hr = m_framework->AttachControl(m_hostNet, m_hostNode, nullptr, regName, regSect);
        SysFreeString(regName);
        SysFreeString(regSect);
    } else {
        hr = m_framework->ReleaseControl();
    }
    if (SUCCEEDED(hr)) {
        m_attached = attached;
    }
    CheckMenus();
    return hr;
}

void HostWindow::SetEnabled(bool enabled) {
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_BOOL;
    value.boolVal = enabled ? VARIANT_TRUE : VARIANT_FALSE;
    if (m_panel != nullptr && SUCCEEDED(Put(m_panel, DISPID_Enabled, value))) {
        m_enabled = enabled;
    }
    CheckMenus();
}

void HostWindow::SetMessage(const wchar_t* text) {
    if (m_panel == nullptr) {
        return;
    }
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_BSTR;
    value.bstrVal = SysAllocString(text);
    Put(m_panel, DISPID_DisplayMsg, value);
    VariantClear(&value);
}

void HostWindow::SetTimerRuns(bool runs) {
    m_timerRuns = runs;
    if (runs) {
        SetTimer(m_window, kTimerId, TickMilliseconds, nullptr);
    } else {
        KillTimer(m_window, kTimerId);
    }
    CheckMenus();
}

void HostWindow::CheckMenus() {
    HMENU menu = m_window != nullptr ? GetMenu(m_window) : nullptr;
    if (menu == nullptr) {
        return;
    }
    const auto check = [&](int id, bool on) {
        CheckMenuItem(menu, static_cast<UINT>(id), MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
    };
    check(CmdEnabled, m_enabled);
    check(CmdAttached, m_attached);
    check(CmdTimerRuns, m_timerRuns);
    const SimDrive& drive = m_node->Drive();
    for (size_t i = 0; i < kPins.size(); ++i) {
        check(CmdPinEnable + static_cast<int>(i), drive.Pin(kPins[i]));
    }
    for (const auto& item : kModes) {
        check(CmdModeFirst + item.mode, drive.OperationalMode() == item.mode);
    }
}

void HostWindow::Close() {
    if (m_window != nullptr) {
        KillTimer(m_window, kTimerId);
    }
    if (m_framework != nullptr && m_attached) {
        m_framework->ReleaseControl();
        m_attached = false;
    }
    ReleaseInto(m_framework);
    m_events.Unadvise();
    ReleaseInto(m_panel);
    if (m_site != nullptr) {
        m_site->Unembed();
        ReleaseInto(m_site);
    }
}

}  // namespace arn::winhost
