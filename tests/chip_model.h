#pragma once
// The load interface of the AD9851 (and AD9850), as its datasheet describes
// it, for checking code that drives the chip's pins.
//
// Pins: W_CLK, FQ_UD, RESET and the data pins D7..D0, of which only D7 is
// driven (DATA); D6..D0 are strapped, D2..D0 to 0 1 1 as on the common
// modules.  Every pin starts low.
//   - RESET going high puts the chip in parallel mode with the byte pointer
//     at W0.  W_CLK or FQ_UD rising while RESET is high, or before the first
//     reset, is an error.
//   - Parallel mode: a W_CLK rising edge latches D7..D0 into the next of
//     W0..W4 (a sixth byte is an error).  FQ_UD rising applies the five
//     bytes; after W0 alone, with D2..D0 = 011, it enters serial mode
//     instead; after one to four other bytes it would apply a partial load,
//     an error; with no new byte it applies nothing new.  W0's D1 set in an
//     applied load is an error.
//   - Serial mode: a W_CLK rising edge shifts in DATA, word bit 0 first and
//     W0 bit 7 last.  FQ_UD rising applies the 40 bits: any other count is
//     an error, and so is W0's D1 set (it enters a factory test mode).
//   - Data must hold still around a W_CLK rising edge.  Pin writes come one
//     after another, each apart by more than the chip's set-up and hold
//     times, so the one thing that can break that here is DATA changing
//     while W_CLK is still high after rising: a change the chip may see
//     inside its hold time.  It is an error.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace chip {

enum class Pin : std::uint8_t { WClk, FqUd, Data, Reset };

// W0..W4 as the datasheet lists them.
using Load = std::array<std::uint8_t, 5>;

class LoadInterface {
public:
    // `straps`: the levels of D6..D0 (D7 comes from DATA).
    explicit LoadInterface(std::uint8_t straps = 0x03) : straps_(straps & 0x7F) {}

    void write(Pin pin, bool level);

    // Every load applied by FQ_UD, in order.
    const std::vector<Load>& appliedLoads() const noexcept { return applied_; }
    // Times RESET went high, and serial-mode entries since the last reset.
    int resets() const noexcept { return resets_; }
    int serialEntries() const noexcept { return serialEntries_; }
    bool serialMode() const noexcept { return mode_ == Mode::Serial; }
    // What the chip would punish, one line each.
    const std::vector<std::string>& errors() const noexcept { return errors_; }

private:
    enum class Mode : std::uint8_t { Unknown, Parallel, Serial };

    void wClkRises();
    void fqUdRises();
    void apply(const Load& load);
    void error(std::string_view what);

    std::uint8_t straps_;
    std::array<bool, 4> levels_{};
    Mode mode_ = Mode::Unknown;
    Load parallel_{};
    std::size_t pointer_ = 0;   // parallel: the next byte to latch
    std::uint64_t shifted_ = 0; // serial: the last 40 bits shifted in, the first at bit 0
    std::size_t bitCount_ = 0;  // serial: bits shifted in since the last FQ_UD
    int resets_ = 0;
    int serialEntries_ = 0;
    std::vector<Load> applied_;
    std::vector<std::string> errors_;
};

// Feeds `trace` to `chip`: one pin write a line, "PIN LEVEL", the pin as
// `pinOf` reads it and the level 0 or 1.  Returns the lines that are not.
std::vector<std::string> feedTrace(LoadInterface& chip, std::string_view trace,
                                   const std::function<std::optional<Pin>(std::string_view)>& pinOf);

} // namespace chip
