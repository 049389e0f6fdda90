// The window as a user meets it, on the offscreen platform.

#include "form/layout.h"
#include "window/accessibility.h"
#include "window/calculator_window.h"
#include "window/startup.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QFile>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>

#include <algorithm>
#include <memory>
#include <string_view>
#include <vector>

namespace {

class Window : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = std::make_unique<window::CalculatorWindow>();
        form->load();
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }
    void TearDown() override { form.reset(); }

    template <class T = QWidget>
    T* control(const char* name)
    {
        T* w = form->findChild<T*>(QString::fromUtf8(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QString result() { return control<QLineEdit>("data")->text(); }
    QString unit() { return control<QLabel>("modeshow")->text(); }
    // A click where a user aims: on a radio button's indicator, elsewhere
    // in the middle.
    void click(const char* name)
    {
        QWidget* w = control(name);
        const QPoint at = qobject_cast<QRadioButton*>(w) ? QPoint(8, w->height() / 2) : w->rect().center();
        QTest::mouseClick(w, Qt::LeftButton, {}, at);
    }
    void type(const char* box, const QString& text)
    {
        QLineEdit* edit = control<QLineEdit>(box);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }
    QMessageBox* openErrorBox() { return form->findChild<QMessageBox*>(QStringLiteral("errorBox")); }
    void closeErrorBoxes()
    {
        for (QMessageBox* box : form->findChildren<QMessageBox*>())
            box->done(QMessageBox::Ok);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    std::unique_ptr<window::CalculatorWindow> form;
};

TEST_F(Window, StartsWithKilohertzSerialAndTheInitialTexts)
{
    EXPECT_EQ(form->windowTitle(), "Form1");
    EXPECT_EQ(control<QLineEdit>("F")->text(), "10");
    EXPECT_EQ(control<QLineEdit>("Fc")->text(), "20");
    EXPECT_EQ(result(), "Text1");
    EXPECT_EQ(unit(), "KHz");
    EXPECT_EQ(form->mode1(), 1);
    EXPECT_EQ(form->mode2(), 0);
    EXPECT_TRUE(control<QRadioButton>("Option1_1")->isChecked());
    EXPECT_TRUE(control<QRadioButton>("Option2_0")->isChecked());
    EXPECT_FALSE(control<QRadioButton>("Option1_0")->isChecked());
    EXPECT_FALSE(control<QRadioButton>("Option1_2")->isChecked());
    EXPECT_FALSE(control<QRadioButton>("Option2_1")->isChecked());
    // nothing calculated yet
    EXPECT_EQ(form->temp(), 0.0);
    EXPECT_EQ(form->Fc1(), 0);
}

TEST_F(Window, CalculateWritesTheWorkedLines)
{
    click("Command1");
    EXPECT_EQ(result(), "{0x1A,0x76,0x05,0x00},//10KHz");
    EXPECT_NEAR(form->temp(), 357913.9413, 5e-5);
    EXPECT_EQ(form->Fc1(), 20);
    EXPECT_EQ(form->F1(), 10000.0);
    EXPECT_EQ(form->F0(), 10.0);
    click("Option2_1");
    EXPECT_EQ(form->mode2(), 1);
    EXPECT_EQ(result(), "{0x1A,0x76,0x05,0x00},//10KHz"); // not recomputed
    click("Command1");
    EXPECT_EQ(result(), "{0x00,0x05,0x76,0x1A},//10KHz");
    click("Option1_2");
    type("F", "1");
    click("Command1");
    EXPECT_EQ(result(), "{0x02,0x22,0x22,0x22},//1MHz");
    click("Option2_0");
    click("Command1");
    EXPECT_EQ(result(), "{0x22,0x22,0x22,0x02},//1MHz");
}

TEST_F(Window, ALongResultShowsFromItsStart)
{
    type("F", "59999.999986");
    click("Command1");
    QLineEdit* data = control<QLineEdit>("data");
    EXPECT_TRUE(data->text().startsWith("{0x")) << data->text().toStdString();
    EXPECT_TRUE(data->text().endsWith(",//59999.999986KHz")) << data->text().toStdString();
    EXPECT_GT(data->fontMetrics().horizontalAdvance(data->text()), data->width()); // longer than the box
    EXPECT_EQ(data->cursorPosition(), 0);
    // Scrolled to the start: the cursor, before "{0", stands at the left.
    EXPECT_LT(data->inputMethodQuery(Qt::ImCursorRectangle).toRect().left(), data->width() / 8);
}

TEST_F(Window, UnitChangeShowsAtOnceAndLeavesTheResult)
{
    click("Command1");
    const struct {
        const char* option;
        int mode1;
        const char* caption;
    } steps[] = {{"Option1_0", 0, "Hz"}, {"Option1_2", 2, "MHz"}, {"Option1_1", 1, "KHz"}};
    for (const auto& s : steps) {
        click(s.option);
        EXPECT_EQ(form->mode1(), s.mode1);
        EXPECT_EQ(unit(), s.caption);
        EXPECT_EQ(result(), "{0x1A,0x76,0x05,0x00},//10KHz");
    }
}

TEST_F(Window, ReselectingTheSelectedOptionChangesNothing)
{
    click("Option1_1");
    click("Option2_0");
    EXPECT_EQ(form->mode1(), 1);
    EXPECT_EQ(form->mode2(), 0);
    EXPECT_EQ(unit(), "KHz");
    EXPECT_TRUE(control<QRadioButton>("Option1_1")->isChecked());
    EXPECT_TRUE(control<QRadioButton>("Option2_0")->isChecked());
}

TEST_F(Window, TypedResultIsReplacedAndRepeatsAreStable)
{
    type("data", "scribble");
    EXPECT_EQ(result(), "scribble");
    click("Command1");
    EXPECT_EQ(result(), "{0x1A,0x76,0x05,0x00},//10KHz");
    click("Command1");
    EXPECT_EQ(result(), "{0x1A,0x76,0x05,0x00},//10KHz");
    type("F", " 10 kHz");
    click("Command1");
    EXPECT_EQ(result(), "{0x1A,0x76,0x05,0x00},// 10 kHzKHz");
    type("F", "");
    click("Command1");
    EXPECT_EQ(result(), "{0x00,0x00,0x00,0x00},//KHz");
}

TEST_F(Window, BadInputIsReportedAndTheWindowGoesOn)
{
    const struct {
        const char* F;
        const char* Fc;
        const char* unitOption;
        const char* mention;
    } cases[] = {
        {"10", "0", "Option1_1", "1 到 5461 MHz"},
        {"10", "5462", "Option1_1", "1 到 5461 MHz"},
        {"10", "40000", "Option1_1", "1 到 5461 MHz"},
        {"0", "", "Option1_1", "晶振频率"},
        {"-10", "-5", "Option1_1", "1 到 5461 MHz"},
        {"1e999", "0", "Option1_1", "1 到 5461 MHz"},
        {"60", "20", "Option1_2", "最高为 59.999999986 MHz"},
        {"59999999.987", "20", "Option1_0", "最高为 59999999.986 Hz"},
        {"1e306", "20", "Option1_1", "输出频率过高"},
        {"1e999", "20", "Option1_1", "太大"},
        {"-10", "20", "Option1_1", "不能为负数"},
    };
    click("Command1");
    const QString before = result();
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.F) + " / " + c.Fc);
        QSignalSpy spy(form.get(), &window::CalculatorWindow::errorReported);
        click(c.unitOption);
        type("F", QString::fromUtf8(c.F));
        type("Fc", QString::fromUtf8(c.Fc));
        click("Command1");
        ASSERT_EQ(spy.count(), 1);
        const QString message = spy.at(0).at(0).toString();
        EXPECT_TRUE(message.contains(QString::fromUtf8(c.mention))) << message.toStdString();
        QMessageBox* box = openErrorBox();
        ASSERT_NE(box, nullptr);
        EXPECT_TRUE(box->isVisible());
        EXPECT_EQ(box->text(), message);
        EXPECT_EQ(result(), before); // the result box is untouched
        closeErrorBoxes();
        EXPECT_TRUE(form->isVisible());
        // The focus waits in the box the message names.
        const char* fix = message.contains(QString::fromUtf8("“晶振频率”")) ? "Fc" : "F";
        EXPECT_EQ(form->focusWidget(), control(fix)) << message.toStdString();
    }
    // and it still calculates
    click("Option1_1");
    type("F", "10");
    type("Fc", "20");
    click("Command1");
    EXPECT_EQ(result(), "{0x1A,0x76,0x05,0x00},//10KHz");
}

