#pragma once

#include <QPlainTextEdit>
#include <string_view>

#include "core/Event.h"

namespace arn {

// Shows the lines of the system's debug output as they are sent. It listens for as long as it
// exists; the lines arrive on the UI thread, inside whatever library call traced them.
class TracePane : public QPlainTextEdit {
  public:
    explicit TracePane(QWidget* parent = nullptr);

    // A line of the host's own, between the system's lines (for what the host saw happen
    // outside the system's trace, such as a listener that failed).
    void AppendNote(const QString& text);

    // Lines received so far (also those scrolled out of the kept history).
    qint64 LineCount() const { return m_lines; }

  private:
    void Receive(std::string_view text);

    Connection m_listener;
    qint64 m_lines = 0;
};

}  // namespace arn
