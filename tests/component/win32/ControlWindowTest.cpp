// The control's window on a plain parent window, without a container: what it repaints, the
// user's mouse and keys, the editor box, and the places accessibility tools find.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <oleacc.h>

#include <cmath>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "component/win32/ComClientSupport.h"
#include "component/win32/ControlWindow.h"
#include "fakes/BeepCounter.h"
#include "host/NodeParams.h"
#include "panel/PanelFixture.h"
#include "platform/win32/com/ComModule.h"
#include "platform/win32/com/ComText.h"

namespace arn::win32 {
namespace {

class FakeSite : public ControlWindowSite {
  public:
    bool UserMode() const override { return userMode; }
    void OnWindowActivated() override { ++activations; }
    void OnWindowFocus(bool gained) override { focus.push_back(gained); }

    bool userMode = true;
    int activations = 0;
    std::vector<bool> focus;
};

// Runs the posted messages (the window's repaint request among them) but paints nothing, so
// what they invalidated stays to be seen.
void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE | PM_QS_POSTMESSAGE | PM_QS_SENDMESSAGE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// The text of the hover tip that the common controls keep for hwnd (empty when none): the
// tip's owner is the top-level window, its tool names the window it serves.
std::wstring HoverTipText(HWND hwnd) {
    for (HWND tip = nullptr; (tip = FindWindowExW(nullptr, tip, TOOLTIPS_CLASSW, nullptr));) {
        wchar_t text[256]{};
        TTTOOLINFOW info{};
        info.cbSize = TTTOOLINFOW_V2_SIZE;
        info.lpszText = text;
        if ((GetWindowLongW(tip, GWL_STYLE) & TTS_BALLOON) == 0 &&
            SendMessageW(tip, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&info)) &&
            info.hwnd == hwnd) {
            return text;
        }
    }
    return L"";
}

LPARAM At(const RECT& r) {
    return MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

class ControlWindowTest : public test::PanelTest {
  protected:
    ControlWindowTest() {
        parent = CreateWindowExW(0, L"STATIC", L"parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                 1000, 600, nullptr, nullptr, nullptr, nullptr);
        AttachAndBind();
        panel->put_Enabled(true);
        net->Tick();
    }
    ~ControlWindowTest() override { DestroyWindow(parent); }

    void Key(HWND hwnd, WPARAM key) { SendMessageW(hwnd, WM_KEYDOWN, key, 0); }
    void Click(HWND hwnd, LPARAM at) {
        SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(hwnd, WM_LBUTTONUP, 0, at);
    }

    HWND parent = nullptr;
    FakeSite site;
};

TEST_F(ControlWindowTest, RepaintsWhatChangedTakesTheUsersClicksKeysAndEntriesAndIsFound) {
    HDC screen = GetDC(nullptr);
    const int ppi = GetDeviceCaps(screen, LOGPIXELSX);
    const int width = static_cast<int>(std::lround(PanelControls::DesignWidth * ppi / 1440.0));
    const int height = static_cast<int>(
        std::lround(PanelControls::DesignHeight * GetDeviceCaps(screen, LOGPIXELSY) / 1440.0));
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(ControlWindow::DrawPanel(*panel, nullptr, RECT{0, 0, width, height}), E_POINTER);
    ASSERT_TRUE(ComServerCanUnload());
    HWND hwnd = nullptr;
    IAccessible* accessible = nullptr;
    long left = 0, top = 0, w = 0, h = 0;
    int resizes = 0;
    const Connection counting = panel->Resized.connect([&] { ++resizes; });
    {
        ControlWindow window(panel, site);
        ASSERT_EQ(window.Create(parent, RECT{30, 20, 30 + width, 20 + height}), S_OK);
        hwnd = window.Handle();
        ASSERT_NE(hwnd, nullptr);
        EXPECT_EQ(window.Create(parent, RECT{0, 0, width, height}), E_UNEXPECTED);
        EXPECT_FALSE(IsWindowVisible(hwnd));
        // Sized in twips at the screen's resolution: the design size, which the frame fills.
        EXPECT_NEAR(panel->get_ScaleWidth(), PanelControls::DesignWidth, 1440 / ppi);
        EXPECT_EQ(resizes, 1);
        window.Show();
        EXPECT_TRUE(IsWindowVisible(hwnd));
        EXPECT_TRUE(panel->IsShown());

        // Accessibility tools find a control on the screen, the topmost there (the LED, not
        // the box around it), and nothing outside the window.
        ASSERT_EQ(
            AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                       reinterpret_cast<void**>(&accessible)),
            S_OK);
        const LONG led = comtest::FindControl(accessible, L"fldStatusLED(1)");
        RECT expected = window.ClientRect(ctl().fldStatusLED(1).SurfaceRect());
        MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&expected), 2);
        ASSERT_EQ(accessible->accLocation(&left, &top, &w, &h, comtest::ChildId(led)), S_OK);
        EXPECT_EQ(
            (std::vector<long>{left, top, left + w, top + h}),
            (std::vector<long>{expected.left, expected.top, expected.right, expected.bottom}));
        VARIANT hit{};
        ASSERT_EQ(accessible->accHitTest(left + w / 2, top + h / 2, &hit), S_OK);
        EXPECT_EQ(hit.lVal, led);
        RECT windowOnScreen{};
        GetWindowRect(hwnd, &windowOnScreen);
        VARIANT outside{};
        EXPECT_EQ(accessible->accHitTest(windowOnScreen.right + 5, windowOnScreen.top, &outside),
                  S_FALSE);
        EXPECT_EQ(outside.vt, VT_EMPTY);
        IDispatch* parentObject = nullptr;
        ASSERT_EQ(accessible->get_accParent(&parentObject), S_OK);
        parentObject->Release();

        // A tick that changes nothing invalidates nothing; a change invalidates its control only,
        // once after the burst.
        panel->put_DisplayMsg("Homing required");
        node->SetPin(SimPin::InputA, true);
        net->Tick();
        Pump();
        UpdateWindow(hwnd);
        net->Tick();
        Pump();
        EXPECT_FALSE(GetUpdateRect(hwnd, nullptr, FALSE));
        panel->put_DisplayMsg("Another message");
        EXPECT_FALSE(GetUpdateRect(hwnd, nullptr, FALSE));
        Pump();
        RECT dirty{};
        ASSERT_TRUE(GetUpdateRect(hwnd, &dirty, FALSE));
        RECT around = window.ClientRect(ctl().DisplayMsgLbl->SurfaceRect());
        InflateRect(&around, 4, 4);
        RECT both{};
        UnionRect(&both, &dirty, &around);
        EXPECT_TRUE(EqualRect(&both, &around));
        UpdateWindow(hwnd);

        // A click presses the control while held (with the mouse captured) and acts on release;
        // in a designer it does nothing.
        CheckBox& option = *ctl().inputOptChk;
        const LPARAM onOption = At(window.ClientRect(option.SurfaceRect()));
        const int16_t before = option.get_Value();
        site.userMode = false;
        Click(hwnd, onOption);
        EXPECT_EQ(option.get_Value(), before);
        EXPECT_EQ(site.activations, 0);
        site.userMode = true;
        SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, onOption);
        EXPECT_EQ(window.Input().Pressed(), &option);
        EXPECT_EQ(GetCapture(), hwnd);
        EXPECT_EQ(GetFocus(), hwnd);
        SendMessageW(hwnd, WM_LBUTTONUP, 0, onOption);
        EXPECT_EQ(GetCapture(), nullptr);
        EXPECT_EQ(window.Input().Pressed(), nullptr);
        EXPECT_NE(option.get_Value(), before);
        EXPECT_EQ(site.activations, 1);
        EXPECT_EQ(site.focus, std::vector<bool>{true});