// The resident memory of this process in kB.
long residentKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').front().toLong();
    return -1;
}

TEST_F(Window, ErrorMessagesAreFreedOnceClosed)
{
    type("Fc", "0");
    const auto errors = [&](int count) {
        for (int i = 0; i < count; ++i) {
            click("Command1");
            closeErrorBoxes();
            QApplication::processEvents(); // as the event loop would
        }
    };
    errors(200); // caches warm up
    const long before = residentKilobytes();
    ASSERT_GT(before, 0);
    // Every widget of the application, a message's icon and label too.
    const qsizetype widgets = QApplication::allWidgets().size();
    errors(2000);
    EXPECT_LE(form->findChildren<QMessageBox*>().size(), 1);
    EXPECT_EQ(QApplication::allWidgets().size(), widgets) << "widgets more after 2000 messages";
    EXPECT_LT(residentKilobytes() - before, 512) << "kB more after 2000 messages";
}

TEST_F(Window, AFailedCalculationKeepsWhatWasReadBeforeTheProblem)
{
    click("Command1");
    type("Fc", "5462");
    type("F", "7");
    click("Command1");
    closeErrorBoxes();
    EXPECT_EQ(form->Fc1(), 5462); // the crystal as read
    EXPECT_EQ(form->F1(), 7.0);   // read, but nothing computed with it
    EXPECT_EQ(form->F0(), 7.0);
    EXPECT_NEAR(form->temp(), 357913.94, 0.01); // the previous word
    EXPECT_EQ(form->state().temp, form->temp());
}

