#pragma once

#include <windows.h>

#include <ole2.h>
#include <wrl/client.h>

#include <memory>

#include "component/win32/ControlClientSite.h"
#include "component/win32/ControlWindow.h"
#include "platform/win32/com/ComOuterUnknown.h"

namespace arn::win32 {

// The in-place side of the embedded panel: IOleInPlaceObject and IOleInPlaceActiveObject (with
// IOleWindow) over the control's window, in the order a form host expects. In-place activation
// asks the client site for IOleInPlaceSite, CanInPlaceActivate, OnInPlaceActivate,
// GetWindow and GetWindowContext, then makes the window as a child of the site's window at the
// rectangle; UI activation adds OnUIActivate and SetActiveObject on the frame and the document
// window. Deactivation undoes them in reverse and destroys the window.
//
// A part of the panel's embedding object, with its identity (outer, borrowed); the client site
// holder belongs to the same object and outlives this part.
class ComInPlaceObject final : public ComOuterUnknown<IOleInPlaceObject, IOleInPlaceActiveObject>,
                               public ControlWindowSite {
  public:
    ComInPlaceObject(IUnknown* outer, std::shared_ptr<ArnAbsPosnCtl> panel,
                     ControlClientSite& site);
    ~ComInPlaceObject();

    // Activates in place (and UI-activates when uiActivate), showing the window; position, when
    // given and not empty, is where the window goes instead of the site's own rectangle.
    // E_UNEXPECTED without a client site, E_NOINTERFACE for a site that cannot host in place,
    // E_FAIL when the site refuses.
    HRESULT Activate(bool uiActivate, const RECT* position);
    // UI-deactivates and hides the window; the object stays in-place active.
    HRESULT Hide();
    // Repaints the window after an ambient change (the user mode decides how it draws).
    void Repaint() const;

    // ControlWindowSite
    bool UserMode() const override { return m_site.UserMode(); }
    void OnWindowActivated() override;
    void OnWindowFocus(bool gained) override;

    // IOleWindow
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* phwnd) override;
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL fEnterMode) override;
    // IOleInPlaceObject
    HRESULT STDMETHODCALLTYPE InPlaceDeactivate() override;
    HRESULT STDMETHODCALLTYPE UIDeactivate() override;
    HRESULT STDMETHODCALLTYPE SetObjectRects(LPCRECT lprcPosRect, LPCRECT lprcClipRect) override;
    HRESULT STDMETHODCALLTYPE ReactivateAndUndo() override;
    // IOleInPlaceActiveObject
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG lpmsg) override;
    HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL fActivate) override;
    HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL fActivate) override;
    HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT prcBorder, IOleInPlaceUIWindow* pUIWindow,
                                           BOOL fFrameWindow) override;
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL fEnable) override;

  private:
    HRESULT InPlaceActivate(const RECT* position);
    HRESULT UIActivate();
    // Tells the frame and the document window which object is UI-active (nullptr: none).
    void SetActiveObject(IOleInPlaceActiveObject* active);

    std::shared_ptr<ArnAbsPosnCtl> m_panel;
    ControlClientSite& m_site;
    // Held from OnInPlaceActivate to OnInPlaceDeactivate: the object is in-place active.
    Microsoft::WRL::ComPtr<IOleInPlaceSite> m_inPlaceSite;
    Microsoft::WRL::ComPtr<IOleInPlaceFrame> m_frame;
    Microsoft::WRL::ComPtr<IOleInPlaceUIWindow> m_document;
    std::unique_ptr<ControlWindow> m_window;
    bool m_uiActive = false;
    // Set while the object ends: the window's last notifications reach no container.
    bool m_ending = false;
};

}  // namespace arn::win32
