#include "app/qt/MainWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QDockWidget>
#include <QFileDialog>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QMessageBox>
#include <QScrollArea>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>

#include "app/qt/DrivePanel.h"
#include "app/qt/Guard.h"
#include "app/qt/JogTeachBox.h"
#include "app/qt/PanelView.h"
#include "app/qt/StatusLine.h"
#include "app/qt/TracePane.h"
#include "draw/Geometry.h"
#include "host/NodeParams.h"
#include "host/values/Value.h"
#include "panel/ArnAbsPosnCtl.h"
#include "sim/SimNet.h"
#include "sim/SimNode.h"
#include "support/DebuggingFlags.h"

namespace arn {

namespace {

// The widest the log path may take in the status bar before it is shortened.
constexpr int LogLabelMostWidth = 320;
// The narrowest the Drive dock gets when the window is small: it scrolls sideways below that.
constexpr int DriveDockLeastWidth = 180;
// The trace's height in a fitted window, and the zooms a first window tries, largest first.
constexpr int TraceHeight = 160;
constexpr double FirstZooms[] = {1.4, 1.3, 1.2, 1.1, 1.0};

QString LogText() {
    return LogFileOpen() ? QStringLiteral("log: %1").arg(QString::fromStdString(LogFilePath()))
                         : QStringLiteral("no log file");
}

std::shared_ptr<SimNet> MakeNet(int32_t debugFlags) {
    SimNetOptions options;
    options.debugFlags = debugFlags;
    return SimNet::Create(options);
}

}  // namespace

MainWindow::MainWindow(int32_t debugFlags, QWidget* parent)
    : QMainWindow(parent), m_debugFlags(debugFlags) {
    setWindowTitle(QStringLiteral("Absolute Position Panel - simulated drive"));
    m_net = MakeNet(debugFlags);
    m_node = m_net->CreateNode();
    m_panel = ArnAbsPosnCtl::Create();
    m_panel->put_DisplayName("ArnAbsPosnCtl1");

    const ErrorSink report = [this](const QString& text) { Report(text); };
    // The trace listens before anything is attached, so the first lines show too.
    m_trace = new TracePane();
    WatchNet();
    m_trace->LineReceived = [this](const QString& line) { ExplainTraceLine(line); };
    m_view = new PanelView(m_panel, report);
    if (m_node->ParamExists(param::UnitsText)) {
        m_unitsChanged =
            m_node->Param(param::UnitsText)
                ->ValueChanged.connect([this](const std::shared_ptr<Value>&) { m_view->update(); });
    }
    // Below its smallest zoom the panel keeps its size and the area scrolls; the area asks for
    // that size, so the docks give way before it does.
    auto* viewArea = new QScrollArea();
    viewArea->setObjectName(QStringLiteral("panelArea"));
    viewArea->setWidgetResizable(true);
    viewArea->setFrameShape(QFrame::NoFrame);
    viewArea->setWidget(m_view);
    viewArea->setMinimumSize(m_view->minimumSizeHint());
    // The banner sits above the panel and pushes it down, wrapping rather than being cut.
    m_banner = new QLabel();
    m_banner->setObjectName(QStringLiteral("banner"));
    m_banner->setWordWrap(true);
    m_banner->setStyleSheet(QStringLiteral(
        "QLabel { background: #ffeca0; color: black; font-weight: bold; padding: 4px 8px; "
        "border-bottom: 1px solid #784600; }"));
    m_banner->hide();
    auto* central = new QWidget();
    auto* centralLayout = new QVBoxLayout(central);
    centralLayout->setContentsMargins(0, 0, 0, 0);
    centralLayout->setSpacing(0);
    centralLayout->addWidget(m_banner);
    centralLayout->addWidget(viewArea, 1);
    setCentralWidget(central);
    m_drive = new DrivePanel(
        m_node, [this] { return m_panel->InputsObject(); }, report);
    m_drive->Reported = [this](const QString& sentence) {
        m_trace->AppendNote(sentence);
        Report(sentence);
    };

    // The drive's controls run the full height; the trace sits under the panel only.
    setCorner(Qt::BottomRightCorner, Qt::RightDockWidgetArea);
    auto* driveDock = new QDockWidget(QStringLiteral("Drive"), this);
    driveDock->setObjectName(QStringLiteral("driveDock"));
    m_driveArea = new QScrollArea();
    m_driveArea->setWidgetResizable(true);
    m_driveArea->setFrameShape(QFrame::NoFrame);
    m_driveArea->setWidget(m_drive);
    m_driveArea->setMinimumWidth(DriveDockLeastWidth);
    driveDock->setWidget(m_driveArea);
    // Closable, so that the View menu's entries can hide and show the docks.
    driveDock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable |
                           QDockWidget::DockWidgetClosable);
    addDockWidget(Qt::RightDockWidgetArea, driveDock);
    m_traceDock = new QDockWidget(QStringLiteral("Trace"), this);
    m_traceDock->setObjectName(QStringLiteral("traceDock"));
    m_traceDock->setWidget(m_trace);
    m_traceDock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable |
                             QDockWidget::DockWidgetClosable);
    addDockWidget(Qt::BottomDockWidgetArea, m_traceDock);

    // The count changes on every tick: a label of fixed size that fills its own background
    // repaints alone, where a label that follows its text would lay the status bar out again
    // and have it and the window paint beneath, each time.
    m_status = new StatusLine();
    setStatusBar(m_status);
    m_tickLabel = new QLabel(QStringLiteral("released | tick 0000000000"));
    m_tickLabel->setFixedSize(m_tickLabel->sizeHint());
    m_tickLabel->setAutoFillBackground(true);
    m_logLabel = new QLabel();
    m_logLabel->setObjectName(QStringLiteral("logLabel"));
    m_status->AddLabel(m_logLabel, LogLabelMostWidth);
    StatusLine::SetLabelText(m_logLabel, LogText());
    m_status->addPermanentWidget(m_tickLabel);

    BuildActions();
    ConnectPanelEvents();
    m_drive->ModeChanged = [this](int32_t mode) {
        // The panel sizes its position table when it binds, so a new mode needs a new binding.
        if (m_panel->IsAttached()) {
            Release();
            Attach();
            Report(QStringLiteral("Operational mode %1: the panel was attached again to bind "
                                  "the new layout")
                       .arg(mode));
        }
    };

    Attach();
    SetPanelEnabled(true);

    // Room for a readable panel at its smallest zoom beside a narrow Drive dock.
    setMinimumSize(MinimumWidth, MinimumHeight);

    m_timer = new QTimer(this);
    m_timer->setInterval(TickMs);
    connect(m_timer, &QTimer::timeout, this, [this] { Tick(); });
    m_timer->start();
    UpdateStatus();
}

