// The control's window on a plain parent window, without a container: its pixels, the user's
// mouse and keys, the editor box, resizing and repainting.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <oleacc.h>

#include <algorithm>
#include <cmath>
#include <string>
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

using test::BeepCounter;

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

// The text of the hover tip that the common controls keep for hwnd (empty when none).
std::wstring HoverTipText(HWND hwnd) {
    struct Search {
        HWND owner;
        std::wstring text;
    } search{hwnd, {}};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND tip, LPARAM data) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(data);
            wchar_t className[64]{};
            GetClassNameW(tip, className, 64);
            if (wcscmp(className, TOOLTIPS_CLASSW) != 0 ||
                (GetWindowLongW(tip, GWL_STYLE) & TTS_BALLOON) != 0) {
                return TRUE;
            }
            wchar_t text[256]{};
            TTTOOLINFOW info{};
            info.cbSize = TTTOOLINFOW_V2_SIZE;
            info.lpszText = text;
            // The tip's owner is the top-level window; its tool names the window it serves.
            if (!SendMessageW(tip, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&info)) ||
                info.hwnd != s.owner) {
                return TRUE;
            }
            s.text = text;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.text;
}

LPARAM At(const RECT& r) {
    return MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

class ControlWindowTest : public test::PanelTest {
  protected:
    ControlWindowTest() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"ArnControlWindowTestParent";
        RegisterClassW(&wc);
        parent = CreateWindowExW(0, wc.lpszClassName, L"parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                 0, 0, 1000, 600, nullptr, nullptr, wc.hInstance, nullptr);
        HDC screen = GetDC(nullptr);
        ppiX = GetDeviceCaps(screen, LOGPIXELSX);
        ppiY = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
        AttachAndBind();
        panel->put_Enabled(true);
        net->Tick();
    }
    ~ControlWindowTest() override { DestroyWindow(parent); }

    int Px(int32_t twips) const { return static_cast<int>(std::lround(twips * ppiX / 1440.0)); }
    int Py(int32_t twips) const { return static_cast<int>(std::lround(twips * ppiY / 1440.0)); }
    // Pumps the posted repaint, then paints what it invalidated.
    void Settle(HWND hwnd) {
        Pump();
        UpdateWindow(hwnd);
    }
    void Key(HWND hwnd, WPARAM key) { SendMessageW(hwnd, WM_KEYDOWN, key, 0); }
    void Click(HWND hwnd, LPARAM at) {
        SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(hwnd, WM_LBUTTONUP, 0, at);
    }

    HWND parent = nullptr;
    int ppiX = 96;
    int ppiY = 96;
    FakeSite site;
};

TEST_F(ControlWindowTest, PaintsTheLivePanelAndTakesTheUsersClicksKeysAndEntries) {
    const int width = Px(PanelControls::DesignWidth);
    const int height = Py(PanelControls::DesignHeight);
    HWND hwnd = nullptr;
    int resizes = 0;
    const Connection counting = panel->Resized.connect([&] { ++resizes; });
    {
        ControlWindow window(panel, site);
        EXPECT_EQ(window.Handle(), nullptr);
        ASSERT_EQ(window.Create(parent, RECT{0, 0, width, height}), S_OK);
        hwnd = window.Handle();
        ASSERT_NE(hwnd, nullptr);
        EXPECT_EQ(GetParent(hwnd), parent);
        EXPECT_EQ(window.Create(parent, RECT{0, 0, width, height}), E_UNEXPECTED);
        EXPECT_FALSE(IsWindowVisible(hwnd));
        // Sized in twips at the screen's resolution: the design size, which the frame fills.
        EXPECT_NEAR(panel->get_ScaleWidth(), PanelControls::DesignWidth, 1440 / ppiX);
        EXPECT_EQ(resizes, 1);
        window.Show();
        EXPECT_TRUE(IsWindowVisible(hwnd));
        EXPECT_TRUE(panel->IsShown());

        // The pixels show the panel: the yellow message, a lit LED in its own colour.
        panel->put_DisplayMsg("Homing required");
        node->SetPin(SimPin::InputA, true);
        net->Tick();
        Settle(hwnd);
        const comtest::Pixels pixels(hwnd);
        const Label& message = *ctl().DisplayMsgLbl;
        const RECT messageBox = window.ClientRect(message.SurfaceRect());
        EXPECT_EQ(pixels.Bgr(messageBox.right - 3, messageBox.bottom - 3), message.get_BackColor());
        const ArnFieldLED& led = ctl().fldStatusLED(1);
        ASSERT_EQ(led.CurrentColor(), led.get_LEDOnColor());
        EXPECT_GT(pixels.Share(window.ClientRect(led.SurfaceRect()),
                               comtest::Pixels::Swap(static_cast<uint32_t>(led.CurrentColor()))),
                  1.0 / 3)
            << "a third of the LED's box at least";

        // A tick that changes nothing invalidates nothing; a change invalidates its control only.
        net->Tick();
        Pump();
        EXPECT_FALSE(GetUpdateRect(hwnd, nullptr, FALSE));
        panel->put_DisplayMsg("Another message");
        EXPECT_FALSE(GetUpdateRect(hwnd, nullptr, FALSE)) << "once, after the burst";
        Pump();
        RECT dirty{};
        ASSERT_TRUE(GetUpdateRect(hwnd, &dirty, FALSE));
        RECT around = messageBox;
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
        ASSERT_FALSE(teaching.get_ToolTipText().empty());
        SendMessageW(hwnd, WM_MOUSEMOVE, 0, At(window.ClientRect(teaching.SurfaceRect())));
        EXPECT_EQ(HoverTipText(hwnd), Widen(teaching.get_ToolTipText()));

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
        // anything else (the box stays, with a beep), Esc leaves the value as it was.
        ParamEditor& editor = ctl().ParamItems(2);
        const int32_t param = param::Position1 + 2;
        const double original = node->Drive().Read(param);
        ASSERT_TRUE(editor.EditorRect());
        const LPARAM onEditor = At(window.ClientRect(*editor.EditorRect()));
        BeepCounter beeps;
        struct Row {
            const wchar_t* typed;
            WPARAM key;
            bool viaTranslate;
            bool open;  // after the key
            double written;
        };
        for (const Row& row : {Row{L"abc", VK_RETURN, false, true, original},
                               Row{L"1e12", VK_RETURN, false, true, original},
                               Row{L"2100", VK_ESCAPE, false, false, original},
                               Row{L" 2100 ", VK_RETURN, false, false, 2100},
                               Row{L"2200", VK_RETURN, true, false, 2200}}) {
            SCOPED_TRACE(testing::Message()
                         << "typed " << std::string(row.typed, row.typed + wcslen(row.typed)));
            if (!window.EditorHandle()) {
                Click(hwnd, onEditor);
            }
            HWND box = window.EditorHandle();
            ASSERT_NE(box, nullptr);
            wchar_t className[16]{};
            GetClassNameW(box, className, 16);
            EXPECT_EQ(_wcsicmp(className, L"Edit"), 0);
            SetWindowTextW(box, row.typed);
            if (row.viaTranslate) {
                EXPECT_TRUE(window.TranslateKey(MSG{box, WM_KEYDOWN, row.key, 0, 0, {}}));
            } else {
                SendMessageW(box, WM_KEYDOWN, row.key, 0);
            }
            EXPECT_EQ(window.EditorHandle() != nullptr, row.open);
            EXPECT_EQ(IsWindow(box) != FALSE, row.open);
            if (row.open) {
                DWORD start = 1, end = 0;
                SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                             reinterpret_cast<LPARAM>(&end));
                EXPECT_EQ(start, 0U) << "the refused text stays, all selected";
                EXPECT_EQ(end, wcslen(row.typed));
            }
            EXPECT_DOUBLE_EQ(node->Drive().Read(param), row.written);
        }
        EXPECT_EQ(beeps.Count(), 2);
        EXPECT_EQ(site.focus, std::vector<bool>{true}) << "the box keeps the focus in the control";

        // Resizing the window resizes the surface, and the frame follows it.
        const int32_t frameWidth = ctl().EnclosingFrame->get_Width();
        window.SetRects(RECT{10, 10, 10 + width / 2, 10 + height}, RECT{0, 0, 2000, 2000});
        EXPECT_NEAR(panel->get_ScaleWidth(), PanelControls::DesignWidth / 2, 2 * 1440 / ppiX);
        EXPECT_NE(ctl().EnclosingFrame->get_Width(), frameWidth);
        EXPECT_EQ(resizes, 2);
        RECT placed{};
        GetWindowRect(hwnd, &placed);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&placed), 2);
        EXPECT_EQ(placed.left, 10);
        EXPECT_EQ(placed.right - placed.left, width / 2);

        window.Hide();
        EXPECT_FALSE(IsWindowVisible(hwnd));
        EXPECT_FALSE(panel->IsShown());
    }
    EXPECT_FALSE(IsWindow(hwnd));
}

