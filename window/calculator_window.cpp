#include "window/calculator_window.h"

#include "form/layout.h"
#include "form/messages.h"
#include "window/accessibility.h"
#include "window/controls.h"

#include <QButtonGroup>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

#include <algorithm>
#include <limits>
#include <vector>

namespace window {

namespace {

constexpr int dpi = 96; // the layout is drawn at 96 dots per inch: 15 twips a pixel
constexpr int px(int twips) { return form::toPixels(twips, dpi); }

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

QWidget* makeControl(const form::Control& entry, QWidget* container, QValidator* singleLine)
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
        box->setValidator(singleLine);
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
    resize(px(form::layoutWidthTwips + form::marginTwips), px(form::layoutHeightTwips + form::marginTwips));
    setMinimumSize(px(form::layoutWidthTwips), px(form::layoutHeightTwips));
    installVisualOrderAccessibility();
    createControls();
    connectEvents();
}

void CalculatorWindow::createControls()
{
    auto* singleLine = new SingleLineValidator(this);
    for (const form::Control& entry : form::controls) {
        const QString containerName = qstr(entry.container);
        QWidget* container = containerName == objectName() ? this : findChild<QWidget*>(containerName);
        QWidget* control = makeControl(entry, container, singleLine);
        control->setObjectName(qstr(entry.name));
        control->setGeometry(px(entry.left), px(entry.top), px(entry.width), px(entry.height));
        // Children take their parent's font in Qt; a control without a font
        // of its own takes the window's, not its frame's.
        control->setFont(songFont(entry.fontPoints > 0 ? entry.fontPoints : form::windowFontPoints));
        // Labels are read out by their current caption; the others by name.
        if (entry.kind != form::Kind::Label)
            control->setAccessibleName(qstr(form::accessibleName(entry)));
        control->setProperty("tabIndex", entry.tabIndex);
    }
    const std::vector<const form::Control*> order = form::tabOrder();
    for (std::size_t i = 1; i < order.size(); ++i)
        setTabOrder(findChild<QWidget*>(qstr(order[i - 1]->name)), findChild<QWidget*>(qstr(order[i]->name)));

    Frame1 = findChild<QGroupBox*>(QStringLiteral("Frame1"));
    Frame2 = findChild<QGroupBox*>(QStringLiteral("Frame2"));
    Frame3 = findChild<QGroupBox*>(QStringLiteral("Frame3"));
    Frame4 = findChild<QGroupBox*>(QStringLiteral("Frame4"));
    Frame5 = findChild<QGroupBox*>(QStringLiteral("Frame5"));
    F = findChild<QLineEdit*>(QStringLiteral("F"));
    Fc = findChild<QLineEdit*>(QStringLiteral("Fc"));
    data = findChild<QLineEdit*>(QStringLiteral("data"));
    Label1 = findChild<QLabel*>(QStringLiteral("Label1"));
    modeshow = findChild<QLabel*>(QStringLiteral("modeshow"));
    Command1 = findChild<QPushButton*>(QStringLiteral("Command1"));

    // The option arrays: one exclusive group each, ids equal to the indexes.
    Option1 = new QButtonGroup(this);
    Option1->setObjectName(QStringLiteral("Option1"));
    Option2 = new QButtonGroup(this);
    Option2->setObjectName(QStringLiteral("Option2"));
    for (const form::Control& entry : form::controls)
        if (entry.kind == form::Kind::Option) {
            const form::OptionMember m = form::optionMember(entry);
            (m.array == 1 ? Option1 : Option2)->addButton(findChild<QRadioButton*>(qstr(entry.name)), m.index);
        }
}

void CalculatorWindow::connectEvents()
{
    // Selecting an option by hand runs its array's handler with the index.
    connect(Option1, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            logic_.Option1_Click(static_cast<qint16>(id));
    });
    connect(Option2, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            logic_.Option2_Click(static_cast<qint16>(id));
    });
    connect(Command1, &QPushButton::clicked, this, [this] { logic_.Command1_Click(); });
    // Enter in either input box calculates, as the button does.
    connect(F, &QLineEdit::returnPressed, Command1, &QPushButton::click);
    connect(Fc, &QLineEdit::returnPressed, Command1, &QPushButton::click);
    connect(Fc, &QLineEdit::textChanged, this, [this] { logic_.crystalChanged(); });
}

void CalculatorWindow::load()
{
    logic_.Form_Load();
    // The first control of the tab order that takes focus: the selected
    // unit option.
    Option1->checkedButton()->setFocus(Qt::TabFocusReason);
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

QLineEdit* CalculatorWindow::box(form::Box which) const
{
    switch (which) {
    case form::Box::F: return F;
    case form::Box::Fc: return Fc;
    case form::Box::data: return data;
    }
    return nullptr;
}

std::string CalculatorWindow::text(form::Box which) const { return box(which)->text().toStdString(); }

void CalculatorWindow::setText(form::Box which, std::string_view text) { box(which)->setText(qstr(text)); }

std::string CalculatorWindow::unitCaption() const { return modeshow->text().toStdString(); }

void CalculatorWindow::setUnitCaption(std::string_view caption) { modeshow->setText(qstr(caption)); }

void CalculatorWindow::selectOption(int array, int index)
{
    QButtonGroup* group = array == 1 ? Option1 : Option2;
    const QSignalBlocker quiet(group); // the handlers raise the click themselves
    group->button(index)->setChecked(true);
}

void CalculatorWindow::setResultTooltip(std::string_view text) { data->setToolTip(qstr(text)); }

void CalculatorWindow::announceResult(std::string_view text) { announceNewValue(data, qstr(text)); }

void CalculatorWindow::setDescription(form::Box which, std::string_view text) { box(which)->setAccessibleDescription(qstr(text)); }

void CalculatorWindow::showError(std::string_view message)
{
    auto* errorBox = new QMessageBox(QMessageBox::Warning, qstr(form::errorTitle), qstr(message), QMessageBox::Ok, this);
    errorBox->setObjectName(QStringLiteral("errorBox"));
    errorBox->setAttribute(Qt::WA_DeleteOnClose);
    errorBox->setWindowModality(Qt::WindowModal);
    errorBox->open();
    emit errorReported(qstr(message));
}

} // namespace window
