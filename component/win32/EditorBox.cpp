#include "component/win32/EditorBox.h"

#include <charconv>
#include <cmath>
#include <vector>

#include "platform/Beep.h"
#include "platform/win32/com/ComText.h"

namespace arn::win32 {

namespace {

constexpr wchar_t FaceName[] = L"Tahoma";
constexpr wchar_t RefusedTitle[] = L"Entry not written";

std::optional<double> ParseNumber(const std::wstring& typed) {
    std::string text = Narrow(typed.c_str(), typed.size());
    const auto first = text.find_first_not_of(" \t");
    const auto last = text.find_last_not_of(" \t");
    text = first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
    if (!text.empty() && text.front() == '+') {
        text.erase(0, 1);
    }
    const auto parse = [](const std::string& t) -> std::optional<double> {
        double value = 0;
        const auto [end, error] = std::from_chars(t.data(), t.data() + t.size(), value);
        if (t.empty() || error != std::errc() || end != t.data() + t.size() ||
            !std::isfinite(value)) {
            return std::nullopt;
        }
        return value;
    };
    if (const auto value = parse(text)) {
        return value;
    }
    wchar_t decimal[8] = L".";
    wchar_t thousands[8] = L",";
    GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, decimal, 8);
    GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_STHOUSAND, thousands, 8);
    const std::string dec = Narrow(decimal);
    const std::string sep = Narrow(thousands);
    std::string local;
    for (size_t i = 0; i < text.size();) {
        if (!sep.empty() && text.compare(i, sep.size(), sep) == 0) {
            i += sep.size();
        } else if (!dec.empty() && text.compare(i, dec.size(), dec) == 0) {
            local += '.';
            i += dec.size();
        } else {
            local += text[i++];
        }
    }
    return parse(local);
}

}  // namespace

EditorBox::EditorBox(HWND parent, const RECT& box, const std::wstring& text, int fontHeightPx)
    : m_parent(parent), m_message(parent, ToolTipWindow::Kind::Balloon) {
    m_font = CreateFontW(-fontHeightPx, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                         OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                         VARIABLE_PITCH | FF_SWISS, FaceName);
    m_edit = CreateWindowExW(0, L"EDIT", text.c_str(),
                             WS_CHILD | WS_VISIBLE | WS_BORDER | ES_RIGHT | ES_AUTOHSCROLL,
                             box.left, box.top, box.right - box.left, box.bottom - box.top, parent,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
    if (m_edit == nullptr) {
        return;
    }
    if (m_font != nullptr) {
        SendMessageW(m_edit, WM_SETFONT, reinterpret_cast<WPARAM>(m_font), FALSE);
    }
    SetWindowLongPtrW(m_edit, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    m_editProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(m_edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&EditProc)));
    SendMessageW(m_edit, EM_SETSEL, 0, -1);
    SetFocus(m_edit);
}

EditorBox::~EditorBox() {
    m_message.Hide();
    if (m_edit != nullptr) {
        // The box may be going away from inside its own key handling: unhook first, so no
        // message reaches this object once it is gone.
        SetWindowLongPtrW(m_edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_editProc));
        SetWindowLongPtrW(m_edit, GWLP_USERDATA, 0);
        // The focus goes back to the parent while the box is still its child, so the move
        // stays inside the control.
        if (GetFocus() == m_edit && IsWindow(m_parent)) {
            SetFocus(m_parent);
        }
        DestroyWindow(m_edit);
    }
    if (m_font != nullptr) {
        DeleteObject(m_font);
    }
}

std::wstring EditorBox::Text() const {
    if (m_edit == nullptr) {
        return {};
    }
    std::vector<wchar_t> buffer(static_cast<size_t>(GetWindowTextLengthW(m_edit)) + 1);
    const int length = GetWindowTextW(m_edit, buffer.data(), static_cast<int>(buffer.size()));
    return {buffer.data(), static_cast<size_t>(length > 0 ? length : 0)};
}

std::optional<double> EditorBox::Number() const {
    return ParseNumber(Text());
}

void EditorBox::Move(const RECT& box) {
    if (m_edit != nullptr) {
        MoveWindow(m_edit, box.left, box.top, box.right - box.left, box.bottom - box.top, TRUE);
    }
}

void EditorBox::Refuse(const std::wstring& why) {
    Beep();
    if (m_edit == nullptr) {
        return;
    }
    SendMessageW(m_edit, EM_SETSEL, 0, -1);
    SetFocus(m_edit);
    RECT box{};
    GetWindowRect(m_edit, &box);
    m_message.ShowAt(POINT{(box.left + box.right) / 2, box.bottom}, RefusedTitle, why);
}

LRESULT CALLBACK EditorBox::EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<EditorBox*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self == nullptr) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    switch (message) {
        case WM_GETDLGCODE:
            // In a dialog, Enter and Esc are the box's, not the dialog's default buttons.
            return CallWindowProcW(self->m_editProc, hwnd, message, wParam, lParam) |
                   DLGC_WANTALLKEYS;
        case WM_KEYDOWN:
            if (wParam == VK_RETURN || wParam == VK_ESCAPE) {
                // The parent may destroy this box meanwhile: nothing here is touched after.
                SendMessageW(self->m_parent, WM_KEYDOWN, wParam, lParam);
                return 0;
            }
            self->m_message.Hide();
            break;
        case WM_CHAR:
            // Their characters would only beep: the key-down did the work.
            if (wParam == L'\r' || wParam == 0x1B) {
                return 0;
            }
            break;
        default:
            break;
    }
    return CallWindowProcW(self->m_editProc, hwnd, message, wParam, lParam);
}

}  // namespace arn::win32
