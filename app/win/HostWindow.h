#pragma once

#include <windows.h>

#include <oaidl.h>

#include <memory>

#include "app/win/PanelEvents.h"
#include "component/win32/ComUIuserControl.h"
#include "sim/SimNet.h"
#include "sim/SimNode.h"

namespace arn::winhost {

class OleSite;

// The Windows host's main window: the control embedded through OLE over the whole client area,
// the simulated drive attached through the control's UIref, the drive's timer at ten ticks a
// second, and menus for the panel (Enabled, Attached), the drive's side (hardware pins,
// operational mode, homing) and the timer. The panel's requests for the host's windows are
// answered on the panel's own message line. Runs on the thread that made it, which must have
// initialised OLE.
class HostWindow {
  public:
    static constexpr UINT TickMilliseconds = 100;

    HostWindow();
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    // Creates the window at the panel's design size, embeds the control, attaches the drive and
    // enables the panel; runs the timer when runTimer. The failing step's result otherwise.
    HRESULT Open(int show, bool runTimer);
    // The message loop, keyboard messages offered to the control first; the exit code.
    int Run();
    // One timer tick of the drive, then the messages it caused.
    void Tick();
    // Handles waiting messages, at most a bounded number, and returns.
    void Pump();

    HWND Window() const { return m_window; }
    IUnknown* Control() const;
    // The control's own window, nullptr while it is not active in place.
    HWND ControlWindow() const;

  private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM w, LPARAM l);
    LRESULT Handle(UINT message, WPARAM w, LPARAM l);
    HMENU BuildMenu() const;
    void OnCommand(int id);
    void OnPanelEvent(DISPID id);
    HRESULT SetAttached(bool attached);
    void SetEnabled(bool enabled);
    void SetMessage(const wchar_t* text);
    void SetTimerRuns(bool runs);
    void CheckMenus();
    void Close();

    std::shared_ptr<SimNet> m_net;
    std::shared_ptr<SimNode> m_node;
    IDispatch* m_hostNet = nullptr;  // the drive's automation faces, as a host hands them over
    IDispatch* m_hostNode = nullptr;
    HWND m_window = nullptr;
    OleSite* m_site = nullptr;
    IDispatch* m_panel = nullptr;
    win32::UIuserControlInterface* m_framework = nullptr;
    PanelEvents m_events;
    bool m_attached = false;
    bool m_enabled = false;
    bool m_timerRuns = false;
};

}  // namespace arn::winhost
