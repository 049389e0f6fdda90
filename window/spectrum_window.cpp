#include "window/spectrum_window.h"

#include "form/messages.h"
#include "window/plot_painter.h"

#include <QComboBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>

#include <filesystem>
#include <functional>
#include <optional>

namespace window {

namespace {

QString qstr(std::string_view s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

std::filesystem::path toPath(const QString& path) { return std::filesystem::path(path.toStdU16String()); }

// Paints the plot for its current size, or says why there is none.
class PlotView : public QWidget {
public:
    using Source = std::function<std::optional<form::PlotDescription>(double, double)>;
    PlotView(Source source, QWidget* parent) : QWidget(parent), source_(std::move(source))
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }
    void setPlaceholder(const QString& text)
    {
        placeholder_ = text;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        if (const auto plot = source_(width(), height())) {
            paintPlot(painter, *plot);
            return;
        }
        painter.fillRect(rect(), palette().base());
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, placeholder_);
    }

private:
    Source source_;
    QString placeholder_;
};

QWidget* makeControl(const form::SpectrumControl& entry, SpectrumWindow* window, const form::SpectrumWindow& logic)
{
    switch (entry.kind) {
    case form::SpectrumKind::Plot:
        return new PlotView([&logic](double w, double h) { return logic.plot(w, h); }, window);
    case form::SpectrumKind::Status:
        return new QLabel(window);
    case form::SpectrumKind::Table: {
        auto* table = new QTableWidget(window);
        table->setEditTriggers(QAbstractItemView::NoEditTriggers);
        table->setSelectionBehavior(QAbstractItemView::SelectRows);
        table->verticalHeader()->hide();
        table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6); // compact rows
        table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
        table->setTabKeyNavigation(false); // Tab leaves the table
        return table;
    }
    case form::SpectrumKind::Label:
        return new QLabel(qstr(entry.text), window);
    case form::SpectrumKind::NumberBox:
        return new QLineEdit(qstr(entry.text), window);
    case form::SpectrumKind::Choice: {
        auto* list = new QComboBox(window);
        for (std::string_view choice : form::filterChoices)
            list->addItem(qstr(choice));
        return list;
    }
    case form::SpectrumKind::Button:
        return new QPushButton(qstr(entry.text), window);
    }
    return nullptr;
}

} // namespace

SpectrumWindow::SpectrumWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(qstr(form::spectrumWindowName));
    const form::PixelSize opening = form::spectrumOpeningSize(form::layoutDpi);
    const form::PixelSize minimum = form::spectrumMinimumSize(form::layoutDpi, true);
    resize(opening.width, opening.height);
    setMinimumSize(minimum.width, minimum.height);
    createControls();
    connectEvents();
    placeControls();
    logic_.load();
}

void SpectrumWindow::createControls()
{
    for (std::size_t i = 0; i < form::spectrumControls.size(); ++i) {
        const form::SpectrumControl& entry = form::spectrumControls[i];
        QWidget* control = makeControl(entry, this, logic_);
        control->setObjectName(qstr(entry.name));
        if (!entry.accessibleName.empty())
            control->setAccessibleName(qstr(entry.accessibleName));
        widgets_[i] = control;
        applied_[i] = qstr(entry.text);
    }
    // Each label names the box after it, and its caption is the box's name.
    for (std::size_t i = 0; i + 1 < form::spectrumControls.size(); ++i)
        if (form::spectrumControls[i].kind == form::SpectrumKind::Label)
            static_cast<QLabel*>(widgets_[i])->setBuddy(widgets_[i + 1]);
    const std::vector<const form::SpectrumControl*> order = form::spectrumTabOrder(true);
    for (const form::SpectrumControl& entry : form::spectrumControls)
        if (entry.tabIndex < 0)
            widgets_[form::spectrumIndex(entry.id)]->setFocusPolicy(Qt::NoFocus);
    for (std::size_t i = 1; i < order.size(); ++i)
        setTabOrder(control(order[i - 1]->id), control(order[i]->id));
    control(order.front()->id)->setFocus(Qt::TabFocusReason); // where the window opens
}

void SpectrumWindow::connectEvents()
{
    for (const form::SpectrumControl& entry : form::spectrumControls)
        if (entry.kind == form::SpectrumKind::NumberBox) {
            const std::size_t i = form::spectrumIndex(entry.id);
            auto* box = static_cast<QLineEdit*>(widgets_[i]);
            // A box is applied when the user is done with it: Enter, or the
            // focus leaving it with a changed text.
            connect(box, &QLineEdit::editingFinished, this, [this, box, i] {
                if (box->text() == applied_[i])
                    return;
                applied_[i] = box->text();
                logic_.settingsChanged();
            });
        }
    connect(static_cast<QComboBox*>(control(form::SpectrumId::Filter)), &QComboBox::currentIndexChanged, this,
            [this] { logic_.filterChosen(); });
    // Escape closes the window, as it closes a dialog.
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &QWidget::close);
    const QString svg = QStringLiteral("SVG (*.svg)"), png = QStringLiteral("PNG (*.png)"),
                  csv = QStringLiteral("CSV (*.csv)");
    connect(static_cast<QPushButton*>(control(form::SpectrumId::SaveSvg)), &QPushButton::clicked, this,
            [this, svg] { askAndSave(form::SpectrumId::SaveSvg, form::svgFileName, svg, &SpectrumWindow::saveSvg); });
    connect(static_cast<QPushButton*>(control(form::SpectrumId::SavePng)), &QPushButton::clicked, this,
            [this, png] { askAndSave(form::SpectrumId::SavePng, form::pngFileName, png, &SpectrumWindow::savePng); });
    connect(static_cast<QPushButton*>(control(form::SpectrumId::SaveCsv)), &QPushButton::clicked, this,
            [this, csv] { askAndSave(form::SpectrumId::SaveCsv, form::csvFileName, csv, &SpectrumWindow::saveCsv); });
}

