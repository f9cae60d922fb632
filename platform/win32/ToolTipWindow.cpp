#include "platform/win32/ToolTipWindow.h"

namespace arn::win32 {

namespace {

// Each tooltip carries one tool, the owner's.
constexpr UINT_PTR ToolId = 1;
// Wide enough for a sentence per line; longer texts wrap.
constexpr LPARAM MaxTipWidthPx = 360;

bool CommonControlsReady() {
    // Once per process; registering the class again is harmless but pointless.
    static const bool ready = [] {
        INITCOMMONCONTROLSEX init{sizeof init, ICC_WIN95_CLASSES};
        return InitCommonControlsEx(&init) != FALSE;
    }();
    return ready;
}

}  // namespace

ToolTipWindow::ToolTipWindow(HWND owner, Kind kind) : m_owner(owner) {
    if (!CommonControlsReady()) {
        return;
    }
    const DWORD style =
        WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP | (kind == Kind::Balloon ? TTS_BALLOON : 0);
    m_tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, style, CW_USEDEFAULT,
                            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
    if (m_tip == nullptr) {
        return;
    }
    SendMessageW(m_tip, TTM_SETMAXTIPWIDTH, 0, MaxTipWidthPx);
    TTTOOLINFOW info = ToolInfo();
    // A hover tip watches the owner's mouse messages itself; a balloon is placed by the owner.
    info.uFlags = kind == Kind::Hover ? TTF_SUBCLASS : TTF_TRACK | TTF_ABSOLUTE;
    info.lpszText = const_cast<wchar_t*>(L"");
    SendMessageW(m_tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

ToolTipWindow::~ToolTipWindow() {
    if (m_tip != nullptr) {
        DestroyWindow(m_tip);
    }
}

TTTOOLINFOW ToolTipWindow::ToolInfo() {
    TTTOOLINFOW info{};
    // The size the common controls of every version take (without the reserved field).
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.hwnd = m_owner;
    info.uId = ToolId;
    return info;
}

void ToolTipWindow::SetArea(const RECT& area, const std::wstring& text) {
    if (m_tip == nullptr) {
        return;
    }
    TTTOOLINFOW info = ToolInfo();
    info.rect = text.empty() ? RECT{} : area;
    SendMessageW(m_tip, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&info));
    if (text != m_text) {
        m_text = text;
        info.lpszText = const_cast<wchar_t*>(m_text.c_str());
        SendMessageW(m_tip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
    }
}

void ToolTipWindow::ShowAt(POINT at, const std::wstring& title, const std::wstring& text) {
    if (m_tip == nullptr) {
        return;
    }
    m_text = text;
    TTTOOLINFOW info = ToolInfo();
    info.lpszText = const_cast<wchar_t*>(m_text.c_str());
    SendMessageW(m_tip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
    SendMessageW(m_tip, TTM_SETTITLEW, TTI_WARNING, reinterpret_cast<LPARAM>(title.c_str()));
    SendMessageW(m_tip, TTM_TRACKPOSITION, 0, MAKELPARAM(at.x, at.y));
    SendMessageW(m_tip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&info));
}

void ToolTipWindow::Hide() {
    if (m_tip == nullptr) {
        return;
    }
    m_text.clear();
    TTTOOLINFOW info = ToolInfo();
    SendMessageW(m_tip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&info));
    SendMessageW(m_tip, TTM_POP, 0, 0);
}

}  // namespace arn::win32