MainWindow::~MainWindow() {
    m_timer->stop();
    Guarded(ErrorSink(), QString(), [&] { m_panel->get_UIref()->ReleaseControl(); });
    m_panelEvents.clear();
}

void MainWindow::BuildActions() {
    auto* fileMenu = menuBar()->addMenu(QStringLiteral("&File"));
    auto* openLog = fileMenu->addAction(QStringLiteral("Open &log file..."));
    connect(openLog, &QAction::triggered, this, [this] { ChooseLogFile(); });
    auto* closeLog = fileMenu->addAction(QStringLiteral("&Close log file"));
    connect(closeLog, &QAction::triggered, this, [this] {
        Guarded([this](const QString& t) { Report(t); }, QStringLiteral("Close log"),
                [] { CloseLogFile(); });
        StatusLine::SetLabelText(m_logLabel, LogText());
    });
    fileMenu->addSeparator();
    auto* saveSetup = fileMenu->addAction(QStringLiteral("&Save drive setup..."));
    connect(saveSetup, &QAction::triggered, this, [this] { ChooseDriveSetup(true); });
    auto* openSetup = fileMenu->addAction(QStringLiteral("Open &drive setup..."));
    connect(openSetup, &QAction::triggered, this, [this] { ChooseDriveSetup(false); });
    fileMenu->addSeparator();
    auto* quit = fileMenu->addAction(QStringLiteral("&Quit"));
    quit->setShortcut(QKeySequence::Quit);
    connect(quit, &QAction::triggered, this, &QWidget::close);

    auto* panelMenu = menuBar()->addMenu(QStringLiteral("&Panel"));
    m_enabledAction = panelMenu->addAction(QStringLiteral("&Enabled"));
    m_enabledAction->setCheckable(true);
    m_enabledAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    m_enabledAction->setToolTip(QStringLiteral("The panel's Enabled property"));
    connect(m_enabledAction, &QAction::triggered, this, [this](bool on) { SetPanelEnabled(on); });
    m_attachedAction = panelMenu->addAction(QStringLiteral("&Attached"));
    m_attachedAction->setCheckable(true);
    m_attachedAction->setToolTip(QStringLiteral("Attach the panel to the node, or release it"));
    connect(m_attachedAction, &QAction::triggered, this, [this](bool on) { SetAttached(on); });
    panelMenu->addSeparator();
    auto* run = panelMenu->addAction(QStringLiteral("&Run timer"));
    run->setCheckable(true);
    run->setChecked(true);
    connect(run, &QAction::triggered, this, [this](bool on) { SetTicking(on); });
    m_runAction = run;
    auto* step = panelMenu->addAction(QStringLiteral("&Single tick"));
    step->setShortcut(QKeySequence(Qt::Key_F10));
    connect(step, &QAction::triggered, this, [this] { Tick(); });

    auto* traceMenu = menuBar()->addMenu(QStringLiteral("&Trace"));
    m_verboseAction = traceMenu->addAction(QStringLiteral("&Verbose"));
    m_verboseAction->setCheckable(true);
    m_verboseAction->setChecked((m_debugFlags & TraceLevelVerbose) != 0);
    m_verboseAction->setToolTip(QStringLiteral("Hand the verbose flag to the panel"));
    connect(m_verboseAction, &QAction::triggered, this, [this](bool on) { SetVerbose(on); });
    auto* clear = traceMenu->addAction(QStringLiteral("&Clear"));
    connect(clear, &QAction::triggered, this, [this] { m_trace->clear(); });
    auto* pause = traceMenu->addAction(QStringLiteral("&Pause"));
    pause->setCheckable(true);
    connect(pause, &QAction::triggered, this, [this](bool on) { m_trace->SetPaused(on); });
    connect(m_trace->PauseBox(), &QCheckBox::toggled, pause, &QAction::setChecked);
    auto* copy = traceMenu->addAction(QStringLiteral("C&opy"));
    connect(copy, &QAction::triggered, this, [this] { m_trace->Copy(); });

    auto* viewMenu = menuBar()->addMenu(QStringLiteral("&View"));
    for (auto* dock : findChildren<QDockWidget*>()) {
        QAction* toggle = dock->toggleViewAction();
        toggle->setObjectName(dock->objectName() + QStringLiteral("Toggle"));
        viewMenu->addAction(toggle);
    }

    auto* toolbar = addToolBar(QStringLiteral("Host"));
    toolbar->setObjectName(QStringLiteral("hostToolbar"));
    toolbar->setMovable(false);
    toolbar->addAction(m_enabledAction);
    toolbar->addAction(m_attachedAction);
    toolbar->addSeparator();
    toolbar->addAction(m_verboseAction);
    toolbar->addAction(openLog);
    toolbar->addSeparator();
    toolbar->addAction(run);
    toolbar->addAction(step);
}

