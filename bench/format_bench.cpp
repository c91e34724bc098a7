// The table's number formatter alone, per value, on values of the shapes
// solvers write (log-uniform magnitudes of both signs) and on arbitrary
// finite bit patterns (every exponent equally likely): one value at a time,
// and rows of a table's fields (200 columns, eight at a time with vector
// instructions where the processor has them).
//   format_bench [--benchmark_filter=...]

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "export/NumberFormat.h"

namespace {

constexpr size_t kValues = 1 << 16;

std::vector<float> solverValues() {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> exponent(-6, 6);
    std::vector<float> values(kValues);
    for (float& value : values) {
        value = static_cast<float>(std::pow(10.0, exponent(random)));
        if (random() & 1) value = -value;
    }
    return values;
}

std::vector<float> finitePatterns() {
    std::mt19937 random(11);
    std::vector<float> values;
    while (values.size() < kValues) {
        const uint32_t bits = static_cast<uint32_t>(random());
        float value;
        std::memcpy(&value, &bits, sizeof value);
        if (std::isfinite(value)) values.push_back(value);
    }
    return values;
}

void formatAll(benchmark::State& state, const std::vector<float>& values) {
    char text[32 * kValues];
    for (auto _ : state) {
        char* out = text;
        for (float value : values) {
            out = owl::numberformat::formatScientific8(value, out);
            *out++ = ',';
        }
        benchmark::DoNotOptimize(out);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * values.size()));
}

void BM_SolverValues(benchmark::State& state) {
    static const std::vector<float> values = solverValues();
    formatAll(state, values);
}
BENCHMARK(BM_SolverValues);

void BM_FinitePatterns(benchmark::State& state) {
    static const std::vector<float> values = finitePatterns();
    formatAll(state, values);
}
BENCHMARK(BM_FinitePatterns);

// Rows of fields across 200 columns, as the table writes them.
void formatRows(benchmark::State& state, const std::vector<float>& values) {
    constexpr size_t kColumns = 200;
    const size_t rows = values.size() / kColumns;
    std::vector<const float*> columns;
    for (size_t c = 0; c < kColumns; ++c) columns.push_back(values.data() + c * rows);
    std::vector<char> text(kColumns * 17 + owl::numberformat::kFieldsOverrun);
    for (auto _ : state) {
        for (size_t row = 0; row < rows; ++row) {
            char* out = owl::numberformat::formatScientific8Fields(columns.data(), kColumns, row,
                                                                   text.data());
            benchmark::DoNotOptimize(out);
        }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * rows * kColumns));
}

void BM_SolverRows(benchmark::State& state) {
    static const std::vector<float> values = solverValues();
    formatRows(state, values);
}
BENCHMARK(BM_SolverRows);

void BM_FiniteRows(benchmark::State& state) {
    static const std::vector<float> values = finitePatterns();
    formatRows(state, values);
}
BENCHMARK(BM_FiniteRows);

}  // namespace

BENCHMARK_MAIN();
