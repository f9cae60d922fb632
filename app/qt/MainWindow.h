#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "core/Event.h"

class QAction;
class QDockWidget;
class QLabel;
class QScrollArea;
class QTimer;
class QWidget;

namespace arn {

class ArnAbsPosnCtl;
class DrivePanel;
class PanelView;
class SimNet;
class StatusLine;
class SimNode;
class TracePane;

// The host program's window: the position panel attached to one node of a simulated net, the
// drive's side panel, and the trace. A timer raises the net's tick; menus switch the panel's
// Enabled state, release and attach it, switch verbose tracing and open a log file.
//
// Every call into the library from a Qt event is guarded: an error ends up in the status bar,
// never in Qt's event loop.
//
// Layout: the panel takes what the window gives beyond the docks, from 80 % to 150 % of its
// design size; below 80 % the Drive dock gives way first (it scrolls), and only then the panel
// area scrolls.
class MainWindow : public QMainWindow {
  public:
    static constexpr int TickMs = 100;
    // How often a running timer's count is shown: once a second.
    static constexpr int StatusCountTicks = 1000 / TickMs;
    static constexpr int MinimumWidth = 760;
    static constexpr int MinimumHeight = 520;

    // debugFlags is the flag word the net hands to the panel when it attaches.
    explicit MainWindow(int32_t debugFlags = 0, QWidget* parent = nullptr);
    ~MainWindow() override;

    // One period of the host: the net's tick, then the readouts. Guarded.
    void Tick();
    // Stops (or restarts) the periodic ticks. A stopped timer shows a banner on the panel
    // unless scripted says a script drives Tick itself.
    void SetTicking(bool on, bool scripted = false);
    // Sizes the window and its docks so that the panel shows at zoom (1.0: natural size).
    void FitPanel(double zoom);
    // The first window on a screen whose free area is available: the panel at the largest
    // of the usual zooms (1.4 down to 1.0) at which the whole window fits, else the window
    // made as large as the area. A Drive dock taller than the window is scrolled so that the
    // drive's read-out and the jog and teach row are in view.
    void FitScreen(const QSize& available);

    void SetPanelEnabled(bool on);
    void SetAttached(bool on);
    void SetVerbose(bool on);
    // Opens the log; a refused path is reported in a message box. Returns false then.
    bool OpenLog(const QString& path);

    // Shows text in the status bar for StatusLine::LifeTicks host ticks.
    void Report(const QString& text);
    StatusLine* Status() const { return m_status; }
    // The line above the panel for a state the panel itself does not show (released, timer
    // stopped by the user); empty while hidden. It pushes the panel down and wraps.
    QString Banner() const;

    const std::shared_ptr<SimNet>& Net() const { return m_net; }
    const std::shared_ptr<SimNode>& Node() const { return m_node; }
    const std::shared_ptr<ArnAbsPosnCtl>& Panel() const { return m_panel; }
    PanelView* View() const { return m_view; }
    DrivePanel* Drive() const { return m_drive; }
    TracePane* Trace() const { return m_trace; }
    // The Panel menu's Attached switch, which releases and attaches the panel.
    QAction* AttachedAction() const { return m_attachedAction; }
    // How often each host window was asked for, by its title.
    int RequestCount(const QString& title) const;

  private:
    void BuildActions();
    void ConnectPanelEvents();
    // Shows, in the trace pane and the status bar, each error a listener of the net let escape.
    void WatchNet();
    void ShowRequest(const QString& title, const QString& text);
    void Attach();
    void Release();
    // The view, the jog and teach row and the status follow an attach or a release.
    void FollowAttachment();
    void ChooseLogFile();
    // File > Save drive setup... and Open drive setup...: a file dialog, then the dock's
    // SaveSetup or LoadSetup; a failure is also shown in a message box.
    void ChooseDriveSetup(bool save);
    // withCount false keeps the tick count shown last.
    void UpdateStatus(bool withCount = true);
    // Puts the meaning of a refusal or failure line of the trace into the status bar.
    void ExplainTraceLine(const QString& line);

    std::shared_ptr<SimNet> m_net;
    std::shared_ptr<SimNode> m_node;
    std::shared_ptr<ArnAbsPosnCtl> m_panel;
    std::vector<Connection> m_panelEvents;
    Connection m_netFailures;
    // Repaints the panel when the position units change: the editors show them beside the
    // numbers, which themselves stay the same.
    Connection m_unitsChanged;
    int32_t m_debugFlags = 0;
    bool m_scripted = false;
    int64_t m_shownTicks = 0;

    PanelView* m_view = nullptr;
    DrivePanel* m_drive = nullptr;
    TracePane* m_trace = nullptr;
    QDockWidget* m_traceDock = nullptr;
    QScrollArea* m_driveArea = nullptr;
    QTimer* m_timer = nullptr;
    StatusLine* m_status = nullptr;
    QLabel* m_banner = nullptr;
    QLabel* m_tickLabel = nullptr;
    QLabel* m_logLabel = nullptr;
    QAction* m_enabledAction = nullptr;
    QAction* m_attachedAction = nullptr;
    QAction* m_verboseAction = nullptr;
    QAction* m_runAction = nullptr;
    std::map<QString, QPointer<QWidget>> m_requestWindows;
    std::map<QString, int> m_requestCounts;
};

}  // namespace arn
