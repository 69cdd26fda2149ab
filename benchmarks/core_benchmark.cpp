// Timings of the core: one refresh's arithmetic (ComputeOffset,
// FitDifferences and the three difference texts), and number reading and
// writing on their own. Each iteration is one call; the figures are ns per
// call.
#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstring>

#include "core/fitment.h"
#include "core/number_text.h"
#include "core/width_step.h"

namespace {

struct FieldTexts {
    const char* inRim;
    const char* inOffset;
    const char* inIn;
    const char* outRim;
    const char* overrideText;
};

// The worked examples: inch rims with the offset computed and with a user's
// offset kept; millimetre tyre widths with an exact-half result.
constexpr FieldTexts kInchComputed = {"7", "48", "10", "8", ""};
constexpr FieldTexts kInchOverride = {"7", "48", "10", "8", "30"};
constexpr FieldTexts kMillimetres = {"215", "0", "10.25", "225", ""};

void Fill(char (&field)[kFieldSize], const char* text) {
    std::strncpy(field, text, kFieldSize - 1);
    field[kFieldSize - 1] = '\0';
}

void FitPipeline(benchmark::State& state, const FieldTexts& texts) {
    WheelFields fields{};
    Fill(fields.InRim, texts.inRim);
    Fill(fields.InOffset, texts.inOffset);
    Fill(fields.InIn, texts.inIn);
    Fill(fields.OutRim, texts.outRim);
    FitResult fit{};
    char inner[kDifferenceTextSize];
    char outer[kDifferenceTextSize];
    char fender[kDifferenceTextSize];
    for (auto _ : state) {
        ComputeOffset(fields, texts.overrideText, fit);
        Differences d = FitDifferences(fields, fit);
        FormatDifference(d.Inner, inner);
        FormatDifference(d.Outer, outer);
        FormatDifference(d.Fender, fender);
        benchmark::DoNotOptimize(inner);
        benchmark::DoNotOptimize(outer);
        benchmark::DoNotOptimize(fender);
        benchmark::ClobberMemory();
    }
}

void BM_FitPipeline_InchComputed(benchmark::State& state) {
    FitPipeline(state, kInchComputed);
}
void BM_FitPipeline_InchOverride(benchmark::State& state) {
    FitPipeline(state, kInchOverride);
}
void BM_FitPipeline_Millimetres(benchmark::State& state) {
    FitPipeline(state, kMillimetres);
}
BENCHMARK(BM_FitPipeline_InchComputed);
BENCHMARK(BM_FitPipeline_InchOverride);
BENCHMARK(BM_FitPipeline_Millimetres);

// Reading: a short field, a 17-digit width, an exponent, and a whole field
// of 255 digits.
const char* const kReadTexts[] = {"6.5", "177.79999999999998", "1d2", nullptr};
char g_longText[kFieldSize];

void BM_Atof(benchmark::State& state) {
    const char* text = kReadTexts[state.range(0)];
    if (text == nullptr) {
        std::memset(g_longText, '7', kFieldSize - 1);
        g_longText[kFieldSize - 1] = '\0';
        text = g_longText;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(text);
        double v = num::atof(text);
        benchmark::DoNotOptimize(v);
    }
    state.SetLabel(state.range(0) == 3 ? "255 digits" : text);
}
BENCHMARK(BM_Atof)->DenseRange(0, 3);

// Writing: a difference (one decimal), an offset (no decimals), all 17
// decimals, and a value far enough out for the exponent form.
struct WriteCase {
    double value;
    int decimals;
    const char* label;
};
const WriteCase kWriteCases[] = {
    {14.7, 1, "14.7, 1 decimal"},
    {210.5, 0, "210.5, 0 decimals"},
    {177.79999999999998, 17, "177.79999999999998, 17 decimals"},
    {1e300, 1, "1e300, exponent form"},
};

void BM_FormatFixed(benchmark::State& state) {
    const WriteCase& c = kWriteCases[state.range(0)];
    char out[num::kFixedBufferSize];
    double value = c.value;
    for (auto _ : state) {
        benchmark::DoNotOptimize(value);
        std::size_t n = num::FormatFixed(value, c.decimals, out, sizeof out);
        benchmark::DoNotOptimize(n);
        benchmark::DoNotOptimize(out);
    }
    state.SetLabel(c.label);
}
BENCHMARK(BM_FormatFixed)->DenseRange(0, 3);

// One spinner click on a width field.
void BM_StepWidthText(benchmark::State& state) {
    const char* text = state.range(0) == 0 ? "6.5" : "203";
    char out[kStepTextSize];
    for (auto _ : state) {
        benchmark::DoNotOptimize(text);
        StepWidthText(text, 1, out);
        benchmark::DoNotOptimize(out);
    }
    state.SetLabel(text);
}
BENCHMARK(BM_StepWidthText)->DenseRange(0, 1);

}  // namespace

BENCHMARK_MAIN();