int px(int twips) { return form::toPixels(twips, form::layoutDpi); }

const char* classOf(form::Kind kind)
{
    switch (kind) {
    case form::Kind::Frame:
        return "QGroupBox";
    case form::Kind::Option:
        return "QRadioButton";
    case form::Kind::TextBox:
        return "QLineEdit";
    case form::Kind::Label:
        return "QLabel";
    case form::Kind::Button:
        return "QPushButton";
    }
    return "";
}

QString textOf(QWidget* w)
{
    if (auto* g = qobject_cast<QGroupBox*>(w))
        return g->title();
    if (auto* b = qobject_cast<QAbstractButton*>(w))
        return b->text();
    if (auto* e = qobject_cast<QLineEdit*>(w))
        return e->text();
    if (auto* l = qobject_cast<QLabel*>(w))
        return l->text();
    return {};
}

TEST_F(Window, EveryControlSitsAsTheLayoutSays)
{
    for (std::size_t row = 0; row < form::controls.size(); ++row) {
        const form::Control& e = form::controls[row];
        SCOPED_TRACE(e.name);
        QWidget* w = control(std::string(e.name).c_str());
        ASSERT_NE(w, nullptr);
        EXPECT_TRUE(w->inherits(classOf(e.kind))) << w->metaObject()->className();
        EXPECT_EQ(w->parentWidget()->objectName().toStdString(), e.container);
        EXPECT_EQ(w->geometry(), QRect(px(e.left), px(e.top), px(form::shownWidthTwips(e)), px(e.height)));
        // The unit label's design caption is replaced at start.
        EXPECT_EQ(textOf(w).toStdString(), row == form::unitLabelRow ? "KHz" : e.text);
        EXPECT_EQ(w->font().family(), "SimSun");
        EXPECT_DOUBLE_EQ(w->font().pointSizeF(), form::fontPoints(e));
        EXPECT_EQ(w->font().weight(), QFont::Normal);
        EXPECT_FALSE(w->font().italic() || w->font().underline() || w->font().strikeOut());
    }
    // Within each container the controls were created in the stored order.
    for (const char* container : {"Form1", "Frame1", "Frame2", "Frame3", "Frame4", "Frame5"}) {
        QWidget* parent = std::string_view(container) == "Form1" ? form.get() : control(container);
        QStringList actual, expected;
        for (QObject* child : parent->children())
            if (child->isWidgetType() && !qobject_cast<QMessageBox*>(child))
                actual << child->objectName();
        for (const form::Control& e : form::controls)
            if (e.container == container)
                expected << QString::fromUtf8(e.name.data(), qsizetype(e.name.size()));
        EXPECT_EQ(actual, expected) << container;
    }
    EXPECT_DOUBLE_EQ(form->font().pointSizeF(), form::windowFontPoints);
    // It opens at its opening size, showing the whole of Frame1.
    EXPECT_EQ(form->size(), QSize(px(form::openingSizeTwips.width), px(form::openingSizeTwips.height)));
    const form::Rect frame1 = form::absoluteTwips(form::control("Frame1"));
    EXPECT_GE(form->width(), px(frame1.left + frame1.width));
    EXPECT_GE(form->height(), px(frame1.top + frame1.height));
}