void MainWindow::ConnectPanelEvents() {
    const auto request = [this](QString title, QString text) {
        return [this, title, text] { ShowRequest(title, text); };
    };
    m_panelEvents.push_back(m_panel->ShowHoming.connect(
        request(QStringLiteral("Homing Setup"), QStringLiteral("homing setup"))));
    m_panelEvents.push_back(m_panel->ShowTrqLim.connect(
        request(QStringLiteral("Torque Limit Setup"), QStringLiteral("torque-limit setup"))));
    m_panelEvents.push_back(m_panel->ShowJerkLim.connect(
        request(QStringLiteral("Jerk Limit Setup"), QStringLiteral("jerk-limit setup"))));
    m_panelEvents.push_back(m_panel->Show16Posns.connect(
        request(QStringLiteral("16 Positions"), QStringLiteral("sixteen-position setup"))));
    m_panelEvents.push_back(m_panel->ShowTeachingDlg.connect(
        request(QStringLiteral("Teaching Setup"), QStringLiteral("teaching"))));
}

void MainWindow::ShowRequest(const QString& title, const QString& what) {
    ++m_requestCounts[title];
    Report(QStringLiteral("The panel asks for the %1 window").arg(what));
    // Raised from inside the panel's event dispatch: the window is shown without a modal
    // loop, so no tick can run inside the panel's handler.
    QPointer<QWidget>& window = m_requestWindows[title];
    if (window) {
        window->raise();
        window->activateWindow();
        return;
    }
    auto* box = new QMessageBox(QMessageBox::Information, title,
                                QStringLiteral("The panel asked the host for its %1 window.\n\n"
                                               "This host has no %1 window; a setup program "
                                               "would open it here.")
                                    .arg(what),
                                QMessageBox::Close, this);
    box->setModal(false);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->show();
    window = box;
}

