// The formats of Office documents: the compression of VBA projects on a large
// module, and a whole document of 200 modules of 300 lines read, and written
// with every module changed (the read back and check included).
#include "office/office_document.h"
#include "office/vba_compression.h"
#include "office/vba_fixtures.h"
#include "sample_module.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using namespace faultward::office;

void BM_VbaCompression(benchmark::State& state) {
    const std::string text = sampleModule(state.range(0) != 0);
    for (auto _ : state) {
        benchmark::DoNotOptimize(compressVba(text));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
    state.SetLabel(state.range(0) ? "with handlers" : "plain");
}

void BM_VbaDecompression(benchmark::State& state) {
    const std::string text = sampleModule(true);
    const std::string compressed = compressVba(text);
    for (auto _ : state) {
        benchmark::DoNotOptimize(decompressVba(compressed));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

// 200 modules of 300 lines, as the document.
testing::BuiltProject largeProject() {
    testing::BuiltProject project;
    for (int m = 0; m < 200; ++m) {
        std::string body;
        for (int line = 0; line < 300; ++line) {
            body += line % 20 == 0 ? "Private Sub Proc" + std::to_string(line) + "()\r\n"
                    : line % 20 == 19 ? std::string("End Sub\r\n")
                                      : "    Total = Total + i * Rate ' running figures\r\n";
        }
        project.modules.push_back({"Module" + std::to_string(m), ModuleKind::Procedural, body, 200});
    }
    return project;
}

void BM_ReadDocument(benchmark::State& state) {
    const std::string document = testing::wordPackage(largeProject());
    for (auto _ : state) {
        benchmark::DoNotOptimize(readVbaDocument(document));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * document.size()));
}

void BM_WriteDocumentEveryModuleChanged(benchmark::State& state) {
    const std::string document = testing::wordPackage(largeProject());
    SourceChanges changes;
    for (const auto& m : readVbaDocument(document).project.modules) {
        changes.sources[m.name] = m.source + "' changed\r\n";
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(writeVbaDocument(document, changes));
    }
}

} // namespace

BENCHMARK(BM_VbaCompression)->Arg(0)->Arg(1);
BENCHMARK(BM_VbaDecompression);
BENCHMARK(BM_ReadDocument)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteDocumentEveryModuleChanged)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
