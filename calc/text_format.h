#pragma once
// How numbers and bytes are written out: fixed-point decimals and "0x1A"
// byte literals, for result lines, details, decoding and messages alike.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace calc {

// `units` of 10^-decimals written with that many decimals: (1234, 3) -> "1.234".
std::string fixedPoint(std::uint64_t units, std::size_t decimals);
// The same without trailing zeros, and without the point when nothing
// follows it: (1230, 3) -> "1.23", (1000, 3) -> "1".
std::string trimmedFixedPoint(std::uint64_t units, std::size_t decimals);
// `value` with `decimals` decimals and every digit however large, without
// a minus where the value shows as zero: (-0.0004, 3) -> "0.000".
std::string fixedDecimals(double value, int decimals);

// "10000.002": mHz written as Hz with three decimals.
std::string formatHz(std::uint64_t milliHz);
// "0.027939": µHz written as Hz with six decimals.
std::string formatStepHz(std::uint64_t microHz);
// "+0.002", "-0.004": Hz with three decimals and a sign; "+0.000" for
// whatever rounds to zero.
std::string formatDeviationHz(double hz);

// A CSV field: as it is, or between double quotes (doubled inside) when it
// holds a comma, a quote or a line break.
void appendCsvField(std::string& out, std::string_view field);

// "0xHH" literals with capital hex digits, `separator` between them.
void appendByteLiterals(std::string& out, std::span<const std::uint8_t> bytes, char separator);
// "{0xHH,0xHH,...}" for any number of bytes.
void appendByteList(std::string& out, std::span<const std::uint8_t> bytes);

} // namespace calc
