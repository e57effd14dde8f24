// Generating and formatting the bonds' files.
#include <benchmark/benchmark.h>

#include "BondGenerator.h"
#include "PatternFile.h"

namespace {

using murvex::bonds::BondInput;

BondInput Defaults(int bond, double rotation) {
    return {bond, 210, 220, 50, 62.5, rotation, "naam"};
}

// One bond's file: the line list and its bytes.
void BM_GenerateBond(benchmark::State& state) {
    const BondInput input = Defaults(static_cast<int>(state.range(0)), 30);
    for (auto _ : state) {
        const std::string bytes = murvex::JoinCrLf(murvex::bonds::GenerateBond(input));
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetLabel(std::string(murvex::bonds::BondNames()[state.range(0)]));
}
BENCHMARK(BM_GenerateBond)->DenseRange(0, 9)->Unit(benchmark::kMicrosecond);

// All ten bonds one after another, unrotated and turned by 30 degrees.
void BM_GenerateAllTen(benchmark::State& state) {
    const double rotation = static_cast<double>(state.range(0));
    for (auto _ : state) {
        for (int bond = 0; bond < murvex::bonds::kBondCount; ++bond) {
            const std::string bytes =
                murvex::JoinCrLf(murvex::bonds::GenerateBond(Defaults(bond, rotation)));
            benchmark::DoNotOptimize(bytes.data());
        }
    }
}
BENCHMARK(BM_GenerateAllTen)->Arg(0)->Arg(30)->Unit(benchmark::kMicrosecond);

}  // namespace
