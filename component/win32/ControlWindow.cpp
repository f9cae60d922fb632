#include "component/win32/ControlWindow.h"

#include "panel/ArnAbsPosnCtl.h"

namespace arn::win32 {

class ControlWindowImpl {
  public:
    ControlWindowImpl(std::shared_ptr<ArnAbsPosnCtl> panel, ControlWindowSite& site)
        : m_panel(std::move(panel)), m_site(site) {}
    std::shared_ptr<ArnAbsPosnCtl> m_panel;
    ControlWindowSite& m_site;
    HWND m_hwnd = nullptr;
};

ControlWindow::ControlWindow(std::shared_ptr<ArnAbsPosnCtl> panel, ControlWindowSite& site)
    : m_impl(std::make_unique<ControlWindowImpl>(std::move(panel), site)) {}

ControlWindow::~ControlWindow() {
    if (m_impl->m_hwnd != nullptr) {
        DestroyWindow(m_impl->m_hwnd);
    }
}

HRESULT ControlWindow::Create(HWND parent, const RECT& positionPixels) {
    (void)parent;
    (void)positionPixels;
    return E_NOTIMPL;
}

HWND ControlWindow::Handle() const {
    return m_impl->m_hwnd;
}

void ControlWindow::SetRects(const RECT& positionPixels, const RECT& clipPixels) {
    (void)positionPixels;
    (void)clipPixels;
}

void ControlWindow::Show() {}

void ControlWindow::Hide() {}

bool ControlWindow::TranslateKey(const MSG& message) {
    (void)message;
    return false;
}

HRESULT ControlWindow::DrawPanel(ArnAbsPosnCtl& panel, HDC dc, const RECT& boundsPixels) {
    (void)panel;
    (void)boundsPixels;
    return dc == nullptr ? E_POINTER : E_NOTIMPL;
}

}  // namespace arn::win32