TEST_F(Window, TabOrderFollowsTheStoredIndexes)
{
    // Frames and labels take no focus; the rest in the stored tab order.
    const char* expected[] = {"Option1_0", "Option1_1", "Option1_2", "F",        "data",
                              "Command1",  "Fc",        "Option2_0", "Option2_1"};
    std::vector<QString> chain;
    QWidget* start = control(expected[0]);
    QWidget* w = start;
    do {
        // Qt lets only one option of a group take Tab at a time (as the user
        // tabs into a group, then arrows within it), so count every control
        // that can take focus at all.
        if (w->focusPolicy() != Qt::NoFocus && w != form.get())
            chain.push_back(w->objectName());
        w = w->nextInFocusChain();
    } while (w != start && chain.size() < 32);
    ASSERT_EQ(chain.size(), std::size(expected));
    for (std::size_t i = 0; i < chain.size(); ++i)
        EXPECT_EQ(chain[i], expected[i]) << i;
    for (const char* name : {"Frame1", "Frame2", "Frame3", "Frame4", "Frame5", "Label1", "modeshow"})
        EXPECT_EQ(control(name)->focusPolicy(), Qt::NoFocus) << name;
}

TEST_F(Window, TextBoxesAreSingleLineEditableAndUnlimited)
{
    for (const char* name : {"F", "Fc", "data"}) {
        QLineEdit* e = control<QLineEdit>(name);
        EXPECT_FALSE(e->isReadOnly()) << name;
        EXPECT_GT(e->maxLength(), 1'000'000) << name;
    }
    const QString longText(100'000, QLatin1Char('1'));
    control<QLineEdit>("data")->setText(longText);
    EXPECT_EQ(result().size(), longText.size());
}

TEST_F(Window, OptionGroupsAreExclusiveAndIndependent)
{
    auto checked = [&](const char* name) { return control<QRadioButton>(name)->isChecked(); };
    click("Option1_0");
    EXPECT_TRUE(checked("Option1_0"));
    EXPECT_FALSE(checked("Option1_1"));
    EXPECT_FALSE(checked("Option1_2"));
    EXPECT_TRUE(checked("Option2_0")); // the other group is untouched
    click("Option2_1");
    EXPECT_TRUE(checked("Option2_1"));
    EXPECT_FALSE(checked("Option2_0"));
    EXPECT_TRUE(checked("Option1_0"));
    click("Option1_2");
    EXPECT_TRUE(checked("Option1_2"));
    EXPECT_FALSE(checked("Option1_0"));
    EXPECT_TRUE(checked("Option2_1"));
    const auto* units = form->findChild<QButtonGroup*>("Option1");
    const auto* modes = form->findChild<QButtonGroup*>("Option2");
    ASSERT_TRUE(units && modes);
    EXPECT_TRUE(units->exclusive() && modes->exclusive());
    EXPECT_EQ(units->id(control<QAbstractButton>("Option1_2")), 2);
    EXPECT_EQ(modes->id(control<QAbstractButton>("Option2_1")), 1);
}

TEST_F(Window, ArrowKeysMoveWithinAnOptionGroupAndWrap)
{
    const struct {
        const char* from;
        Qt::Key key;
        const char* to;
    } cases[] = {
        {"Option1_1", Qt::Key_Right, "Option1_2"}, {"Option1_2", Qt::Key_Right, "Option1_0"},
        {"Option1_0", Qt::Key_Left, "Option1_2"},  {"Option1_2", Qt::Key_Down, "Option1_0"},
        {"Option1_0", Qt::Key_Up, "Option1_2"},    {"Option1_1", Qt::Key_Up, "Option1_0"},
        {"Option2_0", Qt::Key_Down, "Option2_1"},  {"Option2_1", Qt::Key_Down, "Option2_0"},
        {"Option2_0", Qt::Key_Up, "Option2_1"},    {"Option2_1", Qt::Key_Right, "Option2_0"},
        {"Option2_0", Qt::Key_Left, "Option2_1"},
    };
    for (const auto& c : cases) {
        click(c.from);
        control(c.from)->setFocus();
        QTest::keyClick(control(c.from), c.key);
        EXPECT_EQ(QApplication::focusWidget(), control(c.to)) << c.from << " " << c.key;
        EXPECT_TRUE(control<QRadioButton>(c.to)->isChecked()) << c.from << " " << c.key;
    }
    // The handler ran: the unit follows the selected option.
    click("Option1_2");
    control("Option1_2")->setFocus();
    QTest::keyClick(control("Option1_2"), Qt::Key_Right);
    EXPECT_EQ(form->mode1(), 0);
    EXPECT_EQ(unit(), "Hz");
}

TEST_F(Window, AClickOnAnOptionsCircleOrCaptionSelectsThatOption)
{
    // Aimed as a user aims, at the window: whichever control is on top
    // there takes the click.
    for (const char* name : {"Option1_1", "Option1_2", "Option1_0", "Option2_1", "Option2_0"}) {
        const form::Control& e = form::control(name);
        QWidget* frame = control(std::string(e.container).c_str());
        for (const int x : {8, 24}) { // the circle, the caption
            const QPoint at(px(e.left) + x, px(e.top) + px(e.height) / 2);
            EXPECT_EQ(frame->childAt(at), control(name)) << name << " at " << x;
            QTest::mouseClick(frame->childAt(at), Qt::LeftButton, {}, frame->childAt(at)->mapFrom(frame, at));
            EXPECT_TRUE(control<QRadioButton>(name)->isChecked()) << name << " at " << x;
        }
    }
}

TEST_F(Window, ControlsHaveAccessibleNames)
{
    const struct {
        const char* name;
        const char* accessible;
    } cases[] = {{"F", "频率"},          {"Fc", "晶振频率"},
                 {"data", "对应值"},     {"Command1", "计算"},
                 {"Option1_1", "KHz"},   {"Option2_1", "并行"},
                 {"Frame2", "频率设置"}, {"Frame1", "AD9851 计算软件 KOVA TARELMIN"}};
    for (const auto& c : cases)
        EXPECT_EQ(control(c.name)->accessibleName(), QString::fromUtf8(c.accessible)) << c.name;
}

TEST_F(Window, ChineseCaptionsHaveGlyphs)
{
    // Each Chinese caption must be drawable by the font it resolves to, or
    // it would show as boxes.
    for (const char* name : {"Frame1", "Frame2", "Frame3", "Frame4", "Frame5", "Command1", "Option2_0", "Option2_1"}) {
        QWidget* w = control(name);
        const QFontMetrics metrics(w->font());
        for (const QChar c : textOf(w))
            if (c.unicode() >= 0x4E00) {
                EXPECT_TRUE(metrics.inFont(c)) << name << " lacks U+" << std::hex << int(c.unicode()) << " in "
                                               << QFontInfo(w->font()).family().toStdString();
            }
    }
}

TEST_F(Window, OptionsSelectAnywhereInTheirRectangle)
{
    for (const char* name : {"Option2_1", "Option1_2", "Option1_0", "Option2_0", "Option1_1"}) {
        auto* option = control<QRadioButton>(name);
        // Right of the caption, where only the stored rectangle reaches.
        QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(option->width() - 2, option->height() / 2));
        EXPECT_TRUE(option->isChecked()) << name;
    }
    EXPECT_EQ(form->mode1(), 1);
    EXPECT_EQ(form->mode2(), 0);
    click("Option2_1");
    click("Command1");
    EXPECT_EQ(result(), "{0x00,0x05,0x76,0x1A},//10KHz");
}