int MainWindow::RequestCount(const QString& title) const {
    const auto it = m_requestCounts.find(title);
    return it == m_requestCounts.end() ? 0 : it->second;
}

void MainWindow::Report(const QString& text) {
    m_status->Say(text, m_net->Ticks());
}

QString MainWindow::Banner() const {
    return m_banner->isHidden() ? QString() : m_banner->text();
}

void MainWindow::WatchNet() {
    m_netFailures = m_net->ListenerFailed.connect([this](std::string_view where,
                                                         const ArnError& e) {
        const QString text =
            QStringLiteral("%1 listener failed: error %2 (%3): %4")
                .arg(QString::fromUtf8(where.data(), static_cast<qsizetype>(where.size())))
                .arg(e.number())
                .arg(QString::fromStdString(e.source()), QString::fromStdString(e.description()));
        m_trace->AppendNote(text);
        Report(text);
    });
}

void MainWindow::Tick() {
    Guarded([this](const QString& t) { Report(t); }, QStringLiteral("Timer tick"),
            [&] { m_net->Tick(); });
    m_status->Age(m_net->Ticks());
    m_drive->Refresh();
    // While the timer runs, the tick count moves on in the status bar once a second: repainting
    // it on every tick would cost more than the idle panel does.
    UpdateStatus(!m_timer->isActive() || m_net->Ticks() % StatusCountTicks == 0);
}

void MainWindow::SetTicking(bool on, bool scripted) {
    m_scripted = !on && scripted;
    // A script that stops the timer shows it stopped.
    if (m_runAction) {
        m_runAction->setChecked(on);
    }
    if (on) {
        m_timer->start();
    } else {
        m_timer->stop();
    }
    UpdateStatus();
}

void MainWindow::FitPanel(double zoom) {
    resizeDocks({m_traceDock}, {TraceHeight}, Qt::Vertical);
    layout()->activate();
    const QSize want(
        static_cast<int>(PanelControls::DesignWidth / double{TwipsPerPixelAt96Dpi} * zoom),
        static_cast<int>(PanelControls::DesignHeight / double{TwipsPerPixelAt96Dpi} * zoom));
    // The docks keep their size, so the window grows or shrinks by what the panel lacks.
    resize(size() + (want - m_view->size()));
    layout()->activate();
}

void MainWindow::FitScreen(const QSize& available) {
    // What the window manager adds around the window (nothing off-screen).
    const QSize frame = isVisible() ? frameGeometry().size() - size() : QSize();
    const QSize room = available - frame;
    bool fits = false;
    for (const double zoom : FirstZooms) {
        FitPanel(zoom);
        if (width() <= room.width() && height() <= room.height()) {
            fits = true;
            break;
        }
    }
    if (!fits) {
        resize(room.boundedTo(size()));
        layout()->activate();
    }
    // The read-out sits below the jog and teach row: shown last, so that both are in view
    // when they fit together.
    m_drive->layout()->activate();
    m_driveArea->ensureWidgetVisible(m_drive->JogTeach(), 0, 0);
    m_driveArea->ensureWidgetVisible(m_drive->Readout(QStringLiteral("Measured position")), 0, 0);
}

void MainWindow::Attach() {
    // A message about the old attachment no longer holds.
    m_status->clearMessage();
    Guarded([this](const QString& t) { Report(t); }, QStringLiteral("Attach"),
            [&] { m_panel->get_UIref()->AttachControl(m_net, m_node, nullptr, "", ""); });
    FollowAttachment();
}

void MainWindow::Release() {
    Guarded([this](const QString& t) { Report(t); }, QStringLiteral("Release"),
            [&] { m_panel->get_UIref()->ReleaseControl(); });
    FollowAttachment();
}

void MainWindow::FollowAttachment() {
    m_view->AttachmentChanged();
    // Jog and teach go through the panel's inputs object, which a release leaves unbound.
    m_drive->JogTeach()->setEnabled(m_panel->IsAttached());
    UpdateStatus();
}

void MainWindow::SetAttached(bool on) {
    if (on) {
        Attach();
    } else {
        Release();
    }
}

