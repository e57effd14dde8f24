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

}  // namespace
