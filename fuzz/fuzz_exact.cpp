// The exact paths: a word from any frequency text at any reference, ppm,
// phase and rounding, and the decoding of any text.  Every input gives a
// word below 2^31 that decodes back to itself, or a CalcError; nothing
// else (no other exception, no crash, no undefined behaviour).
//
// Input layout: a flags byte, then four texts separated by NUL bytes:
// frequency, reference in Hz, ppm, phase.

#include "calc/decode.h"
#include "calc/errors.h"
#include "calc/text_format.h"
#include "calc/tuner.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1 || size > 512)
        return 0;
    const std::uint8_t flags = data[0];
    std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    std::array<std::string_view, 4> texts{};
    for (auto& t : texts) {
        const std::size_t nul = rest.find('\0');
        t = rest.substr(0, nul);
        rest = nul == std::string_view::npos ? std::string_view() : rest.substr(nul + 1);
    }

    calc::TunerSettings s;
    s.unit = std::int16_t(flags % 3);
    s.mode = std::int16_t((flags >> 2) & 1);
    s.rounding = (flags & 8) ? calc::Rounding::Down : calc::Rounding::NearestHalfUp;
    s.clock.chip = (flags & 16) ? calc::Chip::AD9850 : calc::Chip::AD9851;
    s.clock.multiplier = (flags & 32) != 0;
    s.clock.referenceHz = texts[1];
    if (flags & 64)
        s.clock.ppm = texts[2];
    try {
        if (flags & 128)
            s.phaseSteps = calc::phaseStepsFromDegrees(texts[3]);
        calc::Tuner tuner(s);
        const calc::Tuned t = tuner.tune(texts[0]);
        if (t.word > 0x7FFFFFFFu)
            std::abort();
        (void)tuner.details(t);
        std::string line;
        calc::appendByteList(line, tuner.loadBytes(t.word));
        const calc::DecodedWord back = calc::decodeWord(line, s.mode);
        if (back.word != t.word || !back.control || back.control->value() != tuner.controlByte().value())
            std::abort();
    } catch (const calc::CalcError&) {
    }
    try {
        (void)calc::describeWord(calc::decodeWord(texts[0], s.mode), s.clock);
    } catch (const calc::CalcError&) {
    }
    return 0;
}
