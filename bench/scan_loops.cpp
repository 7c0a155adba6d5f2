// Each hand-written scanning loop of the engine against the plainest code
// that does its job with library calls (memchr, memrchr, std::count) or a
// simple loop left to the compiler at -O3, on the same module text.
// bench/run prints them side by side: a loop stays only where it wins.
#include "rewrite/procedure_lines.h"
#include "rewrite/text_lines.h"
#include "sample_module.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>

namespace {

using namespace faultward;

const std::string& clean() {
    static const std::string text = sampleModule(false);
    return text;
}

const std::string& marked() {
    static const std::string text = sampleModule(true);
    return text;
}

template <typename Scan>
void timeScan(benchmark::State& state, const std::string& text, Scan scan) {
    for (auto _ : state)
        benchmark::DoNotOptimize(scan(text));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

// Line splitting: a bit mask of line ends 64 bytes at a time, against a
// memchr for every line.
void BM_ScanLineCursor_Hand(benchmark::State& state) {
    timeScan(state, clean(), [](std::string_view text) {
        LineCursor cursor(text);
        std::string_view line;
        std::size_t lines = 0;
        while (cursor.next(line))
            ++lines;
        return lines;
    });
}

void BM_ScanLineCursor_Plain(benchmark::State& state) {
    timeScan(state, clean(), [](std::string_view text) {
        std::size_t lines = 0;
        for (std::size_t pos = 0; pos < text.size(); ++lines) {
            const void* end = std::memchr(text.data() + pos, '\r', text.size() - pos);
            if (!end)
                break;
            pos = static_cast<std::size_t>(static_cast<const char*>(end) - text.data()) + 1;
            if (pos < text.size() && text[pos] == '\n')
                ++pos;
        }
        return lines;
    });
}

// The next line end, a few dozen bytes on: 64 bytes searched inline first.
void BM_ScanFindByte_Hand(benchmark::State& state) {
    timeScan(state, clean(), [](std::string_view text) {
        std::size_t hits = 0;
        for (std::size_t at = findByte(text.data(), 0, text.size(), '\r'); at < text.size();
             at = findByte(text.data(), at + 1, text.size(), '\r'))
            ++hits;
        return hits;
    });
}

std::size_t plainFind(std::string_view text, std::size_t from, char c) {
    const void* hit = std::memchr(text.data() + from, c, text.size() - from);
    return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - text.data())
               : text.size();
}

void BM_ScanFindByte_Plain(benchmark::State& state) {
    timeScan(state, clean(), [](std::string_view text) {
        std::size_t hits = 0;
        for (std::size_t at = plainFind(text, 0, '\r'); at < text.size();
             at = plainFind(text, at + 1, '\r'))
            ++hits;
        return hits;
    });
}

// The marker's tilde in a file with handlers, as removal looks for it.
void BM_ScanFindTilde_Hand(benchmark::State& state) {
    timeScan(state, marked(), [](std::string_view text) {
        std::size_t hits = 0;
        for (std::size_t at = findByte(text.data(), 0, text.size(), '~'); at < text.size();
             at = findByte(text.data(), at + 1, text.size(), '~'))
            ++hits;
        return hits;
    });
}

void BM_ScanFindTilde_Plain(benchmark::State& state) {
    timeScan(state, marked(), [](std::string_view text) {
        std::size_t hits = 0;
        for (std::size_t at = plainFind(text, 0, '~'); at < text.size();
             at = plainFind(text, at + 1, '~'))
            ++hits;
        return hits;
    });
}

// From each marker back to the start of its line. The plain twin is the
// byte loop: memrchr is not on every system the program is built for.
template <typename FindLast> std::size_t lineStartsOfMarkers(std::string_view text, FindLast last) {
    std::size_t sum = 0;
    std::size_t kept = 0;
    for (std::size_t at = plainFind(text, 0, '~'); at < text.size();
         at = plainFind(text, at + 1, '~')) {
        sum += last(text.data(), kept, at, '\r');
        kept = plainFind(text, at, '\r');
    }
    return sum;
}

void BM_ScanFindLastByte_Hand(benchmark::State& state) {
    timeScan(state, marked(),
             [](std::string_view text) { return lineStartsOfMarkers(text, findLastByte); });
}

void BM_ScanFindLastByte_Plain(benchmark::State& state) {
    timeScan(state, marked(), [](std::string_view text) {
        return lineStartsOfMarkers(text,
                                   [](const char* bytes, std::size_t from, std::size_t to, char c) {
                                       while (to > from)
                                           if (bytes[--to] == c)
                                               return to;
                                       return std::string_view::npos;
                                   });
    });
}

// Whether every carriage return has its line feed, and how many lines.
void BM_ScanCanonicalLines_Hand(benchmark::State& state) {
    timeScan(state, clean(), [](std::string_view text) {
        return canonicalLineCount(text, LineBreaks::CarriageReturn);
    });
}

void BM_ScanCanonicalLines_Plain(benchmark::State& state) {
    timeScan(state, clean(), [](std::string_view text) -> std::optional<std::size_t> {
        if (!text.ends_with("\r\n"))
            return std::nullopt;
        std::size_t count = 0;
        bool lone = false;
        for (std::size_t i = 0; i + 1 < text.size(); ++i) {
            const bool cr = text[i] == '\r';
            count += cr;
            lone |= cr && text[i + 1] != '\n';
        }
        if (lone)
            return std::nullopt;
        return count;
    });
}

// Line feeds of a file from a Unix checkout.
const std::string& lineFeeds() {
    static const std::string text = [] {
        std::string unix = clean();
        unix.erase(std::remove(unix.begin(), unix.end(), '\r'), unix.end());
        return unix;
    }();
    return text;
}

void BM_ScanCountByte_Hand(benchmark::State& state) {
    timeScan(state, lineFeeds(), [](std::string_view text) { return countByte(text, '\n'); });
}

void BM_ScanCountByte_Plain(benchmark::State& state) {
    timeScan(state, lineFeeds(),
             [](std::string_view text) { return std::count(text.begin(), text.end(), '\n'); });
}

// The lines that may open or close a procedure, as insertion walks to them.
template <typename Next> std::size_t procedureLines(std::string_view text, Next next) {
    std::size_t found = 0;
    for (std::size_t at = next(text, 0); at < text.size(); at = next(text, at + 1))
        ++found;
    return found;
}

bool canBegin(char c) {
    return c == 'S' || c == 'F' || c == 'P' || c == 'E';
}

void BM_ScanProcedureLines_Hand(benchmark::State& state) {
    timeScan(state, clean(), [](std::string_view text) {
        return procedureLines(text, [](std::string_view t, std::size_t from) {
            return nextPossibleProcedureLine(t, LineBreaks::CarriageReturn, from);
        });
    });
}

void BM_ScanProcedureLines_Plain(benchmark::State& state) {
    timeScan(state, clean(), [](std::string_view text) {
        return procedureLines(text, [](std::string_view t, std::size_t from) {
            if (from == 0 && !t.empty() && canBegin(t[0]))
                return std::size_t{0};
            for (std::size_t at = plainFind(t, from == 0 ? 0 : from - 1, '\r'); at < t.size();
                 at = plainFind(t, at + 1, '\r'))
                if (at + 2 < t.size() && canBegin(t[at + 2]))
                    return at + 2;
            return t.size();
        });
    });
}

} // namespace

BENCHMARK(BM_ScanLineCursor_Hand);
BENCHMARK(BM_ScanLineCursor_Plain);
BENCHMARK(BM_ScanFindByte_Hand);
BENCHMARK(BM_ScanFindByte_Plain);
BENCHMARK(BM_ScanFindTilde_Hand);
BENCHMARK(BM_ScanFindTilde_Plain);
BENCHMARK(BM_ScanFindLastByte_Hand);
BENCHMARK(BM_ScanFindLastByte_Plain);
BENCHMARK(BM_ScanCanonicalLines_Hand);
BENCHMARK(BM_ScanCanonicalLines_Plain);
BENCHMARK(BM_ScanCountByte_Hand);
BENCHMARK(BM_ScanCountByte_Plain);
BENCHMARK(BM_ScanProcedureLines_Hand);
BENCHMARK(BM_ScanProcedureLines_Plain);
