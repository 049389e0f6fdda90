// The spectrum window without a toolkit: its layout and its handler, driven
// through a view that records what the handler shows.

#include "calc/calculation.h"
#include "form/spectrum_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

using form::SpectrumId;

class RecordingView : public form::SpectrumView {
public:
    std::map<SpectrumId, std::string> texts;
    form::FilterChoice choice = form::FilterChoice::None;
    std::map<SpectrumId, bool> enabled;
    std::vector<std::string> columns;
    std::vector<std::vector<std::string>> rows;
    int plotChanges = 0;
    std::string status;
    std::string title;
    std::vector<std::string> errors;
    std::vector<SpectrumId> focused;

    RecordingView()
    {
        for (const form::SpectrumControl& c : form::spectrumControls)
            if (c.kind == form::SpectrumKind::NumberBox)
                texts[c.id] = c.text;
    }
    std::string text(SpectrumId box) const override { return texts.at(box); }
    form::FilterChoice filterChoice() const override { return choice; }
    void setEnabled(SpectrumId id, bool on) override { enabled[id] = on; }
    void showTable(const std::vector<std::string>& c, const std::vector<std::vector<std::string>>& r) override
    {
        columns = c;
        rows = r;
    }
    void plotChanged() override { ++plotChanges; }
    void showStatus(std::string_view t) override { status = t; }
    void showTitle(std::string_view t) override { title = t; }
    void showError(std::string_view m) override { errors.emplace_back(m); }
    void focus(SpectrumId id) override { focused.push_back(id); }

    // The table's row for the component of this kind and order.
    std::vector<std::string> row(std::string_view kind, std::string_view order) const
    {
        for (const auto& r : rows)
            if (r[0] == kind && r[1] == order)
                return r;
        return {};
    }
};

// The word the main window calculates for `mhz` MHz at a crystal of
// `crystal` MHz.
form::Calculated calculatedFor(const char* mhz, const char* crystal)
{
    calc::CalcState state;
    state.mode1 = 2; // MHz
    std::string line;
    const std::uint32_t word = calc::calculate(state, {mhz, crystal, mhz, "MHz"}, line);
    return {word, state.Fc1, mhz, "MHz"};
}

class SpectrumForm : public ::testing::Test {
protected:
    void SetUp() override { logic.load(); }
    RecordingView view;
    form::SpectrumWindow logic{view};
};

TEST_F(SpectrumForm, BeforeAnyCalculationItSaysSoAndSavesNothing)
{
    EXPECT_EQ(view.status, form::nothingCalculatedYet);
    EXPECT_FALSE(logic.plot(800, 480).has_value());
    EXPECT_TRUE(view.rows.empty());
    for (SpectrumId id : {SpectrumId::SaveSvg, SpectrumId::SavePng, SpectrumId::SaveCsv})
        EXPECT_FALSE(view.enabled.at(id));
    EXPECT_EQ(logic.svgText(), "");
    EXPECT_EQ(logic.csvText(), "");
    // Without a filter its boxes are off.
    for (SpectrumId id : {SpectrumId::Order, SpectrumId::Cutoff, SpectrumId::Ripple})
        EXPECT_FALSE(view.enabled.at(id));
    // Settings changed before anything is calculated: nothing to report.
    view.texts[SpectrumId::Images] = "x";
    logic.settingsChanged();
    EXPECT_TRUE(view.errors.empty());
}

TEST_F(SpectrumForm, SeventyMegahertzAtThirtyShowsTheImageAtOneHundredTen)
{
    logic.calculated(calculatedFor("70", "30"));
    EXPECT_TRUE(view.errors.empty());
    EXPECT_EQ(view.columns, (std::vector<std::string>{"成分", "阶次", "频率 (Hz)", "电平 (dBc)"}));
    const auto image = view.row("镜像", "-1");
    ASSERT_EQ(image.size(), 4u);
    EXPECT_NEAR(std::stod(image[2]), 110e6, 0.1) << image[2]; // to the mHz
    EXPECT_EQ(image[3], "-3.93");
    EXPECT_EQ(view.row("输出", "1").at(3), "0.00");
    EXPECT_FALSE(view.row("谐波", "2").empty());
    EXPECT_NE(view.status.find("180000000.000 Hz"), std::string::npos) << view.status;
    EXPECT_GT(view.plotChanges, 0);
    for (SpectrumId id : {SpectrumId::SaveSvg, SpectrumId::SavePng, SpectrumId::SaveCsv})
        EXPECT_TRUE(view.enabled.at(id));
    // Rows in the order of frequency.
    std::vector<double> hz;
    for (const auto& r : view.rows)
        hz.push_back(std::stod(r[2]));
    EXPECT_TRUE(std::ranges::is_sorted(hz));
}

