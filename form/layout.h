#pragma once
// The calculator's window, described without a toolkit: every control with
// its name, kind, container, caption or initial text, position and size in
// twips (1/1440 inch), font and tab index, in the order the window creates
// them.  The Qt and Win32 windows are both built from this table.

#include <array>
#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace form {

enum class Kind { Frame, Option, TextBox, Label, Button };

struct Control {
    std::string_view name; // Option array members as "Option1_2"
    Kind kind;
    int group;                    // option array 1 (units) or 2 (data modes); 0 for other controls
    int index;                    // the member's index in its option array
    std::string_view container;   // "Form1" or a frame's name
    std::string_view text;        // caption, or a text box's initial text (UTF-8)
    int left, top, width, height; // twips from the container's top-left corner
    int tabIndex;
    double fontPoints;               // zero for the window's own font
    std::string_view accessibleName; // empty: the caption, trimmed
};

inline constexpr std::array<Control, 16> controls{{
    {"Frame1", Kind::Frame, 0, 0, "Form1", " AD9851 计算软件 KOVA TARELMIN", 3360, 1440, 8775, 5775, 0, 18, ""},
    {"Frame5", Kind::Frame, 0, 0, "Frame1", "数据模式", 3720, 3960, 2775, 1335, 13, 0, ""},
    {"Option2_1", Kind::Option, 2, 1, "Frame5", "并行", 240, 840, 1455, 375, 15, 0, ""},
    {"Option2_0", Kind::Option, 2, 0, "Frame5", "串行", 240, 360, 1575, 375, 14, 0, ""},
    {"Frame4", Kind::Frame, 0, 0, "Frame1", "晶振频率", 600, 3960, 2535, 1335, 10, 0, ""},
    {"Fc", Kind::TextBox, 0, 0, "Frame4", "20", 240, 360, 1095, 615, 11, 15.75, "晶振频率"},
    {"Label1", Kind::Label, 0, 0, "Frame4", "MHz", 1440, 360, 975, 615, 12, 18, ""},
    {"Command1", Kind::Button, 0, 0, "Frame1", "计算", 7080, 720, 1095, 4575, 9, 15.75, ""},
    {"Frame3", Kind::Frame, 0, 0, "Frame1", "对应值", 600, 2400, 5895, 1215, 5, 0, ""},
    {"data", Kind::TextBox, 0, 0, "Frame3", "Text1", 240, 360, 5295, 615, 8, 14.25, "对应值"},
    {"Frame2", Kind::Frame, 0, 0, "Frame1", "频率设置", 600, 600, 5895, 1575, 1, 0, ""},
    {"F", Kind::TextBox, 0, 0, "Frame2", "10", 240, 720, 3735, 615, 6, 15.75, "频率"},
    {"Option1_2", Kind::Option, 1, 2, "Frame2", "MHz", 1800, 240, 975, 375, 4, 0, ""},
    {"Option1_1", Kind::Option, 1, 1, "Frame2", "KHz", 960, 240, 855, 375, 3, 0, ""},
    {"Option1_0", Kind::Option, 1, 0, "Frame2", "Hz", 120, 240, 975, 375, 2, 0, ""},
    {"modeshow", Kind::Label, 0, 0, "Frame2", "Khz", 4320, 720, 975, 615, 7, 18, ""},
}};

inline constexpr std::string_view windowName = "Form1";
inline constexpr std::string_view windowCaption = "Form1";
// 宋体 with the GB2312 character set, weight 400, plain.
inline constexpr std::string_view fontFace = "SimSun";
inline constexpr std::string_view fontFaceChinese = "宋体";
inline constexpr double windowFontPoints = 9;

// The scale the layout was drawn at: 15 twips a pixel.
inline constexpr int layoutDpi = 96;

// The layout reaches this far from the client area's top-left corner.
inline constexpr int layoutWidthTwips = 12135;
inline constexpr int layoutHeightTwips = 7215;
inline constexpr int marginTwips = 360;

struct Size {
    int width, height;
};
// The client area: it opens showing all of the layout with a margin on the
// right and below, and never shrinks below the layout.
inline constexpr Size openingSizeTwips{layoutWidthTwips + marginTwips, layoutHeightTwips + marginTwips};
inline constexpr Size minimumSizeTwips{layoutWidthTwips, layoutHeightTwips};

// The boxes the handlers read and write.
enum class Box { F, Fc, data };

// The row of the control called `name` in the table; std::out_of_range for
// another name.
constexpr std::size_t row(std::string_view name)
{
    for (std::size_t i = 0; i < controls.size(); ++i)
        if (controls[i].name == name)
            return i;
    throw std::out_of_range("no control called " + std::string(name));
}

constexpr std::size_t row(Box box)
{
    switch (box) {
    case Box::F:
        return row("F");
    case Box::Fc:
        return row("Fc");
    case Box::data:
        return row("data");
    }
    throw std::out_of_range("no such box");
}

inline constexpr std::size_t unitLabelRow = row("modeshow");
inline constexpr std::size_t buttonRow = row("Command1");

// The control called `name`; std::out_of_range for another name.
const Control& control(std::string_view name);

// The name of option array `group` (1 or 2), as its members' names begin.
constexpr std::string_view optionArrayName(int group) { return group == 1 ? "Option1" : "Option2"; }

// The font size of a control: its own, or the window's.
constexpr double fontPoints(const Control& c) { return c.fontPoints > 0 ? c.fontPoints : windowFontPoints; }

struct Rect {
    int left, top, width, height;
};

// Where a control stands in the window's client area, in twips: its own
// position plus its containers'.
Rect absoluteTwips(const Control& control);

// The width a control is shown with: the stored one, except that an option
// button stops where the next option of its row begins.  The stored
// rectangles of Hz and KHz overlap, and a button shown over its neighbour's
// circle would take its clicks and paint over it.
int shownWidthTwips(const Control& control);

// Twips to device pixels at `dpi` dots per inch (15 twips a pixel at 96).
constexpr int toPixels(int twips, int dpi) { return twips * dpi / 1440; }

// The number of members of option array `group` (1 or 2).
int optionCount(int group);

// The member an arrow key moves to from member `index` of option array
// `group`: `step` +1 for Down and Right, -1 for Up and Left, wrapping
// around at the ends as the window system's option groups do.
int neighbourOption(int group, int index, int step);

// The controls that take focus, in tab order: the frames and labels do not.
std::vector<const Control*> tabOrder();

// The accessible name: the stored one, or the caption without outer blanks.
std::string_view accessibleName(const Control& control);

} // namespace form
