#include "calc/calculation.h"

#include "calc/render.h"
#include "calc/tuning.h"

namespace calc {

void calculate(CalcState& state, std::string_view F, std::string_view Fc, std::int16_t mode1,
               std::int16_t mode2, std::string_view modeshow, std::string& line)
{
    state.mode1 = mode1;
    state.mode2 = mode2;
    computeTuningWord(state, F, Fc);
    renderResultLine(state, F, modeshow, line);
}

std::string calculate(CalcState& state, std::string_view F, std::string_view Fc,
                      std::int16_t mode1, std::int16_t mode2, std::string_view modeshow)
{
    std::string line;
    calculate(state, F, Fc, mode1, mode2, modeshow, line);
    return line;
}

} // namespace calc
