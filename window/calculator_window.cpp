#include "window/calculator_window.h"

#include "form/layout.h"
#include "form/messages.h"
#include "window/accessibility.h"
#include "window/controls.h"
#include "window/spectrum_window.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QSignalBlocker>

#include <algorithm>
#include <limits>
#include <vector>

namespace window {

namespace {

constexpr int px(int twips) { return form::toPixels(twips, form::layoutDpi); }

QString qstr(std::string_view s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

QFont songFont(double points)
{
    QFont font(qstr(form::fontFace));
    font.setPointSizeF(points);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

QWidget* makeControl(const form::Control& entry, QWidget* container)
{
    const QString text = qstr(entry.text);
    switch (entry.kind) {
    case form::Kind::Frame:
        return new FrameBox(text, container);
    case form::Kind::Option:
        return new OptionButton(text, container);
    case form::Kind::TextBox: {
        auto* box = new QLineEdit(text, container);
        box->setMaxLength(std::numeric_limits<int>::max()); // no length limit
        box->setValidator(new SingleLineValidator(text, box));
        return box;
    }
    case form::Kind::Label:
        return new QLabel(text, container);
    case form::Kind::Button:
        return new PressOnEnterButton(text, container);
    }
    return nullptr;
}

} // namespace

CalculatorWindow::CalculatorWindow(QWidget* parent) : QWidget(parent)
{
    setObjectName(qstr(form::windowName));
    setWindowTitle(qstr(form::windowCaption));
    setFont(songFont(form::windowFontPoints));
    resize(px(form::openingSizeTwips.width), px(form::openingSizeTwips.height));
    setMinimumSize(px(form::minimumSizeTwips.width), px(form::minimumSizeTwips.height));
    installVisualOrderAccessibility();
    createControls();
    connectEvents();
}

void CalculatorWindow::createControls()
{
    for (std::size_t row = 0; row < form::controls.size(); ++row) {
        const form::Control& entry = form::controls[row];
        QWidget* container = entry.container == form::windowName ? this : widgets_[form::row(entry.container)];
        QWidget* control = makeControl(entry, container);
        control->setObjectName(qstr(entry.name));
        control->setGeometry(px(entry.left), px(entry.top), px(form::shownWidthTwips(entry)), px(entry.height));
        // Children take their parent's font in Qt; a control without a font
        // of its own takes the window's, not its frame's.
        control->setFont(songFont(form::fontPoints(entry)));
        // Labels are read out by their current caption; the others by name.
        if (entry.kind != form::Kind::Label)
            control->setAccessibleName(qstr(form::accessibleName(entry)));
        control->setProperty("tabIndex", entry.tabIndex);
        widgets_[row] = control;
    }
    const std::vector<const form::Control*> order = form::tabOrder();
    for (std::size_t i = 1; i < order.size(); ++i)
        setTabOrder(widgets_[form::row(order[i - 1]->name)], widgets_[form::row(order[i]->name)]);

    // The option arrays: one exclusive group each, ids equal to the indexes.
    for (int group : {1, 2}) {
        optionArrays_[std::size_t(group - 1)] = new QButtonGroup(this);
        optionArray(group)->setObjectName(qstr(form::optionArrayName(group)));
    }
    for (std::size_t row = 0; row < form::controls.size(); ++row)
        if (const form::Control& entry = form::controls[row]; entry.kind == form::Kind::Option) {
            optionArray(entry.group)->addButton(static_cast<QAbstractButton*>(widgets_[row]), entry.index);
            widgets_[row]->installEventFilter(this);
        }
}

void CalculatorWindow::connectEvents()
{
    // Selecting an option by hand runs its array's handler with the index.
    for (int group : {1, 2})
        connect(optionArray(group), &QButtonGroup::idToggled, this, [this, group](int id, bool checked) {
            if (checked)
                logic_.optionClicked(group, static_cast<std::int16_t>(id));
        });
    connect(static_cast<QPushButton*>(widgets_[form::buttonRow]), &QPushButton::clicked, this,
            [this] { logic_.Command1_Click(); });
    for (std::size_t row = 0; row < form::controls.size(); ++row)
        if (form::controls[row].kind == form::Kind::TextBox)
            connect(static_cast<QLineEdit*>(widgets_[row]), &QLineEdit::returnPressed, this,
                    [this, row] { logic_.enterPressed(row); });
    connect(box(form::Box::Fc), &QLineEdit::textChanged, this, [this] { logic_.crystalChanged(); });
    // Ctrl+F1 in the result box shows its tooltip as the mouse does: the
    // word's figures for those who use no mouse.
    auto* showTooltip = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F1), box(form::Box::data));
    showTooltip->setContext(Qt::WidgetShortcut);
    connect(showTooltip, &QShortcut::activated, this, [this] {
        QLineEdit* data = box(form::Box::data);
        const QPoint below(0, data->height());
        QHelpEvent tooltip(QEvent::ToolTip, below, data->mapToGlobal(below));
        QCoreApplication::sendEvent(data, &tooltip);
    });
    // The spectrum: F2 anywhere in the window, or the result box's menu.
    connect(new QShortcut(QKeySequence(Qt::Key_F2), this), &QShortcut::activated, this, [this] { openSpectrum(); });
    box(form::Box::data)->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(box(form::Box::data), &QWidget::customContextMenuRequested, this, &CalculatorWindow::showResultMenu);
}

void CalculatorWindow::showResultMenu(const QPoint& at)
{
    // The box's own entries (copy, select all...), then the spectrum.
    QMenu* menu = box(form::Box::data)->createStandardContextMenu();
    menu->setObjectName(QStringLiteral("resultMenu"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addSeparator();
    QAction* spectrum = menu->addAction(qstr(form::spectrumMenuEntry), this, [this] { openSpectrum(); });
    spectrum->setObjectName(QStringLiteral("spectrumAction"));
    menu->popup(box(form::Box::data)->mapToGlobal(at));
}

SpectrumWindow* CalculatorWindow::openSpectrum()
{
    if (!spectrum_) {
        spectrum_ = new SpectrumWindow(this);
        if (const auto& last = logic_.lastCalculated())
            spectrum_->calculated(*last);
    }
    spectrum_->show();
    spectrum_->raise();
    spectrum_->activateWindow();
    return spectrum_;
}

void CalculatorWindow::calculated(const form::Calculated& calculation)
{
    if (spectrum_)
        spectrum_->calculated(calculation);
}

void CalculatorWindow::load()
{
    logic_.Form_Load();
    widgets_[logic_.initialFocus()]->setFocus(Qt::TabFocusReason);
}

bool CalculatorWindow::event(QEvent* event)
{
    const bool handled = QWidget::event(event);
    // Activation gives the focus back without its ring; the first time the
    // window becomes active, show the ring as after a Tab.
    if (event->type() == QEvent::WindowActivate && !focusRingShown_) {
        focusRingShown_ = true;
        setAttribute(Qt::WA_KeyboardFocusChange);
        if (QWidget* focused = focusWidget())
            focused->update();
    }
    return handled;
}

bool CalculatorWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    int step = 0;
    switch (static_cast<QKeyEvent*>(event)->key()) {
    case Qt::Key_Down:
    case Qt::Key_Right:
        step = 1;
        break;
    case Qt::Key_Up:
    case Qt::Key_Left:
        step = -1;
        break;
    default:
        return QWidget::eventFilter(watched, event);
    }
    const auto at = std::ranges::find(widgets_, watched);
    const form::Control& entry = form::controls[std::size_t(at - widgets_.begin())];
    QAbstractButton* next = optionArray(entry.group)->button(form::neighbourOption(entry.group, entry.index, step));
    next->setFocus(Qt::TabFocusReason);
    next->click(); // selected as by the user: the array's handler runs
    return true;
}

QLineEdit* CalculatorWindow::box(form::Box which) const { return static_cast<QLineEdit*>(widgets_[form::row(which)]); }

std::string CalculatorWindow::text(form::Box which) const { return box(which)->text().toStdString(); }

void CalculatorWindow::setText(form::Box which, std::string_view text) { box(which)->setText(qstr(text)); }

void CalculatorWindow::showFromStart(form::Box which) { box(which)->setCursorPosition(0); }

std::string CalculatorWindow::unitCaption() const
{
    return static_cast<QLabel*>(widgets_[form::unitLabelRow])->text().toStdString();
}

void CalculatorWindow::setUnitCaption(std::string_view caption)
{
    static_cast<QLabel*>(widgets_[form::unitLabelRow])->setText(qstr(caption));
}

void CalculatorWindow::selectOption(int array, int index)
{
    QButtonGroup* group = optionArray(array);
    const QSignalBlocker quiet(group); // the handlers raise the click themselves
    group->button(index)->setChecked(true);
}

void CalculatorWindow::setResultTooltip(std::string_view text) { box(form::Box::data)->setToolTip(qstr(text)); }

void CalculatorWindow::announceResult(std::string_view text) { announceNewValue(box(form::Box::data), qstr(text)); }

void CalculatorWindow::setDescription(form::Box which, std::string_view text)
{
    box(which)->setAccessibleDescription(qstr(text));
}

void CalculatorWindow::showError(std::string_view message)
{
    // One message box, made at the first error and shown again for each
    // one after: a box made and deleted for every error left memory behind.
    if (!errorBox_) {
        errorBox_ = new QMessageBox(QMessageBox::Warning, qstr(form::errorTitle), {}, QMessageBox::Ok, this);
        errorBox_->setObjectName(QStringLiteral("errorBox"));
        errorBox_->setWindowModality(Qt::WindowModal);
    }
    errorBox_->setText(qstr(message));
    errorBox_->open();
    emit errorReported(qstr(message));
}

void CalculatorWindow::focusBox(form::Box which) { box(which)->setFocus(Qt::OtherFocusReason); }

} // namespace window
