#include "app/qt/TracePane.h"

#include <QFontDatabase>
#include <QFontMetricsF>

#include "platform/DebugChannel.h"

namespace arn {

namespace {

// Enough history to scroll back over a few minutes of verbose ticks.
constexpr int KeptLines = 5000;

}  // namespace

TracePane::TracePane(QWidget* parent) : QPlainTextEdit(parent) {
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setMaximumBlockCount(KeptLines);
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    setFont(font);
    // The stamps are separated by tabs; a stop wide enough for "12,345.6" keeps columns.
    setTabStopDistance(QFontMetricsF(font).horizontalAdvance(QStringLiteral("000,000.0 ")));
    setPlaceholderText(QStringLiteral("Trace lines appear here."));
    m_listener = AttachDebugListener([this](std::string_view text) { Receive(text); });
}

void TracePane::Receive(std::string_view text) {
    // Each text is one line ending in CR LF.
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    ++m_lines;
    appendPlainText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

}  // namespace arn

namespace arn {

void TracePane::AppendNote(const QString& text) {
    ++m_lines;
    appendPlainText(QStringLiteral("host:\t") + text);
}

}  // namespace arn
