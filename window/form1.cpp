#include "window/form1.h"

#include "calc/calculation.h"
#include "calc/clock.h"
#include "calc/control_byte.h"
#include "calc/details.h"
#include "calc/errors.h"
#include "calc/result_line.h"
#include "calc/units.h"
#include "window/accessibility.h"
#include "window/controls.h"
#include "window/messages.h"


#include <QButtonGroup>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <exception>
#include <limits>
#include <string_view>
#include <vector>

namespace {

enum class Kind { Frame, Option, TextBox, Label, Button };

// One control of the window.  Positions and sizes are in twips (1/1440
// inch, 15 to a pixel at 96 dpi) from the top-left corner of the container.
// fontPoints 0 means the window's own font.
struct ControlLayout {
    const char* name;
    Kind kind;
    const char* container;
    const char* text;
    int left, top, width, height;
    int tabIndex;
    double fontPoints;
    const char* accessibleName;
};

// In the order the window creates them.
constexpr ControlLayout controls[] = {
    {"Frame1", Kind::Frame, "Form1", " AD9851 计算软件 KOVA TARELMIN", 3360, 1440, 8775, 5775, 0, 18, nullptr},
    {"Frame5", Kind::Frame, "Frame1", "数据模式", 3720, 3960, 2775, 1335, 13, 0, nullptr},
    {"Option2_1", Kind::Option, "Frame5", "并行", 240, 840, 1455, 375, 15, 0, nullptr},
    {"Option2_0", Kind::Option, "Frame5", "串行", 240, 360, 1575, 375, 14, 0, nullptr},
    {"Frame4", Kind::Frame, "Frame1", "晶振频率", 600, 3960, 2535, 1335, 10, 0, nullptr},
    {"Fc", Kind::TextBox, "Frame4", "20", 240, 360, 1095, 615, 11, 15.75, "晶振频率"},
    {"Label1", Kind::Label, "Frame4", "MHz", 1440, 360, 975, 615, 12, 18, nullptr},
    {"Command1", Kind::Button, "Frame1", "计算", 7080, 720, 1095, 4575, 9, 15.75, nullptr},
    {"Frame3", Kind::Frame, "Frame1", "对应值", 600, 2400, 5895, 1215, 5, 0, nullptr},
    {"data", Kind::TextBox, "Frame3", "Text1", 240, 360, 5295, 615, 8, 14.25, "对应值"},
    {"Frame2", Kind::Frame, "Frame1", "频率设置", 600, 600, 5895, 1575, 1, 0, nullptr},
    {"F", Kind::TextBox, "Frame2", "10", 240, 720, 3735, 615, 6, 15.75, "频率"},
    {"Option1_2", Kind::Option, "Frame2", "MHz", 1800, 240, 975, 375, 4, 0, nullptr},
    {"Option1_1", Kind::Option, "Frame2", "KHz", 960, 240, 855, 375, 3, 0, nullptr},
    {"Option1_0", Kind::Option, "Frame2", "Hz", 120, 240, 975, 375, 2, 0, nullptr},
    {"modeshow", Kind::Label, "Frame2", "Khz", 4320, 720, 975, 615, 7, 18, nullptr},
};

constexpr int twipsPerPixel = 15;
constexpr int px(int twips) { return twips / twipsPerPixel; }

// The stored layout reaches 12135 x 7215 twips; the window opens showing
// all of it with a margin on the right and at the bottom.
constexpr int marginPx = 24;
constexpr int layoutWidthPx = px(12135);
constexpr int layoutHeightPx = px(7215);
constexpr int clientWidthPx = layoutWidthPx + marginPx;
constexpr int clientHeightPx = layoutHeightPx + marginPx;

QFont songFont(double points)
{
    QFont font(QStringLiteral("SimSun"));
    font.setPointSizeF(points);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

constexpr double windowFontPoints = 9;

QWidget* makeControl(const ControlLayout& entry, QWidget* container, QValidator* singleLine)
{
    const QString text = QString::fromUtf8(entry.text);
    switch (entry.kind) {
    case Kind::Frame:
        return new FrameBox(text, container);
    case Kind::Option:
        return new OptionButton(text, container);
    case Kind::TextBox: {
        auto* box = new QLineEdit(text, container);
        box->setMaxLength(std::numeric_limits<int>::max()); // no length limit
        box->setValidator(singleLine);
        return box;
    }
    case Kind::Label:
        return new QLabel(text, container);
    case Kind::Button:
        return new PressOnEnterButton(text, container);
    }
    return nullptr;
}

} // namespace

Form1::Form1(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Form1"));
    setFont(songFont(windowFontPoints));
    resize(clientWidthPx, clientHeightPx);
    setMinimumSize(layoutWidthPx, layoutHeightPx);
    installVisualOrderAccessibility();
    createControls();
    connectEvents();
    describeInputs();
}

void Form1::createControls()
{
    auto find = [this](const QString& name) -> QWidget* {
        return name == objectName() ? this : findChild<QWidget*>(name);
    };
    std::vector<std::pair<int, QWidget*>> tabOrder;
    auto* singleLine = new SingleLineValidator(this);
    for (const ControlLayout& entry : controls) {
        QWidget* container = find(QString::fromUtf8(entry.container));
        QWidget* control = makeControl(entry, container, singleLine);
        control->setObjectName(QString::fromUtf8(entry.name));
        control->setGeometry(px(entry.left), px(entry.top), px(entry.width), px(entry.height));
        // Children take their parent's font in Qt; a control without a font
        // of its own takes the window's, not its frame's.
        control->setFont(songFont(entry.fontPoints > 0 ? entry.fontPoints : windowFontPoints));
        // Labels are read out by their current caption; the others by name.
        if (entry.kind != Kind::Label)
            control->setAccessibleName(
                QString::fromUtf8(entry.accessibleName ? entry.accessibleName : entry.text).trimmed());
        control->setProperty("tabIndex", entry.tabIndex);
        if (control->focusPolicy() & Qt::TabFocus)
            tabOrder.emplace_back(entry.tabIndex, control);
    }
    std::sort(tabOrder.begin(), tabOrder.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1].second, tabOrder[i].second);

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
    for (int i = 0; i < 3; ++i)
        Option1->addButton(findChild<QRadioButton*>(QStringLiteral("Option1_%1").arg(i)), i);
    for (int i = 0; i < 2; ++i)
        Option2->addButton(findChild<QRadioButton*>(QStringLiteral("Option2_%1").arg(i)), i);
}

