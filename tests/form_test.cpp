// The window without a toolkit: its layout table and its handlers, driven
// through a view that records what they read and write.

#include "form/calculator.h"
#include "form/layout.h"
#include "form/messages.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

class RecordingView : public form::View {
public:
    std::map<form::Box, std::string> texts{{form::Box::F, "10"}, {form::Box::Fc, "20"}, {form::Box::data, "Text1"}};
    std::string caption = "Khz";
    std::map<int, int> selected;
    std::string tooltip, announced;
    std::map<form::Box, std::string> descriptions;
    std::vector<std::string> errors;
    mutable std::vector<std::string> log; // reads and writes, in order

    std::string text(form::Box b) const override
    {
        log.push_back("read " + name(b));
        return texts.at(b);
    }
    void setText(form::Box b, std::string_view t) override
    {
        log.push_back("write " + name(b));
        texts[b] = t;
    }
    void showFromStart(form::Box b) override { log.push_back("show start of " + name(b)); }
    std::string unitCaption() const override
    {
        log.push_back("read modeshow");
        return caption;
    }
    void setUnitCaption(std::string_view c) override { caption = c; }
    void selectOption(int array, int index) override { selected[array] = index; }
    void setResultTooltip(std::string_view t) override
    {
        log.push_back("tooltip");
        tooltip = t;
    }
    void announceResult(std::string_view t) override { announced = t; }
    void setDescription(form::Box b, std::string_view t) override { descriptions[b] = t; }
    void showError(std::string_view m) override
    {
        log.push_back("error");
        errors.emplace_back(m);
    }
    void focusBox(form::Box b) override { log.push_back("focus " + name(b)); }
    std::vector<form::Calculated> calculations; // passed on to the spectrum window
    void calculated(const form::Calculated& c) override { calculations.push_back(c); }

    static std::string name(form::Box b) { return b == form::Box::F ? "F" : b == form::Box::Fc ? "Fc" : "data"; }
};

class Form : public ::testing::Test {
protected:
    void SetUp() override { logic.Form_Load(); }
    RecordingView view;
    form::Calculator logic{view};
};

TEST_F(Form, LoadSelectsKilohertzAndSerial)
{
    EXPECT_EQ(logic.state().mode1, 1);
    EXPECT_EQ(logic.state().mode2, 0);
    EXPECT_EQ(view.caption, "KHz");
    EXPECT_EQ(view.selected, (std::map<int, int>{{1, 1}, {2, 0}}));
    EXPECT_EQ(view.descriptions[form::Box::Fc], "MHz，1 到 5461");
    EXPECT_EQ(view.descriptions[form::Box::F], "KHz，0 到 59999.999986 KHz");
    EXPECT_EQ(view.texts[form::Box::data], "Text1");
    EXPECT_TRUE(view.errors.empty());
}

TEST_F(Form, CalculateReadsInOrderAndWritesTheResultLast)
{
    view.log.clear();
    logic.Command1_Click();
    const std::vector<std::string> expected{"read F",     "read Fc",           "read F", "read modeshow", "tooltip",
                                            "write data", "show start of data"};
    EXPECT_EQ(view.log, expected);
    EXPECT_EQ(view.texts[form::Box::data], "{0x1A,0x76,0x05,0x00},//10KHz");
    EXPECT_EQ(view.announced, view.texts[form::Box::data]);
    EXPECT_EQ(view.descriptions[form::Box::data], form::resultDescription() + "\n" + view.tooltip);
    EXPECT_NE(view.tooltip.find("{0x1A,0x76,0x05,0x00,0x01}"), std::string::npos) << view.tooltip;

    logic.Option2_Click(1);
    logic.Command1_Click();
    EXPECT_EQ(view.texts[form::Box::data], "{0x00,0x05,0x76,0x1A},//10KHz");
    EXPECT_NE(view.tooltip.find("（并行，相位 0，不掉电，6 倍频）：{0x01,0x00,0x05,0x76,0x1A}"), std::string::npos)
        << view.tooltip;
}

TEST_F(Form, TooltipUsesTheCrystalTheCalculationRead)
{
    // "30.4" rounds to 30 MHz: a 180 MHz clock.
    view.texts[form::Box::F] = "10";
    view.texts[form::Box::Fc] = "30.4";
    logic.Option1_Click(2);
    logic.Command1_Click();
    for (const char* part : {"实际输出频率：9999999.991 Hz", "与要求频率之差：-0.009 Hz", "频率步进：0.041910 Hz",
                             "{0x8E,0xE3,0x38,0x0E,0x01}"})
        EXPECT_NE(view.tooltip.find(part), std::string::npos) << part << "\n" << view.tooltip;
}