TEST_F(Window, FrameLinesRunAcrossTheirTitles)
{
    for (const char* name : {"Frame1", "Frame2", "Frame3", "Frame4", "Frame5"}) {
        SCOPED_TRACE(name);
        auto* frame = control<QGroupBox>(name);
        const QImage image = frame->grab().toImage();
        const int titleHeight = QFontMetrics(frame->font()).height();
        // The topmost drawn row at the right edge is the frame's top line.
        const QColor background = frame->palette().color(QPalette::Window);
        const int x = image.width() - 4;
        int line = 0;
        while (line < image.height() && image.pixelColor(x, line) == background)
            ++line;
        EXPECT_GT(line, 0);
        EXPECT_LT(line, titleHeight); // across the title, not below it
        // The title itself is drawn: some pixel in its row is neither frame nor background.
        bool titleDrawn = false;
        for (int tx = 8; tx < 8 + QFontMetrics(frame->font()).horizontalAdvance(frame->title()) && !titleDrawn; ++tx)
            titleDrawn =
                image.pixelColor(tx, line) != background && image.pixelColor(tx, line) != image.pixelColor(x, line);
        EXPECT_TRUE(titleDrawn);
        // The controls inside stay clear of the line.
        for (QWidget* child : frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            EXPECT_GT(child->y(), line + 1) << child->objectName().toStdString();
    }
}

TEST_F(Window, EnterCalculatesFromTheBoxesAndTheButton)
{
    type("F", "25");
    QTest::keyClick(control("F"), Qt::Key_Return);
    EXPECT_EQ(result(), "{0x41,0xA7,0x0D,0x00},//25KHz");
    type("Fc", "30");
    QTest::keyClick(control("Fc"), Qt::Key_Enter);
    EXPECT_EQ(result(), "{0x2B,0x1A,0x09,0x00},//25KHz");
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
        type("F", "10");
        type("Fc", "20");
        control("Command1")->setFocus();
        QTest::keyClick(control("Command1"), key);
        EXPECT_EQ(result(), "{0x1A,0x76,0x05,0x00},//10KHz") << key;
        control<QLineEdit>("data")->clear();
    }
    // Enter in the result box calculates nothing.
    type("data", "scribble");
    QTest::keyClick(control("data"), Qt::Key_Return);
    EXPECT_EQ(result(), "scribble");
    // A failing calculation by Enter is reported as by the button.
    QSignalSpy spy(form.get(), &window::CalculatorWindow::errorReported);
    type("Fc", "0");
    QTest::keyClick(control("F"), Qt::Key_Return);
    EXPECT_EQ(spy.count(), 1);
    closeErrorBoxes();
}

