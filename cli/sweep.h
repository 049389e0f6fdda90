#pragma once
// A sweep of frequencies START, START+STEP, ... up to and including STOP,
// counted in exact decimal arithmetic: "0:1:0.1" ends at exactly 1.

#include <cstdint>
#include <string>
#include <string_view>

namespace cli {

class Sweep {
public:
    static constexpr std::uint64_t maxEntries = 10'000'000;

    // "START:STOP:STEP", three decimal numbers.  std::invalid_argument,
    // with a message in English, for a malformed text, a STEP of 0, a STEP
    // pointing away from STOP, more than maxEntries entries or numbers too
    // long to count with.
    explicit Sweep(std::string_view range);

    std::uint64_t size() const noexcept { return count_; }
    // The shortest decimal text of entry `index`: "0.1", "10", "-1.25".
    std::string text(std::uint64_t index) const;
    // The same written into `buffer`, for callers that go through many.
    using Buffer = char[48];
    std::string_view writeText(std::uint64_t index, Buffer& buffer) const;

private:
    std::int64_t start_ = 0; // in units of 10^-decimals_
    std::int64_t step_ = 0;
    std::uint64_t count_ = 0;
    int decimals_ = 0;
};

} // namespace cli
