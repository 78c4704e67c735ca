// Benchmark of the designer's preview path: check and evaluate a typical
// display expression of about 40 characters.
#include "expr/ExprChecker.h"

#include <benchmark/benchmark.h>

namespace {

const char* const kTypical = "left(\"Total: \" + string(12.5, \"00.0\"), 11)";
const char* const kNumeric = "round(2.5 * sqrt(16)) + length(\"abcdef\")";

void checkAndEvaluate(benchmark::State& state, const char* text) {
    varn::ExprChecker checker;
    for (auto _ : state) {
        varn::ExprResult result = checker.check(text, ';');
        benchmark::DoNotOptimize(result);
    }
}

void BM_StringExpression(benchmark::State& state) { checkAndEvaluate(state, kTypical); }
void BM_NumericExpression(benchmark::State& state) { checkAndEvaluate(state, kNumeric); }

void BM_Preview(benchmark::State& state) {
    varn::ExprChecker checker;
    for (auto _ : state) benchmark::DoNotOptimize(varn::expressionPreview(checker, kNumeric));
}

void BM_InvalidExpression(benchmark::State& state) { checkAndEvaluate(state, "Button1.display + \" items\" + count"); }

BENCHMARK(BM_StringExpression);
BENCHMARK(BM_NumericExpression);
BENCHMARK(BM_Preview);
BENCHMARK(BM_InvalidExpression);

}  // namespace
