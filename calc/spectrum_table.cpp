#include "calc/spectrum_table.h"

#include "calc/text_format.h"

namespace calc {

std::vector<std::string_view> spectrumColumns(bool filtered)
{
    std::vector<std::string_view> columns{"component", "order", "component_hz", "level_dbc"};
    if (filtered)
        columns.emplace_back("filtered_dbc");
    return columns;
}

std::string_view componentName(ComponentKind kind)
{
    switch (kind) {
    case ComponentKind::Fundamental:
        return "fundamental";
    case ComponentKind::Image:
        return "image";
    case ComponentKind::Harmonic:
        return "harmonic";
    }
    return {};
}

std::string componentOrderText(const SpectralComponent& component) { return std::to_string(component.order); }

std::string formatDb(double db) { return fixedDecimals(db, 2); }

std::vector<std::string> componentTexts(const SpectralComponent& component)
{
    std::vector<std::string> texts{std::string(componentName(component.kind)), componentOrderText(component),
                                   formatHz(component.milliHz), formatDb(component.levelDbc)};
    if (component.filteredDbc)
        texts.push_back(formatDb(*component.filteredDbc));
    return texts;
}

namespace {

void appendJoined(std::string& out, const std::vector<std::string>& texts, char separator)
{
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (i != 0)
            out += separator;
        out += texts[i];
    }
}

} // namespace

std::string spectrumTableLines(const Spectrum& spectrum)
{
    std::string out;
    for (const SpectralComponent& c : spectrum.components) {
        appendJoined(out, componentTexts(c), '\t');
        out += '\n';
    }
    return out;
}

std::string spectrumCsvHeader(bool filtered)
{
    std::string header = "frequency,unit";
    for (const std::string_view column : spectrumColumns(filtered)) {
        header += ',';
        header += column;
    }
    return header + "\r\n";
}

void appendSpectrumCsvRows(std::string& out, std::string_view frequency, std::string_view unit,
                           const Spectrum& spectrum)
{
    for (const SpectralComponent& c : spectrum.components) {
        appendCsvField(out, frequency);
        out += ',';
        appendCsvField(out, unit);
        out += ',';
        appendJoined(out, componentTexts(c), ',');
        out += "\r\n";
    }
}

std::string spectrumCsv(std::span<const SpectrumCsvBlock> blocks)
{
    std::string out = spectrumCsvHeader(!blocks.empty() && blocks.front().spectrum->settings.filter.has_value());
    for (const SpectrumCsvBlock& block : blocks)
        appendSpectrumCsvRows(out, block.frequency, block.unit, *block.spectrum);
    return out;
}

} // namespace calc