TEST_F(Window, StartsWithTheFocusOnTheSelectedUnit)
{
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    EXPECT_EQ(QApplication::focusWidget(), control("Option1_1"));
    EXPECT_TRUE(form->testAttribute(Qt::WA_KeyboardFocusChange)); // the focus ring shows
    // Tab goes on in the stored order, to the frequency box.
    QTest::keyClick(control("Option1_1"), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), control("F"));
}

TEST_F(Window, PastedLineBreaksKeepTheFirstLineOnly)
{
    QLineEdit* f = control<QLineEdit>("F");
    const struct {
        const char* before;
        int cursor;
        const char* pasted;
        const char* after;
    } cases[] = {
        {"", 0, "10\n", "10"},
        {"", 0, "25\r\n30\r\n", "25"},
        {"1", 1, "2\n3", "12"},
        {"15", 1, "0\r9", "105"},
        // A paste's empty first lines are skipped.
        {"7", 0, "\n8", "87"},
        {"", 0, "\n99", "99"},
        {"10", 2, "\r\n\r\n5\n6", "105"},
    };
    for (const auto& c : cases) {
        f->setText(QString::fromUtf8(c.before));
        f->setCursorPosition(c.cursor);
        QApplication::clipboard()->setText(QString::fromUtf8(c.pasted));
        f->setFocus();
        QTest::keySequence(f, QKeySequence::Paste);
        EXPECT_EQ(f->text(), QString::fromUtf8(c.after)) << c.pasted;
    }
    f->setText(QStringLiteral("10"));
    QApplication::clipboard()->setText(QStringLiteral("10\n"));
    control<QLineEdit>("Fc")->selectAll();
    QTest::keySequence(control("Fc"), QKeySequence::Paste);
    EXPECT_EQ(control<QLineEdit>("Fc")->text(), "10");
    click("Command1");
    EXPECT_EQ(result(), "{0x34,0xEC,0x0A,0x00},//10KHz");
    EXPECT_FALSE(result().contains(u'\n'));
}

