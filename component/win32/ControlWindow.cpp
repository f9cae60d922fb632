#include "component/win32/ControlWindow.h"

#include <windowsx.h>

#include <cmath>
#include <limits>

#include "component/win32/EditorBox.h"
#include "component/win32/WindowAccessible.h"
#include "draw/DisplayList.h"
#include "panel/ArnAbsPosnCtl.h"
#include "platform/Beep.h"
#include "platform/win32/GdiCanvas.h"
#include "platform/win32/ThisModule.h"
#include "platform/win32/ToolTipWindow.h"
#include "platform/win32/com/ComText.h"
#include "toolkit/SurfacePainter.h"

namespace arn::win32 {

namespace {

constexpr wchar_t WindowClassName[] = L"ArnAbsPosnControlWindow";
// Posted once per burst of changes; its handler invalidates what the burst marked.
constexpr UINT RepaintMessage = WM_APP + 0x41;
// Around a repainted control: its focus mark, drawn just outside it.
constexpr int RepaintMarginPx = 3;

// Registers the window class once per load of the library. A class that an earlier load left
// behind points at code that is gone, so it is made again.
bool HaveWindowClass(WNDPROC proc) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExW(ThisModule(), WindowClassName, &wc)) {
        if (wc.lpfnWndProc == proc) {
            return true;
        }
        UnregisterClassW(WindowClassName, ThisModule());
    }
    wc = {};
    wc.cbSize = sizeof wc;
    // No CS_DBLCLKS: a quick second click is a click of its own, as on the panel's buttons.
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = proc;
    wc.hInstance = ThisModule();
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = WindowClassName;
    return RegisterClassExW(&wc) != 0;
}

}  // namespace

ControlWindow::ControlWindow(std::shared_ptr<ArnAbsPosnCtl> panel, ControlWindowSite& site)
    : m_panel(std::move(panel)), m_site(site), m_input(*m_panel), m_damage(*m_panel) {
    Subscribe();
}

ControlWindow::~ControlWindow() {
    m_connections.clear();
    if (m_hwnd != nullptr) {
        DestroyWindow(m_hwnd);
    }
}

void ControlWindow::Subscribe() {
    for (const auto& ctl : m_panel->Controls()) {
        m_connections.push_back(
            ctl->PropertyChanged.connect([this](std::string_view) { DropUnreachableEditor(); }));
    }
    m_connections.push_back(m_input.LookChanged.connect(
        [this](const Control& ctl) { m_damage.Mark(ctl.SurfaceRect()); }));
    // The marks of one burst of changes (a tick, a click and what it sets off) are invalidated
    // together once the burst is over, so the window repaints once for it.
    m_connections.push_back(m_damage.Pending.connect([this] {
        if (!m_repaintPosted && m_hwnd != nullptr) {
            m_repaintPosted = PostMessageW(m_hwnd, RepaintMessage, 0, 0) != FALSE;
        }
    }));
}

HRESULT ControlWindow::Create(HWND parent, const RECT& positionPixels) {
    if (m_hwnd != nullptr) {
        return E_UNEXPECTED;
    }
    if (!HaveWindowClass(&WindowProc)) {
        return HRESULT_FROM_WIN32(GetLastError());
    }
    // Twips are laid out at the screen's logical resolution, as the form that holds the
    // control measures them.
    HDC screen = GetDC(nullptr);
    const SIZE ppi = GdiCanvas::LogicalResolution(screen);
    ReleaseDC(nullptr, screen);
    m_scaleX = ppi.cx / double{TwipsPerInch};
    m_scaleY = ppi.cy / double{TwipsPerInch};
    const HWND made = CreateWindowExW(
        WS_EX_CONTROLPARENT, WindowClassName, L"", WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
        positionPixels.left, positionPixels.top, positionPixels.right - positionPixels.left,
        positionPixels.bottom - positionPixels.top, parent, nullptr, ThisModule(), this);
    if (made == nullptr) {
        const DWORD error = GetLastError();
        return error != 0 ? HRESULT_FROM_WIN32(error) : E_FAIL;
    }
    // The window's first WM_SIZE sized the panel. What changed before the window existed is
    // painted whole at its first paint.
    m_toolTip = std::make_unique<ToolTipWindow>(m_hwnd, ToolTipWindow::Kind::Hover);
    m_damage.Take();
    m_repaintPosted = false;
    return S_OK;
}

HWND ControlWindow::EditorHandle() const {
    return m_editor ? m_editor->Handle() : nullptr;
}

