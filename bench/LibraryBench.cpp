// Listing a library of 1,000 patterns of a few lines each, as the library dialog does.
#include <benchmark/benchmark.h>

#include <string>

#include "PatternLibrary.h"
#include "Text.h"

namespace {

using namespace murvex;

const std::string& ThousandPatterns() {
    static const std::string text = [] {
        std::string out = ";%UNITS=MM\r\n";
        for (int i = 0; i < 1000; ++i) {
            out += "*P" + IntText(i) + ", patroon " + IntText(i) + "\r\n;%TYPE=MODEL\r\n";
            out += "0, 0, 0, 0, 62.5, 210, -10\r\n90, 0, 0, 0, 220, 50, -12.5\r\n;\r\n";
        }
        return out;
    }();
    return text;
}

void BM_SplitLibrary1000(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(SplitLibrary(ThousandPatterns()));
}
BENCHMARK(BM_SplitLibrary1000)->Unit(benchmark::kMillisecond);

// A library of 100,000 described one-line patterns, as offices keep them.
const std::string& HundredThousandPatterns() {
    static const std::string text = [] {
        std::string out = ";%UNITS=MM\r\n";
        for (int i = 0; i < 100000; ++i)
            out += "*P" + IntText(i) + ", patroon " + IntText(i) +
                   "\r\n0, 0, 0, 0, 62.5, 210, -10\r\n";
        return out;
    }();
    return text;
}

// `read --pattern` and `segments --pattern` of the last one: from the name lines alone.
void BM_FindLastOf100000(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(FindPatternFile(HundredThousandPatterns(), "P99999"));
}
BENCHMARK(BM_FindLastOf100000)->Unit(benchmark::kMillisecond);

// What `list` does before it checks each pattern.
void BM_SplitLibrary100000(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(SplitLibrary(HundredThousandPatterns()));
}
BENCHMARK(BM_SplitLibrary100000)->Unit(benchmark::kMillisecond);

// `add`: one new pattern at the end (the whole library split and copied once).
void BM_AddTo99999(benchmark::State& state) {
    static const std::string library = [] {
        const std::string& all = HundredThousandPatterns();
        return all.substr(0, all.rfind("*P99999"));
    }();
    for (auto _ : state)
        benchmark::DoNotOptimize(AddToLibrary(library, "*Nieuw, x\r\n0,0,0,0,1\r\n", false));
}
BENCHMARK(BM_AddTo99999)->Unit(benchmark::kMillisecond);

}  // namespace