TEST_F(Form, EverySuccessfulCalculationReachesTheSpectrumWindow)
{
    EXPECT_FALSE(logic.lastCalculated().has_value());
    view.texts[form::Box::F] = "70";
    view.texts[form::Box::Fc] = "30";
    logic.Option1_Click(2);
    logic.Command1_Click();
    // 70 MHz at 180 MHz: round(70 / 180 x 2^32).
    const form::Calculated seventy{1670265060, 30, "70", "MHz"};
    EXPECT_EQ(view.calculations, std::vector<form::Calculated>{seventy});
    EXPECT_EQ(logic.lastCalculated(), seventy);
    EXPECT_NE(view.tooltip.find("F2"), std::string::npos) << view.tooltip;
    EXPECT_NE(view.tooltip.find("频谱…"), std::string::npos) << view.tooltip;
    // A failed calculation passes nothing on and keeps the last good one.
    view.texts[form::Box::F] = "100";
    logic.Command1_Click();
    EXPECT_EQ(view.errors.size(), 1u);
    EXPECT_EQ(view.calculations.size(), 1u);
    EXPECT_EQ(logic.lastCalculated(), seventy);
}

TEST_F(Form, UnitClicksChangeTheCaptionNotTheResult)
{
    logic.Command1_Click();
    const struct {
        std::int16_t index;
        const char* caption;
    } steps[] = {{0, "Hz"}, {2, "MHz"}, {1, "KHz"}, {7, "KHz"}}; // outside the table: caption kept
    for (const auto& s : steps) {
        logic.Option1_Click(s.index);
        EXPECT_EQ(logic.state().mode1, s.index);
        EXPECT_EQ(view.caption, s.caption);
        EXPECT_EQ(view.texts[form::Box::data], "{0x1A,0x76,0x05,0x00},//10KHz");
    }
}

TEST_F(Form, ErrorsAreShownAndLeaveTheResultAlone)
{
    const struct {
        const char* F;
        const char* Fc;
        std::int16_t unit;
        const char* mention;
    } cases[] = {
        {"10", "0", 1, "1 到 5461 MHz"},
        {"-10", "-5", 1, "晶振频率超出范围"},
        {"60", "20", 2, "最高为 59.999999986 MHz"},
        {"1e999", "20", 1, "太大"},
        {"-1", "20", 1, "不能为负数"},
    };
    logic.Command1_Click();
    for (const auto& c : cases) {
        view.errors.clear();
        view.texts[form::Box::F] = c.F;
        view.texts[form::Box::Fc] = c.Fc;
        logic.Option1_Click(c.unit);
        const std::string tooltip = view.tooltip;
        const std::string description = view.descriptions[form::Box::data];
        logic.Command1_Click();
        EXPECT_EQ(view.descriptions[form::Box::data], description) << c.F;
        ASSERT_EQ(view.errors.size(), 1u) << c.F;
        EXPECT_NE(view.errors[0].find(c.mention), std::string::npos) << view.errors[0];
        EXPECT_EQ(view.texts[form::Box::data].substr(0, 22), "{0x1A,0x76,0x05,0x00},") << c.F;
        EXPECT_EQ(view.tooltip, tooltip);
    }
}

TEST_F(Form, AfterAnErrorTheFocusGoesToTheBoxItNames)
{
    const struct {
        const char* F;
        const char* Fc;
        const char* focus;
    } cases[] = {
        {"10", "0", "focus Fc"},    {"10", "5462", "focus Fc"}, {"-1", "20", "focus F"},
        {"1e999", "20", "focus F"}, {"1e9", "20", "focus F"},
    };
    for (const auto& c : cases) {
        view.texts[form::Box::F] = c.F;
        view.texts[form::Box::Fc] = c.Fc;
        view.log.clear();
        logic.Command1_Click();
        const std::vector<std::string> tail(view.log.end() - 2, view.log.end());
        EXPECT_EQ(tail, (std::vector<std::string>{"error", c.focus})) << c.F << " " << c.Fc;
    }
}

