#pragma once
// The spectrum window, described without a toolkit: its controls with their
// captions, accessible names and tab order, a layout that follows the
// window's size, and the handler behind them.  It shows what the chip puts
// out for the main window's last successful calculation: a plot on top,
// the table of components below it, the settings and the save buttons at
// the bottom.  The Qt and Win32 windows are both built from it.

#include "calc/clock.h"
#include "calc/spectrum.h"
#include "form/plot.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace form {

inline constexpr std::string_view spectrumWindowName = "spectrum";
inline constexpr std::string_view spectrumWindowCaption = "频谱";
// The main window opens it with this entry of the result box's context
// menu, and with F2 anywhere in the main window.
inline constexpr std::string_view spectrumMenuEntry = "频谱…";

enum class SpectrumKind : std::uint8_t {
    Plot,   // the plot, painted from a PlotDescription
    Status, // a line under the plot: what is shown, or why nothing is
    Table,  // the components, one row each
    Label,  // a caption before the box it names
    NumberBox,
    Choice, // a drop-down list
    Button,
};

// The controls' identities, in the order of the table below.
enum class SpectrumId : std::uint8_t {
    Plot,
    Status,
    Table,
    ImagesLabel,
    Images,
    HarmonicsLabel,
    Harmonics,
    LevelLabel,
    Level,
    FilterLabel,
    Filter,
    OrderLabel,
    Order,
    CutoffLabel,
    Cutoff,
    RippleLabel,
    Ripple,
    SaveSvg,
    SavePng,
    SaveCsv,
};

struct SpectrumControl {
    SpectrumId id;
    std::string_view name; // the object name
    SpectrumKind kind;
    // A label's or button's caption, a box's initial text; empty for the
    // plot, the table and the list.
    std::string_view text;
    std::string_view accessibleName;
    int row;      // the settings row at the bottom (0, 1, 2); -1 for the plot and the table
    int width;    // pixels at 96 dpi in the settings rows; 0 for the plot and the table
    int tabIndex; // -1: takes no focus
    bool qtOnly;  // only the Qt window has it (PNG needs an image writer)
};

inline constexpr std::array<SpectrumControl, 20> spectrumControls{{
    {SpectrumId::Plot, "plot", SpectrumKind::Plot, "", "频谱图", -1, 0, -1, false},
    {SpectrumId::Status, "status", SpectrumKind::Status, "", "状态", -1, 0, -1, false},
    {SpectrumId::Table, "components", SpectrumKind::Table, "", "频谱成分", -1, 0, 10, false},
    {SpectrumId::ImagesLabel, "imagesLabel", SpectrumKind::Label, "K 镜像阶数", "", 0, 84, -1, false},
    {SpectrumId::Images, "images", SpectrumKind::NumberBox, "2", "K 镜像阶数", 0, 56, 0, false},
    {SpectrumId::HarmonicsLabel, "harmonicsLabel", SpectrumKind::Label, "N 谐波次数", "", 0, 84, -1, false},
    {SpectrumId::Harmonics, "harmonics", SpectrumKind::NumberBox, "5", "N 谐波次数", 0, 56, 1, false},
    {SpectrumId::LevelLabel, "levelLabel", SpectrumKind::Label, "谐波电平 dBc", "", 0, 96, -1, false},
    {SpectrumId::Level, "harmonicLevel", SpectrumKind::NumberBox, "-50", "谐波电平 dBc", 0, 64, 2, false},
    {SpectrumId::FilterLabel, "filterLabel", SpectrumKind::Label, "滤波器", "", 1, 52, -1, false},
    {SpectrumId::Filter, "filter", SpectrumKind::Choice, "", "滤波器", 1, 96, 3, false},
    {SpectrumId::OrderLabel, "orderLabel", SpectrumKind::Label, "阶数", "", 1, 40, -1, false},
    {SpectrumId::Order, "filterOrder", SpectrumKind::NumberBox, "5", "滤波器阶数", 1, 48, 4, false},
    {SpectrumId::CutoffLabel, "cutoffLabel", SpectrumKind::Label, "截止频率 MHz", "", 1, 96, -1, false},
    {SpectrumId::Cutoff, "cutoff", SpectrumKind::NumberBox, "70", "截止频率 MHz", 1, 72, 5, false},
    {SpectrumId::RippleLabel, "rippleLabel", SpectrumKind::Label, "纹波 dB", "", 1, 60, -1, false},
    {SpectrumId::Ripple, "ripple", SpectrumKind::NumberBox, "0.5", "纹波 dB", 1, 56, 6, false},
    {SpectrumId::SaveSvg, "saveSvg", SpectrumKind::Button, "保存 SVG…", "保存 SVG", 2, 104, 7, false},
    {SpectrumId::SavePng, "savePng", SpectrumKind::Button, "保存 PNG…", "保存 PNG", 2, 104, 8, true},
    {SpectrumId::SaveCsv, "saveCsv", SpectrumKind::Button, "保存 CSV…", "保存 CSV", 2, 104, 9, false},
}};