TEST_F(SpectrumForm, TheTitleNamesTheComponentNearestTheOutput)
{
    EXPECT_EQ(view.title, "频谱");
    const struct {
        const char* mhz;
        const char* crystal;
        const char* title;
    } cases[] = {
        {"36.05", "30", "频谱 — 最近成分 H4，距输出 250000.069 Hz"},
        {"36.05", "20", "频谱 — 最近成分 H2，距输出 11849999.959 Hz"},
        {"45.001", "30", "频谱 — 最近成分 H3，距输出 4000.012 Hz"}, // H5 as near: the lower order
        {"60", "30", "频谱 — 最近成分 H2，距输出 0.042 Hz"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.mhz) + " MHz at " + c.crystal);
        logic.calculated(calculatedFor(c.mhz, c.crystal));
        EXPECT_EQ(view.title, c.title);
    }
    // The settings change it too: without harmonics an image is nearest.
    logic.calculated(calculatedFor("36.05", "30"));
    view.texts[SpectrumId::Harmonics] = "1";
    logic.settingsChanged();
    const std::string imageTitle = "频谱 — 最近成分 -1，距输出 107899999.972 Hz";
    EXPECT_EQ(view.title, imageTitle);
    // A bad setting leaves the title with the spectrum still shown.
    view.texts[SpectrumId::Harmonics] = "x";
    logic.settingsChanged();
    EXPECT_EQ(view.title, imageTitle);
}

TEST_F(SpectrumForm, AWordOfZeroShowsWhyThereIsNoSpectrum)
{
    logic.calculated(calculatedFor("70", "30"));
    const form::Calculated zero = calculatedFor("0", "30");
    ASSERT_EQ(zero.word, 0u);
    logic.calculated(zero);
    // Said in the status line, naming the main window's box, in Chinese;
    // what was shown before goes, as it is not this calculation's.
    EXPECT_TRUE(view.errors.empty()) << view.errors.front();
    EXPECT_EQ(view.status, form::nothingForWordZero);
    EXPECT_NE(view.status.find("“频率设置”"), std::string::npos);
    EXPECT_EQ(view.title, "频谱");
    EXPECT_TRUE(view.rows.empty());
    EXPECT_FALSE(logic.spectrum().has_value());
    EXPECT_FALSE(logic.plot(800, 480).has_value());
    EXPECT_EQ(logic.csvText(), "");
    for (SpectrumId id : {SpectrumId::SaveSvg, SpectrumId::SavePng, SpectrumId::SaveCsv})
        EXPECT_FALSE(view.enabled.at(id));
    // A setting changed meanwhile says the same; the next word shows again.
    view.texts[SpectrumId::Images] = "3";
    logic.settingsChanged();
    EXPECT_EQ(view.status, form::nothingForWordZero);
    logic.calculated(calculatedFor("70", "30"));
    EXPECT_FALSE(view.row("镜像", "3").empty());
    EXPECT_TRUE(view.enabled.at(SpectrumId::SaveCsv));
}

TEST_F(SpectrumForm, TheSettingsChangeWhatIsShown)
{
    logic.calculated(calculatedFor("70", "30"));
    view.texts[SpectrumId::Images] = "3";
    view.texts[SpectrumId::Harmonics] = "1";
    logic.settingsChanged();
    EXPECT_FALSE(view.row("镜像", "3").empty());
    EXPECT_TRUE(view.row("谐波", "2").empty());

    view.choice = form::FilterChoice::Butterworth;
    view.texts[SpectrumId::Order] = "7";
    view.texts[SpectrumId::Cutoff] = "70";
    logic.filterChosen();
    EXPECT_TRUE(view.enabled.at(SpectrumId::Order));
    EXPECT_TRUE(view.enabled.at(SpectrumId::Cutoff));
    EXPECT_FALSE(view.enabled.at(SpectrumId::Ripple));
    ASSERT_EQ(view.columns.size(), 5u);
    // 27.49 dB off the image, 3.01 dB off the output itself: -28.405.
    EXPECT_EQ(view.row("镜像", "-1").at(4), "-28.40"); // -3.926 - 27.489 + 3.010
    EXPECT_EQ(view.row("输出", "1").at(4), "0.00");

    view.choice = form::FilterChoice::Chebyshev;
    logic.filterChosen();
    EXPECT_TRUE(view.enabled.at(SpectrumId::Ripple));
    EXPECT_TRUE(view.errors.empty());
    ASSERT_TRUE(logic.spectrum().has_value());
    ASSERT_TRUE(logic.spectrum()->settings.filter.has_value());
    EXPECT_EQ(logic.spectrum()->settings.filter->kind, calc::FilterKind::Chebyshev);
    EXPECT_DOUBLE_EQ(logic.spectrum()->settings.filter->rippleDb, 0.5);
    EXPECT_DOUBLE_EQ(logic.spectrum()->settings.filter->cutoffHz, 70e6);
}

