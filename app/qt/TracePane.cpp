#include "app/qt/TracePane.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/DebugChannel.h"

namespace arn {

namespace {

// Enough history to scroll back over a few minutes of verbose ticks.
constexpr int KeptLines = 5000;

}  // namespace

TracePane::TracePane(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* bar = new QHBoxLayout();
    m_pause = new QCheckBox(QStringLiteral("Pause"));
    m_pause->setToolTip(QStringLiteral("Keep the lines without showing them; shown on resume"));
    connect(m_pause, &QCheckBox::toggled, this, [this](bool on) { SetPaused(on); });
    m_filter = new QLineEdit();
    m_filter->setPlaceholderText(QStringLiteral("Filter: show only lines containing..."));
    // No clear button: its fade animation outlives a test's application object.
    connect(m_filter, &QLineEdit::textChanged, this, [this](const QString& t) { SetFilter(t); });
    m_copy = new QPushButton(QStringLiteral("Copy"));
    m_copy->setToolTip(QStringLiteral("Copy the selection, or every shown line"));
    connect(m_copy, &QPushButton::clicked, this, [this] { Copy(); });
    bar->addWidget(m_pause);
    bar->addWidget(m_filter, 1);
    bar->addWidget(m_copy);
    layout->addLayout(bar);

    m_text = new QPlainTextEdit();
    m_text->setReadOnly(true);
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_text->setMaximumBlockCount(KeptLines);
    m_text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_text->setPlaceholderText(QStringLiteral("Trace lines appear here."));
    layout->addWidget(m_text, 1);
    m_listener = AttachDebugListener([this](std::string_view text) { Receive(text); });
}

void TracePane::Receive(std::string_view text) {
    // Each text is one line ending in CR LF: time, tab, "+" difference, tab, message.
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    ++m_lines;
    const QString all = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    Line line;
    const qsizetype first = all.indexOf(QLatin1Char('\t'));
    const qsizetype second = first < 0 ? -1 : all.indexOf(QLatin1Char('\t'), first + 1);
    if (second < 0) {
        line.message = all;
    } else {
        line.stamps = {all.left(first), all.mid(first + 1, second - first - 1)};
        line.message = all.mid(second + 1);
    }
    if (LineReceived) {
        LineReceived(line.message);
    }
    Keep(std::move(line));
}

void TracePane::AppendNote(const QString& text) {
    ++m_lines;
    Keep(Line{{QStringLiteral("host:"), QString()}, text});
}

void TracePane::Keep(Line line) {
    bool wider = false;
    for (size_t i = 0; i < line.stamps.size(); ++i) {
        if (line.stamps[i].size() > m_widths[i]) {
            m_widths[i] = line.stamps[i].size();
            wider = true;
        }
    }
    m_kept.push_back(std::move(line));
    if (m_kept.size() > KeptLines) {
        m_kept.removeFirst();
    }
    if (m_paused) {
        return;
    }
    // A wider stamp moves every column, so the shown lines are laid out again (rare: the
    // stamps grow by a digit now and then).
    if (wider) {
        Rebuild();
    } else if (Passes(m_kept.back())) {
        m_text->appendPlainText(Render(m_kept.back()));
    }
}

QString TracePane::Render(const Line& line) const {
    return line.stamps[0].rightJustified(m_widths[0]) + QLatin1Char(' ') +
           line.stamps[1].rightJustified(m_widths[1]) + QLatin1Char(' ') + line.message;
}

bool TracePane::Passes(const Line& line) const {
    return m_filterText.isEmpty() || line.message.contains(m_filterText, Qt::CaseInsensitive);
}

void TracePane::Rebuild() {
    QStringList shown;
    for (const Line& line : m_kept) {
        if (Passes(line)) {
            shown << Render(line);
        }
    }
    m_text->setPlainText(shown.join(QLatin1Char('\n')));
    m_text->moveCursor(QTextCursor::End);
}

QString TracePane::toPlainText() const {
    return m_text->toPlainText();
}

void TracePane::clear() {
    m_kept.clear();
    m_widths = {};
    m_text->clear();
}

void TracePane::SetPaused(bool on) {
    if (m_pause->isChecked() != on) {
        m_pause->setChecked(on);  // comes back here through the box's signal
        return;
    }
    if (m_paused == on) {
        return;
    }
    m_paused = on;
    if (!on) {
        Rebuild();
    }
}

void TracePane::SetFilter(const QString& text) {
    if (m_filter->text() != text) {
        m_filter->setText(text);  // comes back here through the box's signal
        return;
    }
    if (m_filterText == text) {
        return;
    }
    m_filterText = text;
    if (!m_paused) {
        Rebuild();
    }
}

void TracePane::Copy() {
    QString selected = m_text->textCursor().selectedText();
    // A selection spanning lines holds paragraph separators instead of line ends.
    QApplication::clipboard()->setText(
        selected.isEmpty() ? toPlainText() : selected.replace(QChar(0x2029), QLatin1Char('\n')));
}

}  // namespace arn