TEST(FormText, TooltipNeverShowsANegativeZero)
{
    const struct {
        double deviationHz;
        const char* shown;
    } cases[] = {
        {-0.0004, "与要求频率之差：+0.000 Hz"}, {-0.0, "与要求频率之差：+0.000 Hz"},
        {0.0004, "与要求频率之差：+0.000 Hz"},  {-0.0006, "与要求频率之差：-0.001 Hz"},
        {-0.009, "与要求频率之差：-0.009 Hz"},  {0.002, "与要求频率之差：+0.002 Hz"},
    };
    for (const auto& c : cases) {
        calc::WordDetails details{};
        details.deviationHz = c.deviationHz;
        const std::string tooltip = form::resultTooltip(details, "{}", true);
        EXPECT_NE(tooltip.find(c.shown), std::string::npos) << c.deviationHz << "\n" << tooltip;
    }
}

TEST_F(Form, CrystalMessageStatesTheRoundingApplied)
{
    // Halves go to the even neighbour: 0.5 is 0 MHz and refused, 2.5 is 2.
    view.texts[form::Box::Fc] = "0.5";
    logic.Command1_Click();
    ASSERT_EQ(view.errors.size(), 1u);
    EXPECT_NE(view.errors[0].find("（取最接近的整数 MHz，.5 取偶数）"), std::string::npos) << view.errors[0];
    EXPECT_EQ(view.errors[0].find("四舍五入"), std::string::npos) << view.errors[0];

    view.texts[form::Box::Fc] = "2.5";
    logic.Command1_Click();
    EXPECT_EQ(view.errors.size(), 1u);
    EXPECT_EQ(logic.state().Fc1, 2);
}

TEST_F(Form, PastedSpacesAndFullWidthDigitsReadAsShown)
{
    const struct {
        const char* F;
        const char* Fc;
        const char* line;
    } cases[] = {
        {"\u200b10", "20", "{0x1A,0x76,0x05,0x00},//\u200b10KHz"},
        {"\u00a010", "20", "{0x1A,0x76,0x05,0x00},//\u00a010KHz"},
        {"\u300010", "20", "{0x1A,0x76,0x05,0x00},//\u300010KHz"},
        {"\uff11\uff10", "20", "{0x1A,0x76,0x05,0x00},//\uff11\uff10KHz"},
        {"10", "\uff12\uff10", "{0x1A,0x76,0x05,0x00},//10KHz"},
        {"10", "\u300020", "{0x1A,0x76,0x05,0x00},//10KHz"},
    };
    for (const auto& c : cases) {
        view.texts[form::Box::F] = c.F;
        view.texts[form::Box::Fc] = c.Fc;
        view.texts[form::Box::data] = "";
        logic.Command1_Click();
        EXPECT_TRUE(view.errors.empty()) << c.F << " " << c.Fc;
        EXPECT_EQ(view.texts[form::Box::data], c.line);
    }
    view.texts[form::Box::Fc] = "\uff13\uff10";
    logic.crystalChanged();
    EXPECT_EQ(view.descriptions[form::Box::F], "KHz，0 到 89999.999979 KHz");
}

TEST_F(Form, CrystalChangesTheFrequencyRange)
{
    view.texts[form::Box::Fc] = "30";
    logic.crystalChanged();
    EXPECT_EQ(view.descriptions[form::Box::F], "KHz，0 到 89999.999979 KHz");
    view.texts[form::Box::Fc] = "0";
    logic.crystalChanged();
    EXPECT_EQ(view.descriptions[form::Box::F], "KHz，0 到系统时钟的一半");
}

TEST(FormLayout, TheStoredTable)
{
    ASSERT_EQ(form::controls.size(), 16u);
    // Frame1 reaches exactly the layout's extent.
    const form::Rect frame1 = form::absoluteTwips(form::control("Frame1"));
    EXPECT_EQ(frame1.left + frame1.width, form::layoutWidthTwips);
    EXPECT_EQ(frame1.top + frame1.height, form::layoutHeightTwips);
    // A control's place is its containers' offsets added up.
    const form::Rect f = form::absoluteTwips(form::control("F"));
    EXPECT_EQ(f.left, 3360 + 600 + 240);
    EXPECT_EQ(f.top, 1440 + 600 + 720);
    EXPECT_EQ(form::toPixels(f.left, 96), 280);
    EXPECT_EQ(form::toPixels(f.left, 144), 420);
    std::vector<std::string_view> order;
    for (const form::Control* c : form::tabOrder())
        order.push_back(c->name);
    EXPECT_EQ(order, (std::vector<std::string_view>{"Option1_0", "Option1_1", "Option1_2", "F", "data", "Command1",
                                                    "Fc", "Option2_0", "Option2_1"}));
    EXPECT_EQ(form::accessibleName(form::control("Frame1")), "AD9851 计算软件 KOVA TARELMIN");
    EXPECT_EQ(form::accessibleName(form::control("data")), "对应值");
    EXPECT_THROW(form::control("Text2"), std::out_of_range);
}

