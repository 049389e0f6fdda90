// The spectrum window as a user meets it, on the offscreen platform: opened
// from the main window, following its calculations, its settings, saving.

#include "calc/calculation.h"
#include "calc/clock.h"
#include "calc/spectrum.h"
#include "form/plot.h"
#include "form/spectrum_window.h"
#include "window/calculator_window.h"
#include "window/spectrum_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <memory>

namespace {

using form::SpectrumId;

class SpectrumWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        main = std::make_unique<window::CalculatorWindow>();
        main->load();
        main->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
        main->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
    }
    void TearDown() override { main.reset(); }

    template <class T = QWidget>
    T* mainControl(const char* name)
    {
        T* w = main->findChild<T*>(QString::fromUtf8(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    template <class T = QWidget>
    T* control(SpectrumId id)
    {
        return static_cast<T*>(spectrum()->control(id));
    }
    window::SpectrumWindow* spectrum() { return main->spectrumWindow(); }

    // 计算 for `mhz` MHz at a crystal of `crystal` MHz, as a user does it.
    void calculate(const char* mhz, const char* crystal)
    {
        QTest::mouseClick(mainControl<QRadioButton>("Option1_2"), Qt::LeftButton, {}, QPoint(8, 8));
        mainControl<QLineEdit>("F")->setText(QString::fromUtf8(mhz));
        mainControl<QLineEdit>("Fc")->setText(QString::fromUtf8(crystal));
        QTest::mouseClick(mainControl<QPushButton>("Command1"), Qt::LeftButton);
    }
    // Types into a settings box and presses Enter.
    void type(SpectrumId box, const QString& text)
    {
        auto* edit = control<QLineEdit>(box);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        // QTest types ASCII only; other characters arrive as from an input method.
        if (text.toLatin1() == text.toUtf8())
            QTest::keyClicks(edit, text);
        else
            edit->insert(text);
        QTest::keyClick(edit, Qt::Key_Return);
    }
    QStringList tableRow(const QString& kind, const QString& order)
    {
        auto* table = control<QTableWidget>(SpectrumId::Table);
        for (int r = 0; r < table->rowCount(); ++r)
            if (table->item(r, 0)->text() == kind && table->item(r, 1)->text() == order) {
                QStringList row;
                for (int c = 0; c < table->columnCount(); ++c)
                    row << table->item(r, c)->text();
                return row;
            }
        return {};
    }

    std::unique_ptr<window::CalculatorWindow> main;
};

TEST_F(SpectrumWindowTest, F2OpensItFromAnywhereInTheMainWindow)
{
    EXPECT_EQ(spectrum(), nullptr);
    for (const char* focused : {"F", "Fc", "data", "Command1"}) {
        SCOPED_TRACE(focused);
        if (spectrum())
            spectrum()->hide();
        main->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
        mainControl(focused)->setFocus();
        QTest::keyClick(mainControl(focused), Qt::Key_F2);
        ASSERT_NE(spectrum(), nullptr);
        EXPECT_TRUE(spectrum()->isVisible());
    }
    EXPECT_EQ(spectrum()->windowTitle(), "频谱");
    EXPECT_TRUE(spectrum()->isWindow());
    // Nothing calculated yet: it says so and offers nothing to save.
    EXPECT_EQ(control<QTableWidget>(SpectrumId::Table)->rowCount(), 0);
    EXPECT_EQ(control<QLabel>(SpectrumId::Status)->text().toStdString(), form::nothingCalculatedYet);
    EXPECT_FALSE(control(SpectrumId::SaveSvg)->isEnabled());
}

TEST_F(SpectrumWindowTest, TheResultMenuKeepsItsEntriesAndOpensIt)
{
    calculate("70", "30");
    auto* data = mainControl<QLineEdit>("data");
    EXPECT_TRUE(data->toolTip().contains("F2")) << data->toolTip().toStdString();
    QContextMenuEvent event(QContextMenuEvent::Mouse, data->rect().center(), data->mapToGlobal(data->rect().center()));
    QApplication::sendEvent(data, &event);
    auto* menu = main->findChild<QMenu*>(QStringLiteral("resultMenu"));
    if (!menu)
        menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    // The box's own entries first, as its standard menu has them.
    const std::unique_ptr<QMenu> standard(data->createStandardContextMenu());
    QStringList texts, standardTexts;
    for (QAction* a : menu->actions())
        texts << a->text();
    for (QAction* a : standard->actions())
        standardTexts << a->text();
    EXPECT_TRUE(standardTexts.join('|').contains("Ctrl+C")) << standardTexts.join('|').toStdString();
    EXPECT_TRUE(standardTexts.join('|').contains("Ctrl+A")) << standardTexts.join('|').toStdString();
    EXPECT_EQ(texts.mid(0, standardTexts.size()), standardTexts);
    auto* entry = menu->findChild<QAction*>(QStringLiteral("spectrumAction"));
    if (!entry)
        for (QAction* a : menu->actions())
            if (a->objectName() == "spectrumAction")
                entry = a;
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->text(), "频谱…");
    entry->trigger();
    menu->close();
    ASSERT_NE(spectrum(), nullptr);
    EXPECT_TRUE(spectrum()->isVisible());
    EXPECT_FALSE(tableRow("镜像", "-1").isEmpty()); // shows the calculation made before it opened
}

TEST_F(SpectrumWindowTest, ItShowsTheImageAndFollowsEveryCalculation)
{
    calculate("70", "30");
    main->openSpectrum();
    const QStringList image = tableRow("镜像", "-1");
    ASSERT_EQ(image.size(), 4);
    EXPECT_NEAR(image[2].toDouble(), 110e6, 0.1) << image[2].toStdString(); // to the mHz
    EXPECT_EQ(image[3], "-3.93");
    EXPECT_EQ(tableRow("输出", "1").value(3), "0.00");
    EXPECT_TRUE(control(SpectrumId::Plot)->accessibleDescription().contains("70000000.019"))
        << control(SpectrumId::Plot)->accessibleDescription().toStdString();

    calculate("10", "30"); // the open window follows
    EXPECT_EQ(tableRow("镜像", "-1"), (QStringList{"镜像", "-1", "170000000.009", "-24.61"}));
    EXPECT_EQ(tableRow("镜像", "1"), (QStringList{"镜像", "1", "189999999.991", "-25.58"}));

    // A failed calculation leaves it showing the last good one.
    mainControl<QLineEdit>("F")->setText("1000");
    QTest::mouseClick(mainControl<QPushButton>("Command1"), Qt::LeftButton);
    EXPECT_EQ(tableRow("镜像", "-1").value(2), "170000000.009");
    for (QMessageBox* box : main->findChildren<QMessageBox*>())
        box->done(QMessageBox::Ok);
}

TEST_F(SpectrumWindowTest, TheTitleFollowsEachCalculation)
{
    main->openSpectrum();
    EXPECT_EQ(spectrum()->windowTitle(), "频谱");
    calculate("36.05", "30");
    EXPECT_EQ(spectrum()->windowTitle(), "频谱 — 最近成分 H4，距输出 250000.069 Hz");
    calculate("36.05", "20");
    EXPECT_EQ(spectrum()->windowTitle(), "频谱 — 最近成分 H2，距输出 11849999.959 Hz");

    // 0 gives a word of 0: nothing to show, and the window says why.
    calculate("0", "30");
    EXPECT_EQ(spectrum()->windowTitle(), "频谱");
    EXPECT_EQ(control<QLabel>(SpectrumId::Status)->text().toStdString(), form::nothingForWordZero);
    EXPECT_EQ(control<QTableWidget>(SpectrumId::Table)->rowCount(), 0);
    EXPECT_TRUE(control(SpectrumId::Plot)->accessibleDescription().isEmpty());
    EXPECT_FALSE(control(SpectrumId::SaveCsv)->isEnabled());
    EXPECT_TRUE(main->findChildren<QMessageBox*>().empty() ||
                std::ranges::none_of(main->findChildren<QMessageBox*>(), &QWidget::isVisible));
}

TEST_F(SpectrumWindowTest, ChangingTheSettingsUpdatesTableAndPlot)
{
    calculate("70", "30");
    main->openSpectrum();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(spectrum()));
    EXPECT_TRUE(tableRow("镜像", "3").isEmpty());
    type(SpectrumId::Images, "3");
    EXPECT_FALSE(tableRow("镜像", "3").isEmpty());

    auto* filter = control<QComboBox>(SpectrumId::Filter);
    EXPECT_FALSE(control(SpectrumId::Order)->isEnabled());
    type(SpectrumId::Images, "2");
    filter->setCurrentIndex(int(form::FilterChoice::Butterworth));
    EXPECT_TRUE(control(SpectrumId::Order)->isEnabled());
    EXPECT_FALSE(control(SpectrumId::Ripple)->isEnabled());
    type(SpectrumId::Order, "7");
    EXPECT_EQ(control<QTableWidget>(SpectrumId::Table)->columnCount(), 5);
    EXPECT_EQ(tableRow("镜像", "-1").value(4), "-28.40"); // -3.926 - 27.489 + 3.010

    // The plot is drawn for the widget's size, and again after a resize.
    QWidget* plot = control(SpectrumId::Plot);
    const QSize before = plot->size();
    spectrum()->resize(spectrum()->width() + 200, spectrum()->height() + 150);
    QCoreApplication::processEvents();
    EXPECT_EQ(plot->width(), before.width() + 200);
    EXPECT_GT(plot->height(), before.height());
    const QImage shot = plot->grab().toImage();
    const QColor output = QColor::fromRgb(QRgb(0xFF000000u | form::plotStyle(form::PlotRole::Output).rgb));
    const QColor image = QColor::fromRgb(QRgb(0xFF000000u | form::plotStyle(form::PlotRole::Image).rgb));
    int outputPixels = 0, imagePixels = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            const QColor c = shot.pixelColor(x, y);
            outputPixels += c == output;
            imagePixels += c == image;
        }
    EXPECT_GT(outputPixels, 20);
    EXPECT_GT(imagePixels, 20);
}