void MainWindow::SetPanelEnabled(bool on) {
    Guarded([this](const QString& t) { Report(t); }, QStringLiteral("Enabled"),
            [&] { m_panel->put_Enabled(on); });
    UpdateStatus();
}

void MainWindow::SetVerbose(bool on) {
    // The word goes to the trace at once and to the net for the next attachment; the panel
    // stays attached and the tick count goes on.
    m_debugFlags = on ? TraceLevelVerbose : 0;
    Guarded([this](const QString& t) { Report(t); }, QStringLiteral("Verbose trace"),
            [&] {
                m_net->SetDebugFlags(m_debugFlags);
                SetDebugFlags(m_debugFlags);
            });
    if (m_verboseAction) {
        m_verboseAction->setChecked(on);
    }
    Report(on ? QStringLiteral("Verbose trace on") : QStringLiteral("Verbose trace off"));
}

bool MainWindow::OpenLog(const QString& path) {
    try {
        OpenLogFile(path.toStdString());
    } catch (const std::exception& e) {
        QMessageBox::warning(this, QStringLiteral("Log file"),
                             QString::fromStdString(ErrDescription(e)));
        return false;
    }
    StatusLine::SetLabelText(m_logLabel, QStringLiteral("log: %1").arg(path));
    Report(QStringLiteral("Tracing to %1").arg(path));
    return true;
}

void MainWindow::ChooseLogFile() {
    const QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("Open log file"), QStringLiteral("arn_trace.log"),
        QStringLiteral("Log files (*.log);;All files (*)"), nullptr,
        QFileDialog::DontConfirmOverwrite);
    if (!path.isEmpty()) {
        OpenLog(path);
    }
}

void MainWindow::ChooseDriveSetup(bool save) {
    const QString filter = QStringLiteral("Registry text (*.reg);;All files (*)");
    const QString path =
        save ? QFileDialog::getSaveFileName(this, QStringLiteral("Save drive setup"),
                                            QStringLiteral("drive-setup.reg"), filter)
             : QFileDialog::getOpenFileName(this, QStringLiteral("Open drive setup"), QString(),
                                            filter);
    if (path.isEmpty()) {
        return;
    }
    const bool done = save ? m_drive->SaveSetup(path) : m_drive->LoadSetup(path);
    if (!done) {
        QMessageBox::warning(this, QStringLiteral("Drive setup"), statusBar()->currentMessage());
    }
}

void MainWindow::UpdateStatus(bool withCount) {
    if (!m_tickLabel) {
        return;
    }
    if (withCount) {
        m_shownTicks = m_net->Ticks();
    }
    m_tickLabel->setText(
        QStringLiteral("%1 | tick %2")
            .arg(m_panel->IsAttached() ? QStringLiteral("attached") : QStringLiteral("released"))
            .arg(m_shownTicks));
    if (m_enabledAction) {
        m_enabledAction->setChecked(m_panel->get_Enabled());
        m_attachedAction->setChecked(m_panel->IsAttached());
    }
    QString banner;
    if (!m_panel->IsAttached()) {
        banner = QStringLiteral(
            "Released: the panel is attached to no node and follows nothing "
            "(Panel > Attached attaches it)");
    } else if (m_timer && !m_timer->isActive() && !m_scripted) {
        banner = QStringLiteral(
            "Timer stopped: the panel follows the drive only on Panel > "
            "Single tick (F10) or Panel > Run timer");
    }
    if (banner != m_banner->text() || banner.isEmpty() != m_banner->isHidden()) {
        m_banner->setText(banner);
        m_banner->setVisible(!banner.isEmpty());
    }
}

void MainWindow::ExplainTraceLine(const QString& line) {
    // The meanings of the trace lines that tell of a refusal or a failure, for the status bar.
    if (line.contains(QStringLiteral("can't get into SW control when HW is enabled"))) {
        Report(QStringLiteral("Override refused: the drive's hardware Enable pin is on, and the "
                              "inputs go to software only while it is off (trace: %1)")
                   .arg(line));
    } else if (line.contains(QStringLiteral(" err="))) {
        Report(QStringLiteral("The panel caught an error and went on (trace: %1)").arg(line));
    } else if (line.contains(QStringLiteral("Item Missing: "))) {
        Report(QStringLiteral("An LED has no field on this node and stays dark (trace: %1)")
                   .arg(line));
    }
}

}  // namespace arn