RECT ControlWindow::ClientRect(const Rect& twips) const {
    const auto x = [this](int32_t t) { return static_cast<LONG>(std::lround(t * m_scaleX)); };
    const auto y = [this](int32_t t) { return static_cast<LONG>(std::lround(t * m_scaleY)); };
    return {x(twips.left), y(twips.top), x(twips.Right()), y(twips.Bottom())};
}

Point ControlWindow::ToTwips(LPARAM position) const {
    return {static_cast<int32_t>(std::floor(GET_X_LPARAM(position) / m_scaleX)),
            static_cast<int32_t>(std::floor(GET_Y_LPARAM(position) / m_scaleY))};
}

void ControlWindow::SetRects(const RECT& positionPixels, const RECT& clipPixels) {
    if (m_hwnd == nullptr) {
        return;
    }
    // A size change reaches the panel through WM_SIZE.
    SetWindowPos(m_hwnd, nullptr, positionPixels.left, positionPixels.top,
                 positionPixels.right - positionPixels.left,
                 positionPixels.bottom - positionPixels.top, SWP_NOZORDER | SWP_NOACTIVATE);
    // Only the part inside the container's clip shows (nothing when they do not meet); the
    // region is in window coordinates.
    RECT visible{};
    IntersectRect(&visible, &positionPixels, &clipPixels);
    HRGN region = nullptr;
    if (!EqualRect(&visible, &positionPixels)) {
        OffsetRect(&visible, -positionPixels.left, -positionPixels.top);
        region = CreateRectRgnIndirect(&visible);
    }
    // The window owns the region from here on.
    SetWindowRgn(m_hwnd, region, TRUE);
}

void ControlWindow::Show() {
    if (m_hwnd != nullptr && !IsWindowVisible(m_hwnd)) {
        ShowWindow(m_hwnd, SW_SHOWNA);
        Guarded([&] { m_panel->Show(); });
    }
}

void ControlWindow::Hide() {
    if (m_hwnd != nullptr && IsWindowVisible(m_hwnd)) {
        CloseEditor();
        ShowWindow(m_hwnd, SW_HIDE);
        Guarded([&] { m_panel->Hide(); });
    }
}

void ControlWindow::ResizePanel() {
    RECT client{};
    GetClientRect(m_hwnd, &client);
    Guarded([&] {
        m_panel->Resize(static_cast<int32_t>(std::lround(client.right / m_scaleX)),
                        static_cast<int32_t>(std::lround(client.bottom / m_scaleY)));
    });
    if (m_editor) {
        const auto editing = m_editing.lock();
        const auto box = editing ? editing->EditorRect() : std::nullopt;
        if (box) {
            m_editor->Move(ClientRect(*box));
        }
    }
    InvalidateRect(m_hwnd, nullptr, FALSE);
}

void ControlWindow::RepaintDamage() {
    m_repaintPosted = false;
    for (const Rect& r : m_damage.Take()) {
        RECT box = ClientRect(r);
        InflateRect(&box, RepaintMarginPx, RepaintMarginPx);
        InvalidateRect(m_hwnd, &box, FALSE);
    }
}

void ControlWindow::Paint() {
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(m_hwnd, &ps);
    const RECT& dirty = ps.rcPaint;
    const int width = dirty.right - dirty.left;
    const int height = dirty.bottom - dirty.top;
    HDC buffer = dc != nullptr && width > 0 && height > 0 ? CreateCompatibleDC(dc) : nullptr;
    HBITMAP bitmap = buffer != nullptr ? CreateCompatibleBitmap(dc, width, height) : nullptr;
    if (bitmap != nullptr) {
        // Drawn off screen, then copied in one go, so the user never sees a half-drawn panel.
        HGDIOBJ old = SelectObject(buffer, bitmap);
        {
            GdiCanvas canvas(buffer, POINT{-dirty.left, -dirty.top}, m_scaleX, m_scaleY);
            DisplayList list;
            const bool focused = GetFocus() == m_hwnd && m_site.UserMode();
            // The painter keeps what a failing control drew; a paint repeats too often to beep.
            try {
                SurfacePainter(*m_panel, canvas)
                    .Paint(list, m_input.Pressed(), focused ? m_input.Focused() : nullptr,
                           canvas.ToTwips(RECT{0, 0, width, height}));
            } catch (...) {
            }
            list.Replay(canvas);
        }
        BitBlt(dc, dirty.left, dirty.top, width, height, buffer, 0, 0, SRCCOPY);
        SelectObject(buffer, old);
        DeleteObject(bitmap);
    }
    if (buffer != nullptr) {
        DeleteDC(buffer);
    }
    EndPaint(m_hwnd, &ps);
}

