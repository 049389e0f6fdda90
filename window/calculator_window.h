#pragma once
// The calculator's single window on Qt Widgets: the controls of the
// toolkit-free description in form/, joined to its handlers.

#include "form/calculator.h"

#include <QWidget>

#include <array>
#include <cstddef>

class QButtonGroup;
class QLineEdit;
class QMessageBox;
class QPoint;

namespace window {

class SpectrumWindow;

class CalculatorWindow : public QWidget, private form::View {
    Q_OBJECT
    // The calculation state, one read accessor per field.
    Q_PROPERTY(qint16 mode1 READ mode1)
    Q_PROPERTY(qint16 mode2 READ mode2)
    Q_PROPERTY(qint16 Fc1 READ Fc1)
    Q_PROPERTY(double temp READ temp)
    Q_PROPERTY(qint32 temp1 READ temp1)
    Q_PROPERTY(double F0 READ F0)
    Q_PROPERTY(double F1 READ F1)

public:
    explicit CalculatorWindow(QWidget* parent = nullptr);

    // Runs the load handler, as the window system does before the window
    // is first shown, and puts the focus on the first control of the tab
    // order that takes it.
    void load();

    // The whole calculation state at once.
    const calc::CalcState& state() const { return logic_.state(); }

    qint16 mode1() const { return state().mode1; }
    qint16 mode2() const { return state().mode2; }
    qint16 Fc1() const { return state().Fc1; }
    double temp() const { return state().temp; }
    qint32 temp1() const { return state().temp1; }
    double F0() const { return state().F0; }
    double F1() const { return state().F1; }

    // Shows the spectrum window (F2, or 频谱… in the result box's context
    // menu), made at the first call, and brings it to the front.
    SpectrumWindow* openSpectrum();
    // The spectrum window, nullptr before it was first opened.
    SpectrumWindow* spectrumWindow() const { return spectrum_; }

signals:
    // A handler failed; `message` says in Chinese what to fix.  The window
    // shows it in a message box and goes on working.
    void errorReported(const QString& message);

protected:
    bool event(QEvent* event) override;
    // The arrow keys in the option groups.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void connectEvents();
    QLineEdit* box(form::Box which) const;
    void showResultMenu(const QPoint& at);
    QButtonGroup* optionArray(int group) const { return optionArrays_[std::size_t(group - 1)]; }

    // form::View
    std::string text(form::Box which) const override;
    void setText(form::Box which, std::string_view text) override;
    void showFromStart(form::Box which) override;
    std::string unitCaption() const override;
    void setUnitCaption(std::string_view caption) override;
    void selectOption(int array, int index) override;
    void setResultTooltip(std::string_view text) override;
    void announceResult(std::string_view text) override;
    void setDescription(form::Box which, std::string_view text) override;
    void showError(std::string_view message) override;
    void focusBox(form::Box which) override;
    void calculated(const form::Calculated& calculation) override;

    form::Calculator logic_{*this};
    bool focusRingShown_ = false;
    QMessageBox* errorBox_ = nullptr; // the 输入有误 message, made at the first error
    SpectrumWindow* spectrum_ = nullptr;

    std::array<QWidget*, form::controls.size()> widgets_{}; // by row of the control table
    std::array<QButtonGroup*, 2> optionArrays_{};           // Option1 (units), Option2 (data modes)
};

} // namespace window