void Form1::connectEvents()
{
    // Selecting an option, by the user or by the program, runs its array's
    // handler with the member's index.
    connect(Option1, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            dispatch([&] { Option1_Click(static_cast<qint16>(id)); });
    });
    connect(Option2, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            dispatch([&] { Option2_Click(static_cast<qint16>(id)); });
    });
    connect(Command1, &QPushButton::clicked, this, [this] { dispatch([&] { Command1_Click(); }); });
    // Enter in either input box calculates, as the button does.
    connect(F, &QLineEdit::returnPressed, Command1, &QPushButton::click);
    connect(Fc, &QLineEdit::returnPressed, Command1, &QPushButton::click);
    // The frequency box's description names the range, which follows the
    // unit and the crystal.
    connect(Option1, &QButtonGroup::idToggled, this, &Form1::describeInputs);
    connect(Fc, &QLineEdit::textChanged, this, &Form1::describeInputs);
}

void Form1::load()
{
    dispatch([&] { Form_Load(); });
    // The first control of the tab order that takes focus: the selected
    // unit option, with its focus ring shown as after a Tab.
    Option1->checkedButton()->setFocus(Qt::TabFocusReason);
}

bool Form1::event(QEvent* event)
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

void Form1::describeInputs()
{
    const QByteArray crystal = Fc->text().toUtf8();
    QString limit;
    try {
        const std::int16_t crystalMHz = calc::readCrystalMHz(std::string_view(crystal.constData(), std::size_t(crystal.size())));
        limit = QString::fromStdString(calc::highestAcceptedFrequency(crystalMHz, state_.mode1));
    } catch (const calc::CalcError&) {
        // no usable crystal yet: the range is said without its number
    }
    F->setAccessibleDescription(frequencyDescription(modeshow->text(), limit));
    Fc->setAccessibleDescription(crystalDescription());
    data->setAccessibleDescription(resultDescription());
}

template <class Handler>
void Form1::dispatch(Handler&& handler)
{
    try {
        handler();
    } catch (const calc::CalcError& e) {
        reportError(errorMessage(e));
    } catch (const std::exception& e) {
        reportError(unexpectedErrorMessage(e));
    }
}

void Form1::reportError(const QString& message)
{
    auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("输入有误"), message,
                                QMessageBox::Ok, this);
    box->setObjectName(QStringLiteral("errorBox"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    box->open();
    emit errorReported(message);
}

void Form1::Form_Load()
{
    state_.mode1 = calc::KHz;
    state_.mode2 = calc::Serial;
    Option1->button(calc::KHz)->setChecked(true);   // runs Option1_Click(1)
    Option2->button(calc::Serial)->setChecked(true); // runs Option2_Click(0)
}

void Form1::Option1_Click(qint16 index)
{
    state_.mode1 = index;
    if (const auto caption = calc::unitCaption(index))
        modeshow->setText(QString::fromUtf8(caption->data(), qsizetype(caption->size())));
}

void Form1::Option2_Click(qint16 index)
{
    state_.mode2 = index;
}

void Form1::Command1_Click()
{
    // The controls are read in this order: the frequency, the crystal, the
    // frequency again for the comment, the unit caption; the result box is
    // written last, and only when the calculation succeeds.
    const QByteArray frequency = F->text().toUtf8();
    const QByteArray crystal = Fc->text().toUtf8();
    const QByteArray comment = F->text().toUtf8();
    const QByteArray unit = modeshow->text().toUtf8();
    auto view = [](const QByteArray& bytes) { return std::string_view(bytes.constData(), std::size_t(bytes.size())); };
    std::string line;
    const std::uint32_t word = calc::calculate(state_, {view(frequency), view(crystal), view(comment), view(unit)}, line);

    const QString text = QString::fromStdString(line);
    data->setToolTip(wordTooltip(word, view(crystal)));
    data->setText(text);
    announceNewValue(data, text);
}

QString Form1::wordTooltip(std::uint32_t word, std::string_view crystal) const
{
    calc::ClockOptions options;
    options.crystalMHz = crystal;
    const calc::SystemClock clock = calc::systemClock(options);
    const calc::WordDetails details = calc::windowWordDetails(word, clock, state_.F1);
    const calc::ControlByte control{0, false, true}; // phase 0, running, 6x multiplier
    std::string load;
    calc::appendByteList(load, calc::loadBytes(control, word, state_.mode2));
    return resultTooltip(details, QString::fromStdString(load), calc::isSerial(state_.mode2));
}