TEST_F(Form, OptionClicksRunTheirArraysHandler)
{
    const struct {
        int group;
        std::int16_t index;
        std::int16_t mode1, mode2;
        const char* caption;
    } steps[] = {
        {1, 0, 0, 0, "Hz"},  {2, 1, 0, 1, "Hz"},  {1, 2, 2, 1, "MHz"}, {1, 2, 2, 1, "MHz"}, // the selected one again
        {2, 0, 2, 0, "MHz"}, {3, 1, 2, 0, "MHz"}, // no such array: nothing happens
        {0, 1, 2, 0, "MHz"},
    };
    for (const auto& s : steps) {
        logic.optionClicked(s.group, s.index);
        EXPECT_EQ(logic.state().mode1, s.mode1) << s.group << "/" << s.index;
        EXPECT_EQ(logic.state().mode2, s.mode2) << s.group << "/" << s.index;
        EXPECT_EQ(view.caption, s.caption) << s.group << "/" << s.index;
    }
}

TEST_F(Form, EnterCalculatesInTheInputBoxesAndOnTheButton)
{
    for (std::size_t row = 0; row < form::controls.size(); ++row) {
        const std::string_view name = form::controls[row].name;
        view.texts[form::Box::data] = "Text1";
        logic.enterPressed(row);
        const bool calculates = name == "F" || name == "Fc" || name == "Command1";
        EXPECT_EQ(view.texts[form::Box::data], calculates ? "{0x1A,0x76,0x05,0x00},//10KHz" : "Text1") << name;
    }
    // A failure by Enter is reported as by the button.
    view.texts[form::Box::Fc] = "0";
    logic.enterPressed(form::row(form::Box::F));
    EXPECT_EQ(view.errors.size(), 1u);
}

TEST_F(Form, TheFocusStartsOnTheSelectedUnit)
{
    EXPECT_EQ(form::controls[logic.initialFocus()].name, "Option1_1");
    logic.Option1_Click(2);
    EXPECT_EQ(form::controls[logic.initialFocus()].name, "Option1_2");
    logic.Option1_Click(7); // no option shows it: the first control of the tab order
    EXPECT_EQ(form::controls[logic.initialFocus()].name, "Option1_0");
}

TEST(FormLayout, OptionArraysAndRows)
{
    // Each option's group and index agree with its name, and each array
    // sits alone in one frame.
    std::map<int, std::string_view> frameOf;
    int options = 0;
    for (const form::Control& c : form::controls) {
        if (c.kind != form::Kind::Option) {
            EXPECT_EQ(c.group, 0) << c.name;
            continue;
        }
        ++options;
        EXPECT_EQ(c.name, std::string(form::optionArrayName(c.group)) + "_" + std::to_string(c.index));
        const auto [it, first] = frameOf.emplace(c.group, c.container);
        EXPECT_EQ(it->second, c.container) << c.name;
    }
    EXPECT_EQ(options, 5);
    EXPECT_EQ(frameOf, (std::map<int, std::string_view>{{1, "Frame2"}, {2, "Frame5"}}));

    EXPECT_EQ(form::controls[form::row(form::Box::F)].name, "F");
    EXPECT_EQ(form::controls[form::row(form::Box::Fc)].name, "Fc");
    EXPECT_EQ(form::controls[form::row(form::Box::data)].name, "data");
    EXPECT_EQ(form::controls[form::unitLabelRow].name, "modeshow");
    EXPECT_EQ(form::controls[form::buttonRow].kind, form::Kind::Button);
    EXPECT_THROW(form::row("Option1_3"), std::out_of_range);
}

