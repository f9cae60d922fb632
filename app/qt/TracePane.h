#pragma once

#include <QStringList>
#include <QWidget>
#include <array>
#include <functional>
#include <string_view>

#include "core/Event.h"

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace arn {

// Shows the lines of the system's debug output as they are sent. It listens for as long as it
// exists; the lines arrive on the UI thread, inside whatever library call traced them.
//
// The two stamps in front of each line (time and difference) are right-aligned in columns as
// wide as the widest stamp kept, so the messages line up whatever the numbers' width. The pane
// can be paused (lines are kept and shown on resume), filtered by a text (case-insensitive) and
// copied: the selection, or every shown line.
class TracePane : public QWidget {
  public:
    explicit TracePane(QWidget* parent = nullptr);

    // A line of the host's own, between the system's lines (for what the host saw happen
    // outside the system's trace, such as a listener that failed).
    void AppendNote(const QString& text);

    // Lines received so far (also those scrolled out of the kept history).
    qint64 LineCount() const { return m_lines; }
    // The shown text: the kept lines that pass the filter, as far as they are shown.
    QString toPlainText() const;
    void clear();

    void SetPaused(bool on);
    bool Paused() const { return m_paused; }
    void SetFilter(const QString& text);
    // Copies the selection, or every shown line when nothing is selected, to the clipboard.
    void Copy();

    // Called with each line of the system's trace as it arrives (paused or not).
    std::function<void(const QString&)> LineReceived;

    QCheckBox* PauseBox() const { return m_pause; }
    QLineEdit* FilterBox() const { return m_filter; }
    QPushButton* CopyButton() const { return m_copy; }

  private:
    struct Line {
        std::array<QString, 2> stamps;  // empty for a host note
        QString message;
    };
    void Receive(std::string_view text);
    void Keep(Line line);
    QString Render(const Line& line) const;
    bool Passes(const Line& line) const;
    void Rebuild();

    Connection m_listener;
    qint64 m_lines = 0;
    QList<Line> m_kept;
    std::array<qsizetype, 2> m_widths{};
    bool m_paused = false;
    QString m_filterText;
    QPlainTextEdit* m_text = nullptr;
    QCheckBox* m_pause = nullptr;
    QLineEdit* m_filter = nullptr;
    QPushButton* m_copy = nullptr;
};

}  // namespace arn