        // The hover tip follows the control under the mouse.
        const CommandButton& teaching = *ctl().teachingCmd;
        SendMessageW(hwnd, WM_MOUSEMOVE, 0, At(window.ClientRect(teaching.SurfaceRect())));
        EXPECT_EQ(HoverTipText(hwnd), Widen(teaching.get_ToolTipText()));
        EXPECT_NE(HoverTipText(hwnd), L"");

        // Tab and Shift+Tab walk the focus mark, by the window's own keys and by the
        // container's translation alike.
        const auto chain = window.Input().FocusChain();
        ASSERT_GE(chain.size(), 2U);
        Key(hwnd, VK_TAB);
        EXPECT_EQ(window.Input().Focused(), chain[0].get());
        EXPECT_TRUE(window.TranslateKey(MSG{hwnd, WM_KEYDOWN, VK_TAB, 0, 0, {}}));
        EXPECT_EQ(window.Input().Focused(), chain[1].get());
        BYTE keys[256]{};
        GetKeyboardState(keys);
        keys[VK_SHIFT] = 0x80;
        SetKeyboardState(keys);
        Key(hwnd, VK_TAB);
        keys[VK_SHIFT] = 0;
        SetKeyboardState(keys);
        EXPECT_EQ(window.Input().Focused(), chain[0].get());
        EXPECT_FALSE(window.TranslateKey(MSG{hwnd, WM_KEYDOWN, VK_RETURN, 0, 0, {}}));

