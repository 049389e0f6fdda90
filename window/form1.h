#pragma once
// The calculator's single window: the frequency with its unit, the crystal
// frequency, the data mode, the calculate button and the result box.

#include "calc/state.h"

#include <QWidget>

#include <cstdint>
#include <string_view>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class Form1 : public QWidget {
    Q_OBJECT
    // The calculation state, one read and one write accessor per field.
    Q_PROPERTY(qint16 mode1 READ mode1 WRITE setMode1)
    Q_PROPERTY(qint16 mode2 READ mode2 WRITE setMode2)
    Q_PROPERTY(qint16 Fc1 READ Fc1 WRITE setFc1)
    Q_PROPERTY(double temp READ temp WRITE setTemp)
    Q_PROPERTY(qint32 temp1 READ temp1 WRITE setTemp1)
    Q_PROPERTY(double F0 READ F0 WRITE setF0)
    Q_PROPERTY(double F1 READ F1 WRITE setF1)

public:
    explicit Form1(QWidget* parent = nullptr);

    // Runs the load handler, as the window system does before the window
    // is first shown.
    void load();

    // The whole calculation state at once.
    const calc::CalcState& state() const { return state_; }

    qint16 mode1() const { return state_.mode1; }
    void setMode1(qint16 v) { state_.mode1 = v; }
    qint16 mode2() const { return state_.mode2; }
    void setMode2(qint16 v) { state_.mode2 = v; }
    qint16 Fc1() const { return state_.Fc1; }
    void setFc1(qint16 v) { state_.Fc1 = v; }
    double temp() const { return state_.temp; }
    void setTemp(double v) { state_.temp = v; }
    qint32 temp1() const { return state_.temp1; }
    void setTemp1(qint32 v) { state_.temp1 = v; }
    double F0() const { return state_.F0; }
    void setF0(double v) { state_.F0 = v; }
    double F1() const { return state_.F1; }
    void setF1(double v) { state_.F1 = v; }

protected:
    bool event(QEvent* event) override;

signals:
    // A handler failed; `message` says in Chinese what to fix.  The window
    // shows it in a message box and goes on working.
    void errorReported(const QString& message);

private:
    // The four event handlers.
    void Form_Load();
    void Option1_Click(qint16 index);
    void Option2_Click(qint16 index);
    void Command1_Click();

    void createControls();
    void connectEvents();
    // Sets the input boxes' accessible descriptions: unit and valid range.
    void describeInputs();
    // What the word really gives, for the result box's tooltip.
    QString wordTooltip(std::uint32_t word, std::string_view crystal) const;
    // Runs one handler; every error it raises is reported here.
    template <class Handler>
    void dispatch(Handler&& handler);
    void reportError(const QString& message);

    calc::CalcState state_;
    bool focusRingShown_ = false;

    QGroupBox* Frame1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QGroupBox* Frame3 = nullptr;
    QGroupBox* Frame4 = nullptr;
    QGroupBox* Frame5 = nullptr;
    QLineEdit* F = nullptr;
    QLineEdit* Fc = nullptr;
    QLineEdit* data = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* modeshow = nullptr;
    QPushButton* Command1 = nullptr;
    QButtonGroup* Option1 = nullptr; // unit options, ids 0 Hz, 1 KHz, 2 MHz
    QButtonGroup* Option2 = nullptr; // data-mode options, ids 0 serial, 1 parallel
};