TEST_F(SpectrumForm, NumbersAreReadAsElsewhereInTheProgram)
{
    logic.calculated(calculatedFor("70", "30"));
    view.texts[SpectrumId::Images] = " ３ "; // full-width digit, blanks
    view.texts[SpectrumId::Level] = "-6E1";
    logic.settingsChanged();
    EXPECT_TRUE(view.errors.empty()) << view.errors.front();
    EXPECT_EQ(logic.spectrum()->settings.images, 3);
    EXPECT_EQ(logic.spectrum()->settings.harmonicDbc, -60.0);
}

TEST_F(SpectrumForm, AnUnusableSettingNamesItsBoxAndKeepsTheTable)
{
    const struct {
        SpectrumId box;
        const char* text;
        form::FilterChoice choice;
        const char* mention;
    } cases[] = {
        {SpectrumId::Images, "abc", form::FilterChoice::None, "“K 镜像阶数”中不是一个数"},
        {SpectrumId::Images, "", form::FilterChoice::None, "K 镜像阶数"},
        {SpectrumId::Images, "0", form::FilterChoice::None, "1 到 100 之间的整数"},
        {SpectrumId::Images, "2.5", form::FilterChoice::None, "K 镜像阶数"},
        {SpectrumId::Images, "101", form::FilterChoice::None, "K 镜像阶数"},
        {SpectrumId::Harmonics, "5x", form::FilterChoice::None, "N 谐波次数"},
        {SpectrumId::Harmonics, "-1", form::FilterChoice::None, "N 谐波次数"},
        {SpectrumId::Level, "10", form::FilterChoice::None, "0 dBc 或更低"},
        {SpectrumId::Level, "1e999", form::FilterChoice::None, "谐波电平 dBc"},
        {SpectrumId::Order, "0", form::FilterChoice::Butterworth, "1 到 20 之间的整数"},
        {SpectrumId::Cutoff, "0", form::FilterChoice::Butterworth, "截止频率 MHz"},
        {SpectrumId::Cutoff, "-70", form::FilterChoice::Chebyshev, "截止频率 MHz"},
        {SpectrumId::Ripple, "0", form::FilterChoice::Chebyshev, "纹波 dB"},
        {SpectrumId::Ripple, "11", form::FilterChoice::Chebyshev, "不超过 10 dB"},
    };
    logic.calculated(calculatedFor("70", "30"));
    const auto shown = view.rows;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        RecordingView fresh;
        fresh.choice = c.choice;
        fresh.texts[c.box] = c.text;
        form::SpectrumWindow other(fresh);
        other.load();
        other.calculated(calculatedFor("70", "30"));
        ASSERT_EQ(fresh.errors.size(), 1u);
        EXPECT_NE(fresh.errors[0].find(c.mention), std::string::npos) << fresh.errors[0];
        EXPECT_EQ(fresh.focused, std::vector<SpectrumId>{c.box});
    }
    // A bad setting after a good one leaves the table as it was.
    view.texts[SpectrumId::Images] = "many";
    logic.settingsChanged();
    EXPECT_EQ(view.errors.size(), 1u);
    EXPECT_EQ(view.rows, shown);
}

TEST_F(SpectrumForm, TheFilesAreThePlotAndTheTable)
{
    const form::Calculated calculated = calculatedFor("10", "30");
    logic.calculated(calculated);
    EXPECT_EQ(logic.svgText(),
              form::svgDocument(form::spectrumPlot(*logic.spectrum(), form::savedPlotWidth, form::savedPlotHeight)));
    const std::string csv = logic.csvText();
    // The command line's --csv table for the same frequency.
    EXPECT_EQ(csv.substr(0, csv.find('\n')), "frequency,unit,component,order,component_hz,level_dbc\r");
    EXPECT_NE(csv.find("\n10,MHz,image,-1,170000000.009,-24.61\r\n"), std::string::npos) << csv;
    EXPECT_NE(csv.find("\n10,MHz,image,1,189999999.991,-25.58\r\n"), std::string::npos) << csv;
    EXPECT_EQ(std::ranges::count(csv, '\n'), std::ptrdiff_t(view.rows.size() + 1));

    const auto path = std::filesystem::temp_directory_path() / "spectrum_form_test.csv";
    ASSERT_TRUE(logic.saveFile(path, csv));
    std::stringstream read;
    {
        std::ifstream in(path, std::ios::binary);
        read << in.rdbuf();
    } // closed before it is removed, as Windows requires
    EXPECT_EQ(read.str(), csv);
    std::filesystem::remove(path);
    // A file that cannot be written is reported, with its name.
    EXPECT_FALSE(logic.saveFile(path / "no" / "such" / "folder.csv", csv));
    ASSERT_EQ(view.errors.size(), 1u);
    EXPECT_NE(view.errors[0].find("folder.csv"), std::string::npos);
}

