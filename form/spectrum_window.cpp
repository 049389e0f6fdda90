#include "form/spectrum_window.h"

#include "calc/clock.h"
#include "calc/clock_plan.h"
#include "calc/errors.h"
#include "calc/spectrum_table.h"
#include "calc/text_format.h"
#include "runtime/number.h"
#include "runtime/text_normal.h"

#include <algorithm>
#include <cmath>
#include <fstream>

namespace form {

std::vector<const SpectrumControl*> spectrumTabOrder(bool qt)
{
    std::vector<const SpectrumControl*> order;
    for (const SpectrumControl& c : spectrumControls)
        if (c.tabIndex >= 0 && (qt || !c.qtOnly))
            order.push_back(&c);
    std::ranges::sort(order, {}, &SpectrumControl::tabIndex);
    return order;
}

namespace {

int scaled(int pixels, int dpi) { return pixels * dpi / 96; }

constexpr int settingsRows = 3;

int rowWidth(int row, int dpi, bool qt)
{
    int width = 0;
    bool first = true;
    for (const SpectrumControl& c : spectrumControls)
        if (c.row == row && (qt || !c.qtOnly)) {
            width += scaled(c.width, dpi) + (first ? 0 : scaled(spectrumGap, dpi));
            first = false;
        }
    return width;
}

int settingsHeight(int dpi)
{
    return settingsRows * scaled(spectrumRowHeight, dpi) + (settingsRows - 1) * scaled(spectrumGap, dpi);
}

} // namespace

std::array<PixelRect, spectrumControls.size()> spectrumLayout(int width, int height, int dpi, bool qt)
{
    const PixelSize minimum = spectrumMinimumSize(dpi, qt);
    width = std::max(width, minimum.width);
    height = std::max(height, minimum.height);
    const int margin = scaled(spectrumMargin, dpi);
    const int gap = scaled(spectrumGap, dpi);
    const int rowHeight = scaled(spectrumRowHeight, dpi);
    const int inner = width - 2 * margin;
    // Plot and table share what the settings leave.
    const int shared = height - 2 * margin - settingsHeight(dpi) - 3 * gap - rowHeight;
    const int minimumTable = scaled(minimumTableHeight, dpi);
    const int plotHeight =
        std::clamp(int(std::lround(shared * plotShare)), scaled(minimumPlotHeight, dpi), shared - minimumTable);
    const int statusTop = margin + plotHeight + gap;
    const int tableTop = statusTop + rowHeight + gap;
    const int settingsTop = tableTop + (shared - plotHeight) + gap;

    std::array<PixelRect, spectrumControls.size()> rects{};
    std::array<int, settingsRows> x{margin, margin, margin};
    for (std::size_t i = 0; i < spectrumControls.size(); ++i) {
        const SpectrumControl& c = spectrumControls[i];
        if (c.kind == SpectrumKind::Plot)
            rects[i] = {margin, margin, inner, plotHeight};
        else if (c.kind == SpectrumKind::Status)
            rects[i] = {margin, statusTop, inner, rowHeight};
        else if (c.kind == SpectrumKind::Table)
            rects[i] = {margin, tableTop, inner, shared - plotHeight};
        else if (qt || !c.qtOnly) {
            const auto row = std::size_t(c.row);
            rects[i] = {x[row], settingsTop + c.row * (rowHeight + gap), scaled(c.width, dpi), rowHeight};
            x[row] += rects[i].width + gap;
        }
    }
    return rects;
}

PixelSize spectrumMinimumSize(int dpi, bool qt)
{
    int widest = 0;
    for (int row = 0; row < settingsRows; ++row)
        widest = std::max(widest, rowWidth(row, dpi, qt));
    const int margin = scaled(spectrumMargin, dpi);
    const int gap = scaled(spectrumGap, dpi);
    return {widest + 2 * margin, 2 * margin + scaled(minimumPlotHeight, dpi) + gap + scaled(minimumTableHeight, dpi) +
                                     gap + settingsHeight(dpi)};
}

PixelSize spectrumOpeningSize(int dpi)
{
    return {scaled(spectrumOpeningWidth, dpi), scaled(spectrumOpeningHeight, dpi)};
}

// ---- Reading the settings ----

namespace {

std::string boxCaption(SpectrumId box) { return std::string(spectrumControl(box).accessibleName); }

// The number in a box, read as the program reads numbers; the whole text
// must be the number.
double readNumber(const SpectrumView& view, SpectrumId box)
{
    const std::string text = rt::plainNumberText(view.text(box));
    const rt::WrittenNumber written = rt::readWrittenNumber(text);
    const double value = written.isWholeText(text) ? rt::toDouble(written) : NAN;
    if (!std::isfinite(value))
        throw SettingError(box, "“" + boxCaption(box) + "”中不是一个数。\n请在“" + boxCaption(box) + "”中输入数字。");
    return value;
}

int readWhole(const SpectrumView& view, SpectrumId box, int highest)
{
    const double value = readNumber(view, box);
    if (value != std::floor(value) || value < 1 || value > highest)
        throw SettingError(box, "“" + boxCaption(box) + "”超出范围。\n它必须是 1 到 " + std::to_string(highest) +
                                    " 之间的整数，请修改“" + boxCaption(box) + "”。");
    return int(value);
}

// Checks the settings read so far; a problem is the box's just read.
void check(const calc::SpectrumSettings& settings, SpectrumId box, std::string_view range)
{
    try {
        calc::checkSpectrumSettings(settings);
    } catch (const calc::CalcError&) {
        throw SettingError(box, "“" + boxCaption(box) + "”超出范围。\n它必须" + std::string(range) + "，请修改“" +
                                    boxCaption(box) + "”。");
    }
}

} // namespace

calc::SpectrumSettings SpectrumWindow::readSettings() const
{
    calc::SpectrumSettings settings;
    settings.images = readWhole(view_, SpectrumId::Images, calc::maxImages);
    settings.harmonics = readWhole(view_, SpectrumId::Harmonics, calc::maxHarmonics);
    settings.harmonicDbc = readNumber(view_, SpectrumId::Level);
    check(settings, SpectrumId::Level, "是 0 dBc 或更低的数");
    const FilterChoice choice = view_.filterChoice();
    if (choice == FilterChoice::None)
        return settings;
    calc::ReconstructionFilter filter;
    filter.kind = choice == FilterChoice::Butterworth ? calc::FilterKind::Butterworth : calc::FilterKind::Chebyshev;
    filter.order = readWhole(view_, SpectrumId::Order, calc::maxFilterOrder);
    filter.cutoffHz = readNumber(view_, SpectrumId::Cutoff) * 1e6;
    if (filter.kind == calc::FilterKind::Chebyshev)
        filter.rippleDb = readNumber(view_, SpectrumId::Ripple);
    settings.filter = filter;
    if (!(filter.cutoffHz > 0) || !std::isfinite(filter.cutoffHz))
        check(settings, SpectrumId::Cutoff, "是大于 0 的频率");
    check(settings, SpectrumId::Ripple, "大于 0 dB 且不超过 10 dB");
    return settings;
}

// ---- The handler ----

void SpectrumWindow::load()
{
    filterChosen();
    if (!spectrum_) {
        view_.showTitle(spectrumWindowCaption);
        view_.showStatus(nothingCalculatedYet);
    }
}

void SpectrumWindow::calculated(const Calculated& calculation)
{
    calculation_ = calculation;
    recompute();
}

void SpectrumWindow::settingsChanged() { recompute(); }

void SpectrumWindow::filterChosen()
{
    const FilterChoice choice = view_.filterChoice();
    for (SpectrumId id : {SpectrumId::Order, SpectrumId::Cutoff, SpectrumId::OrderLabel, SpectrumId::CutoffLabel})
        view_.setEnabled(id, choice != FilterChoice::None);
    for (SpectrumId id : {SpectrumId::Ripple, SpectrumId::RippleLabel})
        view_.setEnabled(id, choice == FilterChoice::Chebyshev);
    recompute();
}

void SpectrumWindow::recompute()
{
    const bool shown = spectrum_.has_value();
    for (SpectrumId id : {SpectrumId::SaveSvg, SpectrumId::SavePng, SpectrumId::SaveCsv})
        view_.setEnabled(id, shown);
    if (!calculation_)
        return;
    calc::SpectrumSettings settings;
    try {
        settings = readSettings();
    } catch (const SettingError& e) {
        view_.showError(e.what());
        view_.focus(e.box());
        return;
    }
    if (calculation_->word == 0) {
        spectrum_.reset();
        for (SpectrumId id : {SpectrumId::SaveSvg, SpectrumId::SavePng, SpectrumId::SaveCsv})
            view_.setEnabled(id, false);
        view_.showTable(std::vector<std::string>(componentColumns.begin(), componentColumns.end() - 1), {});
        view_.showTitle(spectrumWindowCaption);
        view_.showStatus(nothingForWordZero);
        view_.plotChanged();
        return;
    }
    calc::SystemClock clock;
    try {
        const std::string crystal = std::to_string(calculation_->crystalMHz);
        calc::ClockOptions options;
        options.chip = calc::Chip::AD9851;
        options.crystalMHz = crystal;
        clock = calc::systemClock(options);
        spectrum_ = calc::outputSpectrum(calculation_->word, clock, settings);
    } catch (const std::exception& e) {
        view_.showError(std::string("频谱计算出错：") + e.what());
        return;
    }
    std::vector<std::string> columns(componentColumns.begin(), componentColumns.end());
    if (!settings.filter)
        columns.pop_back();
    view_.showTable(columns, componentRows(*spectrum_));
    view_.showTitle(spectrumTitle(*spectrum_, clock));
    view_.showStatus("输出 " + calc::formatHz(spectrum_->output().milliHz) + " Hz，系统时钟 " +
                     calc::formatHz(spectrum_->clockMilliHz) + " Hz（晶振 " + std::to_string(calculation_->crystalMHz) +
                     " MHz × 6）");
    for (SpectrumId id : {SpectrumId::SaveSvg, SpectrumId::SavePng, SpectrumId::SaveCsv})
        view_.setEnabled(id, true);
    view_.plotChanged();
}

std::optional<PlotDescription> SpectrumWindow::plot(double width, double height) const
{
    if (!spectrum_)
        return std::nullopt;
    return spectrumPlot(*spectrum_, width, height);
}

std::string SpectrumWindow::svgText() const
{
    if (!spectrum_)
        return {};
    return svgDocument(spectrumPlot(*spectrum_, savedPlotWidth, savedPlotHeight));
}

std::string SpectrumWindow::csvText() const
{
    if (!spectrum_)
        return {};
    std::string out = calc::spectrumCsvHeader(spectrum_->settings.filter.has_value());
    calc::appendSpectrumCsvRows(out, calculation_->frequency, calculation_->unit, *spectrum_);
    return out;
}

bool SpectrumWindow::saveFile(const std::filesystem::path& path, std::string_view contents)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(contents.data(), std::streamsize(contents.size()));
    file.close();
    if (file)
        return true;
    const std::u8string name = path.u8string();
    view_.showError("无法保存文件“" + std::string(name.begin(), name.end()) + "”。\n请选择其他位置或文件名。");
    return false;
}

std::vector<std::vector<std::string>> componentRows(const calc::Spectrum& spectrum)
{
    std::vector<std::vector<std::string>> rows;
    for (const calc::SpectralComponent& c : spectrum.components) {
        std::vector<std::string> row = calc::componentTexts(c);
        row.front() = componentKindName(c.kind);
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string spectrumTitle(const calc::Spectrum& spectrum, const calc::SystemClock& clock)
{
    const calc::NearestComponent nearest = calc::nearestComponent(spectrum, clock);
    return std::string(spectrumWindowCaption) + " — 最近成分 " + calc::componentLabel(nearest.component) + "，距输出 " +
           calc::formatHz(nearest.distanceMilliHz) + " Hz";
}

std::string_view componentKindName(calc::ComponentKind kind)
{
    switch (kind) {
    case calc::ComponentKind::Fundamental:
        return "输出";
    case calc::ComponentKind::Image:
        return "镜像";
    case calc::ComponentKind::Harmonic:
        return "谐波";
    }
    return "";
}

} // namespace form
