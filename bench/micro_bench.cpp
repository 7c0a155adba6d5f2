// Throughput of the hot paths on one synthetic module held in memory.
#include "rewrite/leave_list.h"
#include "rewrite/reinsertion.h"
#include "rewrite/text_lines.h"
#include "rewrite/transforms.h"
#include "sample_module.h"

#include <benchmark/benchmark.h>

#include <string>
#include <utility>
#include <vector>

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

// A [Leave] list of range(0) items, asked about 10,000 procedures of 100
// files: the time a question takes should not grow with the list.
void BM_LeaveLookup(benchmark::State& state) {
    std::vector<std::string> items;
    for (int64_t i = 0; i < state.range(0); ++i)
        items.push_back("M" + std::to_string(i % 100) + ".bas:Q" + std::to_string(i));
    items.push_back("*.cls:Class_*");
    const faultward::LeaveList leave(items);
    std::vector<std::pair<std::string, std::string>> asked;
    for (int i = 0; i < 10000; ++i)
        asked.emplace_back("Modules\\M" + std::to_string(i % 100) + ".bas",
                           "P" + std::to_string(i));
    for (auto _ : state)
        for (const auto& [entry, procedure] : asked)
            benchmark::DoNotOptimize(leave.leavesProcedure(entry, procedure));
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * asked.size()));
}

BENCHMARK(BM_LineSplitting);
BENCHMARK(BM_Insertion);
BENCHMARK(BM_InsertionLineByLine);
BENCHMARK(BM_Removal)->Arg(0)->Arg(1);
BENCHMARK(BM_Reinsertion)->Arg(0)->Arg(1);
BENCHMARK(BM_LeaveLookup)->Arg(1000)->Arg(400000);
BENCHMARK_MAIN();
