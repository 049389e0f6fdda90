#pragma once
// The result line: the tuning word as four byte literals, ordered by the
// data mode, and a comment repeating the frequency as typed with its unit,
// ready to paste into firmware:
//     {0x1A,0x76,0x05,0x00},//10KHz

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace calc {

// The four bytes of `word` in load order: least significant first for
// serial, most significant first otherwise.
std::array<std::uint8_t, 4> wordBytes(std::uint32_t word, std::int16_t mode2) noexcept;

// Adds a result line to the end of `out`: the byte list, then ",//",
// `comment` and `unitCaption`, both copied unchanged.
void appendResultLine(std::string& out, std::span<const std::uint8_t> bytes, std::string_view comment,
                      std::string_view unitCaption);

// The line for `word`: its four bytes in the order of mode2.
void appendResultLine(std::string& out, std::uint32_t word, std::int16_t mode2, std::string_view comment,
                      std::string_view unitCaption);

} // namespace calc
