#include "window/controls.h"

#include <QKeyEvent>
#include <QPainter>

#include <algorithm>

void PressOnEnterButton::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        click();
        return;
    }
    QPushButton::keyPressEvent(event);
}

QValidator::State SingleLineValidator::validate(QString& input, int& pos) const
{
    // The box held no line break before the change, so any break came with
    // the text just inserted, which ends at the cursor: drop the inserted
    // text from its first break up to the cursor.
    const auto isBreak = [](QChar c) { return c == u'\n' || c == u'\r'; };
    const auto first = std::find_if(input.cbegin(), input.cend(), isBreak);
    if (first == input.cend())
        return Acceptable;
    const int from = int(first - input.cbegin());
    if (pos > from) {
        input.remove(from, pos - from);
        pos = from;
    }
    // Anything left (text set from code with breaks in it) ends the line.
    const auto next = std::find_if(input.cbegin(), input.cend(), isBreak);
    if (next != input.cend()) {
        input.truncate(int(next - input.cbegin()));
        pos = std::min(pos, int(input.size()));
    }
    return Acceptable;
}

namespace {
constexpr int titleIndent = 8; // px from the frame's left edge to its title
}

int FrameBox::lineTop() const { return QFontMetrics(font()).height() / 2; }

void FrameBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QFontMetrics metrics(font());
    const QRect frame = rect().adjusted(0, lineTop(), -1, -1);
    // An etched line: a dark one, and a light one inside it.
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(frame.adjusted(0, 0, -1, -1));
    painter.setPen(palette().color(QPalette::Light));
    painter.drawRect(frame.adjusted(1, 1, 0, 0));
    if (title().isEmpty())
        return;
    const QRect text(titleIndent, 0, metrics.horizontalAdvance(title()), metrics.height());
    painter.fillRect(text.adjusted(-2, 0, 2, 0), palette().window());
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, title());
}
