// ns per result line: the full calculation (text in, line out) beside the
// bare formula with a table-driven hex writer, in the same binary; and ns
// per word at the window's crystal beside an exact reference with a ppm
// error (bench/exact_vs_window.sh compares the two through ad9851-word).

#include "calc/calculation.h"
#include "calc/tuner.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::vector<std::string> frequencies()
{
    std::vector<std::string> out;
    for (int i = 0; i < 1024; ++i)
        out.push_back(std::to_string(i * 37.125));
    return out;
}

void ComputeAndRender(benchmark::State& bench)
{
    const auto texts = frequencies();
    calc::CalcState state;
    state.mode1 = 1;
    std::string line;
    std::size_t i = 0;
    for (auto _ : bench) {
        const std::string& F = texts[i++ & 1023];
        line.clear();
        calc::calculate(state, {F, "20", F, "KHz"}, line);
        benchmark::DoNotOptimize(line.data());
    }
    bench.SetItemsProcessed(bench.iterations());
}
BENCHMARK(ComputeAndRender);

void DirectFormula(benchmark::State& bench)
{
    static const char digits[] = "0123456789ABCDEF";
    const auto texts = frequencies();
    std::string line;
    std::size_t i = 0;
    for (auto _ : bench) {
        const std::string& F = texts[i++ & 1023];
        const double word = std::strtod(F.c_str(), nullptr) * 1000.0 * 4294967296.0 / 120e6;
        const auto w = static_cast<unsigned long>(std::lround(word));
        line.clear();
        line += '{';
        for (int b = 0; b < 4; ++b) {
            const unsigned v = (w >> (8 * b)) & 0xFF;
            line += "0x";
            line += digits[v >> 4];
            line += digits[v & 15];
            line += b < 3 ? ',' : '}';
        }
        line += ",//";
        line += F;
        line += "KHz";
        benchmark::DoNotOptimize(line.data());
    }
    bench.SetItemsProcessed(bench.iterations());
}
BENCHMARK(DirectFormula);

// Words of the frequencies through a tuner with these clock settings.
void tuneAll(benchmark::State& bench, const calc::ClockOptions& clock)
{
    const auto texts = frequencies();
    calc::TunerSettings settings;
    settings.clock = clock;
    const calc::Tuner tuner(settings);
    std::size_t i = 0;
    for (auto _ : bench) {
        const calc::Tuned tuned = tuner.tune(texts[i++ & 1023]);
        benchmark::DoNotOptimize(tuned.word);
        benchmark::DoNotOptimize(tuner.aboveOutputShare(tuned));
    }
    bench.SetItemsProcessed(bench.iterations());
}

void TuneAtTheWindowCrystal(benchmark::State& bench) { tuneAll(bench, calc::ClockOptions{}); }
BENCHMARK(TuneAtTheWindowCrystal);

void TuneAtAnExactReference(benchmark::State& bench)
{
    calc::ClockOptions clock;
    clock.referenceHz = "30e6";
    clock.ppm = "3";
    tuneAll(bench, clock);
}
BENCHMARK(TuneAtAnExactReference);

} // namespace

BENCHMARK_MAIN();
