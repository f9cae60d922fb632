#pragma once

#include <QStatusBar>
#include <QString>
#include <cstdint>
#include <vector>

class QLabel;

namespace arn {

// The host window's status bar. A message lasts a number of host ticks, not a wall-clock
// time, so what a script or a test sees does not depend on how fast it runs; it is drawn
// shortened with an ellipsis where it would run into the permanent labels at the right, and
// the bar's tooltip holds the whole text. currentMessage() is the whole text.
class StatusLine : public QStatusBar {
  public:
    // 8 s at the host's 100 ms tick.
    static constexpr int64_t LifeTicks = 80;

    explicit StatusLine(QWidget* parent = nullptr);

    // Shows text from host tick now until LifeTicks ticks later.
    void Say(const QString& text, int64_t now);
    // Clears a message whose ticks are over.
    void Age(int64_t now);
    // A label at the right that keeps its place; a long text in it is shortened in the middle,
    // with the whole text as its tooltip.
    void AddLabel(QLabel* label, int mostWidth);
    static void SetLabelText(QLabel* label, const QString& text);
    // What the message area shows now (the message, shortened to fit).
    QString ShownText() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QRect MessageRect() const;

    int64_t m_expires = 0;
    std::vector<QLabel*> m_labels;
};

}  // namespace arn