HRESULT ControlWindow::DrawPanel(ArnAbsPosnCtl& panel, HDC dc, const RECT& boundsPixels) {
    if (dc == nullptr) {
        return E_POINTER;
    }
    if (boundsPixels.right <= boundsPixels.left || boundsPixels.bottom <= boundsPixels.top) {
        return E_INVALIDARG;
    }
    const Rect design{0, 0, PanelControls::DesignWidth, PanelControls::DesignHeight};
    GdiCanvas canvas(dc, POINT{boundsPixels.left, boundsPixels.top},
                     (boundsPixels.right - boundsPixels.left) / static_cast<double>(design.width),
                     (boundsPixels.bottom - boundsPixels.top) / static_cast<double>(design.height));
    DisplayList list;
    list.Add(PushClipOp{design});
    try {
        SurfacePainter(panel, canvas).Paint(list, nullptr, nullptr, design);
    } catch (...) {
        return E_FAIL;
    }
    list.Add(PopClipOp{});
    list.Replay(canvas);
    return S_OK;
}

template <class Body>
void ControlWindow::Guarded(Body body) {
    try {
        body();
    } catch (...) {
        Beep();
    }
}

LRESULT CALLBACK ControlWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<ControlWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->m_hwnd = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<ControlWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self == nullptr) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->m_hwnd = nullptr;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    return self->OnMessage(message, wParam, lParam);
}

LRESULT ControlWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND:
            // The paint covers every pixel.
            return 1;
        case WM_PAINT:
            Paint();
            return 0;
        case WM_SIZE:
            ResizePanel();
            return 0;
        case RepaintMessage:
            RepaintDamage();
            return 0;
        case WM_DESTROY:
            m_editor.reset();
            m_toolTip.reset();
            if (m_accessible != nullptr) {
                m_accessible->Detach();
                m_accessible->Release();
                m_accessible = nullptr;
            }
            break;
        case WM_GETOBJECT:
            if (static_cast<DWORD>(lParam) == static_cast<DWORD>(OBJID_CLIENT)) {
                // Made at the first request and kept while the window lives.
                if (m_accessible == nullptr) {
                    m_accessible = new WindowAccessible(m_panel, m_hwnd);
                }
                return LresultFromObject(IID_IAccessible, wParam, m_accessible->Accessible());
            }
            break;
        case WM_MOUSEACTIVATE:
            // A click in the control activates it; the container's frame stays as it is.
            return MA_ACTIVATE;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
            OnButton(message == WM_LBUTTONDOWN, lParam);
            return 0;
        case WM_MOUSEMOVE:
            if (m_site.UserMode()) {
                if (GetCapture() == m_hwnd) {
                    m_input.Move(ToTwips(lParam));
                }
                UpdateToolTip(lParam);
            }
            return 0;
        case WM_CAPTURECHANGED:
            // A hold that loses the mouse (another window took it) ends without a click.
            if (reinterpret_cast<HWND>(lParam) != m_hwnd) {
                m_input.Release(Point{-1, -1});
            }
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTTAB | DLGC_WANTCHARS;
        case WM_KEYDOWN:
            if (OnKey(wParam)) {
                return 0;
            }
            break;
        case WM_SETFOCUS:
        case WM_KILLFOCUS: {
            const bool gained = message == WM_SETFOCUS;
            // The focus mark shows only while the window has the focus.
            if (const Control* focused = m_input.Focused()) {
                m_damage.Mark(focused->SurfaceRect());
            }
            // Moving between the window and its editor box keeps the focus in the control.
            // The keyboard's Tab brings the focus to the first or last control of the chain.
            if (gained && m_site.UserMode() && GetKeyState(VK_TAB) < 0) {
                m_input.EnterByTab(GetKeyState(VK_SHIFT) >= 0);
            }
            const auto other = reinterpret_cast<HWND>(wParam);
            if (other == nullptr || !IsChild(m_hwnd, other)) {
                m_site.OnWindowFocus(gained);
            }
            return 0;
        }
        default:
            break;
    }
    return DefWindowProcW(m_hwnd, message, wParam, lParam);
}