TEST(SpectrumLayout, EveryControlFitsAndNothingOverlaps)
{
    for (const bool qt : {true, false})
        for (const int dpi : {96, 144})
            for (const auto& [w, h] : {std::pair{0, 0}, std::pair{1000, 900}, std::pair{2000, 1400}}) {
                SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h) + " at " + std::to_string(dpi));
                const form::PixelSize minimum = form::spectrumMinimumSize(dpi, qt);
                const int width = std::max(w, minimum.width), height = std::max(h, minimum.height);
                const auto rects = form::spectrumLayout(width, height, dpi, qt);
                std::vector<form::PixelRect> shown;
                for (std::size_t i = 0; i < rects.size(); ++i) {
                    const form::PixelRect& r = rects[i];
                    if (!qt && form::spectrumControls[i].qtOnly) {
                        EXPECT_EQ(r.width, 0);
                        continue;
                    }
                    EXPECT_GT(r.width, 0);
                    EXPECT_GT(r.height, 0);
                    EXPECT_GE(r.left, 0);
                    EXPECT_GE(r.top, 0);
                    EXPECT_LE(r.left + r.width, width) << form::spectrumControls[i].name;
                    EXPECT_LE(r.top + r.height, height) << form::spectrumControls[i].name;
                    for (const form::PixelRect& o : shown)
                        EXPECT_FALSE(r.left < o.left + o.width && o.left < r.left + r.width &&
                                     r.top < o.top + o.height && o.top < r.top + r.height)
                            << form::spectrumControls[i].name;
                    shown.push_back(r);
                }
                const auto at = [&](SpectrumId id) { return rects[form::spectrumIndex(id)]; };
                EXPECT_LT(at(SpectrumId::Plot).top, at(SpectrumId::Status).top);
                EXPECT_LT(at(SpectrumId::Status).top, at(SpectrumId::Table).top);
                EXPECT_LT(at(SpectrumId::Table).top, at(SpectrumId::Images).top);
                // The plot and the table take what the window grows by.
                EXPECT_EQ(at(SpectrumId::Plot).width, width - 2 * form::spectrumMargin * dpi / 96);
                EXPECT_LE(at(SpectrumId::SaveCsv).top + at(SpectrumId::SaveCsv).height,
                          height - form::spectrumMargin * dpi / 96);
            }
    const auto small = form::spectrumLayout(0, 0, 96, true);
    const auto large = form::spectrumLayout(1600, 1200, 96, true);
    EXPECT_GT(large[form::spectrumIndex(SpectrumId::Plot)].height, small[form::spectrumIndex(SpectrumId::Plot)].height);
    EXPECT_GT(large[form::spectrumIndex(SpectrumId::Table)].height,
              small[form::spectrumIndex(SpectrumId::Table)].height);
}

TEST(SpectrumLayout, TabOrderRunsThroughTheSettingsTheButtonsAndTheTable)
{
    std::vector<std::string_view> names;
    for (const form::SpectrumControl* c : form::spectrumTabOrder(true))
        names.push_back(c->name);
    EXPECT_EQ(names,
              (std::vector<std::string_view>{"images", "harmonics", "harmonicLevel", "filter", "filterOrder", "cutoff",
                                             "ripple", "saveSvg", "savePng", "saveCsv", "components"}));
    const auto win32 = form::spectrumTabOrder(false);
    EXPECT_EQ(win32.size(), names.size() - 1);
    EXPECT_TRUE(std::ranges::none_of(win32, [](const auto* c) { return c->qtOnly; }));
    // Every control a user reaches has a name for assistive technology.
    for (const form::SpectrumControl& c : form::spectrumControls)
        if (c.kind != form::SpectrumKind::Label) {
            EXPECT_FALSE(c.accessibleName.empty()) << c.name;
        }
}

} // namespace
