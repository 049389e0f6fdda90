#pragma once
// Small control classes that make Qt's widgets behave as the calculator's
// users expect of its controls.

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QValidator>

// An option button that is selected by a click anywhere in its rectangle,
// not only on its indicator and caption.
class OptionButton : public QRadioButton {
    Q_OBJECT
public:
    using QRadioButton::QRadioButton;

protected:
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};

// A push button that Enter and Return press, as Space does.
class PressOnEnterButton : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// Keeps a single-line box on one line: text pasted or dropped into it keeps
// its first line with text only, the rest of the box staying as it was.
// One for each box: it remembers the box's text, starting from `initial`.
class SingleLineValidator : public QValidator {
    Q_OBJECT
public:
    SingleLineValidator(const QString& initial, QObject* parent) : QValidator(parent), last_(initial) {}
    State validate(QString& input, int& pos) const override;

private:
    mutable QString last_; // the text as last validated
};

// A frame whose line runs across the middle of its title, as the stored
// control positions expect, the title interrupting the line at the left.
class FrameBox : public QGroupBox {
    Q_OBJECT
public:
    using QGroupBox::QGroupBox;
    // The frame line's distance from the top: half the title's height.
    int lineTop() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};