// The index of a control in the table: the table lists them in the order
// of SpectrumId.
constexpr std::size_t spectrumIndex(SpectrumId id) { return std::size_t(id); }
static_assert([] {
    for (std::size_t i = 0; i < spectrumControls.size(); ++i)
        if (spectrumIndex(spectrumControls[i].id) != i)
            return false;
    return true;
}());

constexpr const SpectrumControl& spectrumControl(SpectrumId id) { return spectrumControls.at(spectrumIndex(id)); }

// The choices of the filter list, in their order: 无, 巴特沃斯, 切比雪夫.
enum class FilterChoice : std::uint8_t { None, Butterworth, Chebyshev };
inline constexpr std::array<std::string_view, 3> filterChoices{"无", "巴特沃斯", "切比雪夫"};

// The controls that take focus, in tab order.  `qt` false leaves out the
// Qt-only ones.
std::vector<const SpectrumControl*> spectrumTabOrder(bool qt);

// The table's column headings; the last only when a filter is set.
inline constexpr std::array<std::string_view, 5> componentColumns{"成分", "阶次", "频率 (Hz)", "电平 (dBc)",
                                                                  "滤波后 (dBc)"};

// ---- Layout, in pixels at 96 dpi (scale by dpi / 96) ----
inline constexpr int spectrumMargin = 8;     // around everything
inline constexpr int spectrumGap = 6;        // between controls and rows
inline constexpr int spectrumRowHeight = 26; // a settings row
inline constexpr int minimumPlotHeight = 200;
inline constexpr int minimumTableHeight = 96;
// The plot takes this share of the height left above the settings rows;
// the table the rest.
inline constexpr double plotShare = 0.62;
inline constexpr int spectrumOpeningWidth = 820;
inline constexpr int spectrumOpeningHeight = 720;

struct PixelRect {
    int left = 0, top = 0, width = 0, height = 0;
};

// Where each control stands in a client area of `width` x `height` pixels
// at `dpi`, by its index in spectrumControls.  `qt` false leaves the
// Qt-only ones out of their rows (their rectangles are empty).  The plot
// and the table share the height above the settings rows, the status line
// between them; each settings
// row runs from the left, its controls in table order.
std::array<PixelRect, spectrumControls.size()> spectrumLayout(int width, int height, int dpi, bool qt);

// The smallest client area that shows every control, at `dpi`.
struct PixelSize {
    int width = 0, height = 0;
};
PixelSize spectrumMinimumSize(int dpi, bool qt);
PixelSize spectrumOpeningSize(int dpi);

// ---- The handler ----

// What the main window calculated last: the word and the crystal box's
// whole MHz (system clock 6 x crystal, AD9851), and the frequency asked for
// with its unit's caption, for the saved table.
struct Calculated {
    std::uint32_t word = 0;
    std::int16_t crystalMHz = 0;
    std::string frequency; // as read from the frequency box
    std::string unit;      // "Hz", "KHz", "MHz"
    friend bool operator==(const Calculated&, const Calculated&) = default;
};