TEST(FormLayout, ArrowKeysWrapInTheOptionArrays)
{
    EXPECT_EQ(form::optionCount(1), 3);
    EXPECT_EQ(form::optionCount(2), 2);
    const struct {
        int group, index, step, to;
    } cases[] = {
        {1, 0, 1, 1}, {1, 1, 1, 2}, {1, 2, 1, 0},  {1, 0, -1, 2}, {1, 2, -1, 1},
        {2, 0, 1, 1}, {2, 1, 1, 0}, {2, 0, -1, 1}, {2, 1, -1, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(form::neighbourOption(c.group, c.index, c.step), c.to) << c.group << " " << c.index << " " << c.step;
}

TEST(FormLayout, OptionsAreShownWithoutOverlap)
{
    const struct {
        const char* name;
        int width;
    } cases[] = {
        {"Option1_0", 840},  {"Option1_1", 840},  {"Option1_2", 975}, // Hz and KHz stop at their neighbours
        {"Option2_0", 1575}, {"Option2_1", 1455}, {"F", 3735},        // one above the other; not an option
    };
    for (const auto& c : cases)
        EXPECT_EQ(form::shownWidthTwips(form::control(c.name)), c.width) << c.name;
    // No two options of a container overlap as shown.
    for (const form::Control& a : form::controls)
        for (const form::Control& b : form::controls)
            if (&a != &b && a.kind == form::Kind::Option && b.kind == form::Kind::Option &&
                a.container == b.container) {
                const bool apart = a.left + form::shownWidthTwips(a) <= b.left ||
                                   b.left + form::shownWidthTwips(b) <= a.left || a.top + a.height <= b.top ||
                                   b.top + b.height <= a.top;
                EXPECT_TRUE(apart) << a.name << " " << b.name;
            }
}

TEST(FormLayout, SizesAndFonts)
{
    // At the layout's own 96 dpi the window opens at 833 x 505 pixels and
    // keeps at least 809 x 481, the whole of the outer frame.
    EXPECT_EQ(form::toPixels(form::openingSizeTwips.width, form::layoutDpi), 833);
    EXPECT_EQ(form::toPixels(form::openingSizeTwips.height, form::layoutDpi), 505);
    EXPECT_EQ(form::toPixels(form::minimumSizeTwips.width, form::layoutDpi), 809);
    EXPECT_EQ(form::toPixels(form::minimumSizeTwips.height, form::layoutDpi), 481);
    for (const form::Control& c : form::controls) {
        // Whole pixels at 96 dpi, so a control stands at the same pixel
        // whether its position is scaled on its own or with its frames'.
        for (const int twips : {c.left, c.top, c.width, c.height})
            EXPECT_EQ(twips % 15, 0) << c.name;
        const form::Rect r = form::absoluteTwips(c);
        EXPECT_LE(r.left + r.width, form::minimumSizeTwips.width) << c.name;
        EXPECT_LE(r.top + r.height, form::minimumSizeTwips.height) << c.name;
    }
    const struct {
        const char* name;
        double points;
    } fonts[] = {{"Frame1", 18}, {"Frame5", 9}, {"Option2_0", 9}, {"Fc", 15.75}, {"data", 14.25}, {"modeshow", 18}};
    for (const auto& f : fonts)
        EXPECT_EQ(form::fontPoints(form::control(f.name)), f.points) << f.name;
}

TEST(FormText, InsertedLineBreaksKeepTheFirstLine)
{
    const struct {
        std::u16string before;
        std::u16string text;
        int cursor;
        std::u16string kept;
        int keptCursor;
    } cases[] = {
        {u"", u"10\n", 3, u"10", 2}, // pasted into an empty box
        {u"", u"25\r\n30\r\n", 8, u"25", 2},
        {u"13", u"12\n3", 4, u"12", 2},   // "1|" + "2\n3"
        {u"15", u"10\r95", 4, u"105", 2}, // "1|5" + "0\r9"
        {u"", u"7\n8", 0, u"7", 0},       // set from code: ends at the break
        {u"plan", u"plain", 2, u"plain", 2},
        // A paste whose first lines are empty keeps its first line with text.
        {u"", u"\n99", 3, u"99", 2},
        {u"10", u"\r\n\r\n99\n5", 8, u"99", 2}, // replacing the whole box
        {u"10", u"10\n99", 5, u"1099", 4},      // "10|" + "\n99"
        {u"10", u"1\n\n0", 3, u"10", 1},        // "1|0" + "\n\n": nothing to keep
        {u"10", u"10\n99", 0, u"10", 0},        // set from code
    };
    for (const auto& c : cases) {
        std::u16string text = c.text;
        int cursor = c.cursor;
        form::keepFirstLine(c.before, text, cursor);
        EXPECT_EQ(text, c.kept) << std::string(c.text.begin(), c.text.end());
        EXPECT_EQ(cursor, c.keptCursor) << std::string(c.text.begin(), c.text.end());
    }
}

} // namespace
