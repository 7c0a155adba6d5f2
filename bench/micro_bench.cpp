// Throughput of the hot paths on one synthetic module held in memory.
#include "rewrite/reinsertion.h"
#include "rewrite/text_lines.h"
#include "rewrite/transforms.h"
#include "sample_module.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

void BM_LineSplitting(benchmark::State& state) {
    const std::string text = sampleModule(false);
    for (auto _ : state) {
        faultward::LineCursor cursor(text);
        std::string_view line;
        std::size_t lines = 0;
        while (cursor.next(line))
            ++lines;
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void timeInsertion(benchmark::State& state, const std::string& text) {
    faultward::OutputPieces out;
    std::string name;
    for (auto _ : state) {
        out.clear();
        faultward::insertHandlers(text, faultward::HandlingMode::ShowMessage, name, out);
        benchmark::DoNotOptimize(out.pieces().data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void BM_Insertion(benchmark::State& state) {
    timeInsertion(state, sampleModule(false));
}

void BM_InsertionLineByLine(benchmark::State& state) {
    timeInsertion(state, sampleModule(false) + "x"); // unterminated: no runs
}

void BM_Removal(benchmark::State& state) {
    const std::string text = sampleModule(state.range(0) != 0);
    faultward::OutputPieces out;
    for (auto _ : state) {
        out.clear();
        faultward::removeMarkedLines(text, out);
        benchmark::DoNotOptimize(out.pieces().data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
    state.SetLabel(state.range(0) ? "marked file" : "clean file");
}

// Removal and insertion in one go, as the command line's insert does them: on
// a clean file, and on one with handlers of another mode.
void BM_Reinsertion(benchmark::State& state) {
    const std::string text = state.range(0) ? sampleModule(true) : sampleModule(false);
    faultward::Reinsertion reinsertion;
    faultward::OutputPieces out;
    const faultward::InsertionOptions options(faultward::HandlingMode::ResumeNext);
    for (auto _ : state) {
        faultward::InsertionState insertionState;
        reinsertion.clean(text);
        reinsertion.insert(options, {}, insertionState, out);
        benchmark::DoNotOptimize(out.pieces().data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
    state.SetLabel(state.range(0) ? "marked file" : "clean file");
}

} // namespace

BENCHMARK(BM_LineSplitting);
BENCHMARK(BM_Insertion);
BENCHMARK(BM_InsertionLineByLine);
BENCHMARK(BM_Removal)->Arg(0)->Arg(1);
BENCHMARK(BM_Reinsertion)->Arg(0)->Arg(1);
BENCHMARK_MAIN();
