// Reading the largest pattern the reader accepts: 99,059 lines, 5.8 MB, against splitting it.
#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdio>
#include <string>

#include "HatchReader.h"
#include "LijnGrid.h"
#include "PatternFile.h"

namespace {

using namespace murvex;

// Four header lines, kMaxPatternRows - 946 pattern lines of 57 to 59 bytes each, a closing ";".
const std::string& LargestPattern() {
    static const std::string text = [] {
        std::string out = ";%UNITS=MM\r\n;\r\n*grootste\r\n;%TYPE=MODEL\r\n";
        const std::size_t rows = freelines::kMaxPatternRows - 946;
        out.reserve(rows * 60 + 64);
        for (std::size_t i = 0; i < rows; ++i) {
            char number[24];
            const auto end = std::to_chars(number, number + sizeof number, i % 360).ptr;
            out.append(number, end);
            out += ".000, 12.500, -3.125, 210.000, 62.500, 100.00, -10.000\r\n";
        }
        out += ";\r\n";
        return out;
    }();
    return text;
}

void Counters(benchmark::State& state) {
    state.counters["MB"] = static_cast<double>(LargestPattern().size()) / 1e6;
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(LargestPattern().size()));
}

void BM_SplitLargestPattern(benchmark::State& state) {
    for (auto _ : state) {
        const LineList lines = SplitLines(LargestPattern());
        benchmark::DoNotOptimize(lines.data());
    }
    state.counters["lines"] = static_cast<double>(SplitLines(LargestPattern()).size());
    Counters(state);
}
BENCHMARK(BM_SplitLargestPattern)->Unit(benchmark::kMillisecond);

void BM_ReadLargestPattern(benchmark::State& state) {
    for (auto _ : state) {
        TextGrid grid = freelines::MakeLijnGrid();
        PatternHeader texts;
        const freelines::ReadResult r = freelines::ReadHatchText(LargestPattern(), grid, texts);
        benchmark::DoNotOptimize(r.patternLines);
    }
    Counters(state);
}
BENCHMARK(BM_ReadLargestPattern)->Unit(benchmark::kMillisecond);

// The whole open without the dialog: size check, reading the file, the row count, the read.
void BM_ReadLargestPatternFile(benchmark::State& state) {
    const std::string path = "/tmp/murvex-bench-largest.pat";
    if (WriteFileAtomic(path, LargestPattern()) != WriteStatus::Ok) {
        state.SkipWithError("cannot write the pattern file");
        return;
    }
    for (auto _ : state) {
        TextGrid grid = freelines::MakeLijnGrid();
        PatternHeader texts;
        freelines::ReadResult r;
        const auto status = freelines::ReadHatchFile(path, grid, texts, r);
        if (status != freelines::FileReadStatus::Ok) state.SkipWithError("file refused");
        benchmark::DoNotOptimize(r.patternLines);
    }
    std::remove(path.c_str());
    Counters(state);
}
BENCHMARK(BM_ReadLargestPatternFile)->Unit(benchmark::kMillisecond);

}  // namespace
