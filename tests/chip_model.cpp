#include "chip_model.h"

#include <algorithm>

namespace chip {

namespace {
constexpr std::size_t loadBits = 40;
constexpr std::uint8_t testModeBit = 0x02;     // W0's D1
constexpr std::uint8_t serialEntryBits = 0x03; // W0's D2..D0 = 011

std::string hex(std::uint8_t byte)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    return {'0', 'x', digits[byte >> 4], digits[byte & 0xF]};
}
} // namespace

void LoadInterface::write(Pin pin, bool level)
{
    bool& current = levels_[std::size_t(pin)];
    const bool rises = level && !current;
    if (pin == Pin::Data && level != current && levels_[std::size_t(Pin::WClk)])
        error("DATA changed while W_CLK was high, within the hold time of its rising edge");
    current = level;
    if (!rises)
        return;
    switch (pin) {
    case Pin::Reset:
        ++resets_;
        serialEntries_ = 0;
        mode_ = Mode::Parallel;
        pointer_ = 0;
        bitCount_ = 0;
        return;
    case Pin::WClk:
    case Pin::FqUd:
        if (mode_ == Mode::Unknown)
            return error(std::string(pin == Pin::WClk ? "W_CLK" : "FQ_UD") + " rose before any reset");
        if (levels_[std::size_t(Pin::Reset)])
            return error(std::string(pin == Pin::WClk ? "W_CLK" : "FQ_UD") + " rose while RESET was high");
        if (pin == Pin::WClk)
            wClkRises();
        else
            fqUdRises();
        return;
    case Pin::Data:
        return;
    }
}

void LoadInterface::wClkRises()
{
    const bool data = levels_[std::size_t(Pin::Data)];
    if (mode_ == Mode::Serial) {
        // A 40-bit shift register: the newest bit enters at the top.
        shifted_ = (shifted_ >> 1) | (std::uint64_t(data) << (loadBits - 1));
        ++bitCount_;
        return;
    }
    if (pointer_ == parallel_.size())
        return error("W_CLK latched a sixth byte in parallel mode");
    parallel_[pointer_++] = std::uint8_t((data ? 0x80 : 0) | straps_);
}

void LoadInterface::fqUdRises()
{
    if (mode_ == Mode::Serial) {
        if (bitCount_ != loadBits)
            error("FQ_UD after a serial load of " + std::to_string(bitCount_) + " bits, not 40");
        else
            apply({std::uint8_t(shifted_ >> 32), std::uint8_t(shifted_ >> 24), std::uint8_t(shifted_ >> 16),
                   std::uint8_t(shifted_ >> 8), std::uint8_t(shifted_)});
        bitCount_ = 0;
        return;
    }
    const std::size_t latched = pointer_;
    pointer_ = 0;
    if (latched == 1 && (parallel_[0] & 0x07) == serialEntryBits) {
        mode_ = Mode::Serial;
        ++serialEntries_;
    } else if (latched == parallel_.size()) {
        apply(parallel_);
    } else if (latched != 0) {
        error("FQ_UD applied a partial parallel load of " + std::to_string(latched) + " of 5 bytes");
    }
}

void LoadInterface::apply(const Load& load)
{
    if (load[0] & testModeBit)
        error("a load with W0 = " + hex(load[0]) + ": D1 set enters the factory test mode");
    applied_.push_back(load);
}

void LoadInterface::error(std::string_view what) { errors_.emplace_back(what); }

std::vector<std::string> feedTrace(LoadInterface& chip, std::string_view trace,
                                   const std::function<std::optional<Pin>(std::string_view)>& pinOf)
{
    std::vector<std::string> unreadable;
    while (!trace.empty()) {
        const std::size_t end = std::min(trace.find('\n'), trace.size());
        const std::string_view line = trace.substr(0, end);
        trace.remove_prefix(std::min(end + 1, trace.size()));
        const std::size_t space = line.find(' ');
        const std::optional<Pin> pin = space == std::string_view::npos ? std::nullopt : pinOf(line.substr(0, space));
        const std::string_view level = space == std::string_view::npos ? "" : line.substr(space + 1);
        if (pin && (level == "0" || level == "1"))
            chip.write(*pin, level == "1");
        else
            unreadable.emplace_back(line);
    }
    return unreadable;
}

} // namespace chip