TEST_F(Window, TooltipTellsWhatTheWordReallyGives)
{
    EXPECT_TRUE(control("data")->toolTip().isEmpty());
    click("Command1");
    const QString serial = control("data")->toolTip();
    for (const char* part : {"实际输出频率：10000.002 Hz", "+0.002 Hz", "频率步进：0.027940 Hz",
                             "（串行，相位 0，不掉电，6 倍频）：{0x1A,0x76,0x05,0x00,0x01}"})
        EXPECT_TRUE(serial.contains(QString::fromUtf8(part))) << part << "\n" << serial.toStdString();
    // Without a mouse: the box's accessible description carries the same.
    EXPECT_TRUE(control("data")->accessibleDescription().endsWith(serial));
    click("Option2_1");
    click("Option1_2");
    type("F", "10");
    type("Fc", "30");
    click("Command1");
    EXPECT_TRUE(control("data")->toolTip().contains(
        QStringLiteral("（并行，相位 0，不掉电，6 倍频）：{0x01,0x0E,0x38,0xE3,0x8E}")))
        << control("data")->toolTip().toStdString();
    // A failed calculation leaves the tooltip with the line it belongs to.
    const QString before = control("data")->toolTip();
    type("Fc", "0");
    click("Command1");
    closeErrorBoxes();
    EXPECT_EQ(control("data")->toolTip(), before);
}

TEST_F(Window, CtrlF1InTheResultBoxShowsItsTooltip)
{
    click("Command1");
    QLineEdit* data = control<QLineEdit>("data");
    data->setFocus();
    QTest::keyClick(data, Qt::Key_F1); // F1 alone is not the key
    EXPECT_FALSE(QToolTip::isVisible());
    control("F")->setFocus();
    QTest::keyClick(control("F"), Qt::Key_F1, Qt::ControlModifier); // nor in another box
    EXPECT_FALSE(QToolTip::isVisible());
    data->setFocus();
    QTest::keyClick(data, Qt::Key_F1, Qt::ControlModifier);
    ASSERT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), data->toolTip());
    EXPECT_TRUE(QToolTip::text().contains(QString::fromUtf8("实际输出频率：10000.002 Hz")))
        << QToolTip::text().toStdString();
    QToolTip::hideText();
}