// The controls as the handler uses them.
class SpectrumView {
public:
    virtual ~SpectrumView() = default;
    // A number box's text.
    virtual std::string text(SpectrumId box) const = 0;
    // The filter list's selection.
    virtual FilterChoice filterChoice() const = 0;
    virtual void setEnabled(SpectrumId control, bool enabled) = 0;
    // The table: `columns` headings (4 without a filter, 5 with one) and
    // the rows; no rows before anything is calculated.
    virtual void showTable(const std::vector<std::string>& columns,
                           const std::vector<std::vector<std::string>>& rows) = 0;
    // The plot changed: paint SpectrumWindow::plot for the plot's size.
    virtual void plotChanged() = 0;
    // A line above the table: what is shown, or why nothing is.
    virtual void showStatus(std::string_view text) = 0;
    // The window's title.
    virtual void showTitle(std::string_view text) = 0;
    // A message box: what is wrong and which box to fix (Chinese).
    virtual void showError(std::string_view message) = 0;
    virtual void focus(SpectrumId control) = 0;
};

// The message shown before the main window has calculated anything.
inline constexpr std::string_view nothingCalculatedYet = "尚无计算结果：请在主窗口中输入频率并按“计算”。";
// The message shown when the main window calculated a word of 0: the chip
// puts out nothing.
inline constexpr std::string_view nothingForWordZero =
    "频率字为 0：芯片没有输出，无频谱可显示。请在主窗口的“频率设置”中输入大于 0 的频率。";

// The suggested names of saved files.
inline constexpr std::string_view svgFileName = "spectrum.svg";
inline constexpr std::string_view pngFileName = "spectrum.png";
inline constexpr std::string_view csvFileName = "spectrum.csv";

class SpectrumWindow {
public:
    explicit SpectrumWindow(SpectrumView& view) : view_(view) {}

    // The window opens: shows what there is (or the nothing-yet status).
    void load();
    // The main window calculated successfully: the window follows it.
    void calculated(const Calculated& calculation);
    // A setting changed (a box edited, the filter chosen): recomputes.  An
    // unusable setting is reported with the box it is in; the table and
    // plot keep what they showed.
    void settingsChanged();
    // The filter list changed: enables the boxes that filter uses, then
    // recomputes.
    void filterChosen();

    // The settings as the controls say; throws SettingError naming the box.
    calc::SpectrumSettings readSettings() const;

    // The spectrum shown, if any.
    const std::optional<calc::Spectrum>& spectrum() const noexcept { return spectrum_; }
    // The plot for a figure of `width` x `height` pixels; nullopt before
    // anything is calculated.
    std::optional<PlotDescription> plot(double width, double height) const;
    // The files the save buttons write; empty before anything is calculated.
    std::string svgText() const; // at savedPlotWidth x savedPlotHeight
    std::string csvText() const; // the command line's --csv table
    // Writes `contents` to `path`; a failure is shown as a message.
    // Returns whether it was written.
    bool saveFile(const std::filesystem::path& path, std::string_view contents);

private:
    void recompute();

    SpectrumView& view_;
    std::optional<Calculated> calculation_;
    std::optional<calc::Spectrum> spectrum_;
};

// A setting box that does not hold a usable value.
class SettingError : public std::runtime_error {
public:
    SettingError(SpectrumId box, const std::string& message) : std::runtime_error(message), box_(box) {}
    SpectrumId box() const noexcept { return box_; }

private:
    SpectrumId box_;
};

// The table's rows for a spectrum: kind, order, frequency in Hz, level
// and, with a filter, the filtered level; the command line's texts, the
// kind in Chinese.
std::vector<std::vector<std::string>> componentRows(const calc::Spectrum& spectrum);

// The window's title while `spectrum` is shown: the caption, the component
// nearest the output and how far it lies, "频谱 — 最近成分 H4，距输出
// 250000.069 Hz"; `clock` is the clock the spectrum was made for.
std::string spectrumTitle(const calc::Spectrum& spectrum, const calc::SystemClock& clock);

// The name of a component kind in the table: 输出, 镜像, 谐波.
std::string_view componentKindName(calc::ComponentKind kind);

} // namespace form
