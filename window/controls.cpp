#include "window/controls.h"

#include "form/calculator.h"

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
    std::u16string text = input.toStdU16String();
    const std::size_t before = text.size();
    form::keepFirstLine(last_.toStdU16String(), text, pos);
    if (text.size() != before)
        input = QString::fromStdU16String(text);
    last_ = input;
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
