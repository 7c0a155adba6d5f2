// Throughput of the hot paths on one synthetic module held in memory.
#include "rewrite/text_lines.h"
#include "rewrite/transforms.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

// About a megabyte of module text in the shape real projects have: short
// lines, a Sub every twenty lines, CR LF breaks.
std::string sampleModule(bool withHandlers) {
    std::string text;
    int procedure = 0;
    while (text.size() < (128u << 10)) { // a large module, within the line limit
        text += "Private Sub Proc" + std::to_string(procedure++) + "_Click(Index As Integer)\r\n";
        for (int i = 0; i < 18; ++i)
            text += (i % 3 == 0) ? "    Total = Total + i * Rate\r\n" : "    ' running figures\r\n";
        text += "End Sub\r\n";
    }
    if (!withHandlers)
        return text;
    std::string name;
    faultward::OutputPieces out;
    faultward::insertHandlers(text, 0, name, out);
    return out.joined();
}

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
        faultward::insertHandlers(text, 0, name, out);
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

} // namespace

BENCHMARK(BM_LineSplitting);
BENCHMARK(BM_Insertion);
BENCHMARK(BM_InsertionLineByLine);
BENCHMARK(BM_Removal)->Arg(0)->Arg(1);
BENCHMARK_MAIN();
