#include "app/qt/StatusLine.h"

#include <QLabel>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <algorithm>

namespace arn {

namespace {

// Room between the message and the labels, as Qt's own status bar leaves it.
constexpr int MessageMargin = 6;

}  // namespace

StatusLine::StatusLine(QWidget* parent) : QStatusBar(parent) {
    connect(this, &QStatusBar::messageChanged, this,
            [this](const QString& text) { setToolTip(text); });
}

void StatusLine::Say(const QString& text, int64_t now) {
    m_expires = now + LifeTicks;
    showMessage(text);
}

void StatusLine::Age(int64_t now) {
    if (!currentMessage().isEmpty() && now >= m_expires) {
        clearMessage();
    }
}

void StatusLine::AddLabel(QLabel* label, int mostWidth) {
    label->setMaximumWidth(mostWidth);
    addPermanentWidget(label);
    m_labels.push_back(label);
}

void StatusLine::SetLabelText(QLabel* label, const QString& text) {
    label->setToolTip(text);
    const int room = label->maximumWidth() - 2 * label->margin();
    label->setText(label->fontMetrics().elidedText(text, Qt::ElideMiddle, room));
}

QRect StatusLine::MessageRect() const {
    int right = width() - 2 * MessageMargin;
    for (const QLabel* label : m_labels) {
        if (label->isVisible()) {
            right = std::min(right, label->x() - MessageMargin);
        }
    }
    return {MessageMargin, 0, std::max(0, right - MessageMargin), height()};
}

QString StatusLine::ShownText() const {
    return fontMetrics().elidedText(currentMessage(), Qt::ElideRight, MessageRect().width());
}

void StatusLine::paintEvent(QPaintEvent* event) {
    if (currentMessage().isEmpty()) {
        QStatusBar::paintEvent(event);
        return;
    }
    QPainter painter(this);
    QStyleOption option;
    option.initFrom(this);
    style()->drawPrimitive(QStyle::PE_PanelStatusBar, &option, &painter, this);
    painter.setPen(palette().windowText().color());
    painter.drawText(MessageRect(), Qt::AlignLeading | Qt::AlignVCenter | Qt::TextSingleLine,
                     ShownText());
}

}  // namespace arn
