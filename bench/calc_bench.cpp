// ns per result line: the full calculation (text in, line out) beside the
// bare formula with a table-driven hex writer, in the same binary.

#include "calc/calculation.h"

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

} // namespace

BENCHMARK_MAIN();