TEST_F(SpectrumWindowTest, BadSettingTextGivesTheChineseMessage)
{
    calculate("70", "30");
    main->openSpectrum();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(spectrum()));
    QSignalSpy errors(spectrum(), &window::SpectrumWindow::errorReported);
    type(SpectrumId::Harmonics, "五");
    ASSERT_EQ(errors.count(), 1);
    const QString message = errors.at(0).at(0).toString();
    EXPECT_TRUE(message.contains("“N 谐波次数”")) << message.toStdString();
    auto* box = spectrum()->findChild<QMessageBox*>(QStringLiteral("errorBox"));
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isVisible());
    EXPECT_EQ(box->windowTitle(), "输入有误");
    box->done(QMessageBox::Ok);
    EXPECT_FALSE(tableRow("谐波", "2").isEmpty()); // the table stays
}

TEST_F(SpectrumWindowTest, SavedFilesAreTheSameAsTheCommandLinesPlot)
{
    calculate("70", "30");
    main->openSpectrum();
    QTemporaryDir dir;
    const QString svg = dir.filePath("plot.svg"), png = dir.filePath("plot.png"), csv = dir.filePath("table.csv");
    ASSERT_TRUE(spectrum()->saveSvg(svg));
    ASSERT_TRUE(spectrum()->savePng(png));
    ASSERT_TRUE(spectrum()->saveCsv(csv));

    // The same inputs, computed without the window.
    calc::CalcState state;
    state.mode1 = 2;
    std::string line;
    const std::uint32_t word = calc::calculate(state, {"70", "30", "70", "MHz"}, line);
    calc::ClockOptions options;
    options.crystalMHz = "30";
    const calc::Spectrum expected = calc::outputSpectrum(word, calc::systemClock(options), {});
    const std::string document =
        form::svgDocument(form::spectrumPlot(expected, form::savedPlotWidth, form::savedPlotHeight));
    QFile file(svg);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().toStdString(), document);

    const QImage image(png);
    EXPECT_EQ(image.size(), QSize(int(form::savedPlotWidth), int(form::savedPlotHeight)));
    QFile table(csv);
    ASSERT_TRUE(table.open(QIODevice::ReadOnly));
    EXPECT_TRUE(table.readAll().startsWith("frequency,unit,component,order,component_hz,level_dbc\r\n70,MHz,"));

    QSignalSpy errors(spectrum(), &window::SpectrumWindow::errorReported);
    EXPECT_FALSE(spectrum()->saveSvg(dir.filePath("missing/plot.svg")));
    EXPECT_EQ(errors.count(), 1);
    for (QMessageBox* box : spectrum()->findChildren<QMessageBox*>())
        box->done(QMessageBox::Ok);
}

