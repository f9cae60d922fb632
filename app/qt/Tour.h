#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

#include "core/Event.h"

namespace arn {

class MainWindow;
class ScriptedUser;

// One step of the tour: its name, the picture taken after it, and what it did and what the
// panel showed then.
struct TourStep {
    QString name;
    QString picture;  // file name inside the tour's folder
    QString summary;
    // Everything the step looked for was on the panel; otherwise the summary says what was not.
    bool asExpected = true;
};

// A scripted walk through the panel on the host window and a simulated drive, for machines
// without a display: the window is drawn off-screen, the script works the panel's controls
// and the drive's side panel as a user would and ticks the host's timer between the actions.
// After each step it saves a picture of the window as "NN-name.png" in the folder; the whole
// trace goes to "tour.log" there, with a line per step.
//
// Needs a QApplication (any platform; the host program chooses the off-screen one). Runs on
// the UI thread and owns the process's trace log while it runs.
class Tour {
  public:
    // The size of the window, and so of every picture, in pixels.
    static constexpr int WindowWidth = 1280;
    static constexpr int WindowHeight = 800;
    static constexpr const char* LogName = "tour.log";

    explicit Tour(QString folder);
    ~Tour();
    Tour(const Tour&) = delete;
    Tour& operator=(const Tour&) = delete;

    // Creates the folder, removes the pictures and log of an earlier tour there, and runs every
    // step. False when the folder, a picture or the log could not be written, or a step did not
    // end as expected; Problems() then says why.
    bool Run();

    const QString& Folder() const { return m_folder; }
    QString LogPath() const;
    const std::vector<TourStep>& Steps() const { return m_steps; }
    const QStringList& Problems() const { return m_problems; }

  private:
    // The steps, in the order they run; each leaves the window as its picture shows it.
    void AttachAndBind();
    void OverrideInputs();
    void SelectPositionA();
    void SelectPositionB();
    void CautionOnEnable();
    void Enable();
    void TeachingBeforeHoming();
    void HomingSetHomePosn();
    void ClickSetHomePosn();
    void JogAndTeach();
    void HomingClickToStopMode18();
    void PositionWarning();
    void HandBackToHardware();
    void RefusedHandOver();
    void Release();

    // Checks one thing the step expects to see, noting it when it is not there.
    void Expect(bool seen, const QString& what);
    // Ends the step: takes the picture, records and logs the summary.
    void Finish(const QString& name, const QString& summary);
    // The first trace line of the current step that contains text, from the class name on
    // (empty when there is none).
    QString TraceLine(const QString& text) const;

    QString m_folder;
    std::unique_ptr<MainWindow> m_window;
    std::unique_ptr<ScriptedUser> m_user;
    std::vector<TourStep> m_steps;
    QStringList m_missing;  // what the current step did not find
    QStringList m_problems;
    QStringList m_trace;  // the current step's trace lines
    Connection m_listener;
};

}  // namespace arn