TEST_F(Window, AssistiveTechnologyHearsUnitsRangesAndResults)
{
    EXPECT_EQ(control("Fc")->accessibleDescription(), QString::fromUtf8("MHz，1 到 5461"));
    EXPECT_EQ(control("F")->accessibleDescription(), QString::fromUtf8("KHz，0 到 59999.999986 KHz"));
    click("Option1_2");
    type("Fc", "30");
    EXPECT_EQ(control("F")->accessibleDescription(), QString::fromUtf8("MHz，0 到 89.999999979 MHz"));
    type("Fc", "");
    EXPECT_EQ(control("F")->accessibleDescription(), QString::fromUtf8("MHz，0 到系统时钟的一半"));
    EXPECT_FALSE(control("data")->accessibleDescription().isEmpty());

    // Top to bottom, left to right, whatever the order of creation.
    auto childrenOf = [](QWidget* w) {
        QStringList names;
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
        for (int i = 0; i < a->childCount(); ++i)
            names << a->child(i)->object()->objectName();
        return names;
    };
    EXPECT_EQ(childrenOf(control("Frame1")), QStringList({"Frame2", "Command1", "Frame3", "Frame4", "Frame5"}));
    EXPECT_EQ(childrenOf(control("Frame2")), QStringList({"Option1_0", "Option1_1", "Option1_2", "F", "modeshow"}));
    EXPECT_EQ(childrenOf(control("Frame5")), QStringList({"Option2_0", "Option2_1"}));
    QAccessibleInterface* frame2 = QAccessible::queryAccessibleInterface(control("Frame2"));
    EXPECT_EQ(frame2->indexOfChild(QAccessible::queryAccessibleInterface(control("F"))), 3);

    // The new result is announced as the result box's new value.
    static std::vector<std::pair<QObject*, QString>> announced;
    announced.clear();
    watchAnnouncements([](const QAccessibleEvent& e) {
        if (e.type() == QAccessible::ValueChanged)
            announced.emplace_back(e.object(), static_cast<const QAccessibleValueChangeEvent&>(e).value().toString());
    });
    type("Fc", "30");
    click("Command1");
    type("Fc", "0");
    click("Command1"); // fails: nothing new to announce
    closeErrorBoxes();
    watchAnnouncements(nullptr);
    ASSERT_EQ(announced.size(), 1u);
    EXPECT_EQ(announced[0].first, control("data"));
    EXPECT_EQ(announced[0].second, "{0x8E,0xE3,0x38,0x0E},//10MHz");
    EXPECT_EQ(result(), "{0x8E,0xE3,0x38,0x0E},//10MHz");
    // A screen reader says a value change only where the focus is: a
    // notification of no size, shown, says the line too.
    QWidget* notice = form->findChild<QWidget*>(QStringLiteral("announcement"));
    ASSERT_NE(notice, nullptr);
    EXPECT_TRUE(notice->isVisible());
    EXPECT_TRUE(notice->size().isEmpty());
    EXPECT_EQ(notice->focusPolicy(), Qt::NoFocus);
    QAccessibleInterface* said = QAccessible::queryAccessibleInterface(notice);
    EXPECT_EQ(said->role(), QAccessible::Notification);
    EXPECT_EQ(said->text(QAccessible::Name), "{0x8E,0xE3,0x38,0x0E},//10MHz");
}

TEST_F(Window, CannotShrinkBelowItsLayout)
{
    const QSize minimum(px(form::minimumSizeTwips.width), px(form::minimumSizeTwips.height));
    EXPECT_EQ(form->minimumSize(), minimum);
    form->resize(300, 200);
    EXPECT_EQ(form->size(), minimum);
}

TEST(StartUp, StandardButtonsReadInChinese)
{
    EXPECT_EQ(QLocale().name(), "zh_CN");
    QMessageBox box(QMessageBox::Information, "t", "m", QMessageBox::Ok);
    EXPECT_EQ(box.button(QMessageBox::Ok)->text(), QString::fromUtf8("确定"));
    EXPECT_FALSE(QApplication::windowIcon().isNull());
    // Every size a task switcher or title bar asks for, none scaled.
    const QList<QSize> sizes = QApplication::windowIcon().availableSizes();
    for (const int px : {16, 32, 48, 64})
        EXPECT_TRUE(sizes.contains(QSize(px, px))) << px;
    EXPECT_EQ(QApplication::applicationVersion(), AD9851_VERSION_TEXT);
}

TEST(StartUp, IconIsTheArtworkPixelForPixel)
{
    // Compared premultiplied, as a pixmap holds them.
    const QIcon icon = QApplication::windowIcon();
    for (const int px : {16, 32, 48, 64}) {
        const QImage artwork = QImage(QStringLiteral(AD9851_ICON_DIR "/ad9851-calc-%1.png").arg(px));
        ASSERT_FALSE(artwork.isNull()) << px;
        const QImage drawn = icon.pixmap(px, px).toImage();
        EXPECT_EQ(drawn.convertToFormat(QImage::Format_ARGB32_Premultiplied),
                  artwork.convertToFormat(QImage::Format_ARGB32_Premultiplied))
            << px;
    }
}

} // namespace

int main(int argc, char** argv)
{
    // The window tests need no display; listing them needs none either.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    prepareApplication(app);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