TEST_F(SpectrumWindowTest, EveryControlIsNamedAndTheKeyboardReachesIt)
{
    calculate("70", "30");
    main->openSpectrum();
    ASSERT_TRUE(QTest::qWaitForWindowActive(spectrum()));
    for (const form::SpectrumControl& c : form::spectrumControls) {
        QWidget* w = spectrum()->control(c.id);
        const QString name = c.kind == form::SpectrumKind::Label ? w->property("text").toString() : w->accessibleName();
        EXPECT_FALSE(name.isEmpty()) << c.name;
    }
    // Tab walks the tab order, round to the start.
    control(SpectrumId::Images)->setFocus(Qt::TabFocusReason);
    QStringList walked, expected;
    for (const form::SpectrumControl* c : form::spectrumTabOrder(true)) {
        if (spectrum()->control(c->id)->isEnabled())
            expected << QString::fromUtf8(c->name.data(), qsizetype(c->name.size()));
    }
    expected << expected.front();
    for (qsizetype i = 0; i < expected.size(); ++i) {
        QWidget* focused = spectrum()->focusWidget();
        ASSERT_NE(focused, nullptr);
        walked << focused->objectName();
        QTest::keyClick(focused, Qt::Key_Tab);
    }
    EXPECT_EQ(walked.join(' ').toStdString(), expected.join(' ').toStdString());
}

} // namespace