void SpectrumWindow::placeControls()
{
    const auto rects = form::spectrumLayout(width(), height(), form::layoutDpi, true);
    for (std::size_t i = 0; i < rects.size(); ++i)
        widgets_[i]->setGeometry(rects[i].left, rects[i].top, rects[i].width, rects[i].height);
}

void SpectrumWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    placeControls(); // the plot repaints for its new size
}

QWidget* SpectrumWindow::control(form::SpectrumId id) const { return widgets_[form::spectrumIndex(id)]; }

void SpectrumWindow::askAndSave(form::SpectrumId button, std::string_view fileName, const QString& filter,
                                bool (SpectrumWindow::*save)(const QString&))
{
    // The dialog is called as the button is.
    const QString caption = qstr(form::spectrumControl(button).accessibleName);
    const QString path = QFileDialog::getSaveFileName(this, caption, qstr(fileName), filter);
    if (!path.isEmpty())
        (this->*save)(path);
}

bool SpectrumWindow::saveSvg(const QString& path) { return logic_.saveFile(toPath(path), logic_.svgText()); }

bool SpectrumWindow::saveCsv(const QString& path) { return logic_.saveFile(toPath(path), logic_.csvText()); }

bool SpectrumWindow::savePng(const QString& path)
{
    const auto plot = logic_.plot(form::savedPlotWidth, form::savedPlotHeight);
    if (plot && plotImage(*plot).save(path, "PNG"))
        return true;
    showError("无法保存文件“" + path.toStdString() + "”。\n请选择其他位置或文件名。");
    return false;
}

std::string SpectrumWindow::text(form::SpectrumId box) const
{
    return static_cast<QLineEdit*>(control(box))->text().toStdString();
}

form::FilterChoice SpectrumWindow::filterChoice() const
{
    return form::FilterChoice(static_cast<QComboBox*>(control(form::SpectrumId::Filter))->currentIndex());
}

void SpectrumWindow::setEnabled(form::SpectrumId id, bool enabled) { control(id)->setEnabled(enabled); }

void SpectrumWindow::showTable(const std::vector<std::string>& columns,
                               const std::vector<std::vector<std::string>>& rows)
{
    auto* table = static_cast<QTableWidget*>(control(form::SpectrumId::Table));
    table->clear();
    table->setColumnCount(int(columns.size()));
    table->setRowCount(int(rows.size()));
    QStringList headings;
    for (const std::string& c : columns)
        headings << qstr(c);
    table->setHorizontalHeaderLabels(headings);
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t c = 0; c < rows[r].size(); ++c) {
            auto* item = new QTableWidgetItem(qstr(rows[r][c]));
            item->setTextAlignment(c < 1 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignRight | Qt::AlignVCenter);
            table->setItem(int(r), int(c), item);
        }
}

void SpectrumWindow::plotChanged()
{
    QWidget* plot = control(form::SpectrumId::Plot);
    // Assistive technology reads the plot's title: output, clock, word.
    const auto description = logic_.plot(plot->width(), plot->height());
    plot->setAccessibleDescription(description ? qstr(description->title) : QString());
    plot->update();
}

void SpectrumWindow::showStatus(std::string_view text)
{
    static_cast<QLabel*>(control(form::SpectrumId::Status))->setText(qstr(text));
    static_cast<PlotView*>(control(form::SpectrumId::Plot))->setPlaceholder(qstr(text));
}

void SpectrumWindow::showTitle(std::string_view text) { setWindowTitle(qstr(text)); }

void SpectrumWindow::showError(std::string_view message)
{
    if (!errorBox_) {
        errorBox_ = new QMessageBox(QMessageBox::Warning, qstr(form::errorTitle), {}, QMessageBox::Ok, this);
        errorBox_->setObjectName(QStringLiteral("errorBox"));
        errorBox_->setWindowModality(Qt::WindowModal);
    }
    errorBox_->setText(qstr(message));
    if (isVisible()) // a hidden window following the main one stays quiet
        errorBox_->open();
    emit errorReported(qstr(message));
}

void SpectrumWindow::focus(form::SpectrumId id) { control(id)->setFocus(Qt::OtherFocusReason); }

} // namespace window
