#pragma once
// The spectrum window on Qt Widgets: the controls of the toolkit-free
// description in form/, joined to its handler; the plot painted with
// QPainter for the window's current size.

#include "form/spectrum_window.h"

#include <QWidget>

#include <array>
#include <cstddef>

class QMessageBox;
class QTableWidget;

namespace window {

class SpectrumWindow : public QWidget, private form::SpectrumView {
    Q_OBJECT

public:
    explicit SpectrumWindow(QWidget* parent = nullptr);

    // The main window calculated: the window follows it.
    void calculated(const form::Calculated& calculation) { logic_.calculated(calculation); }

    const form::SpectrumWindow& logic() const { return logic_; }
    QWidget* control(form::SpectrumId id) const;

    // What the save buttons do once the user has chosen a file.
    bool saveSvg(const QString& path);
    bool savePng(const QString& path);
    bool saveCsv(const QString& path);

signals:
    // A setting is unusable or a file could not be written; `message` says
    // in Chinese what to fix.  The window shows it in a message box.
    void errorReported(const QString& message);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void createControls();
    void connectEvents();
    void placeControls();
    // Asks for a file name, then saves with `save`.
    void askAndSave(form::SpectrumId button, std::string_view fileName, const QString& filter,
                    bool (SpectrumWindow::*save)(const QString&));

    // form::SpectrumView
    std::string text(form::SpectrumId box) const override;
    form::FilterChoice filterChoice() const override;
    void setEnabled(form::SpectrumId id, bool enabled) override;
    void showTable(const std::vector<std::string>& columns, const std::vector<std::vector<std::string>>& rows) override;
    void plotChanged() override;
    void showStatus(std::string_view text) override;
    void showTitle(std::string_view text) override;
    void showError(std::string_view message) override;
    void focus(form::SpectrumId id) override;

    form::SpectrumWindow logic_{*this};
    std::array<QWidget*, form::spectrumControls.size()> widgets_{}; // by index in the control table
    std::array<QString, form::spectrumControls.size()> applied_{};  // the boxes' texts last applied
    QMessageBox* errorBox_ = nullptr;
};

} // namespace window
