#include "calc/tuning.h"

#include "calc/stage.h"
#include "calc/units.h"
#include "runtime/number.h"

namespace calc {

void computeTuningWord(CalcState& state, std::string_view F, std::string_view Fc)
{
    // 1-2: the frequency as entered.
    state.F1 = atStage(Stage::ReadFrequency, [&] { return rt::textToDouble(F); });
    state.F0 = state.F1;

    // 3: the crystal in whole MHz, an exact half going to the even neighbour.
    state.Fc1 = atStage(Stage::ReadCrystal, [&] { return rt::toInt16(rt::textToDouble(Fc)); });

    // 4: scale to Hz.  The product is stored before its status is tested.
    if (state.mode1 == KHz || state.mode1 == MHz) {
        const rt::FpResult scaled = rt::multiply(state.F1, unitFactor(state.mode1));
        state.F1 = scaled.value;
        atStage(Stage::ScaleUnit, [&] { rt::testFpStatus(scaled.status); });
    }

    // 5.1: numerator, tested before it is kept.
    const rt::FpResult numerator = rt::multiply(rt::power(2, 32), state.F1);
    atStage(Stage::Numerator, [&] { rt::testFpStatus(numerator.status); });

    // 5.2-5.4: denominator = 10^6 x (6 x crystal), the clock in 16-bit arithmetic.
    const double million = rt::power(10, 6);
    const std::int16_t clock = atStage(Stage::Clock, [&] { return rt::mul16(state.Fc1, 6); });
    const double denominator = million * clock; // exact, not tested

    // 5.5: the word, stored before its status is tested.
    const rt::FpResult word = rt::divide(numerator.value, denominator);
    state.temp = word.value;
    atStage(Stage::Quotient, [&] { rt::testFpStatus(word.status); });
}

} // namespace calc