void ControlWindow::OnButton(bool down, LPARAM position) {
    if (!m_site.UserMode()) {
        return;
    }
    const Point at = ToTwips(position);
    if (!down) {
        const SurfaceAction action = m_input.Release(at);
        if (GetCapture() == m_hwnd) {
            ReleaseCapture();
        }
        Act(action);
        return;
    }
    // A click elsewhere ends an edit as Enter does; a refused entry keeps the box and the click
    // goes nowhere.
    if (m_editor && !CommitEditor()) {
        return;
    }
    m_site.OnWindowActivated();
    if (GetFocus() != m_hwnd) {
        SetFocus(m_hwnd);
    }
    SetCapture(m_hwnd);
    Act(m_input.Press(at));
}

void ControlWindow::UpdateToolTip(LPARAM position) {
    if (!m_toolTip) {
        return;
    }
    const auto ctl = m_input.ToolTipAt(ToTwips(position));
    if (!ctl) {
        m_toolTip->SetArea(RECT{}, L"");
        return;
    }
    std::wstring text;
    Guarded([&] { text = Widen(ctl->get_ToolTipText()); });
    m_toolTip->SetArea(ClientRect(ctl->SurfaceRect()), text);
}

bool ControlWindow::TranslateKey(const MSG& message) {
    if (m_hwnd == nullptr || message.message != WM_KEYDOWN ||
        (message.hwnd != m_hwnd && !IsChild(m_hwnd, message.hwnd))) {
        return false;
    }
    return OnKey(message.wParam);
}

bool ControlWindow::OnKey(WPARAM key) {
    if (!m_site.UserMode()) {
        return false;
    }
    if (m_editor) {
        // Every other key is the editor box's.
        if (key == VK_RETURN) {
            CommitEditor();
            return true;
        }
        if (key == VK_ESCAPE) {
            CloseEditor();
            return true;
        }
        return false;
    }
    switch (key) {
        case VK_TAB: {
            const bool forward = GetKeyState(VK_SHIFT) >= 0;
            // Past either end the mark goes and the container moves the focus on.
            if (!m_input.Tab(forward)) {
                return false;
            }
            if (GetFocus() != m_hwnd) {
                SetFocus(m_hwnd);
            }
            return true;
        }
        case VK_SPACE:
            if (!m_input.Focused()) {
                return false;
            }
            Act(m_input.Space());
            return true;
        default:
            return false;
    }
}

void ControlWindow::Act(const SurfaceAction& action) {
    switch (action.kind) {
        case SurfaceAction::Kind::None:
        case SurfaceAction::Kind::Ignored:
            // A control out of the user's reach stays silent, as a disabled Windows control does.
            return;
        case SurfaceAction::Kind::NothingToEdit:
            Beep();
            return;
        case SurfaceAction::Kind::Edit:
            OpenEditor(action.control, action.editorRect);
            return;
        case SurfaceAction::Kind::Click:
            Guarded([&] { action.control->UserClick(); });
            return;
    }
}

void ControlWindow::OpenEditor(const std::shared_ptr<Control>& editor, const Rect& box) {
    CloseEditor();
    std::wstring text;
    bool read = false;
    Guarded([&] {
        text = Widen(editor->EditText());
        read = true;
    });
    if (!read) {
        return;
    }
    m_editing = editor;
    const int fontHeight =
        std::max(1, static_cast<int>(std::lround(HostControlFont.points * 20 * m_scaleY)));
    m_editor = std::make_unique<EditorBox>(m_hwnd, ClientRect(box), text, fontHeight);
}

bool ControlWindow::CommitEditor() {
    const auto editor = m_editing.lock();
    if (!m_editor || !editor) {
        CloseEditor();
        return true;
    }
    const std::wstring text = m_editor->Text();
    const auto value = m_editor->Number();
    if (!value) {
        m_editor->Refuse(L"\"" + text + L"\" is not a number; nothing written (Esc cancels).");
        return false;
    }
    if (*value < std::numeric_limits<int32_t>::min() ||
        *value > std::numeric_limits<int32_t>::max()) {
        m_editor->Refuse(text +
                         L" is outside the 32-bit range -2147483648 to 2147483647; nothing "
                         L"written (Esc cancels).");
        return false;
    }
    CloseEditor();
    Guarded([&] { editor->UserEnter(*value); });
    return true;
}

void ControlWindow::CloseEditor() {
    m_editing.reset();
    m_editor.reset();
}

void ControlWindow::DropUnreachableEditor() {
    // An editor whose control went out of the user's reach (e.g. homing began) is dropped.
    if (m_editor) {
        const auto editing = m_editing.lock();
        if (!editing || !editing->IsUsable() || !editing->EditorRect()) {
            CloseEditor();
        }
    }
}

}  // namespace arn::win32