TEST_F(ControlWindowTest, DrawsThePanelScaledIntoAnyDeviceContextWithoutAWindow) {
    panel->put_DisplayMsg("Homing required");
    const int width = Px(PanelControls::DesignWidth) / 2;
    const int height = Py(PanelControls::DesignHeight) / 2;
    comtest::Pixels pixels(width, height);
    EXPECT_EQ(ControlWindow::DrawPanel(*panel, nullptr, RECT{0, 0, width, height}), E_POINTER);
    EXPECT_EQ(ControlWindow::DrawPanel(*panel, pixels.Dc(), RECT{0, 0, 0, height}), E_INVALIDARG);
    const Rect box = ctl().DisplayMsgLbl->SurfaceRect();
    const auto x = [&](int32_t t) { return t * width / PanelControls::DesignWidth; };
    const auto y = [&](int32_t t) { return t * height / PanelControls::DesignHeight; };
    const RECT bounds{0, 0, width, height};
    // The memory DC last: a metafile's playback fits the drawing's own bounds into the frame,
    // so only places well inside it are compared.
    for (const bool metafile : {true, false}) {
        SCOPED_TRACE(metafile ? "recorded in a metafile, played back" : "a memory DC");
        const RECT white{0, 0, width, height};
        FillRect(pixels.Dc(), &white, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        if (metafile) {
            HDC recorder = CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
            ASSERT_EQ(ControlWindow::DrawPanel(*panel, recorder, bounds), S_OK);
            HENHMETAFILE recorded = CloseEnhMetaFile(recorder);
            ASSERT_TRUE(PlayEnhMetaFile(pixels.Dc(), recorded, &bounds));
            DeleteEnhMetaFile(recorded);
        } else {
            ASSERT_EQ(ControlWindow::DrawPanel(*panel, pixels.Dc(), bounds), S_OK);
        }
        EXPECT_EQ(pixels.Bgr(x(box.Right()) - 2, y(box.Bottom()) - 2),
                  ctl().DisplayMsgLbl->get_BackColor());
    }
    EXPECT_EQ(pixels.Bgr(2, height - 2), ColorButtonFace) << "the face behind the frame";
}

TEST_F(ControlWindowTest, AccessibilityToolsFindTheControlsOnTheScreen) {
    ASSERT_TRUE(ComServerCanUnload());
    IAccessible* accessible = nullptr;
    {
        ControlWindow window(panel, site);
        const RECT placed{30, 20, 30 + Px(PanelControls::DesignWidth),
                          20 + Py(PanelControls::DesignHeight)};
        ASSERT_EQ(window.Create(parent, placed), S_OK);
        window.Show();
        ASSERT_EQ(
            AccessibleObjectFromWindow(window.Handle(), static_cast<DWORD>(OBJID_CLIENT),
                                       IID_IAccessible, reinterpret_cast<void**>(&accessible)),
            S_OK);
        ASSERT_NE(accessible, nullptr);
        const auto controls = panel->Controls();
        const auto idOf = [&](const Control& ctl) {
            const auto at = std::find_if(controls.begin(), controls.end(),
                                         [&](const auto& c) { return c.get() == &ctl; });
            return comtest::ChildId(static_cast<LONG>(at - controls.begin()) + 1);
        };
        const VARIANT self = comtest::ChildId(CHILDID_SELF);
        RECT windowOnScreen{};
        GetWindowRect(window.Handle(), &windowOnScreen);
        const auto onScreen = [&](const Control& ctl) {
            RECT r = window.ClientRect(ctl.SurfaceRect());
            MapWindowPoints(window.Handle(), nullptr, reinterpret_cast<POINT*>(&r), 2);
            return r;
        };
        struct Row {
            const char* what;
            VARIANT child;
            RECT expected;
        };
        for (const Row& row :
             {Row{"teachingCmd", idOf(*ctl().teachingCmd), onScreen(*ctl().teachingCmd)},
              Row{"an LED inside its box", idOf(ctl().fldStatusLED(1)),
                  onScreen(ctl().fldStatusLED(1))},
              Row{"the control itself", self, windowOnScreen}}) {
            SCOPED_TRACE(row.what);
            long left = 0, top = 0, width = 0, height = 0;
            ASSERT_EQ(accessible->accLocation(&left, &top, &width, &height, row.child), S_OK);
            EXPECT_EQ(left, row.expected.left);
            EXPECT_EQ(top, row.expected.top);
            EXPECT_EQ(width, row.expected.right - row.expected.left);
            EXPECT_EQ(height, row.expected.bottom - row.expected.top);
            VARIANT hit{};
            const LONG x = (row.expected.left + row.expected.right) / 2;
            const LONG y = (row.expected.top + row.expected.bottom) / 2;
            if (row.child.lVal != CHILDID_SELF) {
                ASSERT_EQ(accessible->accHitTest(x, y, &hit), S_OK);
                EXPECT_EQ(hit.vt, VT_I4);
                EXPECT_EQ(hit.lVal, row.child.lVal) << "the topmost control there";
            }
        }
        VARIANT outside{};
        EXPECT_EQ(accessible->accHitTest(windowOnScreen.right + 5, windowOnScreen.top, &outside),
                  S_FALSE);
        EXPECT_EQ(outside.vt, VT_EMPTY);
        IDispatch* parentObject = nullptr;
        EXPECT_EQ(accessible->get_accParent(&parentObject), S_OK);
        ASSERT_NE(parentObject, nullptr);
        parentObject->Release();
    }
    // A tool that holds on past the window finds no places any more.
    long left = 0, top = 0, width = 0, height = 0;
    EXPECT_EQ(accessible->accLocation(&left, &top, &width, &height, comtest::ChildId(CHILDID_SELF)),
              DISP_E_MEMBERNOTFOUND);
    accessible->Release();
    EXPECT_TRUE(ComServerCanUnload());
}

}  // namespace
}  // namespace arn::win32