        // A parameter editor opens the system's text box over it; Enter writes a number, refuses
        // anything else (the box stays, all selected, with a beep), Esc leaves the value as it
        // was.
        const int32_t param = param::Position1 + 2;
        const double original = node->Drive().Read(param);
        const LPARAM onEditor = At(window.ClientRect(*ctl().ParamItems(2).EditorRect()));
        test::BeepCounter beeps;
        // Rows: typed, key, whether through the container's translation, open after the key,
        // the value written.
        using Row = std::tuple<const wchar_t*, WPARAM, bool, bool, double>;
        for (const auto& [typed, key, viaTranslate, open, written] :
             {Row{L"abc", VK_RETURN, false, true, original},
              Row{L"1e12", VK_RETURN, false, true, original},
              Row{L"2100", VK_ESCAPE, false, false, original},
              Row{L" 2100 ", VK_RETURN, false, false, 2100},
              Row{L"2200", VK_RETURN, true, false, 2200}}) {
            if (!window.EditorHandle()) {
                Click(hwnd, onEditor);
            }
            HWND box = window.EditorHandle();
            ASSERT_NE(box, nullptr);
            SetWindowTextW(box, typed);
            if (viaTranslate) {
                EXPECT_TRUE(window.TranslateKey(MSG{box, WM_KEYDOWN, key, 0, 0, {}}));
            } else {
                SendMessageW(box, WM_KEYDOWN, key, 0);
            }
            EXPECT_EQ(window.EditorHandle() != nullptr, open) << written;
            EXPECT_EQ(IsWindow(box) != FALSE, open);
            DWORD start = 1, end = 0;
            SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                         reinterpret_cast<LPARAM>(&end));
            if (open) {
                EXPECT_EQ(std::pair(start, end), std::pair(DWORD{0}, DWORD(wcslen(typed))));
            }
            EXPECT_DOUBLE_EQ(node->Drive().Read(param), written);
        }
        EXPECT_EQ(beeps.Count(), 2);
        EXPECT_EQ(site.focus, std::vector<bool>{true}) << "the box keeps the focus in the control";

        window.Hide();
        EXPECT_FALSE(IsWindowVisible(hwnd));
        EXPECT_FALSE(panel->IsShown());
    }
    EXPECT_FALSE(IsWindow(hwnd));
    // A tool that holds on past the window finds no places any more.
    EXPECT_EQ(accessible->accLocation(&left, &top, &w, &h, comtest::ChildId(CHILDID_SELF)),
              DISP_E_MEMBERNOTFOUND);
    accessible->Release();
    EXPECT_TRUE(ComServerCanUnload());
}

}  // namespace
}  // namespace arn::win32
